#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "app/options/code_grid.h"
#include "app/options/frm_op_sign.h"
#include "app/options/option_line_edit.h"
#include "app/options/option_page.h"
#include "app/options/up_down.h"
#include "support/window_fixture.h"

using namespace norvik;

namespace {

struct Fixture : test::WindowFixture {
    QPointer<FrmOpSign> dialog;

    Fixture() {
        start();
        action("mnuProgram_OPSign")->trigger();
        dialog = window->findChild<FrmOpSign*>();
        QVERIFY(dialog && QTest::qWaitForWindowActive(dialog));
    }

    template <class T> T* field(const char* name, int index = -1) const {
        return test::indexedChild<T>(dialog, name, index);
    }
    QTreeWidgetItem* node(const char* key) const {
        return test::treeNode(field<QTreeWidget>("TreeOPS"), QLatin1String(key));
    }
    void click(const char* key) const { test::clickTreeNode(field<QTreeWidget>("TreeOPS"), QLatin1String(key)); }
    QString shownKey() const { return field<QTreeWidget>("TreeOPS")->currentItem()->data(0, Qt::UserRole).toString(); }
    CodeGrid* focusGrid(const char* name, int row, int column) const {
        auto* grid = field<CodeGrid>(name);
        grid->setCurrentCell(row - 1, column);
        grid->setFocus();
        [&] { QTRY_VERIFY(grid->hasFocus()); }();
        return grid;
    }
    QString focused() const {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
    }
    // The caption's mnemonic presses the button (a moment later, as a click animates).
    void alt(Qt::Key key, int button) const {
        QSignalSpy pressed(dialog->cmdOps(button), &QPushButton::clicked);
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        QVERIFY(pressed.wait(2000));
    }
    // Edits on three pages: squelch on Function Setting, side tone on Common Set, the PTT ID type.
    void editEveryPage() const {
        choose(field<QComboBox>("cboSqLevel"), QStringLiteral("3"));
        click("C0");
        field<QCheckBox>("ChkOPSet")->click();
        click("B1");
        choose(field<QComboBox>("CboPttID"), QStringLiteral("DTMF"));
        typeInto(field<QLineEdit>("TxtPtt1"), QStringLiteral("*12#"));
    }
};

// A code grid's editor: keys that do not open it, keys typed (the first opens it), what it shows
// and what the cell takes on Enter, and where the focus and the current cell go then.
struct GridCase {
    const char* node;
    const char* grid;
    const char* editor;
    int row;
    int column;
    const char* notStarting;
    const char* typed;
    const char* shown;
    const char* committed;
    const char* focusAfter;
    int rowAfter;
    int columnAfter;
};
constexpr GridCase kGridCases[] = {
    // DTMF: the last row goes on to Save. 2-tone: the tone limits, then the next column.
    {"C1", "GridDTMF", "TxtDTMF", 10, 1, "x ", "a5 #xd", "A5#D", "A5#D", "CmdOps", 10, 1},
    {"C3", "Grid2Tone", "Txt2T", 2, 1, "a.", "5000x", "5000", "3000.0", "Grid2Tone", 2, 2},
};

} // namespace

class OpSignTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnFunctionSettingWithSquelchFocused() {
        Fixture f;
        QVERIFY(f.dialog && f.dialog->isVisible());
        QCOMPARE(f.dialog->windowModality(), Qt::WindowModal);
        QCOMPARE(f.shownKey(), QStringLiteral("B0"));
        QCOMPARE(f.dialog->pageIndex(), 5);
        QVERIFY(f.dialog->page(5)->isVisible() && !f.dialog->page(6)->isVisible());
        QCOMPARE(f.field<QGroupBox>("FraOPS")->title(), QStringLiteral("Function Setting"));
        QTRY_COMPARE(f.focused(), QStringLiteral("cboSqLevel"));
    }

    // A group's node shows its first page.
    void nodeClickShowsItsPage() {
        struct Case {
            const char *key, *chosen;
            int page;
            const char* caption;
        } const cases[] = {{"B", "B0", 5, "Function Setting"},
                           {"C", "C0", 0, "Common Set"},
                           {"B1", "B1", 6, "PTT ID Setting"},
                           {"C4", "C4", 4, "5-Tone"}};
        Fixture f;
        for (const Case& c : cases) {
            f.click("C3"); // start away from every row's page
            f.click(c.key);
            QCOMPARE(f.shownKey(), QLatin1String(c.chosen));
            QCOMPARE(f.dialog->pageIndex(), c.page);
            QVERIFY(f.dialog->page(c.page)->isVisible());
            QCOMPARE(f.field<QGroupBox>("FraOPS")->title(), QLatin1String(c.caption));
        }
    }

    void saveWritesEveryPageAsOneStepAndUndoTakesItBack() {
        Fixture f;
        const RadioImage before = f.doc.image();
        const std::size_t steps = f.doc.undoCount();
        f.editEveryPage();
        f.click("B0");
        auto* manual = f.field<QCheckBox>("ChkManual");
        manual->click();
        f.alt(Qt::Key_S, 0);
        QCOMPARE(f.doc.undoCount(), steps + 1);
        QCOMPARE(f.doc.image().at(0x834), 3);
        QCOMPARE(f.doc.image().at(0x832) & 0x30, 0x30); // side tone, DTMF type
        QCOMPARE(f.bytesAt(0xD90, 7), QByteArray::fromHex("0E01020FFFFFFF"));
        QCOMPARE(f.action("mnuSet_Manual")->isChecked(), manual->isChecked());
        QVERIFY(f.dialog->isVisible()); // Save keeps the window open
        const bool savedManual = manual->isChecked();
        f.alt(Qt::Key_C, 2);
        QTRY_VERIFY(!f.dialog);
        f.action("mnuEdit_Undo")->trigger();
        QVERIFY(f.doc.image() == before);
        QCOMPARE(f.action("mnuSet_Manual")->isChecked(), !savedManual);
    }

    // Alt+S leaves the caret in the field: the field is checked as leaving it would check it.
    void saveByShortcutStoresWhatLeavingTheFieldShows() {
        struct Case {
            const char* node;
            const char* field;
            int index;
            const char* typed;
            const char* shown;
            int address;
            const char* bytes;
        };
        const Case cases[] = {
            {"C0", "TxtOPSet", 0, "9", "100", 0xD24, "00"},
            {"C1", "TxtDT", 2, "7", "50", 0xD23, "00"},
            {"C3", "Txt2Tone", 0, "100", "288.5", 0xC40, "0B45"},
            {"C4", "Txt5Tone", -1, "9", "9AAAA", 0xD26, "090A0A0A0A"},
        };
        for (const Case& c : cases) {
            Fixture f;
            f.click(c.node);
            auto* field = f.field<OptionLineEdit>(c.field, c.index);
            QTest::mouseClick(field, Qt::LeftButton);
            QTRY_COMPARE(field->selectedText(), field->text());
            QTest::keyClicks(field, QString::fromLatin1(c.typed));
            f.alt(Qt::Key_S, 0);
            QVERIFY(field->hasFocus());
            QCOMPARE(field->text(), QString::fromLatin1(c.shown));
            QCOMPARE(f.bytesAt(c.address, int(std::strlen(c.bytes)) / 2), QByteArray::fromHex(c.bytes));
        }
    }

    void resetRestoresEveryPageAndCloseWritesNothing() {
        Fixture f;
        const RadioImage before = f.doc.image();
        f.editEveryPage();
        f.alt(Qt::Key_R, 1);
        QCOMPARE(f.field<QComboBox>("cboSqLevel")->currentIndex(), int(before.at(0x834)));
        QCOMPARE(f.field<QCheckBox>("ChkOPSet")->isChecked(), (before.at(0x832) & 0x20) != 0);
        QCOMPARE(f.field<QComboBox>("CboPttID")->currentIndex(), (before.at(0x832) & 0x10) ? 1 : 0);
        f.editEveryPage();
        f.alt(Qt::Key_C, 2);
        QTRY_VERIFY(!f.dialog);
        QVERIFY(f.doc.image() == before);
        QVERIFY(!f.doc.canUndo());
    }

    void enterFollowsTheChainToSave() {
        Fixture f;
        test::WindowFixture::choose(f.field<QComboBox>("cboMsgMode"), QStringLiteral("MSG"));
        const QStringList chain = {
            "cboSqLevel", "cboTot",   "cboScanModes",  "CboChord",    "cboBattSave", "cboBeepTone",   "cboRogerTone",
            "cboLamp",    "cboChDis", "cboVoxLevel",   "cboVoxDelay", "cboMsgMode",  "txtPoweronmsg", "chkOp",
            "chkRecStop", "ChkRelay", "ChkTOTPenalty", "ChkManual",   "Cboband",     "Cboband",       "CmdOps"};
        f.field<QComboBox>("cboSqLevel")->setFocus();
        for (const QString& name : chain) {
            QTRY_COMPARE(f.focused(), name);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        QVERIFY(f.doc.canUndo()); // Enter on Save pressed it (the message mode changed)

        f.field<QCheckBox>("chkVoxInt")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(f.focused(), QStringLiteral("chkVoxInt"));

        f.click("C0");
        auto* delay = f.field<OptionLineEdit>("TxtOPSet", 0);
        test::WindowFixture::typeInto(delay, QStringLiteral("437"), Qt::Key_Return);
        QCOMPARE(delay->text(), QStringLiteral("400"));
        QCOMPARE(f.focused(), QStringLiteral("TxtOPSet"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.dialog->cmdOps(0));
    }

    void fieldsFollowTheirRules() {
        Fixture f;
        f.doc.edit(0, [](RadioImage& img) { img.setText(0x840, 7, "STORED"); });
        auto* message = f.field<QLineEdit>("txtPoweronmsg");
        auto* mode = f.field<QComboBox>("cboMsgMode");
        test::WindowFixture::choose(mode, QStringLiteral("MSG"));
        QVERIFY(message->isEnabled());
        QCOMPARE(message->text(), QStringLiteral("STORED")); // read from the image as MSG is chosen
        test::WindowFixture::typeInto(message, QStringLiteral("ab!c"));
        QCOMPARE(message->text(), QStringLiteral("ABC"));
        test::WindowFixture::choose(mode, QStringLiteral("DC"));
        QVERIFY(!message->isEnabled());
        QCOMPARE(message->text(), QStringLiteral("ABC"));

        f.click("B1");
        auto* bot = f.field<QLineEdit>("TxtPtt1");
        test::WindowFixture::typeInto(bot, QStringLiteral("12"));
        test::WindowFixture::choose(f.field<QComboBox>("CboPttID"), QStringLiteral("DTMF"));
        QCOMPARE(bot->text() + f.field<QLineEdit>("TxtPtt2")->text(), QString());
        QCOMPARE(bot->maxLength(), 7);
        test::WindowFixture::typeInto(bot, QStringLiteral("a*x"));
        QCOMPARE(bot->text(), QStringLiteral("A*"));

        f.click("C0");
        auto* reset = f.field<QLineEdit>("TxtOPSet", 1);
        test::WindowFixture::typeInto(reset, QStringLiteral("0"), Qt::Key_unknown);
        QTest::keyClick(reset, Qt::Key_Up);
        QCOMPARE(reset->text(), QStringLiteral("1"));
        QTest::mouseClick(f.field<UpDown>("UDOpSet", 1)->downButton(), Qt::LeftButton);
        QCOMPARE(reset->text(), QStringLiteral("Off"));
        QTest::keyClicks(reset, QStringLiteral("x"));
        QTest::keyClick(reset, Qt::Key_Escape);
        QCOMPARE(reset->text(), QStringLiteral("10")); // as it was on entering
    }

    // One editor serves the three code grids; each grid's own keys and walk come through it.
    void codeGridEditorsFollowTheirGrid() {
        for (const GridCase& c : kGridCases) {
            const QString typed = QString::fromLatin1(c.typed);
            const QString committed = QString::fromLatin1(c.committed);
            Fixture f;
            f.click(c.node);
            CodeGrid* g = f.focusGrid(c.grid, c.row, c.column);
            QLineEdit* editor = g->editor();
            QCOMPARE(editor->objectName(), QLatin1String(c.editor));

            QTest::keyClicks(g, QString::fromLatin1(c.notStarting));
            QVERIFY(!g->isEditorOpen());
            QTest::keyClicks(g, typed.left(1));
            QVERIFY(g->isEditorOpen() && editor->isVisible());
            QTest::keyClicks(editor, typed.mid(1));
            QCOMPARE(editor->text(), QLatin1String(c.shown));
            QTest::keyClick(editor, Qt::Key_Return);
            QVERIFY(!editor->isVisible());
            QCOMPARE(QString::fromStdString(g->text(c.row, c.column)), committed);
            QCOMPARE(f.focused(), QLatin1String(c.focusAfter));
            QCOMPARE(g->currentRow() + 1, c.rowAfter);
            QCOMPARE(g->currentColumn(), c.columnAfter);

            // A left press opens the editor on the cell's text; Esc puts that text back.
            QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                              g->visualRect(g->model()->index(c.row - 1, c.column)).center());
            QVERIFY(g->isEditorOpen());
            QCOMPARE(editor->text(), committed);
            QCOMPARE(editor->selectedText(), committed);
            QTest::keyClicks(editor, typed.left(1));
            QTest::keyClick(editor, Qt::Key_Escape);
            QVERIFY(!editor->isVisible());
            QCOMPARE(QString::fromStdString(g->text(c.row, c.column)), committed);
            QCOMPARE(f.focused(), QLatin1String(c.grid));
        }
    }

    void twoToneEnterWalksAcrossTheRowsToTheAToneField() {
        Fixture f;
        f.click("C3");
        CodeGrid* g = f.focusGrid("Grid2Tone", 2, 1);
        for (const char* tone : {"1000", "2000"}) {
            QTest::keyClick(g, tone[0]);
            QTest::keyClicks(g->editor(), QString::fromLatin1(tone + 1));
            QTest::keyClick(g->editor(), Qt::Key_Return);
        }
        QCOMPARE(QString::fromStdString(g->text(2, 3)), QStringLiteral("100")); // both tones set: the gap follows
        QCOMPARE(g->currentColumn(), 3);
        QTest::keyClick(g, Qt::Key_Return); // Enter on the grid commits the cell as it stands
        QCOMPARE(g->currentRow() + 1, 3);
        QCOMPARE(g->currentColumn(), 1);

        g->setCurrentCell(1, 2);
        QTest::keyClick(g, Qt::Key_Backspace);
        QCOMPARE(QString::fromStdString(g->text(2, 2)), QString());
        QCOMPARE(QString::fromStdString(g->text(2, 3)), QStringLiteral("100")); // no other cell changes

        g->setCurrentCell(9, 3);
        QTest::keyClick(g, Qt::Key_Return);
        auto* toneA = f.field<QLineEdit>("Txt2Tone", 0);
        QCOMPARE(QApplication::focusWidget(), toneA);
        QTest::keyClicks(toneA, QStringLiteral("3500"));
        QCOMPARE(toneA->text(), QStringLiteral("3000")); // held while typing
        QTest::keyClick(toneA, Qt::Key_Return);
        QCOMPARE(toneA->text(), QStringLiteral("3000.0"));
    }

    // Enter in each field of a page goes where that field's rule says, ending at Save or the grid.
    void enterWalksEachSignallingPage_data() {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QStringList>("chain"); // "name" or "name(index)"; the first gets the focus
        QTest::newRow("DTMF") << "C1" << QStringList{"TxtDT(0)", "TxtDT(1)", "TxtDT(2)", "CmdOps"};
        QTest::newRow("MSK") << "C2" << QStringList{"TxtMSK(0)", "GridMSK"};
        QTest::newRow("2-Tone") << "C3" << QStringList{"Txt2Tone(0)", "Txt2Tone(1)", "Txt2Tone(2)",
                                                       "Cbo2Tone(0)", "Cbo2Tone(1)", "CmdOps"};
        QTest::newRow("2-Tone alert list") << "C3" << QStringList{"Cbo2Tone(2)", "Grid2Tone"};
        QTest::newRow("5-Tone") << "C4"
                                << QStringList{"Cbo5Tone(0)", "Cbo5Tone(1)", "Cbo5Tone(2)", "Txt5Tone", "CmdOps"};
    }
    void enterWalksEachSignallingPage() {
        QFETCH(QString, node);
        QFETCH(QStringList, chain);
        Fixture f;
        f.click(node.toLatin1().constData());
        const auto widget = [&f](const QString& step) {
            const qsizetype open = step.indexOf(QLatin1Char('('));
            const QByteArray name = step.left(open).toLatin1();
            return f.field<QWidget>(name.constData(), open < 0 ? -1 : step.mid(open + 1).chopped(1).toInt());
        };
        widget(chain.first())->setFocus();
        for (qsizetype i = 0; i < chain.size(); ++i) {
            QTRY_COMPARE(QApplication::focusWidget(), widget(chain[i]));
            if (i + 1 < chain.size())
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
    }

    void fieldsAndGridsFollowTheImageAndTheirEditors() {
        Fixture f;
        f.click("C1");
        auto* digitTime = f.field<QLineEdit>("TxtDT", 0);
        test::WindowFixture::typeInto(digitTime, QStringLiteral("50"));
        QTest::mouseClick(f.field<UpDown>("UDDtmf", 0)->downButton(), Qt::LeftButton);
        QCOMPARE(digitTime->text(), QStringLiteral("200")); // the up-down control goes round

        f.click("C4");
        auto* id = f.field<QLineEdit>("Txt5Tone");
        test::WindowFixture::typeInto(id, QStringLiteral("1e2"));
        QCOMPARE(id->text(), QStringLiteral("12AAA"));
        // A paste passes the same key filter, before it reaches the field.
        QApplication::clipboard()->setText(QStringLiteral("3e4"));
        id->selectAll();
        QTest::keyClick(id, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(id->text(), QStringLiteral("34"));

        // An editor left for another field keeps its text; Reset shows the image again.
        f.click("C2");
        CodeGrid* calls = f.focusGrid("GridMSK", 3, 1);
        QTest::keyClick(calls, '7');
        f.field<QLineEdit>("TxtMSK", 0)->setFocus();
        QTRY_VERIFY(!calls->isEditorOpen());
        QCOMPARE(QString::fromStdString(calls->text(3, 1)), QStringLiteral("7"));
        f.doc.edit(0, [](RadioImage& img) { img.set(0xD40, 0x0E); });
        f.alt(Qt::Key_R, 1);
        QCOMPARE(QString::fromStdString(calls->text(3, 1)), QStringLiteral("E"));
    }

    // What each page shows reaches the image with the window's Save, an editor left open included.
    void saveWritesTheSignallingPages() {
        Fixture f;
        f.click("C4");
        test::WindowFixture::choose(f.field<QComboBox>("Cbo5Tone", 0), QStringLiteral("ZVEI1"));
        QCOMPARE(f.field<QLineEdit>("txtTone", 10)->text(), QStringLiteral("2800.0"));
        f.click("C3");
        test::WindowFixture::choose(f.field<QComboBox>("Cbo2Tone", 2), QStringLiteral("Alert"));
        f.click("C2");
        test::WindowFixture::typeInto(f.field<QLineEdit>("TxtMSK", 0), QStringLiteral("12"));
        f.click("C1");
        CodeGrid* dtmf = f.focusGrid("GridDTMF", 1, 1);
        QTest::keyClick(dtmf, '1');
        QTest::keyClick(dtmf->editor(), '#');
        f.alt(Qt::Key_S, 0);
        QCOMPARE(f.bytesAt(0xDB0, 3), QByteArray::fromHex("010FFF"));
        QCOMPARE(f.bytesAt(0xD30, 4), QByteArray::fromHex("0102FFFF"));
        QCOMPARE(f.doc.image().at(0xC48), 1);
        QCOMPARE(f.doc.image().at(0xD25), 6);
    }
};

QTEST_MAIN(OpSignTest)
#include "test_op_sign.moc"
