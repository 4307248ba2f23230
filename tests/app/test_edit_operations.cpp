#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "common/texts.h"
#include "editor/pic_gui.h"
#include "strings/string_ids.h"
#include "support/window_fixture.h"

using namespace norvik;

namespace {

struct Fixture : test::WindowFixture {
    // Channels 1..count in use, channel n at 136 + n/10 MHz.
    void useChannels(int count) {
        for (int n = 1; n <= count; ++n)
            useChannel(n, 13600000 + static_cast<Frequency>(n) * 10000, 13660000 + static_cast<Frequency>(n) * 10000);
    }
    bool rowSelected(int channel) {
        const QModelIndexList sel = grid()->selectionModel()->selectedIndexes();
        if (sel.size() != kTableColumns - 1)
            return false;
        for (const QModelIndex& i : sel) {
            if (i.row() != channel - 1)
                return false;
        }
        return true;
    }
};

} // namespace

class EditOperationsTest : public QObject {
    Q_OBJECT
private slots:
    void copyMoveUpPasteThroughKeysAndToolbar() {
        Fixture f;
        f.useChannels(10);
        f.start();
        const QByteArray five = f.record(5), eight = f.record(8), nine = f.record(9);
        QCOMPARE(f.pasteEnabled(), 0);

        f.focusCell(5, col::Power);
        QTest::keyClick(f.grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f.pasteEnabled(), 2);
        QCOMPARE(f.grid()->currentColumn(), col::Rx);

        f.focusCell(9, col::Decode);
        f.window->toolButton(QStringLiteral("MoveUp"))->trigger();
        QCOMPARE(f.record(8), nine);
        QCOMPARE(f.record(9), eight);
        QCOMPARE(f.shown(8, col::Rx), QStringLiteral("136.90000"));
        QCOMPARE(f.table().currentChannel(), 8);
        QVERIFY(f.rowSelected(8));
        QVERIFY(f.grid()->hasFocus());

        f.focusCell(20, col::Rx);
        QTest::keyClick(f.grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.record(20), five);
        QCOMPARE(f.name(20), f.name(5));
        QCOMPARE(f.shown(20, col::Rx), QStringLiteral("136.50000"));
        QCOMPARE(f.shown(20, col::Name), QStringLiteral("CH5"));
    }

    void anOpenEditorIsCommittedBeforeTheCopy() {
        Fixture f;
        f.useChannels(3);
        f.start();
        f.focusCell(2, col::Rx);
        QTest::keyClick(f.grid(), Qt::Key_1);
        QTest::keyClicks(f.editor(), QStringLiteral("50"));
        QTest::keyClick(f.editor(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(!f.editor()->isVisible());
        QCOMPARE(f.window->copyBuffer().texts[col::Rx], std::string("150.00000"));
        f.focusCell(7, col::Rx);
        f.action("mnuEdit_Paste")->trigger();
        QCOMPARE(f.record(7), f.record(2));
    }

    void pasteBeforeAnyCopyAndCopyOfAnEmptyChannelDoNothing() {
        Fixture f;
        f.useChannels(2);
        f.start();
        f.focusCell(9, col::Rx); // empty
        QTest::keyClick(f.grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f.pasteEnabled(), 0);
        QTest::keyClick(f.grid(), Qt::Key_V, Qt::ControlModifier);
        f.focusCell(1, col::Rx);
        QTest::keyClick(f.grid(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(!f.doc.isModified());
        QCOMPARE(f.shown(1, col::Rx), QStringLiteral("136.10000"));
    }

    void insertAsksWhenTheLastChannelIsInUse() {
        Fixture f;
        f.useChannels(128);
        f.start();
        f.focusCell(10, col::Rx);
        const QByteArray ten = f.record(10);

        f.prompter.answers = {QMessageBox::No};
        QTest::mouseClick(f.window->cmdButton(2), Qt::LeftButton);
        QCOMPARE(f.prompter.asked.size(), 1);
        QCOMPARE(f.prompter.asked.first().text,
                 QStringLiteral("An insert will Cause the last Channel to be lost.Continue?"));
        QCOMPARE(f.prompter.asked.first().buttons, QMessageBox::Yes | QMessageBox::No);
        QVERIFY(!f.doc.isModified());
        QVERIFY(!f.rowSelected(10));

        f.prompter.answers = {QMessageBox::Yes};
        QTest::mouseClick(f.window->cmdButton(2), Qt::LeftButton);
        QCOMPARE(f.record(11), ten);
        QCOMPARE(f.record(10), QByteArray(16, '\xFF'));
        QCOMPARE(f.shown(128, col::Rx), QStringLiteral("148.70000")); // old 127; old 128 is gone
        QVERIFY(f.rowSelected(10));
    }

    void insertWithRoomAsksNothingAndDeleteShiftsBack() {
        Fixture f;
        f.useChannels(5);
        f.start();
        const QByteArray two = f.record(2), three = f.record(3);
        f.focusCell(2, col::Tx);
        QTest::keyClick(f.grid(), Qt::Key_I, Qt::ControlModifier); // the hidden Insert item
        QVERIFY(f.prompter.asked.isEmpty());
        QCOMPARE(f.record(3), two);
        QCOMPARE(f.shown(2, col::Rx), QString());
        QCOMPARE(f.shown(6, col::Rx), QStringLiteral("136.50000"));
        QCOMPARE(f.name(2), f.name(3)); // the emptied channel keeps the name it had

        f.action("mnuEdit_Delete")->trigger();
        QCOMPARE(f.record(2), two);
        QCOMPARE(f.record(3), three);
        QCOMPARE(f.shown(6, col::Rx), QString());
        QVERIFY(f.rowSelected(2));
    }

    void buttonBarNoOpsLeaveTheSelectionAloneAndClearKeepsTheName() {
        Fixture f;
        f.useChannels(128);
        f.start();
        f.focusCell(1, col::Scan);
        QTest::mouseClick(f.window->cmdButton(0), Qt::LeftButton);
        QCOMPARE(f.grid()->currentColumn(), col::Scan);
        QVERIFY(!f.rowSelected(1));
        f.focusCell(128, col::Vox);
        QTest::mouseClick(f.window->cmdButton(1), Qt::LeftButton);
        QCOMPARE(f.grid()->currentColumn(), col::Vox);
        QVERIFY(!f.rowSelected(128));
        QVERIFY(!f.doc.isModified());

        QTest::mouseClick(f.window->cmdButton(0), Qt::LeftButton); // 128 up
        QVERIFY(f.rowSelected(127));
        QCOMPARE(f.shown(127, col::Rx), QStringLiteral("148.80000"));
        QTest::mouseClick(f.window->cmdButton(4), Qt::LeftButton); // clear current channel
        QCOMPARE(f.shown(127, col::Rx), QString());
        QVERIFY(f.rowSelected(127));
        // Ctrl+D clears too; the name stays and so does the cell.
        f.focusCell(3, col::Bcl);
        QTest::keyClick(f.grid(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(f.record(3), QByteArray(16, '\xFF'));
        QCOMPARE(f.name(3), QByteArray("CH3\xFF\xFF\xFF\xFF", 7));
        QCOMPARE(f.shown(3, col::More), QString());
        QCOMPARE(f.grid()->currentColumn(), col::Bcl);
    }

    void editCommandsDoNothingWhileThePanelIsOpen() {
        Fixture f;
        f.useChannels(6);
        f.start();
        f.focusCell(5, col::Rx);
        f.action("mnuSet_GUI")->trigger();
        auto* rx = f.window->alternatePanel()->findChild<QLineEdit*>(QStringLiteral("TxtRxFreqGUI"));
        QTRY_VERIFY(rx->hasFocus());
        QTest::keyClick(rx, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(rx, Qt::Key_D, Qt::ControlModifier);
        QTest::keyClick(rx, Qt::Key_I, Qt::ControlModifier);
        QVERIFY(!f.window->copyBuffer().holdsCopy);
        QCOMPARE(rx->text(), QStringLiteral("136.50000"));
        QVERIFY(!f.doc.isModified());
        // The grid under the panel, should it still hold the focus, copies nothing either.
        f.window->mnuEdit_Copy_Click();
        QVERIFY(!f.window->copyBuffer().holdsCopy);
        QVERIFY(!f.action("mnuEdit")->isEnabled());
        for (const char* k : {"Copy", "Paste", "Clear", "MoveUp", "MoveDown", "Insert", "Delete"})
            QVERIFY2(!f.window->toolButton(QString::fromLatin1(k))->isEnabled(), k);
        QVERIFY(f.window->toolButton(QStringLiteral("Read"))->isEnabled());

        f.action("mnuSet_GUI")->trigger();
        QVERIFY(f.action("mnuEdit")->isEnabled());
        QCOMPARE(f.pasteEnabled(), 0); // no copy was made
        QTest::keyClick(f.grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f.pasteEnabled(), 2);
        // Paste waits while the panel is open, and comes back with it closed.
        f.action("mnuSet_GUI")->trigger();
        QCOMPARE(f.pasteEnabled(), 0);
        f.action("mnuSet_GUI")->trigger();
        QCOMPARE(f.pasteEnabled(), 2);
    }

    void theOpenPanelFollowsAButtonBarOperation() {
        Fixture f;
        f.useChannels(6);
        f.start();
        f.focusCell(4, col::Rx);
        f.action("mnuSet_GUI")->trigger();
        f.window->CmdButtons_Click(1); // move down
        auto* rx = f.window->alternatePanel()->findChild<QLineEdit*>(QStringLiteral("TxtRxFreqGUI"));
        auto* ch = f.window->alternatePanel()->findChild<QLineEdit*>(QStringLiteral("TxtChannelGUI"));
        QCOMPARE(ch->text(), QStringLiteral("5"));
        QCOMPARE(rx->text(), QStringLiteral("136.40000"));
        f.window->CmdButtons_Click(3); // delete
        QCOMPARE(ch->text(), QStringLiteral("5"));
        QCOMPARE(rx->text(), QStringLiteral("136.60000"));
    }
};

QTEST_MAIN(EditOperationsTest)
#include "test_edit_operations.moc"
