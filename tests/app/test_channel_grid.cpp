#include <QClipboard>
#include <QSignalSpy>
#include <QtTest>

#include "core/strings/string_ids.h"
#include "support/window_fixture.h"

using namespace norvik;

namespace {

// The main window's grid with channel 1 in use: 145.00000 / 145.60000.
struct Fixture : test::WindowFixture {
    Fixture() {
        useChannel(1, 14500000, 14560000);
        start();
    }
    QComboBox* tones() { return grid()->findChild<QComboBox*>(QStringLiteral("cboQtDqt")); }
    QComboBox* list() { return grid()->findChild<QComboBox*>(QStringLiteral("cboPowerScan")); }
    QString cell(int channel, int column) { return QString::fromStdString(table().text(channel, column)); }
};

} // namespace

class ChannelGridTest : public QObject {
    Q_OBJECT
private slots:
    // 128 rows of 16 columns; a typed frequency on an empty row makes a new channel.
    void typedFrequencyOnEmptyRowMakesANewChannel() {
        Fixture f;
        QCOMPARE(f.grid()->model()->rowCount(), 128);
        QCOMPARE(f.grid()->model()->columnCount(), 16);
        QCOMPARE(f.shown(1, col::More), QStringLiteral(">>")); // the marker is for channels in use
        QCOMPARE(f.shown(5, col::More), QString());
        f.focusCell(5, col::Rx);
        QTest::keyClick(f.grid(), Qt::Key_1); // a digit opens the editor holding it
        QCOMPARE(f.editor()->text(), QStringLiteral("1"));
        QTest::keyClicks(f.editor(), QStringLiteral("45.5"));
        QTest::keyClick(f.editor(), Qt::Key_Return);
        QVERIFY(!f.editor()->isVisible());
        QCOMPARE(f.shown(5, col::Rx), QStringLiteral("145.50000"));
        QCOMPARE(f.shown(5, col::More), QStringLiteral(">>"));
        QCOMPARE(f.grid()->currentColumn(), col::Tx); // Enter moves right
        QVERIFY(f.grid()->hasFocus());
        QVERIFY(f.doc.isModified());
        QVERIFY(f.prompter.asked.isEmpty());
    }

    // A digit on the transmit column of an empty row edits its receive frequency.
    void outOfRangeIsReportedAndClamped() {
        Fixture f;
        f.focusCell(3, col::Tx);
        QTest::keyClick(f.grid(), Qt::Key_5);
        QCOMPARE(f.grid()->currentColumn(), col::Rx);
        QCOMPARE(f.editor()->text(), QStringLiteral("5"));
        QTest::keyClick(f.editor(), Qt::Key_Enter);
        QCOMPARE(f.prompter.texts(),
                 QStringList{QStringLiteral("Frequency is out of range.\nThe band limits in force are "
                                            "136\u2013174, 400\u2013470, 350\u2013390, 470\u2013520 MHz.")});
        QCOMPARE(f.prompter.asked[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(f.cell(3, col::Rx), QStringLiteral("136.00000"));
    }

    void nameEditorRefusesEighthCharacterAndBrace() {
        Fixture f;
        f.focusCell(1, col::Name);
        QTest::keyClick(f.grid(), Qt::Key_A);
        QTest::keyClicks(f.editor(), QStringLiteral("b{cdefgh"));
        QCOMPARE(f.editor()->text(), QStringLiteral("Abcdefg"));
        QTest::keyClick(f.editor(), Qt::Key_Return);
        QCOMPARE(f.shown(1, col::Name), QStringLiteral("Abcdefg"));
        // Opened on a full name, all of it selected, a typed key changes nothing: Backspace first.
        f.clickCell(1, col::Name);
        QCOMPARE(f.editor()->selectedText(), QStringLiteral("Abcdefg"));
        QTest::keyClick(f.editor(), Qt::Key_X);
        QCOMPARE(f.editor()->text(), QStringLiteral("Abcdefg"));
        QTest::keyClick(f.editor(), Qt::Key_Backspace);
        QTest::keyClick(f.editor(), Qt::Key_X);
        QCOMPARE(f.editor()->text(), QStringLiteral("x"));
        // The paste key other than Ctrl+V would put a brace past the key rule.
        QApplication::clipboard()->setText(QStringLiteral("{}"));
        QTest::keyClick(f.editor(), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(f.editor()->text(), QStringLiteral("x"));
    }

    // C, V and D are Copy, Paste and Clear only with Ctrl; plain, they start a name like any letter.
    void namesStartingWithShortcutLettersAreStoredWhole() {
        for (const QString& name :
             {QStringLiteral("CALL2"), QStringLiteral("VHF1"), QStringLiteral("DISP"), QStringLiteral("ICOM")}) {
            Fixture f;
            f.focusCell(1, col::Name);
            QTest::keyClicks(f.grid(), name.left(1));
            QVERIFY(f.editor()->isVisible());
            QTest::keyClicks(f.editor(), name.mid(1));
            QTest::keyClick(f.editor(), Qt::Key_Return);
            QCOMPARE(f.cell(1, col::Name), name);
            QSignalSpy copy(f.grid(), &ChannelGrid::copyRequested);
            f.focusCell(1, col::Name);
            QTest::keyClick(f.grid(), Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(copy.size(), 1);
            QVERIFY(!f.editor()->isVisible());
        }
    }

    void escapeWritesNothing() {
        Fixture f;
        f.clickCell(1, col::Rx);
        QCOMPARE(f.editor()->selectedText(), QStringLiteral("145.00000"));
        QTest::keyClicks(f.editor(), QStringLiteral("150"));
        QTest::keyClick(f.editor(), Qt::Key_Down); // the editor stays open on its cell
        QVERIFY(f.editor()->isVisible());
        QCOMPARE(f.grid()->currentChannel(), 1);
        QTest::keyClick(f.editor(), Qt::Key_Escape);
        QVERIFY(!f.editor()->isVisible());
        QCOMPARE(f.shown(1, col::Rx), QStringLiteral("145.00000"));
        QVERIFY(!f.doc.isModified());
        QVERIFY(f.grid()->hasFocus());
    }

    void enterSkipsHiddenColumnsAndStaysOnTheLastShown() {
        Fixture f;
        f.table().setColumnVisible(col::Offset, false);
        f.table().setColumnVisible(col::Duplex, false);
        f.grid()->applyColumnWidths();
        QCOMPARE(f.grid()->columnWidth(col::Offset - 1), 0);
        f.clickCell(1, col::Scrambler);
        QTest::keyClick(f.list(), Qt::Key_Return);
        QCOMPARE(f.grid()->currentColumn(), col::More);

        f.table().setColumnVisible(col::More, false);
        f.grid()->applyColumnWidths();
        f.clickCell(1, col::Scrambler);
        QTest::keyClick(f.list(), Qt::Key_Return);
        QCOMPARE(f.grid()->currentColumn(), col::Scrambler);
    }

    void listEditorCommitsTheChosenEntry() {
        Fixture f;
        f.clickCell(1, col::Power);
        QCOMPARE(f.list()->count(), 2);
        QCOMPARE(f.list()->currentText(), QStringLiteral("High"));
        QTest::keyClick(f.list(), Qt::Key_Up);
        QTest::keyClick(f.list(), Qt::Key_Return);
        QCOMPARE(f.shown(1, col::Power), QStringLiteral("Low"));
        QCOMPARE(f.doc.undoLabelId(), ids::ChangeCellEdit);
        QCOMPARE(f.grid()->currentColumn(), col::Scan);
    }

    void toneEditorCommitsAndMovesOn() {
        Fixture f;
        f.clickCell(1, col::Decode);
        QCOMPARE(f.tones()->count(), 261);
        f.tones()->setCurrentIndex(f.tones()->findText(QStringLiteral("88.5")));
        QTest::keyClick(f.tones(), Qt::Key_Return);
        QCOMPARE(f.shown(1, col::Decode), QStringLiteral("88.5"));
        QCOMPARE(f.grid()->currentColumn(), col::Encode);
    }

    void leavingAnEditorCommitsIt() {
        Fixture f;
        f.clickCell(1, col::Tx);
        f.editor()->setText(QStringLiteral("146"));
        f.clickCell(2, col::Power); // an empty row: lands on its receive frequency
        QCOMPARE(f.cell(1, col::Tx), QStringLiteral("146.00000"));
        QCOMPARE(f.cell(1, col::Duplex), QStringLiteral("Plus"));
        QCOMPARE(f.grid()->currentChannel(), 2);
        QCOMPARE(f.grid()->currentColumn(), col::Rx);
        f.editor()->setText(QStringLiteral("147"));
        f.grid()->commitEditor();
        QVERIFY(!f.editor()->isVisible());
        QCOMPARE(f.cell(2, col::Rx), QStringLiteral("147.00000"));

        // Without single-click editing a click opens nothing, a double click does; a click that
        // opens nothing still takes the focus from the editor, which commits it.
        f.grid()->setSingleClick(false);
        f.clickCell(1, col::Offset);
        QVERIFY(!f.editor()->isVisible());
        QTest::mouseDClick(f.grid()->viewport(), Qt::LeftButton, {}, f.grid()->cellRect(1, col::Offset).center());
        QVERIFY(f.editor()->hasFocus());
        f.editor()->setText(QStringLiteral("0.5"));
        f.clickCell(1, col::Power);
        QVERIFY(!f.editor()->isVisible());
        QVERIFY(!f.list()->isVisible());
        QCOMPARE(f.cell(1, col::Offset), QStringLiteral("0.50000"));
        QCOMPARE(f.cell(1, col::Tx), QStringLiteral("145.50000"));
    }

    void moreColumnOpensTheAlternatePanel() {
        Fixture f;
        QSignalSpy spy(f.grid(), &ChannelGrid::alternatePanelRequested);
        f.clickCell(2, col::More); // empty channel: edits its receive frequency instead
        QCOMPARE(spy.size(), 0);
        QVERIFY(f.editor()->isVisible());
        f.grid()->commitEditor();
        f.clickCell(1, col::More);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy[0][0].toInt(), 1);
        QVERIFY(f.window->alternatePanelShown());
        f.action("mnuSet_GUI")->trigger();
        f.focusCell(1, col::More);
        QTest::keyClick(f.grid(), Qt::Key_Return);
        QCOMPARE(spy.size(), 2);
    }

    void editShortcutsFromGridAndEditors() {
        Fixture f;
        QSignalSpy copy(f.grid(), &ChannelGrid::copyRequested);
        QSignalSpy clear(f.grid(), &ChannelGrid::clearRequested);
        f.focusCell(1, col::Rx);
        QTest::keyClick(f.grid(), Qt::Key_C, Qt::ControlModifier);
        f.clickCell(1, col::Tx);
        f.editor()->setText(QStringLiteral("146"));
        QTest::keyClick(f.editor(), Qt::Key_V, Qt::ControlModifier);
        // The typed transmit went in first, then the paste over it.
        QCOMPARE(f.cell(1, col::Tx), QStringLiteral("145.60000"));
        QCOMPARE(f.doc.undoLabelId(), ids::ChangePaste);
        f.doc.undo();
        QCOMPARE(f.cell(1, col::Tx), QStringLiteral("146.00000"));
        f.clickCell(1, col::Power);
        QTest::keyClick(f.list(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(copy.size(), 1);
        QCOMPARE(clear.size(), 1);
    }

    void helpContextFollowsTheFirstSixColumns() {
        Fixture f;
        f.grid()->setCurrentCell(1, col::Decode);
        QCOMPARE(f.grid()->helpContext(), 7009);
        f.grid()->setCurrentCell(1, col::Scan);
        QCOMPARE(f.grid()->helpContext(), 7012);
        f.grid()->setCurrentCell(1, col::Name); // past the sixth: the last one stays
        QCOMPARE(f.grid()->helpContext(), 7012);
    }
};

QTEST_MAIN(ChannelGridTest)
#include "test_channel_grid.moc"
