#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include "common/texts.h"
#include "dialogs/help_viewer.h"
#include "editor/channel_grid.h"
#include "editor/frm_main.h"
#include "image/radio_document.h"
#include "support/scripted_prompter.h"

using namespace norvik;

namespace {

// One menu entry as the window must show it: caption by string id (0 = fixed text).
struct Item {
    const char* menu;
    const char* name;
    int captionId;
    const char* fixedCaption;
    QKeySequence shortcut;
    bool hidden;
    bool checkable;
};

const QList<Item>& menuTable() {
    static const QList<Item> items{
        {"mnuFile", "mnuFile_New", 1001, nullptr, QKeySequence(QStringLiteral("Ctrl+N")), false, false},
        {"mnuFile", "mnuFile_Open", 1002, nullptr, QKeySequence(QStringLiteral("Ctrl+O")), false, false},
        {"mnuFile", "mnuFile_Save", 1003, nullptr, QKeySequence(QStringLiteral("Ctrl+S")), false, false},
        {"mnuFile", "mnuFile_SaveAs", 1004, nullptr, QKeySequence(QStringLiteral("Ctrl+A")), false, false},
        {"mnuFile", "mnuFile_Bar1", 0, "", {}, false, false},
        {"mnuFile", "mnuFile_Exit", 1006, nullptr, QKeySequence(QStringLiteral("Ctrl+X")), false, false},
        {"mnuModel", "mnuModel_Info", 1008, nullptr, QKeySequence(QStringLiteral("Ctrl+M")), false, false},
        {"mnuEdit", "mnuEdit_Copy", 1037, nullptr, QKeySequence(QStringLiteral("Ctrl+C")), false, false},
        {"mnuEdit", "mnuEdit_Paste", 1038, nullptr, QKeySequence(QStringLiteral("Ctrl+V")), false, false},
        {"mnuEdit", "mnuEdit_Bar2", 0, "", {}, true, false},
        {"mnuEdit", "mnuEdit_Clear", 1039, nullptr, QKeySequence(QStringLiteral("Ctrl+D")), false, false},
        {"mnuEdit", "mnuEdit_Delete", 1065, nullptr, {}, false, false},
        {"mnuEdit", "mnuEdit_Insert", 0, "&Insert", QKeySequence(QStringLiteral("Ctrl+I")), true, false},
        {"mnuProgram", "mnuProgram_OptFeatures", 0, "&Optional Features", {}, true, false},
        {"mnuProgram", "mnuProgram_OPSign", 1010, nullptr, {}, false, false},
        {"mnuProgram", "mnuProgram_KeyAssign", 1011, nullptr, {}, true, false},
        {"mnuProgram", "mnuProgram_Debug", 1690, nullptr, {}, true, false},
        {"mnuProgram", "mnuProgram_Advanced", 1054, nullptr, {}, true, false},
        {"mnuProgram", "mnuProgram_Deviation", 1042, nullptr, {}, true, false},
        {"mnuProgram", "mnuProgram_Bar1", 0, "", {}, false, false},
        {"mnuProgram", "mnuProgram_ANI", 1033, nullptr, {}, false, false},
        {"mnuProgram", "mnuProgram_Bar2", 0, "", {}, false, false},
        {"mnuProgram", "mnuProgram_EmbMsg", 1014, nullptr, {}, false, false},
        {"mnuTransfer", "mnuTransfer_Read", 1016, nullptr, QKeySequence(QStringLiteral("Ctrl+R")), false, false},
        {"mnuTransfer", "mnuTransfer_Write", 1017, nullptr, QKeySequence(QStringLiteral("Ctrl+W")), false, false},
        {"mnuSet", "mnuSet_GUI", 1058, nullptr, {}, false, true},
        {"mnuSet", "mnuSet_SingleClick", 1059, nullptr, {}, false, true},
        {"mnuSet", "mnuSet_Manual", 1060, nullptr, {}, false, true},
        {"mnuSet", "mnuSet_Bar", 0, "", {}, false, false},
        {"mnuSet", "mnuSet_COM", 1022, nullptr, {}, false, false},
        {"mnuSet", "mnuSet_Lan", 1023, nullptr, {}, false, false},
        {"mnuSet_Lan", "mnuSet_LanE", 1035, nullptr, {}, false, true},
        {"mnuSet_Lan", "mnuSet_LanC", 1036, nullptr, {}, false, true},
        {"mnuView", "mnuView_Status", 1063, nullptr, {}, false, true},
        {"mnuView", "mnuView_Buttons", 1062, nullptr, {}, false, true},
        {"mnuView", "mnuView_Columns", 1064, nullptr, {}, false, false},
        {"mnuHelp", "mnuHelp_About", 1026, nullptr, {}, false, false},
    };
    return items;
}

struct TopMenu {
    const char* name;
    int captionId;
    bool hidden;
};
const TopMenu kTopMenus[] = {{"mnuFile", 1000, false},    {"mnuModel", 1007, true},     {"mnuEdit", 1009, false},
                             {"mnuProgram", 1015, false}, {"mnuTransfer", 1057, false}, {"mnuSet", 1021, false},
                             {"mnuView", 1061, false},    {"mnuHelp", 1024, false}};

const struct {
    const char* key;
    int tipId;
} kToolTips[] = {{"New", 1027},   {"Open", 1028},   {"Save", 1029},     {"Copy", 1037},   {"Paste", 1038},
                 {"Clear", 1039}, {"MoveUp", 1711}, {"MoveDown", 1712}, {"Insert", 1713}, {"Delete", 1714},
                 {"Read", 1031},  {"Write", 1032},  {"About", 1034}};

QString plain(QString s) {
    s.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    s.remove(QLatin1Char('&'));
    return s;
}

// A window over its own document, prompter and settings file.
struct Fixture {
    QTemporaryDir dir;
    QSettings settings{dir.filePath(QStringLiteral("lang.ini")), QSettings::IniFormat};
    RadioDocument doc;
    test::ScriptedPrompter prompter;
    std::unique_ptr<frmMain> window;

    Fixture() { window = std::make_unique<frmMain>(doc, prompter, &settings); }
    QAction* action(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    template <class T> T* child(const char* name) const { return window->findChild<T*>(QString::fromLatin1(name)); }
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void menuTreeMatchesTableInBothLanguages_data() {
        QTest::addColumn<int>("lang");
        QTest::newRow("English") << 0;
        QTest::newRow("Chinese") << 1;
    }
    void menuTreeMatchesTableInBothLanguages() {
        QFETCH(int, lang);
        const Language language = languageFromIndex(lang);
        Fixture f;
        f.window->setLanguage(language);

        QList<QAction*> bar = f.window->menuBar()->actions();
        QCOMPARE(bar.size(), int(std::size(kTopMenus)));
        for (int i = 0; i < bar.size(); ++i) {
            QCOMPARE(bar[i]->objectName(), QString::fromLatin1(kTopMenus[i].name));
            QCOMPARE(bar[i]->text(), qtext(kTopMenus[i].captionId, language));
            QCOMPARE(bar[i]->isVisible(), !kTopMenus[i].hidden);
        }

        // Each menu holds exactly the table's items, in the table's order.
        QHash<QString, QStringList> expectedOrder;
        for (const Item& it : menuTable())
            expectedOrder[QString::fromLatin1(it.menu)].append(QString::fromLatin1(it.name));
        for (auto it = expectedOrder.cbegin(); it != expectedOrder.cend(); ++it) {
            auto* menu = f.window->findChild<QMenu*>(it.key());
            QVERIFY2(menu, qPrintable(it.key()));
            QStringList names;
            for (QAction* a : menu->actions())
                names.append(a->objectName());
            QCOMPARE(names, it.value());
        }

        for (const Item& it : menuTable()) {
            QAction* a = f.action(it.name);
            QVERIFY2(a, it.name);
            const QString caption = it.captionId ? qtext(it.captionId, language) : QString::fromLatin1(it.fixedCaption);
            QCOMPARE(a->text(), caption);
            QVERIFY2(!caption.startsWith(QLatin1Char('#')), it.name); // a missing string-table entry
            QCOMPARE(a->shortcut(), it.shortcut);
            QCOMPARE(a->isVisible(), !it.hidden);
            QCOMPARE(a->isCheckable(), it.checkable);
            QCOMPARE(a->isSeparator(), QByteArray(it.name).contains("_Bar"));
        }
        if (language == Language::Chinese)
            QCOMPARE(f.action("mnuFile")->text(), QStringLiteral("文件(&F)"));
    }

    void startStateFollowsTheStartSequence() {
        Fixture f;
        QCOMPARE(f.window->language(), Language::English);
        QVERIFY(!f.action("mnuEdit_Paste")->isEnabled());
        QVERIFY(!f.window->toolButton(QStringLiteral("Paste"))->isEnabled());
        QVERIFY(f.action("mnuSet_SingleClick")->isChecked());
        QVERIFY(f.window->singleClickEdit());
        QVERIFY(f.action("mnuView_Status")->isChecked());
        QVERIFY(f.action("mnuView_Buttons")->isChecked());
        QVERIFY(f.action("mnuSet_LanE")->isChecked());
        QVERIFY(!f.action("mnuSet_LanC")->isChecked());
        QVERIFY(!f.action("mnuSet_GUI")->isChecked());
        QVERIFY(!f.action("mnuProgram_Advanced")->isVisible());
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Norvik R7 [File Name: Untitled]"));
        auto* status = f.child<QPlainTextEdit>("TxtStatus");
        QVERIFY(status->isReadOnly());
        QVERIFY(status->toPlainText().isEmpty());
        QVERIFY(f.child<QLabel>("ComStatus"));
        QVERIFY(f.child<QWidget>("ChannelGrid"));
        QVERIFY(!f.doc.isModified());
    }

    void toolbarHasThirteenKeyedButtonsWithSeparators() {
        Fixture f;
        auto* bar = f.child<QToolBar>("tlbActions");
        QStringList layout;
        for (QAction* a : bar->actions())
            layout.append(a->isSeparator() ? QStringLiteral("|") : a->property("key").toString());
        QCOMPARE(
            layout.join(QLatin1Char(' ')),
            QStringLiteral("New Open Save | Copy Paste Clear | MoveUp MoveDown Insert Delete | Read Write | About"));
        for (QAction* a : bar->actions()) {
            if (!a->isSeparator())
                QVERIFY2(!a->icon().pixmap(QSize(48, 48)).isNull(), qPrintable(a->property("key").toString()));
        }
    }

    void languageSwitchRecaptionsEverythingAtOnce() {
        Fixture f;
        QSignalSpy spy(f.window.get(), &frmMain::languageChanged);
        f.action("mnuSet_LanC")->trigger();
        QCOMPARE(f.window->language(), Language::Chinese);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).value<Language>(), Language::Chinese);
        QVERIFY(f.action("mnuSet_LanC")->isChecked());
        QVERIFY(!f.action("mnuSet_LanE")->isChecked());
        QCOMPARE(f.action("mnuTransfer_Read")->text(), QStringLiteral("从对讲机读取(&R)"));
        for (const auto& t : kToolTips) {
            QAction* a = f.window->toolButton(QString::fromLatin1(t.key));
            QCOMPARE(a->toolTip(), plain(qtext(t.tipId, Language::Chinese)));
        }
        QCOMPARE(f.window->toolButton(QStringLiteral("Read"))->toolTip(), QStringLiteral("读取"));
        for (int i = 0; i < frmMain::kButtonCount; ++i)
            QCOMPARE(f.window->cmdButton(i)->text(), qtext(1711 + i, Language::Chinese));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Norvik R7 [File Name: Untitled]"));

        f.action("mnuSet_LanE")->trigger();
        QCOMPARE(f.action("mnuTransfer_Read")->text(), QStringLiteral("&Read from Radio"));
        QCOMPARE(f.window->toolButton(QStringLiteral("Read"))->toolTip(), QStringLiteral("Read"));
        QCOMPARE(f.window->cmdButton(0)->text(), QStringLiteral("CH-Up"));
        QCOMPARE(spy.size(), 2);
    }

    void closingAsksOnlyWhenTheImageDiffers() {
        Fixture f;
        f.window->show();
        // A byte changed and put back is no change: there is no flag, only the comparison.
        const auto before = f.doc.image().at(0x10);
        f.doc.image().set(0x10, 0x14);
        f.doc.image().set(0x10, before);
        QVERIFY(f.window->close());
        QVERIFY(f.prompter.asked.isEmpty());
    }

    void typingAChannelAndClearingItAgainClosesWithoutAQuestion() {
        Fixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        ChannelGrid* grid = f.window->channelGrid();
        grid->setFocus();
        grid->setCurrentCell(1, col::Rx);
        QTest::keyClick(grid, Qt::Key_1); // a digit opens the editor holding it
        auto* editor = f.window->findChild<QLineEdit*>(QStringLiteral("txtMemChannel"));
        QVERIFY(editor && editor->isVisible());
        QTest::keyClicks(editor, QStringLiteral("45.5"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(f.window->channelTable().text(1, col::Rx), std::string("145.50000"));
        QVERIFY(f.doc.isModified());
        f.window->channelTable().commitReceive(1, ""); // an empty receive text empties the channel
        grid->refreshRow(1);
        QVERIFY(!f.doc.isModified());
        QVERIFY(f.window->close());
        QVERIFY(f.prompter.asked.isEmpty());
    }

    void closingQuestionAnswers_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveSucceeds");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("saves");
        QTest::newRow("Cancel keeps the window") << int(QMessageBox::Cancel) << true << false << 0;
        QTest::newRow("No closes unsaved") << int(QMessageBox::No) << true << true << 0;
        QTest::newRow("Yes saves and closes") << int(QMessageBox::Yes) << true << true << 1;
        QTest::newRow("Yes with a failed save keeps the window") << int(QMessageBox::Yes) << false << false << 1;
    }
    void closingQuestionAnswers() {
        QFETCH(int, answer);
        QFETCH(bool, saveSucceeds);
        QFETCH(bool, closes);
        QFETCH(int, saves);
        Fixture f;
        QSignalSpy unloading(f.window.get(), &frmMain::unloading);
        // The untitled document's Save asks for a name; none given is a save that did not happen.
        if (saveSucceeds)
            f.prompter.saveNames = {f.dir.filePath(QStringLiteral("closing.dat"))};
        int commits = 0;
        f.window->setCommitEditor([&] { ++commits; });
        f.window->show();
        f.doc.image().set(0x10, 0x14);
        const RadioImage edited = f.doc.image();
        f.prompter.answers = {QMessageBox::StandardButton(answer)};

        QCOMPARE(f.window->close(), closes);
        QCOMPARE(f.window->isVisible(), !closes);
        QCOMPARE(f.prompter.saveRequests.size(), saves);
        QCOMPARE(QFile::exists(f.dir.filePath(QStringLiteral("closing.dat"))), saves == 1 && saveSucceeds);
        QVERIFY(commits >= 1);
        QVERIFY(f.doc.image() == edited);
        QCOMPARE(f.prompter.asked.size(), 1);
        const auto& q = f.prompter.asked.first();
        QCOMPARE(q.icon, QMessageBox::Warning);
        QCOMPARE(q.title, QStringLiteral("Norvik R7"));
        QCOMPARE(q.text, QStringLiteral("File hasn't been saved, save it now?"));
        QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        // Only a real close stores the language.
        QCOMPARE(f.settings.contains(QStringLiteral("Language")), closes);
        QCOMPARE(unloading.size(), closes ? 1 : 0);
    }

    void closingQuestionIsInTheLanguageInForce() {
        Fixture f;
        f.window->setLanguage(Language::Chinese);
        f.doc.image().set(0x20, 0x00);
        f.prompter.answers = {QMessageBox::No};
        QVERIFY(f.window->close());
        QCOMPARE(f.prompter.asked.first().text, qtext(1111, Language::Chinese));
    }

    void languageSurvivesARestart() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lang.ini"));
        RadioDocument doc;
        test::ScriptedPrompter prompter;
        {
            QSettings settings(path, QSettings::IniFormat);
            frmMain first(doc, prompter, &settings);
            QCOMPARE(first.language(), Language::English);
            first.mnuSet_LanC_Click();
            QVERIFY(first.close());
        }
        {
            QSettings settings(path, QSettings::IniFormat);
            QCOMPARE(settings.value(QStringLiteral("Language")).toString(), QStringLiteral("1"));
            frmMain second(doc, prompter, &settings);
            QCOMPARE(second.language(), Language::Chinese);
            QVERIFY(second.findChild<QAction*>(QStringLiteral("mnuSet_LanC"))->isChecked());
            QCOMPARE(second.findChild<QAction*>(QStringLiteral("mnuFile"))->text(), QStringLiteral("文件(&F)"));
            second.mnuSet_LanE_Click();
            QVERIFY(second.close());
        }
        QSettings settings(path, QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("Language")).toString(), QStringLiteral("0"));
    }

    void panesStartAtTheirPositionsAndViewTogglesRestoreProportions() {
        Fixture f;
        f.window->resize(1000, 700);
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        auto* work = f.child<QWidget>("Picture1");
        auto* picMain = f.child<QWidget>("picMain");
        auto* buttons = f.child<QWidget>("PicButtons");
        auto* status = f.child<QWidget>("PicStatus");
        const double twip = f.window->logicalDpiX() / 1440.0;
        QVERIFY(qAbs(buttons->width() - 2000 * twip) <= 1);
        QVERIFY(qAbs(picMain->height() - 6000 * f.window->logicalDpiY() / 1440.0) <= 1);

        f.action("mnuView_Buttons")->trigger();
        f.action("mnuView_Status")->trigger();
        QCoreApplication::processEvents();
        QVERIFY(!f.action("mnuView_Buttons")->isChecked());
        QVERIFY(!f.action("mnuView_Status")->isChecked());
        QCOMPARE(picMain->mapTo(work, QPoint(0, 0)), QPoint(0, 0));
        QCOMPARE(picMain->size(), work->size());

        f.action("mnuView_Buttons")->trigger();
        f.action("mnuView_Status")->trigger();
        QCoreApplication::processEvents();
        QVERIFY(buttons->isVisible() && status->isVisible());
        QVERIFY(qAbs(buttons->width() - work->width() / 6) <= 1);
        QVERIFY(qAbs(picMain->height() - work->height() * 3 / 4) <= 1);
        // The grid pane and the status window stay side by side with the splitters between.
        QCOMPARE(status->width(), picMain->width());
        QVERIFY(status->mapTo(work, QPoint(0, 0)).y() > picMain->height());
    }

    void smallWindowStillShowsTheStatusWindowAtStart() {
        Fixture f;
        f.window->resize(640, 360);
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        auto* work = f.child<QWidget>("Picture1");
        QVERIFY(work->height() * 3 / 4 < 6000 * f.window->logicalDpiY() / 1440.0);
        // The status window's own minimum height may push the split up a little.
        const int grid = f.child<QWidget>("picMain")->height();
        QVERIFY(grid <= work->height() * 3 / 4 && grid > work->height() / 2);
        QVERIFY(f.child<QWidget>("PicStatus")->height() > 0);
    }

    void manualItemTogglesBitFourOfTheOptionByte() {
        Fixture f;
        QSignalSpy spy(f.window.get(), &frmMain::manualChanged);
        f.doc.image().set(0x831, 0x17);
        f.window->syncManualCheck();
        QVERIFY(f.action("mnuSet_Manual")->isChecked());
        f.action("mnuSet_Manual")->trigger();
        QCOMPARE(int(f.doc.image().at(0x831)), 0x07);
        QVERIFY(!f.action("mnuSet_Manual")->isChecked());
        f.window->mnuSet_Manual_Click();
        QCOMPARE(int(f.doc.image().at(0x831)), 0x17);
        QVERIFY(f.action("mnuSet_Manual")->isChecked());
        QCOMPARE(spy.size(), 2);

        f.doc.image().set(0x831, 0xEF);
        f.window->syncManualCheck();
        QVERIFY(!f.action("mnuSet_Manual")->isChecked());
    }

    void singleClickToggleReportsItsState() {
        Fixture f;
        QSignalSpy spy(f.window.get(), &frmMain::singleClickChanged);
        f.action("mnuSet_SingleClick")->trigger();
        QVERIFY(!f.window->singleClickEdit());
        QVERIFY(!f.action("mnuSet_SingleClick")->isChecked());
        f.window->mnuSet_SingleClick_Click();
        QVERIFY(f.window->singleClickEdit());
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy.at(1).at(0).toBool(), true);
    }

    void statusBarGestureTogglesAdvancedOnlyWithCtrlAlt() {
        Fixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        auto* bar = f.child<QStatusBar>("staDateTime");
        QAction* advanced = f.action("mnuProgram_Advanced");
        QTest::mouseClick(bar, Qt::LeftButton, Qt::ControlModifier, QPoint(5, 5));
        QTest::mouseClick(bar, Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier, QPoint(5, 5));
        QTest::mouseClick(bar, Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, QPoint(5, 5));
        QVERIFY(!advanced->isVisible());
        QTest::mouseClick(bar, Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier, QPoint(5, 5));
        QVERIFY(advanced->isVisible());
        QTest::mouseClick(f.child<QLabel>("ComStatus"), Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier,
                          QPoint(2, 2));
        QVERIFY(!advanced->isVisible());
    }

    void toolbarGestureAsksForTheMemoryMap() {
        Fixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QSignalSpy spy(f.window.get(), &frmMain::memoryMapRequested);
        auto* bar = f.child<QToolBar>("tlbActions");
        const QPoint empty(bar->width() - 3, bar->height() / 2);
        QTest::mouseClick(bar, Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, empty);
        QCOMPARE(spy.size(), 0);
        QTest::mouseClick(bar, Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier, empty);
        QCOMPARE(spy.size(), 1);
    }

    void everyCommandCommitsTheOpenEditorFirst_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("signal");
        QTest::addColumn<int>("buttonIndex");
        QTest::newRow("Copy") << "Copy" << QByteArray(SIGNAL(copyRequested())) << -1;
        QTest::newRow("Paste") << "Paste" << QByteArray(SIGNAL(pasteRequested())) << -1;
        QTest::newRow("Clear") << "Clear" << QByteArray(SIGNAL(clearRequested())) << -1;
        QTest::newRow("MoveUp") << "MoveUp" << QByteArray(SIGNAL(channelButtonClicked(int))) << 0;
        QTest::newRow("MoveDown") << "MoveDown" << QByteArray(SIGNAL(channelButtonClicked(int))) << 1;
        QTest::newRow("Insert") << "Insert" << QByteArray(SIGNAL(channelButtonClicked(int))) << 2;
        QTest::newRow("Delete") << "Delete" << QByteArray(SIGNAL(channelButtonClicked(int))) << 3;
    }
    void everyCommandCommitsTheOpenEditorFirst() {
        QFETCH(QString, key);
        QFETCH(QByteArray, signal);
        QFETCH(int, buttonIndex);
        Fixture f;
        QStringList events;
        f.window->setCommitEditor([&] { events.append(QStringLiteral("commit")); });
        QSignalSpy spy(f.window.get(), signal.constData());
        f.window->tlbActions_ButtonClick(key);
        QCOMPARE(spy.size(), 1);
        QVERIFY(events.first() == QStringLiteral("commit"));
        if (buttonIndex >= 0)
            QCOMPARE(spy.at(0).at(0).toInt(), buttonIndex);
    }

    void buttonColumnRaisesItsIndex() {
        Fixture f;
        f.window->show();
        QSignalSpy spy(f.window.get(), &frmMain::channelButtonClicked);
        for (int i = 0; i < frmMain::kButtonCount; ++i)
            QTest::mouseClick(f.window->cmdButton(i), Qt::LeftButton);
        QCOMPARE(spy.size(), 5);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(spy.at(i).at(0).toInt(), i);
        QCOMPARE(f.window->findChildren<QPushButton*>(QStringLiteral("CmdButtons")).size(), 5);
    }

    void alternatePanelDisablesEditCommandsAndPasteFollowsTheCopy() {
        Fixture f;
        auto* panel = new QLabel(QStringLiteral("panel"));
        f.window->setAlternatePanel(panel);
        f.window->show();
        QSignalSpy spy(f.window.get(), &frmMain::alternatePanelToggled);
        const QStringList covered{QStringLiteral("Copy"),   QStringLiteral("Paste"),    QStringLiteral("Clear"),
                                  QStringLiteral("MoveUp"), QStringLiteral("MoveDown"), QStringLiteral("Insert"),
                                  QStringLiteral("Delete")};

        f.action("mnuSet_GUI")->trigger();
        QVERIFY(f.window->alternatePanelShown());
        QVERIFY(panel->isVisible());
        QVERIFY(!f.action("mnuEdit")->isEnabled());
        QVERIFY(!f.action("mnuEdit_Copy")->isEnabled());
        for (const QString& k : covered)
            QVERIFY2(!f.window->toolButton(k)->isEnabled(), qPrintable(k));
        QVERIFY(f.window->toolButton(QStringLiteral("Read"))->isEnabled());

        f.action("mnuSet_GUI")->trigger(); // closed again without any copy made
        QVERIFY(!panel->isVisible());
        QVERIFY(f.action("mnuEdit")->isEnabled());
        QVERIFY(!f.action("mnuEdit_Paste")->isEnabled());
        QVERIFY(!f.window->toolButton(QStringLiteral("Paste"))->isEnabled());
        QVERIFY(f.window->toolButton(QStringLiteral("Copy"))->isEnabled());

        f.window->setPasteAvailable(true);
        f.window->mnuSet_GUI_Click();
        QVERIFY(!f.window->toolButton(QStringLiteral("Paste"))->isEnabled());
        f.window->mnuSet_GUI_Click();
        QVERIFY(f.action("mnuEdit_Paste")->isEnabled());
        QVERIFY(f.window->toolButton(QStringLiteral("Paste"))->isEnabled());
        QCOMPARE(spy.size(), 4);
    }

    void channelGridLivesInTheMainPane() {
        Fixture f;
        auto* grid = f.window->findChild<ChannelGrid*>(QStringLiteral("ChannelGrid"));
        QVERIFY(grid);
        QCOMPARE(grid->parentWidget(), f.child<QWidget>("picMain"));
        QCOMPARE(f.window->channelGrid(), grid);
    }

    void f1OnAHighlightedMenuItemOpensItsTopic() {
        Fixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        auto* menu = f.child<QMenu>("mnuFile");
        menu->popup(f.window->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        menu->setActiveAction(f.action("mnuFile_SaveAs"));
        QTest::keyClick(menu, Qt::Key_F1);
        QTRY_VERIFY(f.window->findChild<HelpViewer*>());
        QVERIFY(!menu->isVisible());
        QCOMPARE(f.window->findChild<HelpViewer*>()->source(), QUrl(QStringLiteral("qrc:/help/en/files.html#saveas")));
    }

    void f1OnTheGridFollowsItsHelpContext() {
        Fixture f;
        ChannelGrid* grid = f.window->channelGrid();
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.window->activateWindow();
        grid->setFocus();
        QTRY_VERIFY(grid->hasFocus());
        grid->setCurrentCell(1, col::Power);
        QCOMPARE(grid->property(frmMain::kHelpContextProperty).toInt(), 7011);
        QTest::keyClick(grid, Qt::Key_F1);
        QTRY_VERIFY(f.window->findChild<HelpViewer*>());
        QCOMPARE(f.window->findChild<HelpViewer*>()->source(), QUrl(QStringLiteral("qrc:/help/en/editing.html#power")));
    }

    void titleShowsTheFileNameOnly() {
        Fixture f;
        f.window->setFileName(QStringLiteral("C:\\radios\\repeater.dat"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Norvik R7 [File Name: repeater.dat]"));
        f.window->setFileName(QStringLiteral("/home/u/site.dat"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Norvik R7 [File Name: site.dat]"));
        f.window->setFileName(QStringLiteral("Untitled"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Norvik R7 [File Name: Untitled]"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
