#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "app/common/texts.h"
#include "app/editor/alternate_panel.h"
#include "core/strings/string_ids.h"
#include "support/window_fixture.h"

using namespace norvik;

namespace {

struct Fixture : test::WindowFixture {
    AlternatePanel* panel() { return window->alternatePanel(); }
    QLineEdit* field(const char* name) { return panel()->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QComboBox* list(const char* name) { return panel()->findChild<QComboBox*>(QString::fromLatin1(name)); }
    QPushButton* button(const char* name) { return panel()->findChild<QPushButton*>(QString::fromLatin1(name)); }
    // Opens the panel on a channel the way the user does: the grid's current cell, then the menu.
    void open(int channel) {
        grid()->setCurrentCell(channel, col::Rx);
        action("mnuSet_GUI")->trigger();
        QVERIFY(panel()->isVisible());
    }
    // Channel n in use, the window shown and the panel opened on n.
    void openOn(int n, Frequency rx, Frequency tx = 0) {
        useChannel(n, rx, tx);
        start();
        open(n);
    }
    // The panel's fields, lists and buttons by name, and those of them enabled.
    QStringList controls(bool enabledOnly = false) {
        QStringList out;
        for (QWidget* w : panel()->findChildren<QWidget*>()) {
            const bool control =
                qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QPushButton*>(w);
            if (control && (w->isEnabled() || !enabledOnly))
                out.append(w->objectName());
        }
        out.sort();
        return out;
    }
    QStringList enabledControls() { return controls(true); }
    std::uint8_t byte(int channel, int index) const { return doc.image().at(channelAddress(channel) + index); }
};

// Controls that stay usable on a channel without a receive frequency.
const QStringList kAlwaysEnabled{QStringLiteral("CmdCloseGUI"), QStringLiteral("TxtChannelGUI"),
                                 QStringLiteral("TxtRxFreqGUI")};

} // namespace

class AlternatePanelTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnChannelOneWhenNoneIsCurrent() {
        Fixture f;
        f.useChannel(1, 14500000);
        f.start();
        f.table().current().set(0, 0);
        f.action("mnuSet_GUI")->trigger();
        QCOMPARE(f.field("TxtChannelGUI")->text(), QStringLiteral("1"));
        QCOMPARE(f.field("TxtRxFreqGUI")->text(), QStringLiteral("145.00000"));
        QCOMPARE(f.table().currentChannel(), 1);
        QVERIFY(f.field("TxtRxFreqGUI")->hasFocus());
    }

    void typingAReceiveFrequencyIntoAnEmptyChannelEnablesTheRest() {
        Fixture f;
        f.start();
        f.open(7);
        QCOMPARE(f.enabledControls(), kAlwaysEnabled);
        QCOMPARE(f.list("CboTxPowerGUI")->currentIndex(), -1);

        f.typeInto(f.field("TxtRxFreqGUI"), QStringLiteral("145.5"));
        QCOMPARE(f.shown(7, col::Rx), QStringLiteral("145.50000"));
        QCOMPARE(f.field("TxtTxFreqGUI")->text(), QStringLiteral("145.50000"));
        QCOMPARE(f.list("CboDuplexGUI")->currentText(), QStringLiteral("Off"));
        QCOMPARE(f.list("CboTxPowerGUI")->currentText(), QStringLiteral("High"));
        QCOMPARE(f.field("TxtChNameGUI")->text(), QString()); // fresh channel, name entry still 0xFF
        QCOMPARE(f.enabledControls().size(), f.controls().size());

        // Emptying it again clears the channel and disables the rest.
        f.typeInto(f.field("TxtRxFreqGUI"), QString(), Qt::Key_Backspace);
        QTest::keyClick(f.field("TxtRxFreqGUI"), Qt::Key_Tab);
        QCOMPARE(f.shown(7, col::Tx), QString());
        QCOMPARE(f.enabledControls(), kAlwaysEnabled);
    }

    // Tab goes round the panel's own controls, never onto the grid or the buttons it covers, and
    // Shift+Tab retraces the same steps.
    void tabStaysOnThePanel() {
        Fixture f;
        f.openOn(1, 14500000, 14560000);
        f.field("TxtChannelGUI")->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), f.field("TxtChannelGUI"));
        QWidgetList forward;
        for (int i = 0; i < 30; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            forward.append(QApplication::focusWidget());
            QVERIFY2(f.panel()->isAncestorOf(forward.last()), qPrintable(forward.last()->objectName()));
        }
        QVERIFY(forward.contains(f.button("CmdCloseGUI")));
        QCOMPARE(forward.count(f.field("TxtChannelGUI")), 1); // once round, and part of the way again
        for (int i = forward.size() - 2; i >= 0; --i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget(), forward[i]);
        }
    }

    // Every list commits through the table at once: the grid shows the choice, the transmit
    // field follows the duplex, and the step is named "Panel Edit".
    void listsCommitThroughTheTable() {
        Fixture f;
        f.openOn(2, 14500000);
        QVERIFY(!f.list("CboEncodeGUI")->isEnabled()); // no transmit frequency
        f.typeInto(f.field("TxtTxFreqGUI"), QStringLiteral("145"));
        QCOMPARE(f.list("CboEncodeGUI")->currentText(), QStringLiteral("None"));
        f.typeInto(f.field("TxtOffsetFreqGUI"), QStringLiteral("0.6"));
        struct Case {
            const char* list;
            const char* entry;
            int column;
            const char* transmit;
        };
        const Case cases[] = {
            {"CboDuplexGUI", "Plus", col::Duplex, "145.60000"},
            {"CboDuplexGUI", "Minus", col::Duplex, "144.40000"},
            {"CboEncodeGUI", "88.5", col::Encode, "144.40000"},
            {"CboDecodeGUI", "D023N", col::Decode, "144.40000"},
            {"CboTxPowerGUI", "Low", col::Power, "144.40000"},
            {"CboScanGUI", "Del", col::Scan, "144.40000"},
            {"CboWNGUI", "Narrow", col::Bandwidth, "144.40000"},
            {"CboBCLGUI", "QT/DQT", col::Bcl, "144.40000"},
            {"CboPttIDGUI", "Both", col::PttId, "144.40000"},
            {"CboVoxGUI", "On", col::Vox, "144.40000"},
            {"CboOptionGUI", "Scramble", col::Option, "144.40000"},
            {"CboSCRGroupGUI", "6", col::Scrambler, "144.40000"},
        };
        for (const Case& c : cases) {
            const QByteArray before = f.record(2);
            f.choose(f.list(c.list), QString::fromLatin1(c.entry));
            QCOMPARE(f.shown(2, c.column), QString::fromLatin1(c.entry));
            QVERIFY2(f.record(2) != before, c.list);
            QCOMPARE(f.field("TxtTxFreqGUI")->text(), QString::fromLatin1(c.transmit));
            QCOMPARE(f.doc.undoLabelId(), ids::ChangePanelEdit);
        }
    }

    // Arrow keys reaching the grid under the panel move its current row: the panel follows, and
    // what it changes or clears is the channel it shows. Clear empties the panel too and selects the row.
    void keysOnTheGridUnderThePanelMoveThePanelToo() {
        Fixture f;
        f.useChannel(3, 14600000);
        f.openOn(2, 14500000);
        f.grid()->setFocus();
        QTest::keyClick(f.grid(), Qt::Key_Down);
        QCOMPARE(f.field("TxtChannelGUI")->text(), QStringLiteral("3"));
        f.choose(f.list("CboOptionGUI"), QStringLiteral("Scramble"));
        QCOMPARE(f.shown(3, col::Option), QStringLiteral("Scramble"));
        QCOMPARE(f.shown(2, col::Option), QStringLiteral("Off"));
        QTest::mouseClick(f.button("CmdClearGUI"), Qt::LeftButton);
        QVERIFY(f.table().isEmpty(3));
        QVERIFY(!f.table().isEmpty(2));
        QCOMPARE(f.shown(3, col::Rx), QString());
        QCOMPARE(f.field("TxtRxFreqGUI")->text(), QString());
        QVERIFY(!f.list("CboTxPowerGUI")->isEnabled());
        QCOMPARE(f.grid()->selectionModel()->selectedIndexes().size(), kTableColumns - 1);
    }

    // The auto-response list is there for 5-tone only; the bits behind it are core's.
    void autoResponseFollowsTheSignalType() {
        Fixture f;
        f.openOn(5, 14500000, 14500000);
        f.choose(f.panel()->signalCombo(0), QStringLiteral("5-Tone"));
        QVERIFY(f.panel()->signalCombo(1)->isVisible());
        f.choose(f.panel()->signalCombo(0), QStringLiteral("2-Tone"));
        QVERIFY(!f.panel()->signalCombo(1)->isVisible());
    }

    void showingAChannelWritesNothing() {
        Fixture f;
        f.useChannel(6, 14500000, 14500000);
        f.change([](RadioImage& img) {
            img.set(channelAddress(6) + 13, 0x33); // BCL 11, signal nibble 3
            img.set(channelAddress(6) + 14, 0xC6); // auto-response bit set without 5-tone
            img.set(channelAddress(6) + 15, 0x12);
        });
        f.start();
        f.open(6);
        QCOMPARE(f.list("CboBCLGUI")->currentText(), QStringLiteral("Off"));
        QCOMPARE(f.panel()->signalCombo(0)->currentText(), QStringLiteral("None"));
        QVERIFY(!f.panel()->signalCombo(1)->isVisible());
        QVERIFY(!f.doc.isModified());
    }

    void channelSelectorWrapsAndClamps() {
        Fixture f;
        f.useChannel(1, 14500000);
        f.openOn(128, 14600000);
        QLineEdit* ch = f.field("TxtChannelGUI");
        f.typeInto(ch, QString(), Qt::Key_Up);
        QCOMPARE(ch->text(), QStringLiteral("1"));
        QCOMPARE(f.table().currentChannel(), 1);
        QCOMPARE(f.field("TxtRxFreqGUI")->text(), QStringLiteral("145.00000"));
        QTest::keyClick(ch, Qt::Key_Down);
        QCOMPARE(ch->text(), QStringLiteral("128"));
        QCOMPARE(f.field("TxtRxFreqGUI")->text(), QStringLiteral("146.00000"));
        QCOMPARE(f.grid()->currentIndex().row(), 127); // the grid follows the panel

        struct Case {
            const char* typed;
            const char* shown;
        };
        for (const Case c : {Case{"300", "128"}, Case{"0", "1"}, Case{"42", "42"}, Case{"", "42"}}) {
            f.typeInto(ch, QString::fromLatin1(c.typed));
            QCOMPARE(ch->text(), QString::fromLatin1(c.shown));
            QCOMPARE(f.table().currentChannel(), ch->text().toInt());
        }
        QTest::keyClicks(ch, QStringLiteral("a.")); // only digits
        QCOMPARE(ch->text(), QStringLiteral("42"));

        auto* up = f.panel()->findChild<QToolButton*>(QStringLiteral("UDChannelGUI_Up"));
        f.typeInto(ch, QStringLiteral("1"));
        QLineEdit* name = f.field("TxtChNameGUI");
        f.typeInto(name, QStringLiteral("HOME"), Qt::Key_unknown);
        QTest::mouseClick(up, Qt::LeftButton); // the up-down takes no focus from the name
        QCOMPARE(ch->text(), QStringLiteral("2"));
        QCOMPARE(f.shown(1, col::Name), QStringLiteral("HOME"));
        QCOMPARE(name->text(), QString()); // channel 2 is empty
        QTest::keyClick(name, Qt::Key_Escape); // puts back channel 2's text, not channel 1's
        QCOMPARE(name->text(), QString());
    }

    void keysOfTheTextFields() {
        Fixture f;
        f.openOn(9, 14500000, 14500000);
        QLineEdit* name = f.field("TxtChNameGUI");
        f.typeInto(name, QStringLiteral("Ab{~ 12345"), Qt::Key_unknown);
        QCOMPARE(name->text(), QStringLiteral("Ab 1234")); // above 'z' dropped, seven at most
        QTest::keyClick(name, Qt::Key_Escape);
        QCOMPARE(name->text(), QStringLiteral("CH9"));
        QLineEdit* rx = f.field("TxtRxFreqGUI");
        f.typeInto(rx, QStringLiteral("146.0000001"), Qt::Key_unknown); // no length limit here
        QCOMPARE(rx->text(), QStringLiteral("146.0000001"));
        f.typeInto(rx, QStringLiteral("14x6,5"), Qt::Key_unknown);
        QCOMPARE(rx->text(), QStringLiteral("146,5"));
        QTest::keyClick(rx, Qt::Key_Return); // Enter moves on and commits
        QVERIFY(!rx->hasFocus());
        QCOMPARE(f.shown(9, col::Rx), QStringLiteral("146.50000"));
        QCOMPARE(f.field("TxtTxFreqGUI")->text(), QStringLiteral("145.00000"));
    }

    void refillAndLanguageSwitchShowTheSameChannelAndCloseCloses() {
        Fixture f;
        f.openOn(20, 14500000);
        RadioImage read = f.doc.image();
        read.set(channelAddress(20) + 1, 0x70); // 147.00000, as a read from the radio brings it
        f.doc.replace(read, 0, RadioDocument::SavedImage::Keep);
        QCOMPARE(f.field("TxtRxFreqGUI")->text(), QStringLiteral("147.00000"));
        QCOMPARE(f.table().currentChannel(), 20);

        f.action("mnuSet_LanC")->trigger();
        QCOMPARE(f.field("TxtChannelGUI")->text(), QStringLiteral("20"));
        QCOMPARE(f.list("CboTxPowerGUI")->currentText(), QStringLiteral("高"));
        QCOMPARE(f.panel()->findChild<QLabel*>(QStringLiteral("LblRxFreqGUI"))->text(),
                 qtext(ids::HeaderRxFreq, Language::Chinese));
        QCOMPARE(f.button("CmdClearGUI")->text(), qtext(ids::ClearChannel, Language::Chinese));
        QTest::mouseClick(f.button("CmdCloseGUI"), Qt::LeftButton);
        QVERIFY(!f.panel()->isVisible());
        QVERIFY(f.action("mnuEdit")->isEnabled());
    }

    void openFieldIsCommittedBeforeACommand() {
        Fixture f;
        f.openOn(3, 14500000, 14500000);
        f.typeInto(f.field("TxtChNameGUI"), QStringLiteral("RPT"), Qt::Key_unknown);
        f.action("mnuSet_GUI")->trigger(); // closing the panel from the menu
        QCOMPARE(f.shown(3, col::Name), QStringLiteral("RPT"));
    }
};

QTEST_MAIN(AlternatePanelTest)
#include "test_alternate_panel.moc"
