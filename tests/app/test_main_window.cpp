#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include "common/texts.h"
#include "dialogs/frm_memory_map.h"
#include "dialogs/help_viewer.h"
#include "support/window_fixture.h"
#include "transfer/frm_com_port.h"

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
        {"mnuFile", "mnuFile_Bar2", 0, "", {}, false, false},
        {"mnuFile", "mnuFile_ImportCsv", 1860, nullptr, {}, false, false},
        {"mnuFile", "mnuFile_ExportCsv", 1861, nullptr, {}, false, false},
        {"mnuFile", "mnuFile_Bar3", 0, "", {}, false, false},
        {"mnuFile", "mnuFile_Print", 1862, nullptr, QKeySequence(QStringLiteral("Ctrl+P")), false, false},
        {"mnuFile", "mnuFile_ExportPdf", 1863, nullptr, {}, false, false},
        {"mnuFile", "mnuFile_Bar1", 0, "", {}, false, false},
        {"mnuFile", "mnuFile_Exit", 1006, nullptr, QKeySequence(QStringLiteral("Ctrl+X")), false, false},
        {"mnuModel", "mnuModel_Info", 1008, nullptr, QKeySequence(QStringLiteral("Ctrl+M")), false, false},
        {"mnuEdit", "mnuEdit_Undo", 1750, nullptr, QKeySequence(QStringLiteral("Ctrl+Z")), false, false},
        {"mnuEdit", "mnuEdit_Redo", 1751, nullptr, QKeySequence(QStringLiteral("Ctrl+Y")), false, false},
        {"mnuEdit", "mnuEdit_Bar1", 0, "", {}, false, false},
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
} kToolTips[] = {{"New", 1027},    {"Open", 1028},   {"Save", 1029},     {"Print", 1864},
                 {"Copy", 1037},   {"Paste", 1038},  {"Clear", 1039},    {"Undo", 1750},
                 {"Redo", 1751},   {"MoveUp", 1711}, {"MoveDown", 1712}, {"Insert", 1713},
                 {"Delete", 1714}, {"Read", 1031},   {"Write", 1032},    {"About", 1034}};

QString plain(QString s) {
    s.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    s.remove(QLatin1Char('&'));
    return s;
}

using Fixture = test::WindowFixture;

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

    void titleShowsTheFileNameOfAWindowsPathToo() {
        Fixture f;
        f.window->setFilePath("C:\\radios\\repeater.dat");
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Norvik R7 [File Name: repeater.dat]"));
    }

    void toolbarHasSixteenKeyedButtonsWithSeparators() {
        Fixture f;
        QStringList layout;
        for (QAction* a : f.child<QToolBar>("tlbActions")->actions()) {
            layout.append(a->isSeparator() ? QStringLiteral("|") : a->property("key").toString());
            QVERIFY(a->isSeparator() || !a->icon().pixmap(QSize(48, 48)).isNull());
        }
        QCOMPARE(layout.join(QLatin1Char(' ')), QStringLiteral("New Open Save Print | Copy Paste Clear | Undo Redo | "
                                                               "MoveUp MoveDown Insert Delete | Read Write | About"));
    }

    void languageSwitchRecaptionsEverythingAtOnce() {
        Fixture f;
        f.useChannel(1, 14500000);
        f.start();
        QSignalSpy spy(f.window.get(), &frmMain::languageChanged);
        f.action("mnuSet_LanC")->trigger();
        QCOMPARE(f.window->language(), Language::Chinese);
        QVERIFY(f.action("mnuSet_LanC")->isChecked() && !f.action("mnuSet_LanE")->isChecked());
        QCOMPARE(f.action("mnuTransfer_Read")->text(), QStringLiteral("从对讲机读取(&R)"));
        for (const auto& t : kToolTips)
            QCOMPARE(f.window->toolButton(QString::fromLatin1(t.key))->toolTip(),
                     plain(qtext(t.tipId, Language::Chinese)));
        for (int i = 0; i < frmMain::kButtonCount; ++i)
            QCOMPARE(f.window->cmdButton(i)->text(), qtext(1711 + i, Language::Chinese));
        QCOMPARE(f.grid()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("接收频率"));
        QCOMPARE(f.shown(1, col::Bcl), QStringLiteral("关"));
        f.clickCell(1, col::Decode);
        QCOMPARE(f.grid()->findChild<QComboBox*>(QStringLiteral("cboQtDqt"))->itemText(0), QStringLiteral("无"));
        f.grid()->commitEditor();

        f.action("mnuSet_LanE")->trigger();
        QCOMPARE(f.action("mnuTransfer_Read")->text(), QStringLiteral("&Read from Radio"));
        QCOMPARE(f.window->cmdButton(0)->text(), QStringLiteral("CH-Up"));
        QCOMPARE(f.shown(1, col::Bcl), QStringLiteral("Off"));
        QCOMPARE(spy.size(), 2);
    }

    void typingAChannelAndClearingItAgainClosesWithoutAQuestion() {
        Fixture f;
        f.start();
        f.focusCell(1, col::Rx);
        QTest::keyClick(f.grid(), Qt::Key_1);
        QTest::keyClicks(f.editor(), QStringLiteral("45.5"));
        QTest::keyClick(f.editor(), Qt::Key_Return);
        QCOMPARE(f.table().text(1, col::Rx), std::string("145.50000"));
        QVERIFY(f.doc.isModified());
        // An empty receive text empties the channel: no flag, only the comparison with the saved image.
        f.clickCell(1, col::Rx);
        QTest::keyClick(f.editor(), Qt::Key_Backspace);
        QTest::keyClick(f.editor(), Qt::Key_Return);
        QCOMPARE(f.shown(1, col::Rx), QString());
        QVERIFY(!f.doc.isModified());
        QVERIFY(f.window->close());
        QVERIFY(f.prompter.asked.isEmpty());
    }

    void closingQuestionAnswers_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveSucceeds");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("saves");
        QTest::addColumn<int>("lang");
        QTest::newRow("Cancel keeps the window") << int(QMessageBox::Cancel) << true << false << 0 << 0;
        QTest::newRow("No closes unsaved") << int(QMessageBox::No) << true << true << 0 << 0;
        QTest::newRow("No in Chinese") << int(QMessageBox::No) << true << true << 0 << 1;
        QTest::newRow("Yes saves and closes") << int(QMessageBox::Yes) << true << true << 1 << 0;
        QTest::newRow("Yes with a failed save keeps the window") << int(QMessageBox::Yes) << false << false << 1 << 0;
    }
    void closingQuestionAnswers() {
        QFETCH(int, answer);
        QFETCH(bool, saveSucceeds);
        QFETCH(bool, closes);
        QFETCH(int, saves);
        QFETCH(int, lang);
        Fixture f;
        f.window->setLanguage(languageFromIndex(lang));
        QSignalSpy unloading(f.window.get(), &frmMain::unloading);
        // The untitled document's Save asks for a name; none given is a save that did not happen.
        if (saveSucceeds)
            f.prompter.saveNames = {f.path("closing.dat")};
        int commits = 0;
        f.window->setCommitEditor([&] { ++commits; });
        f.window->show();
        f.change([](RadioImage& img) { img.set(0x10, 0x14); });
        const RadioImage edited = f.doc.image();
        f.prompter.answers = {QMessageBox::StandardButton(answer)};

        QCOMPARE(f.window->close(), closes);
        QCOMPARE(f.window->isVisible(), !closes);
        QCOMPARE(f.prompter.saveRequests.size(), saves);
        QCOMPARE(QFile::exists(f.path("closing.dat")), saves == 1 && saveSucceeds);
        QVERIFY(commits >= 1);
        QVERIFY(f.doc.image() == edited);
        QCOMPARE(f.prompter.asked.size(), 1);
        const auto& q = f.prompter.asked.first();
        QCOMPARE(q.text, qtext(1111, languageFromIndex(lang)));
        QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        // Only a real close stores the language.
        QCOMPARE(f.settings.contains(QStringLiteral("Language")), closes);
        QCOMPARE(unloading.size(), closes ? 1 : 0);
    }

    void languageSurvivesARestart() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lang.ini"));
        RadioDocument doc;
        test::ScriptedPrompter prompter;
        for (Language next : {Language::Chinese, Language::English}) {
            const Language stored = next == Language::Chinese ? Language::English : Language::Chinese;
            QSettings settings(path, QSettings::IniFormat);
            frmMain window(doc, prompter, &settings);
            QCOMPARE(window.language(), stored);
            QCOMPARE(window.findChild<QAction*>(QStringLiteral("mnuFile"))->text(), qtext(1000, stored));
            window.setLanguage(next);
            QVERIFY(window.close());
        }
        QCOMPARE(QSettings(path, QSettings::IniFormat).value(QStringLiteral("Language")).toString(),
                 QStringLiteral("0"));
    }

    void viewTogglesGiveTheGridTheWholeAreaAndRestoreTheProportions() {
        Fixture f;
        f.window->resize(1000, 700);
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        auto* work = f.child<QWidget>("Picture1");
        auto* picMain = f.child<QWidget>("picMain");
        auto* buttons = f.child<QWidget>("PicButtons");
        auto* status = f.child<QWidget>("PicStatus");
        QCOMPARE(f.grid()->parentWidget(), picMain);
        QVERIFY(qAbs(buttons->width() - 2000 * f.window->logicalDpiX() / 1440.0) <= 1);
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
        QCOMPARE(status->width(), picMain->width());
        QVERIFY(status->mapTo(work, QPoint(0, 0)).y() > picMain->height());
    }

    void smallWindowStillShowsTheStatusWindowAtStart() {
        Fixture f;
        f.window->resize(640, 360);
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const int work = f.child<QWidget>("Picture1")->height();
        // The status window's own minimum height may push the split up a little.
        const int grid = f.child<QWidget>("picMain")->height();
        QVERIFY(grid <= work * 3 / 4 && grid > work / 2);
        QVERIFY(f.child<QWidget>("PicStatus")->height() > 0);
    }

    void manualItemTogglesBitFourOfTheOptionByteAsOneStep() {
        Fixture f;
        f.change([](RadioImage& img) { img.set(0x831, 0x17); });
        QVERIFY(f.action("mnuSet_Manual")->isChecked());
        f.action("mnuSet_Manual")->trigger();
        QCOMPARE(int(f.doc.image().at(0x831)), 0x07);
        QVERIFY(!f.action("mnuSet_Manual")->isChecked());
        QCOMPARE(f.action("mnuEdit_Undo")->text(), QStringLiteral("&Undo Manual"));
        f.action("mnuEdit_Undo")->trigger();
        QCOMPARE(int(f.doc.image().at(0x831)), 0x17);
        QVERIFY(f.action("mnuSet_Manual")->isChecked());
    }

    void singleClickToggleReachesTheGrid() {
        Fixture f;
        f.useChannel(1, 14500000);
        f.start();
        f.action("mnuSet_SingleClick")->trigger();
        QVERIFY(!f.window->singleClickEdit());
        f.clickCell(1, col::Rx);
        QVERIFY(!f.editor()->isVisible());
        f.action("mnuSet_SingleClick")->trigger();
        f.clickCell(1, col::Tx);
        QVERIFY(f.editor()->isVisible());
    }

    void hiddenGestures() {
        Fixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        // Ctrl+Alt+left click on the status bar toggles Advanced; nothing else does.
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
        // Ctrl+Shift+Alt+right click on the toolbar asks for the memory map.
        QSignalSpy spy(f.window.get(), &frmMain::memoryMapRequested);
        auto* tools = f.child<QToolBar>("tlbActions");
        const QPoint empty(tools->width() - 3, tools->height() / 2);
        QTest::mouseClick(tools, Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, empty);
        QCOMPARE(spy.size(), 0);
        QTest::mouseClick(tools, Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier, empty);
        QCOMPARE(spy.size(), 1);
        QTRY_VERIFY(qobject_cast<frmMemoryMap*>(QApplication::activeModalWidget()));
        // The same gesture closes it again.
        QTest::mouseClick(tools, Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier, empty);
        QTRY_VERIFY(!f.window->findChild<frmMemoryMap*>());
    }

    void everyCommandCommitsTheOpenEditorFirst() {
        Fixture f;
        f.usePorts({});
        f.change([](RadioImage& img) { img.set(0x10, 0x00); }); // changed, so that Open asks first
        f.window->setPasteAvailable(true);
        QStringList events;
        f.window->setCommitEditor([&] { events.append(QStringLiteral("commit")); });
        f.prompter.onPrompt = [&](auto) { events.append(QStringLiteral("prompt")); };
        QObject::connect(f.window.get(), &frmMain::comPortDialogShown, [&](frmComPort* d) {
            events.append(QStringLiteral("dialog"));
            d->reject();
        });
        // Every action of the table that runs something, from menu or toolbar alike.
        const QStringList skipped{QStringLiteral("mnuFile_Exit"), QStringLiteral("mnuHelp_About"),
                                  QStringLiteral("mnuView_Columns")}; // they close or wait for the user
        int commands = 0;
        for (QAction* a : f.window->findChildren<QAction*>()) {
            if (a->isSeparator() || a->menu() || a->objectName().isEmpty() || skipped.contains(a->objectName()))
                continue;
            events.clear();
            const bool enabled = a->isEnabled();
            a->setEnabled(true);
            a->trigger();
            a->setEnabled(enabled);
            if (events.isEmpty())
                continue; // an inert item
            ++commands;
            QVERIFY2(events.value(0) == QStringLiteral("commit"), qPrintable(a->objectName()));
        }
        QVERIFY(commands >= 25);
    }

    void f1OpensTheTopicOfAHighlightedMenuItemOrTheGridColumn() {
        Fixture f;
        f.start();
        auto* menu = f.child<QMenu>("mnuFile");
        menu->popup(f.window->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        menu->setActiveAction(f.action("mnuFile_SaveAs"));
        QTest::keyClick(menu, Qt::Key_F1);
        QTRY_VERIFY(f.window->findChild<HelpViewer*>());
        QVERIFY(!menu->isVisible());
        auto* viewer = f.window->findChild<HelpViewer*>();
        QCOMPARE(viewer->source(), QUrl(QStringLiteral("qrc:/help/en/files.html#saveas")));

        f.window->activateWindow();
        f.focusCell(1, col::Power);
        QCOMPARE(f.grid()->property(frmMain::kHelpContextProperty).toInt(), 7011);
        QTest::keyClick(f.grid(), Qt::Key_F1);
        QTRY_COMPARE(viewer->source(), QUrl(QStringLiteral("qrc:/help/en/editing.html#power")));
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
