#include <QSignalSpy>
#include <QtTest>

#include "strings/string_ids.h"
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
    void shape() {
        Fixture f;
        QCOMPARE(f.grid()->model()->rowCount(), 128);
        QCOMPARE(f.grid()->model()->columnCount(), 16);
        QCOMPARE(f.shown(1, col::More), QStringLiteral(">>"));
        QCOMPARE(f.shown(2, col::More), QString());
        const int dpi = f.grid()->logicalDpiX(); // widths are in twips
        QCOMPARE(f.grid()->columnWidth(0), (1200 * dpi + 720) / 1440);
        QCOMPARE(f.grid()->columnWidth(2), (1000 * dpi + 720) / 1440);
    }

    void typedFrequencyOnEmptyRowMakesANewChannel() {
        Fixture f;
        f.focusCell(5, col::Rx);
        QTest::keyClick(f.grid(), Qt::Key_1); // a digit opens the editor holding it
        QCOMPARE(f.editor()->text(), QStringLiteral("1"));
        QTest::keyClicks(f.editor(), QStringLiteral("45.5"));
        QTest::keyClick(f.editor(), Qt::Key_Return);
        QVERIFY(!f.editor()->isVisible());
        QCOMPARE(f.record(5), QByteArray::fromHex("1455000014550000ffffffff04004600"));
        QCOMPARE(f.shown(5, col::Rx), QStringLiteral("145.50000"));
        QCOMPARE(f.shown(5, col::Tx), QStringLiteral("145.50000"));
        QCOMPARE(f.shown(5, col::Scrambler), QStringLiteral("7"));
        QCOMPARE(f.shown(5, col::More), QStringLiteral(">>"));
        QCOMPARE(f.grid()->currentColumn(), col::Tx); // Enter moves right
        QVERIFY(f.grid()->hasFocus());
        QVERIFY(f.doc.isModified());
        QVERIFY(f.prompter.asked.isEmpty());
    }

    void outOfRangeIsReportedAndClamped_data() {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::newRow("digit on column 2 of an empty row lands in column 1") << 3 << int(col::Tx) << "5";
        QTest::newRow("200 on a used channel") << 1 << int(col::Rx) << "200";
    }
    void outOfRangeIsReportedAndClamped() {
        QFETCH(int, channel);
        QFETCH(int, column);
        QFETCH(QString, typed);
        Fixture f;
        f.focusCell(channel, column);
        QTest::keyClicks(f.grid(), typed.left(1));
        QCOMPARE(f.grid()->currentColumn(), col::Rx);
        QTest::keyClicks(f.editor(), typed.mid(1));
        QCOMPARE(f.editor()->text(), typed);
        QTest::keyClick(f.editor(), Qt::Key_Enter);
        QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("Frequency is out of range.")});
        QCOMPARE(f.prompter.asked[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(f.cell(channel, col::Rx), QStringLiteral("136.00000"));
        QCOMPARE(f.record(channel).left(4), QByteArray::fromHex("13600000"));
    }

    void frequencyEditorDropsOtherKeys() {
        Fixture f;
        f.clickCell(1, col::Tx);
        QTest::keyClicks(f.editor(), QStringLiteral("14a6-.,8"));
        QCOMPARE(f.editor()->text(), QStringLiteral("146.,8"));
        QTest::keyClick(f.editor(), Qt::Key_Down);
        QCOMPARE(f.grid()->currentChannel(), 1);
        QVERIFY(f.editor()->isVisible());
        f.editor()->setText(QStringLiteral("146.00000"));
        f.editor()->deselect();
        QTest::keyClick(f.editor(), Qt::Key_5); // nine characters at most
        QCOMPARE(f.editor()->text(), QStringLiteral("146.00000"));
    }

    void nameEditorRefusesEighthCharacterAndBrace() {
        Fixture f;
        f.focusCell(1, col::Name);
        QTest::keyClick(f.grid(), Qt::Key_A);
        QTest::keyClicks(f.editor(), QStringLiteral("b{cdefgh"));
        QCOMPARE(f.editor()->text(), QStringLiteral("Abcdefg"));
        QTest::keyClick(f.editor(), Qt::Key_Return);
        QCOMPARE(f.name(1), QByteArray("Abcdefg"));
        QCOMPARE(f.shown(1, col::Name), QStringLiteral("Abcdefg"));
        // Opened on a full name, all of it selected, a typed key changes nothing: Backspace first.
        f.clickCell(1, col::Name);
        QCOMPARE(f.editor()->selectedText(), QStringLiteral("Abcdefg"));
        QTest::keyClick(f.editor(), Qt::Key_X);
        QCOMPARE(f.editor()->text(), QStringLiteral("Abcdefg"));
        QTest::keyClick(f.editor(), Qt::Key_Backspace);
        QTest::keyClick(f.editor(), Qt::Key_X);
        QCOMPARE(f.editor()->text(), QStringLiteral("x"));
    }

    void escapeWritesNothing() {
        Fixture f;
        f.clickCell(1, col::Rx);
        QCOMPARE(f.editor()->selectedText(), QStringLiteral("145.00000"));
        QTest::keyClicks(f.editor(), QStringLiteral("150"));
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

    void listEditorWritesItsBitsOnly() {
        Fixture f;
        f.clickCell(1, col::Power);
        QCOMPARE(f.list()->count(), 2);
        QCOMPARE(f.list()->currentText(), QStringLiteral("High"));
        QTest::keyClick(f.list(), Qt::Key_Up);
        QTest::keyClick(f.list(), Qt::Key_Return);
        QCOMPARE(f.record(1), QByteArray::fromHex("1450000014560000ffffffff00004600"));
        QCOMPARE(f.shown(1, col::Power), QStringLiteral("Low"));
        QCOMPARE(f.grid()->currentColumn(), col::Scan);
    }

    void toneEditorAndEncodeRedirectWithoutTransmit() {
        Fixture f;
        f.clickCell(1, col::Decode);
        QCOMPARE(f.tones()->count(), 261);
        f.tones()->setCurrentIndex(f.tones()->findText(QStringLiteral("88.5")));
        QTest::keyClick(f.tones(), Qt::Key_Return);
        QCOMPARE(f.record(1).mid(8, 2), QByteArray::fromHex("8508"));
        QCOMPARE(f.grid()->currentColumn(), col::Encode);

        f.clickCell(1, col::Tx);
        f.editor()->clear();
        QTest::keyClick(f.editor(), Qt::Key_Return);
        QCOMPARE(f.cell(1, col::Tx), QString());
        f.clickCell(1, col::Encode); // nothing to encode on: edits the transmit frequency
        QCOMPARE(f.grid()->currentColumn(), col::Tx);
        QVERIFY(f.editor()->isVisible());
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

    // Not a test: with NORVIK_SCREENSHOT_DIR set, saves the grid in both languages.
    void screenshots() {
        const QString dir = qEnvironmentVariable("NORVIK_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("NORVIK_SCREENSHOT_DIR not set");
        Fixture f;
        f.window->resize(1380, 500);
        const char* rx[] = {"145.5", "146.52", "438.5", "439.00625", "462.5625", "156.8"};
        for (int i = 0; i < 6; ++i)
            f.table().commitCell(i + 2, col::Rx, rx[i]);
        f.table().commitCell(1, col::Name, "REPEAT");
        f.table().commitCell(3, col::Name, "SIMPLEX");
        f.table().commitCell(4, col::Tx, "430.9");
        f.table().commitCell(4, col::Decode, "D023N");
        f.table().commitCell(4, col::Encode, "88.5");
        f.table().commitCell(5, col::Power, "Low");
        f.table().commitCell(6, col::Bandwidth, "Narrow");
        f.table().commitCell(7, col::Tx, "");
        QVERIFY(f.grid()->grab().save(dir + QStringLiteral("/channel-grid-en.png")));
        f.window->setLanguage(Language::Chinese);
        QTest::qWait(50);
        QVERIFY(f.grid()->grab().save(dir + QStringLiteral("/channel-grid-zh.png")));
    }
};

QTEST_MAIN(ChannelGridTest)
#include "test_channel_grid.moc"
