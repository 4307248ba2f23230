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
#include "strings/string_ids.h"
#include "support/window_fixture.h"
#include "transfer/frm_com_port.h"

using namespace norvik;

namespace {

using Fixture = test::WindowFixture;

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
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
