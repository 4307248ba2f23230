#include <QtTest>

#include "editor/frm_main.h"
#include "image/radio_document.h"
#include "support/scripted_prompter.h"

using namespace norvik;

class MainWindowStart : public QObject {
    Q_OBJECT
private slots:
    void showsUntitledTitle() {
        RadioDocument doc;
        test::ScriptedPrompter prompter;
        frmMain w(doc, prompter);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("Norvik R7 [File Name: Untitled]"));
        QVERIFY(!doc.isModified());
    }
};

QTEST_MAIN(MainWindowStart)
#include "test_main_window_start.moc"
