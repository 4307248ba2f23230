#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>

#include "app/editor/alternate_panel.h"
#include "app/transfer/frm_com_port.h"
#include "support/window_fixture.h"

using namespace norvik;

namespace {

struct Fixture : test::WindowFixture {
    Fixture() {
        useChannel(1, 14500000, 14560000);
        start();
    }
    QString title() const { return window->windowTitle(); }
    void ctrl(Qt::Key key) { QTest::keyClick(grid(), key, Qt::ControlModifier); }
};

const QString kUntitledTitle = QStringLiteral("Norvik R7 [File Name: Untitled]");

} // namespace

// The document is the one place changes go through; every view follows it, whoever changed it.
class DocumentViewsTest : public QObject {
    Q_OBJECT
private slots:
    void everyViewFollowsAChangeMadeThroughTheDocument() {
        Fixture f;
        f.grid()->setCurrentCell(5, col::Rx);
        f.action("mnuSet_GUI")->trigger();
        auto* panelRx = f.window->alternatePanel()->findChild<QLineEdit*>(QStringLiteral("TxtRxFreqGUI"));
        QCOMPARE(panelRx->text(), QString());
        QVERIFY(f.action("mnuSet_Manual")->isChecked()); // as the new-image defaults have it

        // As another window's Save would: a channel the panel shows, and the Manual bit.
        f.change([](RadioImage& img) {
            encodeFrequency(img, channelAddress(5) + rec::Rx, 14700000);
            img.setBits(0x831, 0x10, 0x00);
        });
        QCOMPARE(f.shown(5, col::Rx), QStringLiteral("147.00000"));
        QCOMPARE(panelRx->text(), QStringLiteral("147.00000"));
        QVERIFY(!f.action("mnuSet_Manual")->isChecked());
        QCOMPARE(f.title(), kUntitledTitle);             // no mark for a change
        QVERIFY(!f.action("mnuEdit_Undo")->isEnabled()); // the panel covers the grid

        f.action("mnuSet_GUI")->trigger();
        QVERIFY(f.action("mnuEdit_Undo")->isEnabled());
        f.action("mnuEdit_Undo")->trigger();
        QCOMPARE(f.shown(5, col::Rx), QString());
        QVERIFY(f.action("mnuSet_Manual")->isChecked());
        QCOMPARE(f.grid()->currentChannel(), 5);
    }

    void typeAFrequencyPasteThenUndoTwiceAndRedoOnce() {
        Fixture f;
        const QByteArray empty(16, '\xFF');
        f.focusCell(3, col::Rx);
        QTest::keyClick(f.grid(), Qt::Key_1);
        QTest::keyClicks(f.editor(), QStringLiteral("46.5"));
        QTest::keyClick(f.editor(), Qt::Key_Return);
        const QByteArray three = f.record(3);
        QVERIFY(three != empty);
        f.focusCell(1, col::Rx);
        f.ctrl(Qt::Key_C);
        f.focusCell(5, col::Power);
        f.ctrl(Qt::Key_V);
        QCOMPARE(f.record(5), f.record(1));
        QCOMPARE(f.action("mnuEdit_Undo")->text(), QStringLiteral("&Undo Paste"));
        QCOMPARE(f.window->toolButton(QStringLiteral("Undo"))->toolTip(), QStringLiteral("Undo Paste"));

        f.focusCell(100, col::Name);
        f.ctrl(Qt::Key_Z);
        QCOMPARE(f.record(5), empty);
        QCOMPARE(f.shown(5, col::Rx), QString());
        QCOMPARE(f.grid()->currentChannel(), 5); // the grid goes to what was taken back
        QCOMPARE(f.action("mnuEdit_Undo")->text(), QStringLiteral("&Undo Cell Edit"));
        QCOMPARE(f.action("mnuEdit_Redo")->text(), QStringLiteral("&Redo Paste"));

        f.ctrl(Qt::Key_Z);
        QCOMPARE(f.record(3), empty);
        QCOMPARE(f.grid()->currentChannel(), 3);
        QVERIFY(!f.doc.isModified()); // back at the saved bytes
        QVERIFY(!f.action("mnuEdit_Undo")->isEnabled());
        QVERIFY(!f.window->toolButton(QStringLiteral("Undo"))->isEnabled());

        f.ctrl(Qt::Key_Y);
        QCOMPARE(f.record(3), three);
        QCOMPARE(f.shown(3, col::Rx), QStringLiteral("146.50000"));
        QCOMPARE(f.record(5), empty);
        QVERIFY(f.doc.isModified());
        QCOMPARE(f.title(), kUntitledTitle);

        // Closing asks while the image differs from the saved one, and only then.
        f.prompter.answers = {QMessageBox::Cancel};
        QVERIFY(!f.window->close());
        QCOMPARE(f.prompter.asked.size(), 1);
        QTest::keyClick(f.grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); // the other redo key
        QCOMPARE(f.record(5), f.record(1));
        f.ctrl(Qt::Key_Z);
        f.ctrl(Qt::Key_Z);
        QVERIFY(f.window->close());
        QCOMPARE(f.prompter.asked.size(), 1);
    }

    // Ctrl+X in a cell editor and Ctrl+A in a panel field.
    void theMenuKeysWinOverAnOpenTextField() {
        for (const auto& [panel, key] : {std::pair{false, Qt::Key_X}, std::pair{true, Qt::Key_A}}) {
            Fixture f;
            QLineEdit* field = f.editor();
            if (panel) {
                f.grid()->setCurrentCell(1, col::Rx);
                f.action("mnuSet_GUI")->trigger();
                field = f.window->alternatePanel()->findChild<QLineEdit*>(QStringLiteral("TxtChNameGUI"));
                field->setFocus();
            } else {
                f.clickCell(1, col::Name);
            }
            QTRY_VERIFY(field->hasFocus());
            field->selectAll();
            QTest::keyClicks(field, QStringLiteral("RPT"));
            f.prompter.answers = {QMessageBox::Cancel}; // to the closing question
            QTest::keyClick(field, key, Qt::ControlModifier);
            QCOMPARE(f.name(1), QByteArray("RPT\xFF\xFF\xFF\xFF", 7)); // committed first
            if (key == Qt::Key_X) {
                QCOMPARE(f.prompter.asked.size(), 1);
                QCOMPARE(f.prompter.asked.first().text, QStringLiteral("File hasn't been saved, save it now?"));
            } else {
                QCOMPARE(f.prompter.saveRequests.size(), 1);
            }
        }
    }

    void theGridHasTheFocusOnOpeningAndAfterADialog() {
        Fixture f;
        QTRY_VERIFY(f.grid()->hasFocus());
        f.child<QPlainTextEdit>("TxtStatus")->setFocus();
        QObject::connect(f.window.get(), &frmMain::comPortDialogShown,
                         [](frmComPort* d) { QTimer::singleShot(0, d, &QDialog::reject); });
        f.usePorts({});
        f.action("mnuSet_COM")->trigger();
        QTRY_COMPARE(f.window->focusWidget(), f.grid()); // the window's focus, once it is active again
        QTest::keyClick(f.grid(), Qt::Key_7);            // typing edits at once
        QVERIFY(f.editor()->isVisible());
    }
};

QTEST_MAIN(DocumentViewsTest)
#include "test_document_views.moc"
