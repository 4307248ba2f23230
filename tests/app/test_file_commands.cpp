#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

#include "channels/channel_table.h"
#include "common/texts.h"
#include "datafile/data_file.h"
#include "editor/channel_grid.h"
#include "editor/frm_main.h"
#include "image/radio_document.h"
#include "support/fake_ports.h"
#include "support/scripted_prompter.h"
#include "transfer/transfer_ports.h"

using namespace norvik;

namespace {

// Notes, for each file dialog, which of the watched files existed when it opened.
class OrderPrompter : public QObject, public test::ScriptedPrompter {
    Q_OBJECT
public:
    QString watched;
    QList<bool> watchedExistedAtOpen;
    QMessageBox::StandardButton message(QWidget* w, QMessageBox::Icon i, const QString& t, const QString& x,
                                        QMessageBox::StandardButtons b, QMessageBox::StandardButton d) override {
        emit prompted();
        return ScriptedPrompter::message(w, i, t, x, b, d);
    }
    QString openFileName(QWidget* w, const QString& t, const QString& dir, const QString& f) override {
        emit prompted();
        watchedExistedAtOpen.append(QFile::exists(watched));
        return ScriptedPrompter::openFileName(w, t, dir, f);
    }
    QString saveFileName(QWidget* w, const QString& t, const QString& path, const QString& f) override {
        emit prompted();
        return ScriptedPrompter::saveFileName(w, t, path, f);
    }

signals:
    void prompted();
};

struct Fixture {
    QTemporaryDir dir;
    QSettings settings{dir.filePath(QStringLiteral("lang.ini")), QSettings::IniFormat};
    RadioDocument doc;
    OrderPrompter prompter;
    std::unique_ptr<frmMain> window;

    Fixture() { window = std::make_unique<frmMain>(doc, prompter, &settings); }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QAction* action(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    bool pasteEnabled() const {
        return action("mnuEdit_Paste")->isEnabled() || window->toolButton(QStringLiteral("Paste"))->isEnabled();
    }
    // Two channels typed the way the grid commits them.
    void editChannels() {
        window->channelTable().commitReceive(1, "145.50000");
        window->channelTable().commitReceive(2, "435.02500");
        window->channelGrid()->refreshAll();
    }
    QString title() const { return window->windowTitle(); }
    // No serial port at all, probed at once.
    TransferPorts& noPorts() {
        ports = std::make_unique<TransferPorts>(std::make_unique<test::FakeEnumerator>(QStringList{}),
                                                [] { return std::make_unique<test::FakeChecker>(QSet<QString>{}, 1); });
        return *ports;
    }
    std::unique_ptr<TransferPorts> ports;
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray bytesOf(const ByteVector& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void newAsksThenClearsEverything_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("clears");
        QTest::newRow("OK clears") << int(QMessageBox::Ok) << true;
        QTest::newRow("Cancel keeps") << int(QMessageBox::Cancel) << false;
    }
    void newAsksThenClearsEverything() {
        QFETCH(int, answer);
        QFETCH(bool, clears);
        Fixture f;
        const RadioImage defaults = f.doc.image();
        f.window->show();
        f.editChannels();
        f.window->setFileName(QStringLiteral("/data/site.dat"));
        f.window->setPasteAvailable(true);
        f.window->channelGrid()->setCurrentCell(2, col::Name);
        const RadioImage edited = f.doc.image();
        f.prompter.answers = {QMessageBox::StandardButton(answer)};

        f.window->mnuFile_New_Click();

        QCOMPARE(f.prompter.asked.size(), 1);
        const auto& q = f.prompter.asked.first();
        QCOMPARE(q.text, QStringLiteral("All data will be cleared."));
        QCOMPARE(q.title, QStringLiteral("alert"));
        QCOMPARE(q.icon, QMessageBox::Warning);
        QCOMPARE(q.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        // New never asks to save, whatever was changed.
        if (!clears) {
            QVERIFY(f.doc.image() == edited);
            QCOMPARE(f.title(), QStringLiteral("Norvik R7 [File Name: site.dat]"));
            QVERIFY(f.pasteEnabled());
            QCOMPARE(f.window->channelTable().text(1, col::Rx), std::string("145.50000"));
            return;
        }
        QVERIFY(f.doc.image() == defaults);
        QVERIFY(!f.doc.isModified());
        QCOMPARE(f.title(), QStringLiteral("Norvik R7 [File Name: Untitled]"));
        QVERIFY(!f.pasteEnabled());
        for (int ch : {1, 2, 128})
            for (int c = 1; c < kTableColumns; ++c)
                QVERIFY(f.window->channelTable().text(ch, c).empty());
        QCOMPARE(f.window->channelGrid()->currentChannel(), 1);
        QCOMPARE(f.window->channelGrid()->currentColumn(), 1);
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
        // A file to open: the defaults with channel 5 set.
        RadioDocument other;
        ChannelTable(other).commitReceive(5, "150.00000");
        QVERIFY(writeAll(f.path("other.dat"), bytesOf(encodeDataFile(other.image()))));

        f.editChannels();
        const RadioImage edited = f.doc.image();
        f.prompter.watched = f.path("mine.dat");
        f.prompter.answers = {QMessageBox::StandardButton(answer)};
        if (giveSaveName)
            f.prompter.saveNames = {f.path("mine.dat")};
        f.prompter.openNames = {f.path("other.dat")};

        f.window->mnuFile_Open_Click();

        QCOMPARE(f.prompter.asked.first().text, QStringLiteral("File has been modified, save it now?"));
        QCOMPARE(f.prompter.asked.first().buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(f.prompter.asked.size(), 1);
        // An untitled document is saved through the Save dialog, before the Open dialog shows.
        QCOMPARE(f.prompter.saveRequests.size(), answer == QMessageBox::Yes ? 1 : 0);
        QCOMPARE(f.prompter.watchedExistedAtOpen, opened ? QList<bool>{saved} : QList<bool>{});
        if (saved) {
            const auto back =
                decodeDataFile(std::span(reinterpret_cast<const std::uint8_t*>(readAll(f.prompter.watched).constData()),
                                         std::size_t(readAll(f.prompter.watched).size())));
            QVERIFY(back.ok() && *back.image == edited);
        }
        if (opened) {
            QVERIFY(f.doc.image() == other.image());
            QVERIFY(!f.doc.isModified());
            QCOMPARE(f.window->channelTable().text(5, col::Rx), std::string("150.00000"));
            QCOMPARE(f.window->channelTable().text(1, col::Rx), std::string());
            QCOMPARE(f.title(), QStringLiteral("Norvik R7 [File Name: other.dat]"));
        } else {
            QVERIFY(f.doc.image() == edited);
            QCOMPARE(f.title(), QStringLiteral("Norvik R7 [File Name: Untitled]"));
        }
    }

    void aFileThatIsNotADataFileLeavesTheImageAlone_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("complains");
        ByteVector record = buildRecord(RadioImage());
        record[0] = 'X';
        const QByteArray good = bytesOf(encodeDataFile(RadioImage()));
        QTest::newRow("text file") << QByteArray("channel list\r\n145.500,Calling\r\n") << true;
        QTest::newRow("right length, wrong signature") << bytesOf(encodeAll(record)) << true;
        QTest::newRow("data file cut short") << good.left(good.size() / 2) << true;
        QTest::newRow("larger than any data file") << QByteArray((1 << 20) + 10, 'A') << true;
        QTest::newRow("empty file is ignored") << QByteArray() << false;
    }
    void aFileThatIsNotADataFileLeavesTheImageAlone() {
        QFETCH(QByteArray, content);
        QFETCH(bool, complains);
        Fixture f;
        f.window->setFileName(f.path("site.dat"));
        f.editChannels();
        f.doc.takeSavedImage();
        f.window->channelTable().commitReceive(3, "146.00000"); // changed, answered No below
        const RadioImage before = f.doc.image();
        QVERIFY(writeAll(f.path("foreign.dat"), content));
        f.prompter.answers = {QMessageBox::No};
        f.prompter.openNames = {f.path("foreign.dat")};

        f.window->mnuFile_Open_Click();

        QCOMPARE(f.prompter.asked.size(), complains ? 2 : 1);
        if (complains) {
            const auto& e = f.prompter.asked.last();
            QCOMPARE(e.text.section(QLatin1Char('\n'), 0, 0), QStringLiteral("Incorrect File Type."));
            QCOMPARE(e.title, QStringLiteral("Error"));
            QCOMPARE(e.icon, QMessageBox::Critical);
            QCOMPARE(e.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
        QVERIFY(f.doc.image() == before);
        QVERIFY(f.doc.isModified());
        QCOMPARE(f.title(), QStringLiteral("Norvik R7 [File Name: site.dat]"));
        QCOMPARE(f.window->channelTable().text(3, col::Rx), std::string("146.00000"));
        // Save goes to the document's own file, never to the file that was refused.
        f.window->mnuFile_Save_Click();
        QCOMPARE(readAll(f.path("foreign.dat")), content);
        QVERIFY(QFile::exists(f.path("site.dat")));
        QVERIFY(!f.doc.isModified());
    }

    void incorrectFileTypeIsInTheLanguageInForce() {
        Fixture f;
        f.window->setLanguage(Language::Chinese);
        QVERIFY(writeAll(f.path("x.dat"), QByteArray("not a data file")));
        f.prompter.openNames = {f.path("x.dat")};
        f.window->mnuFile_Open_Click();
        QCOMPARE(f.prompter.asked.size(), 1);
        QVERIFY(f.prompter.asked.first().text.startsWith(qtext(1114, Language::Chinese)));
    }

    void aFailedSaveKeepsTheOldFileAndTheChanges_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder is a regular file") << QStringLiteral("under-file");
        QTest::newRow("target is a folder") << QStringLiteral("folder");
        // Root writes into read-only folders, so that case only proves something for a user.
        if (geteuid() != 0)
            QTest::newRow("read-only folder") << QStringLiteral("read-only");
    }
    void aFailedSaveKeepsTheOldFileAndTheChanges() {
        QFETCH(QString, kind);
        Fixture f;
        // The document came from old.dat; then it was changed.
        QDir(f.dir.path()).mkdir(QStringLiteral("box"));
        const QString old = f.dir.filePath(QStringLiteral("box/old.dat"));
        f.editChannels();
        f.prompter.saveNames = {old};
        f.window->mnuFile_Save_Click();
        QVERIFY(!f.doc.isModified());
        const QByteArray oldBytes = readAll(old);
        QVERIFY(!oldBytes.isEmpty());
        f.window->channelTable().commitReceive(9, "147.00000");
        const RadioImage edited = f.doc.image();

        QString target;
        if (kind == QLatin1String("under-file")) {
            target = old + QStringLiteral("/new.dat");
        } else if (kind == QLatin1String("folder")) {
            target = f.dir.filePath(QStringLiteral("box"));
        } else {
            target = old;
            QVERIFY(QFile::setPermissions(f.dir.filePath(QStringLiteral("box")), QFile::ReadOwner | QFile::ExeOwner));
        }
        f.prompter.saveNames = {target};
        f.window->mnuFile_SaveAs_Click();
        QFile::setPermissions(f.dir.filePath(QStringLiteral("box")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(f.prompter.asked.size(), 1);
        const auto& e = f.prompter.asked.first();
        QCOMPARE(e.icon, QMessageBox::Warning);
        QCOMPARE(e.title, QStringLiteral("Norvik R7"));
        QVERIFY2(e.text.contains(QDir::toNativeSeparators(target)), qPrintable(e.text));
        QVERIFY(e.text.contains(QStringLiteral("Choose another folder")));
        QCOMPARE(readAll(old), oldBytes);
        QVERIFY(QFileInfo(f.dir.filePath(QStringLiteral("box"))).isDir());
        QCOMPARE(QDir(f.dir.filePath(QStringLiteral("box"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("old.dat")});
        QVERIFY(f.doc.image() == edited);
        QVERIFY(f.doc.isModified());
        // The document still belongs to the file it came from.
        QCOMPARE(f.window->fileName(), old);
    }

    void saveThenOpenGivesTheSameImage() {
        Fixture f;
        f.editChannels();
        f.window->channelTable().commitName(1, "CALL");
        // Bytes no editor shows travel too.
        for (int a = 0xF00; a < 0x1000; ++a)
            f.doc.image().set(a, static_cast<std::uint8_t>(a * 7));
        const RadioImage saved = f.doc.image();
        f.prompter.saveNames = {f.path("round.dat")};
        f.window->mnuFile_Save_Click();
        QCOMPARE(f.title(), QStringLiteral("Norvik R7 [File Name: round.dat]"));
        QVERIFY(!f.doc.isModified());
        QCOMPARE(readAll(f.path("round.dat")), bytesOf(encodeDataFile(saved)));

        f.prompter.answers = {QMessageBox::Ok};
        f.window->mnuFile_New_Click();
        QVERIFY(!(f.doc.image() == saved));
        f.prompter.openNames = {f.path("round.dat")};
        f.window->mnuFile_Open_Click();
        QVERIFY(f.doc.image() == saved);
        QVERIFY(!f.doc.isModified());
        QCOMPARE(f.window->channelTable().text(1, col::Name), std::string("CALL"));
        // Nothing is left beside the file or beside the program.
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files), (QStringList{QStringLiteral("round.dat")}));
        QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/tempkfmt.dat")));

        // Save of a document with a file writes there without a dialog; Save As starts from it.
        f.window->channelTable().commitReceive(4, "148.00000");
        f.window->mnuFile_Save_Click();
        QCOMPARE(f.prompter.saveRequests.size(), 1);
        QVERIFY(!f.doc.isModified());
        f.window->mnuFile_SaveAs_Click(); // dialog cancelled
        QCOMPARE(f.prompter.saveRequests.last(), f.path("round.dat"));
        QVERIFY(f.prompter.asked.size() == 1);
    }

    void loadedBandLimitsComeFromTheFile() {
        Fixture f;
        RadioDocument other;
        other.bandLimits().set(0, {140, 170});
        other.bandLimits().store(other.image());
        QVERIFY(writeAll(f.path("bands.dat"), bytesOf(encodeDataFile(other.image()))));
        f.prompter.openNames = {f.path("bands.dat")};
        f.window->mnuFile_Open_Click();
        QCOMPARE(f.doc.bandLimits()[0].lower, 140);
        QCOMPARE(f.doc.bandLimits()[0].upper, 170);
    }

    void everyCommandCommitsTheOpenEditorFirst_data() {
        QTest::addColumn<QString>("command");
        for (const char* c : {"New", "Open", "Save", "SaveAs", "Read", "Write", "COM"})
            QTest::newRow(c) << QString::fromLatin1(c);
    }
    void everyCommandCommitsTheOpenEditorFirst() {
        QFETCH(QString, command);
        Fixture f;
        f.doc.image().set(0x10, 0x00); // changed, so that Open asks first
        int commits = 0;
        f.window->setCommitEditor([&] { ++commits; });
        QList<int> commitsAtPrompt;
        QObject::connect(&f.prompter, &OrderPrompter::prompted, [&] { commitsAtPrompt.append(commits); });
        if (command == QLatin1String("New"))
            f.window->mnuFile_New_Click();
        else if (command == QLatin1String("Open"))
            f.window->mnuFile_Open_Click();
        else if (command == QLatin1String("Save"))
            f.window->mnuFile_Save_Click();
        else if (command == QLatin1String("SaveAs"))
            f.window->mnuFile_SaveAs_Click();
        else if (command == QLatin1String("Read"))
            f.window->mnuTransfer_Read_Click();
        else if (command == QLatin1String("Write"))
            f.window->mnuTransfer_Write_Click();
        if (command == QLatin1String("COM")) {
            f.window->setTransferPorts(f.noPorts());
            f.window->mnuSet_COM_Click();
            QVERIFY(commits >= 1);
            return;
        }
        QVERIFY(!commitsAtPrompt.isEmpty());
        QVERIFY(commitsAtPrompt.first() >= 1);
    }
};

QTEST_MAIN(FileCommandsTest)
#include "test_file_commands.moc"
