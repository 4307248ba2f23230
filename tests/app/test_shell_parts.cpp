#include <QFile>
#include <QSet>
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

    // Whatever id a window asks for, its page is bundled in the language asked and holds the
    // anchor it names; an id without a topic gets the index.
    void everyHelpTopicPointsAtABundledAnchor() {
        QSet<QUrl> checked;
        for (int id = 0; id <= 10000; ++id) {
            for (Language lang : {Language::English, Language::Chinese}) {
                const QUrl url = helpUrl(id, lang);
                if (checked.contains(url))
                    continue;
                checked.insert(url);
                QVERIFY2(url.path().startsWith(lang == Language::English ? QLatin1String("/help/en/")
                                                                         : QLatin1String("/help/zh/")),
                         qPrintable(url.toString()));
                QFile file(QLatin1Char(':') + url.path());
                QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(url.toString()));
                QVERIFY2(!url.hasFragment() || file.readAll().contains("id=\"" + url.fragment().toLatin1() + '"'),
                         qPrintable(url.toString()));
            }
        }
        QVERIFY(checked.size() > 20);
        QCOMPARE(helpUrl(9999, Language::English), QUrl(QStringLiteral("qrc:/help/en/index.html")));
    }
};

QTEST_MAIN(ShellPartsTest)
#include "test_shell_parts.moc"
