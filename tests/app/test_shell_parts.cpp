#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

#include "dialogs/frm_about.h"
#include "dialogs/help_viewer.h"
#include "settings/reg_keys.h"
#include "support/window_fixture.h"

using namespace norvik;

// The stored language, the help pages and the About box.
class ShellPartsTest : public QObject {
    Q_OBJECT
private slots:
    void storedLanguageIsReadStrictly_data() {
        QTest::addColumn<QVariant>("stored"); // a QByteArray is the whole file, written as it is
        QTest::addColumn<int>("expected");
        QTest::newRow("missing") << QVariant() << 0;
        QTest::newRow("0") << QVariant(QStringLiteral("0")) << 0;
        QTest::newRow("1") << QVariant(QStringLiteral("1")) << 1;
        QTest::newRow("number 1 (a DWORD)") << QVariant(1) << 1;
        QTest::newRow("padded 1") << QVariant(QStringLiteral(" 1 ")) << 1;
        QTest::newRow("empty") << QVariant(QString()) << 0;
        QTest::newRow("2 has no captions") << QVariant(QStringLiteral("2")) << 0;
        QTest::newRow("-1") << QVariant(QStringLiteral("-1")) << 0;
        QTest::newRow("11") << QVariant(QStringLiteral("11")) << 0;
        QTest::newRow("unreadable file") << QVariant(QByteArray("[General\nLanguage=1\n\x01\x02garbage")) << 0;
    }
    void storedLanguageIsReadStrictly() {
        QFETCH(QVariant, stored);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.ini"));
        if (stored.typeId() == QMetaType::QByteArray) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(stored.toByteArray()) > 0);
        }
        QSettings settings(path, QSettings::IniFormat);
        if (stored.isValid() && stored.typeId() != QMetaType::QByteArray)
            settings.setValue(QStringLiteral("Language"), stored);
        QCOMPARE(languageIndex(RegKeys(settings).readLanguage()), expected);
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
        const struct {
            const char* row;
            int id;
            const char* page;
            const char* anchor;
        } rows[] = {{"File menu", 2, "files.html", ""},
                    {"Save", 2300, "files.html", "save"},
                    {"Read", 5100, "reading.html", ""},
                    {"Write", 5200, "writing.html", ""},
                    {"COM port", 6, "reading.html", "port"},
                    {"Language", 7, "index.html", "language"},
                    {"Copy", 1001, "editing.html", "copy"},
                    {"RX column", 7007, "editing.html", "rx"},
                    {"Scan column", 7012, "editing.html", "scan"},
                    {"no topic", 0, "index.html", ""},
                    {"unknown", 9999, "index.html", ""}};
        for (const auto& r : rows)
            QTest::newRow(r.row) << r.id << QString::fromLatin1(r.page) << QString::fromLatin1(r.anchor);
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
        test::WindowFixture f;
        QVERIFY(!QFile::exists(f.window->helpFilePath()));
        f.window->setLanguage(Language::Chinese);
        f.window->showHelp(7009);
        auto* viewer = f.window->findChild<HelpViewer*>();
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->source(), QUrl(QStringLiteral("qrc:/help/zh/editing.html#decode")));
        QVERIFY(viewer->findChild<QTextBrowser*>()->toPlainText().contains(QStringLiteral("亚音")));
        f.window->showHelp(0); // the same viewer moves to the index
        QCOMPARE(f.window->findChildren<HelpViewer*>().size(), 1);
        QCOMPARE(viewer->source().path(), QStringLiteral("/help/zh/index.html"));
    }

    void aboutBoxNamesProductVersionAndRelease() {
        const QLocale locale(QLocale::English, QLocale::UnitedStates);
        QCOMPARE(frmAbout::infoText(Language::English, locale),
                 QStringLiteral("RADIO PROGRAMMING SOFTWARE\nFOR Norvik R7\nVERSION 1.00\nRELEASE ") +
                     locale.toString(QDate(2012, 1, 14), QLocale::ShortFormat));
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
