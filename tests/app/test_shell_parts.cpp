#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include "dialogs/frm_about.h"
#include "dialogs/help_viewer.h"
#include "editor/frm_main.h"
#include "image/radio_document.h"
#include "settings/reg_keys.h"
#include "support/scripted_prompter.h"

using namespace norvik;

// The stored language, the help pages and the About box.
class ShellPartsTest : public QObject {
    Q_OBJECT
private slots:
    void storedLanguageIsReadStrictly_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("missing") << QVariant() << 0;
        QTest::newRow("0") << QVariant(QStringLiteral("0")) << 0;
        QTest::newRow("1") << QVariant(QStringLiteral("1")) << 1;
        QTest::newRow("number 1 (a DWORD)") << QVariant(1) << 1;
        QTest::newRow("empty") << QVariant(QString()) << 0;
        QTest::newRow("2 has no captions") << QVariant(QStringLiteral("2")) << 0;
        QTest::newRow("-1") << QVariant(QStringLiteral("-1")) << 0;
        QTest::newRow("text") << QVariant(QStringLiteral("Chinese")) << 0;
        QTest::newRow("11") << QVariant(QStringLiteral("11")) << 0;
        QTest::newRow("padded 1") << QVariant(QStringLiteral(" 1 ")) << 1;
    }
    void storedLanguageIsReadStrictly() {
        QFETCH(QVariant, stored);
        QFETCH(int, expected);
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        if (stored.isValid())
            settings.setValue(QStringLiteral("Language"), stored);
        QCOMPARE(languageIndex(RegKeys(settings).readLanguage()), expected);
    }

    void unreadableStoreStartsInEnglish() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("broken.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[General\nLanguage=1\n\x01\x02garbage");
        f.close();
        QSettings settings(path, QSettings::IniFormat);
        QCOMPARE(RegKeys(settings).readLanguage(), Language::English);
    }

    void writeStoresTheIndexAsText() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.ini"));
        {
            QSettings settings(path, QSettings::IniFormat);
            QVERIFY(RegKeys(settings).writeLanguage(Language::Chinese));
        }
        QSettings settings(path, QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("Language")).toString(), QStringLiteral("1"));
    }

    void defaultStoreUsesTheProgramsOrganisationAndName() {
        QTemporaryDir dir;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        {
            auto settings = RegKeys::openDefault();
            QCOMPARE(settings->organizationName(), QStringLiteral("NORVIK LABS"));
            QCOMPARE(settings->applicationName(), QStringLiteral("Norvik R7"));
            QVERIFY(RegKeys(*settings).writeLanguage(Language::Chinese));
        }
#ifndef Q_OS_WIN
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("NORVIK LABS/Norvik R7.conf"))));
#endif
        // A window built without an injected store comes up in the stored language.
        RadioDocument doc;
        test::ScriptedPrompter prompter;
        frmMain window(doc, prompter);
        QCOMPARE(window.language(), Language::Chinese);
    }

    void helpTopicsPointAtBundledPages_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("anchor");
        QTest::newRow("File menu") << 2 << "files.html"
                                   << "";
        QTest::newRow("Save") << 2300 << "files.html"
                              << "save";
        QTest::newRow("Read") << 5100 << "reading.html"
                              << "";
        QTest::newRow("Write") << 5200 << "writing.html"
                               << "";
        QTest::newRow("COM port") << 6 << "reading.html"
                                  << "port";
        QTest::newRow("Language") << 7 << "index.html"
                                  << "language";
        QTest::newRow("Copy") << 1001 << "editing.html"
                              << "copy";
        QTest::newRow("RX column") << 7007 << "editing.html"
                                   << "rx";
        QTest::newRow("Scan column") << 7012 << "editing.html"
                                     << "scan";
        QTest::newRow("no topic") << 0 << "index.html"
                                  << "";
        QTest::newRow("unknown") << 9999 << "index.html"
                                 << "";
    }
    void helpTopicsPointAtBundledPages() {
        QFETCH(int, id);
        QFETCH(QString, page);
        QFETCH(QString, anchor);
        for (Language lang : {Language::English, Language::Chinese}) {
            const QUrl url = helpUrl(id, lang);
            QVERIFY(url.path().endsWith(QLatin1Char('/') + page));
            QCOMPARE(url.fragment(), anchor);
            QFile file(QLatin1Char(':') + url.path());
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(url.toString()));
            const QByteArray html = file.readAll();
            if (!anchor.isEmpty())
                QVERIFY2(html.contains("id=\"" + anchor.toLatin1() + "\""), qPrintable(url.toString()));
        }
        QVERIFY(helpUrl(id, Language::Chinese).path().startsWith(QStringLiteral("/help/zh/")));
    }

    void f1WithoutAHelpFileOpensTheBundledPage() {
        RadioDocument doc;
        test::ScriptedPrompter prompter;
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        frmMain window(doc, prompter, &settings);
        QVERIFY(!QFile::exists(window.helpFilePath()));
        window.setLanguage(Language::Chinese);
        window.showHelp(7009);
        auto* viewer = window.findChild<HelpViewer*>();
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->source(), QUrl(QStringLiteral("qrc:/help/zh/editing.html#decode")));
        auto* browser = viewer->findChild<QTextBrowser*>(QStringLiteral("helpBrowser"));
        QVERIFY(browser->toPlainText().contains(QStringLiteral("亚音")));
        window.showHelp(0); // the same viewer moves to the index
        QCOMPARE(window.findChildren<HelpViewer*>().size(), 1);
        QCOMPARE(viewer->source().path(), QStringLiteral("/help/zh/index.html"));
    }

    void aboutBoxNamesProductVersionAndRelease() {
        const QLocale locale(QLocale::English, QLocale::UnitedStates);
        QCOMPARE(frmAbout::infoText(Language::English, locale),
                 QStringLiteral("RADIO PROGRAMMING SOFTWARE\nFOR Norvik R7\nVERSION 1.00\nRELEASE ") +
                     locale.toString(QDate(2012, 1, 14), QLocale::ShortFormat));
        frmAbout en(Language::English);
        QCOMPARE(en.windowTitle(), QStringLiteral("About Norvik R7"));
        QCOMPARE(en.findChild<QPushButton*>(QStringLiteral("CmdOk"))->text(), QStringLiteral("&OK"));
        frmAbout zh(Language::Chinese);
        QCOMPARE(zh.windowTitle(), QStringLiteral("关于 Norvik R7"));
        QVERIFY(zh.findChild<QLabel*>(QStringLiteral("lblInfo"))->text().startsWith(QStringLiteral("对讲机编程软件")));
        zh.show();
        QTest::mouseClick(zh.findChild<QPushButton*>(QStringLiteral("CmdOk")), Qt::LeftButton);
        QVERIFY(!zh.isVisible());
        QCOMPARE(zh.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(ShellPartsTest)
#include "test_shell_parts.moc"
