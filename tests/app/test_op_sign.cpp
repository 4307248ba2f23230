#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "options/frm_op_sign.h"
#include "options/option_line_edit.h"
#include "options/option_page.h"
#include "options/up_down.h"
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
        for (T* w : dialog->findChildren<T*>(QString::fromLatin1(name))) {
            if (index < 0 || w->property("index").toInt() == index)
                return w;
        }
        qFatal("no control %s(%d)", name, index);
    }
    QTreeWidgetItem* node(const char* key) const {
        auto* tree = field<QTreeWidget>("TreeOPS");
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            if ((*it)->data(0, Qt::UserRole).toString() == QLatin1String(key))
                return *it;
        }
        return nullptr;
    }
    void click(const char* key) const {
        auto* tree = field<QTreeWidget>("TreeOPS");
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node(key)).center());
    }
    QString shownKey() const { return field<QTreeWidget>("TreeOPS")->currentItem()->data(0, Qt::UserRole).toString(); }
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

    void nodeClickShowsItsPage_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("caption");
        QTest::newRow("MainSet") << "B"
                                 << "B0" << 5 << "Function Setting";
        QTest::newRow("Option Signal") << "C"
                                       << "C0" << 0 << "Common Set";
        QTest::newRow("PTT ID") << "B1"
                                << "B1" << 6 << "PTT ID Setting";
        QTest::newRow("MSK placeholder") << "C2"
                                         << "C2" << 2 << "MSK";
        QTest::newRow("5-Tone placeholder") << "C4"
                                            << "C4" << 4 << "5-Tone";
    }
    void nodeClickShowsItsPage() {
        QFETCH(QString, key);
        QFETCH(QString, chosen);
        QFETCH(int, page);
        QFETCH(QString, caption);
        Fixture f;
        f.click("C3"); // start away from every row's page
        f.click(key.toLatin1().constData());
        QCOMPARE(f.shownKey(), chosen);
        QCOMPARE(f.dialog->pageIndex(), page);
        QVERIFY(f.dialog->page(page)->isVisible());
        QCOMPARE(f.field<QGroupBox>("FraOPS")->title(), caption);
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
        test::WindowFixture::typeInto(bot, QStringLiteral("12x"));
        QCOMPARE(bot->text(), QStringLiteral("12"));
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
};

QTEST_MAIN(OpSignTest)
#include "test_op_sign.moc"
