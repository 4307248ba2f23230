#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtTest>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "common/texts.h"
#include "datafile/data_file.h"
#include "support/failing_sink.h"
#include "support/window_fixture.h"

using namespace norvik;

namespace {

struct Fixture : test::WindowFixture {
    // Two channels typed the way the grid commits them.
    void editChannels() {
        table().commitReceive(1, "145.50000");
        table().commitReceive(2, "435.02500");
    }
    QString title() const { return window->windowTitle(); }
    std::filesystem::path file(const char* name) const { return path(name).toStdString(); }
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray fileBytes(const RadioImage& image) {
    const ByteVector v = encodeDataFile(image);
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void newAsksThenClearsEverything_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("OK clears") << int(QMessageBox::Ok);
        QTest::newRow("Cancel keeps") << int(QMessageBox::Cancel);
    }
    void newAsksThenClearsEverything() {
        QFETCH(int, answer);
        Fixture f;
        const RadioImage defaults = f.doc.image();
        f.window->show();
        f.editChannels();
        f.window->setFilePath("/data/site.dat");
        f.window->setPasteAvailable(true);
        f.grid()->setCurrentCell(2, col::Name);
        const RadioImage edited = f.doc.image();
        f.prompter.answers = {QMessageBox::StandardButton(answer)};

        f.window->mnuFile_New_Click();

        // New never asks to save, whatever was changed.
        QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("All data will be cleared.")});
        QCOMPARE(f.prompter.asked.first().buttons, QMessageBox::Ok | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel) {
            QVERIFY(f.doc.image() == edited);
            QCOMPARE(f.title(), QStringLiteral("Norvik R7 [File Name: site.dat]"));
            QCOMPARE(f.pasteEnabled(), 2);
            QCOMPARE(f.shown(1, col::Rx), QStringLiteral("145.50000"));
            return;
        }
        QVERIFY(f.doc.image() == defaults);
        QVERIFY(!f.doc.isModified());
        QCOMPARE(f.title(), QStringLiteral("Norvik R7 [File Name: Untitled]"));
        QCOMPARE(f.pasteEnabled(), 0);
        QCOMPARE(f.shown(1, col::Rx), QString());
        QCOMPARE(f.shown(2, col::Name), QString());
        QCOMPARE(f.grid()->currentChannel(), 1);
        QCOMPARE(f.grid()->currentColumn(), 1);
        // The next Save asks for a name again.
        f.window->mnuFile_Save_Click();
        QCOMPARE(f.prompter.saveRequests, QStringList{QStringLiteral("Untitled.dat")});
    }

    void openOfAChangedDocumentAsksFirst_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("giveSaveName");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("opened");
        QTest::newRow("Yes saves, then opens") << int(QMessageBox::Yes) << true << true << true;
        QTest::newRow("Yes with the Save dialog cancelled stops") << int(QMessageBox::Yes) << false << false << false;
        QTest::newRow("No opens without saving") << int(QMessageBox::No) << false << false << true;
        QTest::newRow("Cancel stops") << int(QMessageBox::Cancel) << false << false << false;
    }
    void openOfAChangedDocumentAsksFirst() {
        QFETCH(int, answer);
        QFETCH(bool, giveSaveName);
        QFETCH(bool, saved);
        QFETCH(bool, opened);
        Fixture f;
        RadioDocument other; // the file to open: the defaults with channel 5 set
        ChannelTable(other).commitReceive(5, "150.00000");
        QVERIFY(writeAll(f.path("other.dat"), fileBytes(other.image())));
        f.editChannels();
        const RadioImage edited = f.doc.image();
        const QString mine = f.path("mine.dat");
        QList<bool> mineExistedAtOpen;
        f.prompter.onPrompt = [&](test::ScriptedPrompter::Kind k) {
            if (k == test::ScriptedPrompter::Kind::Open)
                mineExistedAtOpen.append(QFile::exists(mine));
        };
        f.prompter.answers = {QMessageBox::StandardButton(answer)};
        if (giveSaveName)
            f.prompter.saveNames = {mine};
        f.prompter.openNames = {f.path("other.dat")};

        f.window->mnuFile_Open_Click();

        QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("File has been modified, save it now?")});
        QCOMPARE(f.prompter.asked.first().buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        // An untitled document is saved through the Save dialog, before the Open dialog shows.
        QCOMPARE(f.prompter.saveRequests.size(), answer == QMessageBox::Yes ? 1 : 0);
        QCOMPARE(mineExistedAtOpen, opened ? QList<bool>{saved} : QList<bool>{});
        if (saved)
            QCOMPARE(readAll(mine), fileBytes(edited));
        QVERIFY(f.doc.image() == (opened ? other.image() : edited));
        QCOMPARE(f.doc.isModified(), !opened);
        QCOMPARE(f.shown(5, col::Rx), opened ? QStringLiteral("150.00000") : QString());
        QCOMPARE(f.shown(1, col::Rx), opened ? QString() : QStringLiteral("145.50000"));
        QCOMPARE(f.title(), opened ? QStringLiteral("Norvik R7 [File Name: other.dat]")
                                   : QStringLiteral("Norvik R7 [File Name: Untitled]"));
    }

    void aFileThatIsNotADataFileLeavesTheImageAlone_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("lang");
        QTest::addColumn<bool>("complains");
        QTest::newRow("text file") << QByteArray("channel list\r\n145.500,Calling\r\n") << 0 << true;
        QTest::newRow("text file, Chinese") << QByteArray("not a data file") << 1 << true;
        QTest::newRow("larger than any data file") << QByteArray((1 << 20) + 10, 'A') << 0 << true;
        QTest::newRow("empty file is ignored") << QByteArray() << 0 << false;
    }
    void aFileThatIsNotADataFileLeavesTheImageAlone() {
        QFETCH(QByteArray, content);
        QFETCH(int, lang);
        QFETCH(bool, complains);
        Fixture f;
        f.window->setLanguage(languageFromIndex(lang));
        f.window->setFilePath(f.file("site.dat"));
        f.editChannels();
        f.doc.takeSavedImage();
        f.table().commitReceive(3, "146.00000"); // changed, answered No below
        const RadioImage before = f.doc.image();
        QVERIFY(writeAll(f.path("foreign.dat"), content));
        f.prompter.answers = {QMessageBox::No};
        f.prompter.openNames = {f.path("foreign.dat")};

        f.window->mnuFile_Open_Click();

        QCOMPARE(f.prompter.asked.size(), complains ? 2 : 1);
        if (complains) {
            const auto& e = f.prompter.asked.last();
            QCOMPARE(e.text.section(QLatin1Char('\n'), 0, 0), qtext(1114, languageFromIndex(lang)));
            QCOMPARE(e.icon, QMessageBox::Critical);
            if (lang == 0)
                QCOMPARE(e.text.section(QLatin1Char('\n'), 0, 0), QStringLiteral("Incorrect File Type."));
        }
        QVERIFY(f.doc.image() == before);
        QVERIFY(f.doc.isModified());
        QVERIFY(f.window->filePath() == f.file("site.dat"));
        QCOMPARE(f.table().text(3, col::Rx), std::string("146.00000"));
        // Save goes to the document's own file, never to the file that was refused.
        f.window->mnuFile_Save_Click();
        QCOMPARE(readAll(f.path("foreign.dat")), content);
        QCOMPARE(readAll(f.path("site.dat")), fileBytes(before));
    }

    void aFileThatCannotBeReadIsReportedAndChangesNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QStringLiteral("missing") << QStringLiteral("No such file");
        // Opened plainly, a pipe without a writer would hold the window until one came.
        QTest::newRow("pipe") << QStringLiteral("pipe") << QStringLiteral("not a regular file");
        QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("not a regular file");
    }
    void aFileThatCannotBeReadIsReportedAndChangesNothing() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        Fixture f;
        f.editChannels();
        const RadioImage before = f.doc.image();
        const QString target = f.path("in.dat");
        if (kind == QLatin1String("pipe"))
            QCOMPARE(::mkfifo(target.toLocal8Bit().constData(), 0600), 0);
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("in.dat")));
        f.prompter.answers = {QMessageBox::No};
        f.prompter.openNames = {target};
        f.window->mnuFile_Open_Click();
        QCOMPARE(f.prompter.asked.size(), 2);
        const QString text = f.prompter.asked.last().text;
        QVERIFY2(text.startsWith(QStringLiteral("Cannot read file ") + target), qPrintable(text));
        QVERIFY2(text.contains(reason), qPrintable(text));
        QVERIFY(f.doc.image() == before);
        QVERIFY(f.window->filePath().empty());
    }

    void aFailedSaveKeepsTheOldFileAndTheChanges_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("Save, disk full after 100 bytes")
            << QStringLiteral("full-save") << QStringLiteral("No space left");
        QTest::newRow("Save As, disk full at once")
            << QStringLiteral("full-save-as") << QStringLiteral("No space left");
        QTest::newRow("folder is a regular file") << QStringLiteral("under-file") << QStringLiteral("Not a directory");
        QTest::newRow("target is a folder") << QStringLiteral("folder") << QStringLiteral("not a regular file");
        QTest::newRow("target is a pipe") << QStringLiteral("pipe") << QStringLiteral("not a regular file");
        QTest::newRow("target is a device") << QStringLiteral("device") << QStringLiteral("not a regular file");
        // Root writes into read-only folders, so that case only proves something for a user.
        if (geteuid() != 0)
            QTest::newRow("read-only folder") << QStringLiteral("read-only") << QStringLiteral("Permission denied");
    }
    void aFailedSaveKeepsTheOldFileAndTheChanges() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        Fixture f;
        // The document came from box/old.dat; then it was changed.
        QDir(f.dir.path()).mkdir(QStringLiteral("box"));
        const QString box = f.path("box");
        const QString old = f.path("box/old.dat");
        f.editChannels();
        f.prompter.saveNames = {old};
        f.window->mnuFile_Save_Click();
        const QByteArray oldBytes = readAll(old);
        QVERIFY(!oldBytes.isEmpty());
        f.table().commitReceive(9, "147.00000");
        const RadioImage edited = f.doc.image();

        QString target = old;
        if (kind.startsWith(QLatin1String("full"))) {
            const std::size_t failAt = kind == QLatin1String("full-save") ? 100 : 0;
            f.window->setSaveSinkWrapper(
                [failAt](io::ByteSink& file) { return std::make_unique<test::FailingSink>(file, failAt); });
            if (kind == QLatin1String("full-save-as"))
                target = box + QStringLiteral("/new.dat");
        } else if (kind == QLatin1String("under-file")) {
            target = old + QStringLiteral("/new.dat");
        } else if (kind == QLatin1String("folder")) {
            target = box;
        } else if (kind == QLatin1String("pipe")) {
            target = box + QStringLiteral("/pipe.dat");
            QCOMPARE(::mkfifo(target.toLocal8Bit().constData(), 0600), 0);
        } else if (kind == QLatin1String("device")) {
            target = QStringLiteral("/dev/null");
        } else {
            QVERIFY(QFile::setPermissions(box, QFile::ReadOwner | QFile::ExeOwner));
        }
        const QStringList entries = QDir(box).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        f.prompter.saveNames = {target};
        if (kind == QLatin1String("full-save"))
            f.window->mnuFile_Save_Click();
        else
            f.window->mnuFile_SaveAs_Click();
        QFile::setPermissions(box, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(f.prompter.asked.size(), 1);
        const auto& e = f.prompter.asked.first();
        QCOMPARE(e.icon, QMessageBox::Warning);
        QVERIFY2(e.text.contains(QDir::toNativeSeparators(target)), qPrintable(e.text));
        QVERIFY2(e.text.contains(reason), qPrintable(e.text));
        QVERIFY(e.text.contains(QStringLiteral("Choose another folder")));
        QCOMPARE(readAll(old), oldBytes);
        QCOMPARE(QDir(box).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), entries);
        QVERIFY(!QFileInfo(target).isFile() || target == old); // a pipe or device is still one
        QVERIFY(f.doc.image() == edited);
        QVERIFY(f.doc.isModified());
        QVERIFY(f.window->filePath() == old.toStdString()); // still the file it came from
        QCOMPARE(f.title(), QStringLiteral("Norvik R7 [File Name: old.dat]"));
    }

    void aNameThatIsNotUtf8OpensAndSavesBackToItsOwnFile() {
        Fixture f;
        // "测试.dat" as a Chinese Windows system writes it (GBK), copied to this system.
        const std::filesystem::path gbk = f.file("") / "\xB2\xE2\xCA\xD4.dat";
        const QString shown = f.dir.filePath(QStringLiteral("\uFFFD\uFFFD\uFFFD\uFFFD.dat"));
        // QTemporaryDir cannot remove what its QString names cannot name.
        const struct Remove {
            std::filesystem::path p;
            ~Remove() { std::filesystem::remove(p); }
        } cleanup{gbk};
        RadioDocument other;
        ChannelTable(other).commitReceive(5, "150.00000");
        const QByteArray bytes = fileBytes(other.image());
        std::ofstream(gbk, std::ios::binary).write(bytes.constData(), bytes.size());

        QVERIFY(f.window->openDataFile(gbk));
        QVERIFY(f.doc.image() == other.image());
        QCOMPARE(f.title(), QStringLiteral("Norvik R7 [File Name: \uFFFD\uFFFD\uFFFD\uFFFD.dat]"));

        f.table().commitReceive(6, "151.00000");
        f.window->mnuFile_Save_Click();
        f.table().commitReceive(7, "152.00000");
        f.prompter.saveNames = {shown}; // Save As with the offered name as it is
        f.window->mnuFile_SaveAs_Click();
        QCOMPARE(f.prompter.saveRequests, QStringList{shown});
        QVERIFY(f.prompter.asked.isEmpty());
        QVERIFY(!f.doc.isModified());
        std::ifstream in(gbk, std::ios::binary);
        QCOMPARE(QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(in), {})),
                 fileBytes(f.doc.image()));
        const auto names = std::filesystem::directory_iterator(gbk.parent_path());
        QCOMPARE(std::distance(begin(names), end(names)), 1); // nothing written under another name
    }

    void saveThenOpenGivesTheSameImage() {
        Fixture f;
        f.editChannels();
        f.table().commitName(1, "CALL");
        BandLimits bands;
        bands.set(0, {140, 170});
        f.change([&](RadioImage& img) {
            bands.store(img);
            // Bytes no editor shows travel too.
            for (int a = 0xF00; a < 0x1000; ++a)
                img.set(a, static_cast<std::uint8_t>(a * 7));
        });
        const RadioImage saved = f.doc.image();
        f.prompter.saveNames = {f.path("round.dat")};
        f.window->mnuFile_Save_Click();
        QCOMPARE(f.title(), QStringLiteral("Norvik R7 [File Name: round.dat]"));
        QVERIFY(!f.doc.isModified());
        QCOMPARE(readAll(f.path("round.dat")), fileBytes(saved));

        f.prompter.answers = {QMessageBox::Ok};
        f.window->mnuFile_New_Click();
        const RadioDocument atStart; // its limits, so that Open must load the file's own
        f.doc.replace(atStart.image(), 0, RadioDocument::SavedImage::Take);
        f.prompter.openNames = {f.path("round.dat")};
        f.window->mnuFile_Open_Click();
        QVERIFY(f.doc.image() == saved);
        QVERIFY(!f.doc.isModified());
        QCOMPARE(f.shown(1, col::Name), QStringLiteral("CALL"));
        QCOMPARE(f.doc.bandLimits()[0].lower, 140);
        QCOMPARE(f.doc.bandLimits()[0].upper, 170);
        // Nothing is left beside the file or beside the program.
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files), (QStringList{QStringLiteral("round.dat")}));
        QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/tempkfmt.dat")));

        // Save of a document with a file writes there without a dialog; Save As starts from it.
        f.table().commitReceive(4, "148.00000");
        f.window->mnuFile_Save_Click();
        QCOMPARE(f.prompter.saveRequests.size(), 1);
        QVERIFY(!f.doc.isModified());
        f.window->mnuFile_SaveAs_Click(); // dialog cancelled
        QCOMPARE(f.prompter.saveRequests.last(), f.path("round.dat"));
        QCOMPARE(f.prompter.asked.size(), 1);
    }
};

QTEST_MAIN(FileCommandsTest)
#include "test_file_commands.moc"
