#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

#include "app/common/accessible_names.h"
#include "app/common/screen_fit.h"
#include "app/common/texts.h"
#include "app/dialogs/frm_memory_map.h"
#include "app/dialogs/help_viewer.h"
#include "app/transfer/frm_com_port.h"
#include "core/datafile/data_file.h"
#include "core/helpers.h"
#include "core/strings/string_ids.h"
#include "support/window_fixture.h"

using namespace norvik;

namespace {

using Fixture = test::WindowFixture;

// What a screen reader announces a control by; empty when it has nothing to say but its value.
QString announcedName(QWidget* w) {
    if (!w->accessibleName().trimmed().isEmpty())
        return w->accessibleName();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return nameFromCaption(button->text());
    return {};
}

// The controls of a window a user reaches by the keyboard, and every button, that have no name.
QStringList unnamedControls(QWidget* window) {
    QStringList unnamed;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->window() != window)
            continue;
        // A list's or a spin box's own parts are announced with it.
        if (qobject_cast<QComboBox*>(w->parentWidget()) || qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
            continue;
        if (auto* view = qobject_cast<QAbstractScrollArea*>(w->parentWidget()); view && view->viewport() == w)
            continue;
        if (!qobject_cast<QAbstractButton*>(w) && !(w->focusPolicy() & Qt::TabFocus))
            continue;
        if (announcedName(w).isEmpty())
            unnamed.append(QStringLiteral("%1 %2 in %3")
                               .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(),
                                    w->parentWidget() ? w->parentWidget()->objectName() : QString()));
    }
    return unnamed;
}

// Every window the program opens, as its command opens it; each returns the window shown.
struct WindowCase {
    const char* what;
    std::function<QWidget*(Fixture&)> open;
};

// The modal window `open` brings up; null when none comes.
QWidget* modalAfter(const std::function<void()>& open) {
    open();
    return QTest::qWaitFor([] { return bool(QApplication::activeModalWidget()); }, 5000)
               ? QApplication::activeModalWidget()
               : nullptr;
}
QWidget* modalAfter(Fixture& f, const char* action) {
    return modalAfter([&] { f.action(action)->trigger(); });
}

const std::vector<WindowCase>& everyWindow() {
    static const std::vector<WindowCase> windows{
        {"main window", [](Fixture& f) -> QWidget* { return f.window.get(); }},
        {"single-channel panel",
         [](Fixture& f) -> QWidget* {
             f.action("mnuSet_GUI")->trigger();
             return f.window.get();
         }},
        {"optional features", [](Fixture& f) { return modalAfter(f, "mnuProgram_OPSign"); }},
        {"radio presets", [](Fixture& f) { return modalAfter(f, "mnuProgram_ANI"); }},
        {"embedded message", [](Fixture& f) { return modalAfter(f, "mnuProgram_EmbMsg"); }},
        {"visible columns", [](Fixture& f) { return modalAfter(f, "mnuView_Columns"); }},
        {"about", [](Fixture& f) { return modalAfter(f, "mnuHelp_About"); }},
        {"print preview", [](Fixture& f) { return modalAfter(f, "mnuFile_Print"); }},
        {"communication port",
         [](Fixture& f) {
             f.usePorts({QStringLiteral("/dev/ttyS0")});
             return modalAfter(f, "mnuSet_COM");
         }},
        {"compare",
         [](Fixture& f) {
             test::writeFile(f.path("other.dat").toStdString(), encodeDataFile(RadioDocument().image()));
             f.prompter.openNames = {f.path("other.dat")};
             return modalAfter(f, "mnuFile_Compare");
         }},
        {"csv import",
         [](Fixture& f) {
             const std::string csv = "CH,RX Freq\n1,145.00000\n2,999\n";
             test::writeFile(f.path("plan.csv").toStdString(), test::Bytes(csv.begin(), csv.end()));
             f.prompter.openNames = {f.path("plan.csv")};
             return modalAfter(f, "mnuFile_ImportCsv");
         }},
        {"memory map", [](Fixture& f) { return modalAfter([&f] { f.memoryMapGesture(); }); }},
        {"service login",
         [](Fixture& f) {
             f.usePorts({});
             f.action("mnuProgram_Advanced")->setVisible(true);
             return modalAfter(f, "mnuProgram_Advanced");
         }},
        {"service window",
         [](Fixture& f) -> QWidget* {
             f.usePorts({});
             f.action("mnuProgram_Advanced")->setVisible(true);
             QWidget* login = modalAfter(f, "mnuProgram_Advanced");
             if (!QTest::qWaitFor([&] { return bool(login->isActiveWindow()); }, 5000))
                 return nullptr;
             QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("482917"));
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
             if (!QTest::qWaitFor([&] { return bool(QApplication::activeModalWidget() != login); }, 5000))
                 return nullptr;
             return QApplication::activeModalWidget();
         }},
        {"help",
         [](Fixture& f) -> QWidget* {
             f.action("mnuHelp_Contents")->trigger();
             return QTest::qWaitFor([&] { return bool(f.window->findChild<HelpViewer*>()); }, 5000)
                        ? f.window->findChild<HelpViewer*>()
                        : nullptr;
         }},
    };
    return windows;
}

// Runs `check` on every window as it opens, and on every page of a window whose tree chooses pages.
void forEveryWindow(const std::function<void(const char* what, QWidget* window, bool opening)>& check) {
    for (const WindowCase& c : everyWindow()) {
        Fixture f;
        f.start();
        QWidget* window = c.open(f);
        QVERIFY2(window && window->isVisible(), c.what);
        QTest::qWait(0);
        check(c.what, window, true);
        if (auto* tree = window == f.window.get() ? nullptr : window->findChild<QTreeWidget*>()) {
            for (QTreeWidgetItemIterator it(tree); *it; ++it) {
                tree->setCurrentItem(*it);
                emit tree->itemClicked(*it, 0);
                QTest::qWait(0);
                check(qPrintable(QStringLiteral("%1 › %2").arg(QString::fromLatin1(c.what), (*it)->text(0))),
                      QApplication::activeModalWidget() ? QApplication::activeModalWidget() : window, false);
            }
        }
        for (int guard = 0; QApplication::activeModalWidget() && guard < 5; ++guard)
            QApplication::activeModalWidget()->close();
    }
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void titleShowsTheFileNameOfAWindowsPathToo() {
        Fixture f;
        f.window->setFilePath("C:\\radios\\repeater.dat");
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Norvik R7 [File Name: repeater.dat]"));
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
        QCOMPARE(f.window->toolButton(QStringLiteral("Read"))->toolTip(), QStringLiteral("读取"));
        // Every tool button has its icon and a tooltip without the menu's mnemonic.
        for (QAction* a : f.child<QToolBar>("tlbActions")->actions()) {
            if (a->isSeparator())
                continue;
            QVERIFY2(!a->icon().pixmap(QSize(48, 48)).isNull(), qPrintable(a->objectName()));
            QVERIFY2(!a->toolTip().isEmpty() && !a->toolTip().contains(QLatin1Char('&')), qPrintable(a->toolTip()));
        }
        QCOMPARE(f.window->cmdButton(0)->text(), qtext(ids::ChannelUp, Language::Chinese));
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

    void closingQuestionAnswers() {
        struct Case {
            const char* what;
            QMessageBox::StandardButton answer;
            bool saveSucceeds, closes;
            int saves;
            Language lang;
        };
        const Case cases[] = {
            {"Cancel keeps the window", QMessageBox::Cancel, true, false, 0, Language::English},
            {"No closes unsaved", QMessageBox::No, true, true, 0, Language::Chinese},
            {"Yes saves and closes", QMessageBox::Yes, true, true, 1, Language::English},
            {"Yes with a failed save keeps the window", QMessageBox::Yes, false, false, 1, Language::English},
        };
        for (const Case& c : cases) {
            Fixture f;
            f.window->setLanguage(c.lang);
            QSignalSpy unloading(f.window.get(), &frmMain::unloading);
            // The untitled document's Save asks for a name; none given is a save that did not happen.
            if (c.saveSucceeds)
                f.prompter.saveNames = {f.path("closing.dat")};
            int commits = 0;
            f.window->setCommitEditor([&] { ++commits; });
            f.window->show();
            f.change([](RadioImage& img) { img.set(0x10, 0x14); });
            const RadioImage edited = f.doc.image();
            f.prompter.answers = {c.answer};

            QVERIFY2(f.window->close() == c.closes, c.what);
            QCOMPARE(f.prompter.saveRequests.size(), c.saves);
            QCOMPARE(QFile::exists(f.path("closing.dat")), c.saves == 1 && c.saveSucceeds);
            QVERIFY(commits >= 1);
            QVERIFY(f.doc.image() == edited);
            QCOMPARE(f.prompter.texts(), QStringList{qtext(ids::FileNotSaved, c.lang)});
            QCOMPARE(f.prompter.asked.first().buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            // Only a real close stores the language, for the next start.
            QCOMPARE(f.settings.value(QStringLiteral("Language")).toString(),
                     c.closes ? QString::number(languageIndex(c.lang)) : QString());
            QCOMPARE(unloading.size(), c.closes ? 1 : 0);
        }
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
        const int status = f.child<QWidget>("PicStatus")->height();
        QVERIFY(status > 0);
        // A larger window (maximised) gives its height to the grid.
        f.window->resize(640, 560);
        QTRY_COMPARE(f.child<QWidget>("picMain")->height(), grid + 200);
        QCOMPARE(f.child<QWidget>("PicStatus")->height(), status);
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
        // Ctrl+Shift+Alt+right click on the toolbar opens the memory map.
        auto* tools = f.child<QToolBar>("tlbActions");
        const QPoint empty(tools->width() - 3, tools->height() / 2);
        QTest::mouseClick(tools, Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, empty);
        QVERIFY(!f.window->findChild<frmMemoryMap*>());
        QTest::mouseClick(tools, Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier, empty);
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
        const QStringList skipped{QStringLiteral("mnuFile_Exit")};
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

    // Every control has a name, and every window fits the smallest screen the program is used on:
    // 1024×600, less a panel and the title bar. A window opens no larger than the screen it opens on
    // (the test's is smaller still).
    void everyWindowHasNamedControlsAndFitsASmallScreen() {
        const QSize small(1024, 540);
        forEveryWindow([small](const char* what, QWidget* window, bool opening) {
            const QStringList unnamed = unnamedControls(window);
            QVERIFY2(unnamed.isEmpty(), qPrintable(QStringLiteral("%1: %2").arg(QString::fromLatin1(what),
                                                                                unnamed.join(QStringLiteral(", ")))));
            const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
            // The main window is the fixture's size; a window that needs more than the room gets its least.
            const QSize room =
                window->parentWidget() && opening ? roomOnScreen(window).expandedTo(least) : window->size();
            QVERIFY2(least.width() <= small.width() && least.height() <= small.height() &&
                         window->width() <= room.width() && window->height() <= room.height(),
                     qPrintable(QString::asprintf("%s needs at least %d×%d, opens at %d×%d where %d×%d fit", what,
                                                  least.width(), least.height(), window->width(), window->height(),
                                                  room.width(), room.height())));
        });
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
