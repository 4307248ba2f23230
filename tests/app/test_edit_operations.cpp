#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <vector>

#include "app/common/texts.h"
#include "app/editor/alternate_panel.h"
#include "app/editor/channel_grid.h"
#include "core/strings/string_ids.h"
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
    void clickNumber(int channel, Qt::KeyboardModifiers modifiers = {}) {
        QHeaderView* numbers = grid()->verticalHeader();
        const int y = numbers->sectionViewportPosition(channel - 1) + numbers->sectionSize(channel - 1) / 2;
        QTest::mouseClick(numbers->viewport(), Qt::LeftButton, modifiers, QPoint(numbers->width() / 2, y));
    }
    std::vector<int> selectedRows() {
        std::vector<int> rows;
        for (const QModelIndex& i : grid()->selectionModel()->selectedRows(0))
            rows.push_back(i.row() + 1);
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

} // namespace

class EditOperationsTest : public QObject {
    Q_OBJECT
private slots:
    // Keys, menu items, tool buttons and the button column each reach their operation (named in
    // Undo) and leave the grid on the channel it names; what each does to the bytes is core's.
    void everyGestureReachesItsOperation() {
        Fixture f;
        f.useChannels(10);
        f.start();
        const auto ctrl = [&f](Qt::Key k) { return [&f, k] { QTest::keyClick(f.grid(), k, Qt::ControlModifier); }; };
        const auto trigger = [&f](const char* a) { return [&f, a] { f.action(a)->trigger(); }; };
        const auto tool = [&f](const char* k) {
            return [&f, k] { f.window->toolButton(QLatin1String(k))->trigger(); };
        };
        const auto button = [&f](int i) {
            return [&f, i] { QTest::mouseClick(f.window->cmdButton(i), Qt::LeftButton); };
        };
        struct Case {
            const char* what;
            int channel;
            std::function<void()> gesture;
            int label;
            int selected; // the row selected afterwards, else the current column
            int column;
        };
        const Case cases[] = {
            {"Ctrl+V after Ctrl+C", 20, ctrl(Qt::Key_V), ids::ChangePaste, 0, col::Rx},
            {"tool button MoveUp", 9, tool("MoveUp"), ids::ChangeMoveUp, 8, 0},
            {"button CH-Down", 3, button(1), ids::ChangeMoveDown, 4, 0},
            {"Ctrl+I, the hidden Insert item", 2, ctrl(Qt::Key_I), ids::ChangeInsert, 2, 0},
            {"menu Delete", 2, trigger("mnuEdit_Delete"), ids::ChangeDelete, 2, 0},
            {"button Clear", 7, button(4), ids::ChangeClear, 7, 0},
            {"Ctrl+D", 6, ctrl(Qt::Key_D), ids::ChangeClear, 0, col::Scan},
        };
        f.focusCell(5, col::Power);
        QTest::keyClick(f.grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f.grid()->currentColumn(), col::Rx);
        for (const Case& c : cases) {
            f.focusCell(c.channel, col::Scan);
            c.gesture();
            QCOMPARE(f.doc.undoLabelId(), c.label);
            QVERIFY2(c.selected ? f.rowSelected(c.selected) : f.grid()->currentColumn() == c.column, c.what);
            QVERIFY(f.grid()->hasFocus());
        }
        QCOMPARE(f.shown(20, col::Name), QStringLiteral("CH5"));
        QVERIFY(f.prompter.asked.isEmpty()); // room at the end: Insert asks nothing
    }

    // A move that does nothing leaves the cell alone, and a copy of an empty channel is none.
    void whatDoesNothingLeavesTheCellAlone() {
        Fixture f;
        f.useChannels(1);
        f.start();
        f.focusCell(1, col::Scan);
        QTest::mouseClick(f.window->cmdButton(0), Qt::LeftButton);
        QCOMPARE(f.grid()->currentColumn(), col::Scan);
        QVERIFY(!f.rowSelected(1) && !f.doc.isModified());
        f.focusCell(2, col::Rx);
        QTest::keyClick(f.grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f.pasteEnabled(), 0);
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
        QVERIFY(f.rowSelected(10));
    }

    // Row numbers with Shift and Ctrl select channels; Copy puts both forms on the clipboard;
    // Paste of either, Ctrl+Enter into five and Clear each land as one step that Ctrl+Z takes back.
    void aSelectionOfChannelsIsCopiedPastedAndSetAtOnce() {
        Fixture f;
        f.useChannels(10);
        f.start();
        f.focusCell(3, col::Power);
        f.clickNumber(3);
        f.clickNumber(7, Qt::ShiftModifier);
        QCOMPARE(f.selectedRows(), (std::vector<int>{3, 4, 5, 6, 7}));
        QCOMPARE(f.child<QLabel>("staSelection")->text(), QStringLiteral("5 channels selected"));

        QTest::keyClick(f.grid(), Qt::Key_C, Qt::ControlModifier);
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime->hasFormat(QStringLiteral("application/x-norvik-r7-channels")));
        const QStringList lines = mime->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 6);
        QVERIFY(lines[0].startsWith(QStringLiteral("CH\tRX Freq\t")));
        for (int k = 1; k <= 5; ++k)
            QVERIFY(lines[k].startsWith(QString::number(k + 2) + QLatin1Char('\t')));

        const auto pasteAt = [&f](int channel) {
            f.focusCell(channel, col::Rx);
            QTest::keyClick(f.grid(), Qt::Key_V, Qt::ControlModifier);
        };
        pasteAt(40);
        QCOMPARE(f.doc.undoLabelId(), ids::ChangePasteChannels); // where each record lands is core's
        QCOMPARE(f.shown(40, col::Name) + f.shown(44, col::Name), QStringLiteral("CH3CH7"));
        QCOMPARE(f.selectedRows(), (std::vector<int>{40, 41, 42, 43, 44}));
        QTest::keyClick(f.grid(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(f.shown(40, col::Rx).isEmpty() && f.shown(44, col::Rx).isEmpty());

        // Spreadsheet cells, and the program's own type holding junk beside them: the text is taken.
        auto* cells = new QMimeData;
        cells->setData(QStringLiteral("application/x-norvik-r7-channels"), "junk");
        cells->setText(QStringLiteral("RX Freq\tCH.Name\r\n145.000\tAA\r\n146.000\tBB\r\n"));
        QGuiApplication::clipboard()->setMimeData(cells);
        pasteAt(60);
        QCOMPARE(f.shown(60, col::Rx), QStringLiteral("145.00000"));
        QCOMPARE(f.shown(61, col::Name), QStringLiteral("BB"));
        QVERIFY(f.shown(62, col::Rx).isEmpty());
        QTest::keyClick(f.grid(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(f.shown(60, col::Rx).isEmpty() && f.shown(61, col::Rx).isEmpty());

        // Ctrl+Enter in the name column of one of five selected channels names all five.
        f.clickNumber(2);
        f.clickNumber(6, Qt::ShiftModifier);
        f.table().current().moveWithin(4, col::Name);
        QTest::keyClick(f.grid(), Qt::Key_Z);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        for (int n = 2; n <= 6; ++n)
            QCOMPARE(f.shown(n, col::Name), QStringLiteral("Z"));
        QCOMPARE(f.shown(7, col::Name), QStringLiteral("CH7"));
        QCOMPARE(f.doc.undoLabelId(), ids::ChangeSetColumn);
        QCOMPARE(f.action("mnuEdit_Undo")->text(), QStringLiteral("&Undo Set 5 Channels")); // the step counts
        QTest::keyClick(f.grid(), Qt::Key_Z, Qt::ControlModifier);
        for (int n = 2; n <= 6; ++n)
            QCOMPARE(f.shown(n, col::Name), QStringLiteral("CH") + QString::number(n));

        // Ctrl+click adds a channel past a gap; Clear empties just the selected ones.
        f.clickNumber(2);
        f.clickNumber(9, Qt::ControlModifier);
        QCOMPARE(f.selectedRows(), (std::vector<int>{2, 9}));
        QTest::keyClick(f.grid(), Qt::Key_D, Qt::ControlModifier);
        QVERIFY(f.shown(2, col::Rx).isEmpty() && f.shown(9, col::Rx).isEmpty() && !f.shown(3, col::Rx).isEmpty());
        QTest::keyClick(f.grid(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!f.shown(2, col::Rx).isEmpty() && !f.shown(9, col::Rx).isEmpty());

        // Shift+Down grows the block; Select All takes every channel; a click on a cell elsewhere ends it.
        f.clickNumber(5);
        QTest::keyClick(f.grid(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(f.selectedRows(), (std::vector<int>{5, 6}));
        QTest::keyClick(f.grid(), Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.table().current().selectedCount(), kChannelCount);
        f.table().current().set(20, col::Rx);
        QVERIFY(f.selectedRows().empty());
        QVERIFY(f.child<QLabel>("staSelection")->text().isEmpty());
        QVERIFY(f.prompter.asked.isEmpty());
    }

    // Pasting several channels over channels in use asks first; past channel 128 it says where to go.
    void pastingSeveralAsksBeforeWritingOverChannels() {
        Fixture f;
        f.useChannels(10);
        f.start();
        f.clickNumber(1);
        f.clickNumber(3, Qt::ShiftModifier);
        QTest::keyClick(f.grid(), Qt::Key_C, Qt::ControlModifier);
        f.prompter.answers = {QMessageBox::No};
        f.focusCell(9, col::Rx);
        QTest::keyClick(f.grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.prompter.asked.size(), 1);
        QVERIFY(!f.doc.isModified());
        f.focusCell(127, col::Rx);
        QTest::keyClick(f.grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.prompter.asked.size(), 2);
        QVERIFY(f.prompter.asked.last().text.contains(QStringLiteral("channel 126")));
        QVERIFY(!f.doc.isModified());
        // Spreadsheet lines that would run past channel 128 are told the same way.
        QGuiApplication::clipboard()->setText(QStringLiteral("145.000\n146.000\n147.000\n"));
        QTest::keyClick(f.grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.prompter.asked.size(), 3);
        QVERIFY(f.prompter.asked.last().text.contains(QStringLiteral("channel 126")));
        QVERIFY(!f.doc.isModified());
    }

    // Fill on a selection, Sort and Find reach their core calls; each is one step.
    void fillSortAndFindReachTheirOperations() {
        Fixture f;
        f.useChannels(6);
        f.start();
        f.clickNumber(3);
        f.clickNumber(6, Qt::ShiftModifier);
        f.action("mnuEdit_Fill")->trigger();
        auto* fill = f.window->findChild<QDialog*>(QStringLiteral("frmFill"));
        QVERIFY(fill);
        fill->findChild<QLineEdit*>(QStringLiteral("txtStart"))->setText(QStringLiteral("173.950"));
        QVERIFY(fill->findChild<QLabel*>(QStringLiteral("lblPreview"))->text().contains(QStringLiteral("6")));
        f.prompter.answers = {QMessageBox::Ok};
        test::clickButton(fill, "CmdOk");
        QCOMPARE(f.prompter.asked.size(), 1); // 174.025 on channel 6 is out of band: nothing written
        QVERIFY(!f.doc.isModified());
        fill->findChild<QLineEdit*>(QStringLiteral("txtStart"))->setText(QStringLiteral("145.000"));
        fill->findChild<QLineEdit*>(QStringLiteral("txtStep"))->setText(QStringLiteral("-0.025"));
        test::clickButton(fill, "CmdOk");
        QTRY_VERIFY(!f.window->findChild<QDialog*>(QStringLiteral("frmFill")));
        QCOMPARE(f.shown(3, col::Rx), QStringLiteral("145.00000"));
        QCOMPARE(f.shown(6, col::Rx), QStringLiteral("144.92500"));
        QCOMPARE(f.doc.undoLabelId(), ids::ChangeFill);

        f.grid()->setCurrentCell(1, col::Rx);
        f.action("mnuEdit_SortRx")->trigger();
        QCOMPARE(f.doc.undoLabelId(), ids::ChangeSort);
        QCOMPARE(f.shown(1, col::Name), QStringLiteral("CH1"));
        QCOMPARE(f.shown(3, col::Name), QStringLiteral("CH6"));
        QCOMPARE(f.shown(6, col::Name), QStringLiteral("CH3"));

        f.action("mnuEdit_Find")->trigger();
        auto* find = f.window->findChild<QDialog*>(QStringLiteral("frmFind"));
        QVERIFY(find);
        find->findChild<QLineEdit*>(QStringLiteral("txtFind"))->setText(QStringLiteral("ch4"));
        test::clickButton(find, "CmdFindNext");
        const int at = f.grid()->currentChannel();
        QCOMPARE(f.shown(at, col::Name), QStringLiteral("CH4"));
        find->reject();
        QTRY_VERIFY(!f.window->findChild<QDialog*>(QStringLiteral("frmFind")));
        f.grid()->setCurrentCell(1, col::Rx);
        QCOMPARE(f.action("mnuEdit_FindNext")->shortcut(), QKeySequence(Qt::Key_F3));
        f.action("mnuEdit_FindNext")->trigger();
        QCOMPARE(f.grid()->currentChannel(), at);
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
};

QTEST_MAIN(EditOperationsTest)
#include "test_edit_operations.moc"
