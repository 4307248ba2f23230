#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

#include "app/dialogs/frm_about.h"
#include "app/dialogs/help_viewer.h"
#include "app/settings/reg_keys.h"
#include "support/window_fixture.h"

using namespace norvik;

// The stored language and the help pages.
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
        QTest::newRow("2 has no captions") << QVariant(QStringLiteral("2")) << 0;
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

    // The language is written at exit. When the store cannot take it (here a file-size limit stands
    // in for a full disk) the user hears so, in the language chosen, unless nothing is lost.
    void aLanguageThatCannotBeStoredIsReported() {
        struct Case {
            const char* what;
            bool switched, diskFull, told;
        } const cases[] = {
            {"switched, disk full", true, true, true},
            {"not switched, disk full", false, true, false},
            {"switched, stored", true, false, false},
        };
        for (const Case& c : cases) {
            test::WindowFixture f;
            if (c.switched)
                f.action("mnuSet_LanC")->trigger();
            rlimit before{};
            ::getrlimit(RLIMIT_FSIZE, &before);
            const auto previous = std::signal(SIGXFSZ, SIG_IGN);
            if (c.diskFull) {
                const rlimit full{0, before.rlim_max};
                ::setrlimit(RLIMIT_FSIZE, &full);
            }
            f.window->close();
            ::setrlimit(RLIMIT_FSIZE, &before);
            std::signal(SIGXFSZ, previous);

            QCOMPARE(f.prompter.asked.size(), c.told ? 1 : 0);
            if (c.told)
                QVERIFY2(f.prompter.asked.first().text.startsWith(QStringLiteral("无法将语言设置保存到 ") +
                                                                  f.settings.fileName()),
                         qPrintable(f.prompter.asked.first().text));
            QFile stored(f.path("lang.ini"));
            const bool holdsChinese = stored.open(QIODevice::ReadOnly) && stored.readAll().contains("Language=1");
            QVERIFY2(holdsChinese == (c.switched && !c.diskFull), c.what);
        }
    }

    // Each topic's page is bundled in both languages and holds the anchor it names.
    void helpTopicsPointAtBundledPages() {
        struct Row {
            int id;
            const char* page;
            const char* anchor;
        };
        const Row rows[] = {
            {2, "files.html", ""},        {2300, "files.html", "save"},   {5100, "reading.html", ""},
            {6, "reading.html", "port"},  {7, "index.html", "language"},  {1001, "editing.html", "copy"},
            {7007, "editing.html", "rx"}, {7012, "editing.html", "scan"}, {9999, "index.html", ""}};
        for (const Row& r : rows) {
            for (Language lang : {Language::English, Language::Chinese}) {
                const QUrl url = helpUrl(r.id, lang);
                QVERIFY2(url.path().startsWith(lang == Language::English ? QLatin1String("/help/en/")
                                                                         : QLatin1String("/help/zh/")) &&
                             url.path().endsWith(QLatin1Char('/') + QLatin1String(r.page)) &&
                             url.fragment() == QLatin1String(r.anchor),
                         qPrintable(url.toString()));
                QFile file(QLatin1Char(':') + url.path());
                QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(url.toString()));
                QVERIFY2(!*r.anchor || file.readAll().contains(QByteArray("id=\"") + r.anchor + '"'),
                         qPrintable(url.toString()));
            }
        }
    }
};

QTEST_MAIN(ShellPartsTest)
#include "test_shell_parts.moc"
