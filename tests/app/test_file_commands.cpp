#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

#include "app/channel_list/frm_csv_import.h"
#include "app/common/texts.h"
#include "core/datafile/data_file.h"
#include "core/helpers.h"
#include "io/backups.h"
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

test::Bytes readAll(const QString& path) {
    return test::readFile(path.toStdString());
}

test::Bytes textBytes(std::string_view text) {
    return test::Bytes(text.begin(), text.end());
}

// Drags a file from a file manager onto the window and lets go; false when the window refuses it.
bool dropOn(QWidget* window, const QString& file) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    const QPoint at(window->width() / 2, window->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window, &drop);
    QCoreApplication::processEvents(); // the drop is taken once the file manager has let go
    return drop.isAccepted();
}

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void newAsksThenClearsEverything() {
        for (const auto answer : {QMessageBox::Cancel, QMessageBox::Ok}) {
            Fixture f;
            const RadioImage defaults = f.doc.image();
            f.start();
            f.editChannels();
            f.window->setFilePath("/data/site.dat");
            f.window->setPasteAvailable(true);
            f.grid()->setCurrentCell(2, col::Name);
            const RadioImage edited = f.doc.image();
            f.prompter.answers = {answer};

            f.action("mnuFile_New")->trigger();

            // New never asks to save, whatever was changed.
            QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("All data will be cleared.")});
            QCOMPARE(f.prompter.asked.first().buttons, QMessageBox::Ok | QMessageBox::Cancel);
            if (answer == QMessageBox::Cancel) {
                QVERIFY(f.doc.image() == edited);
                QCOMPARE(f.title(), QStringLiteral("Norvik R7 [File Name: site.dat]"));
                QCOMPARE(f.pasteEnabled(), 2);
                QCOMPARE(f.shown(1, col::Rx), QStringLiteral("145.50000"));
                continue;
            }
            QVERIFY(f.doc.image() == defaults);
            QVERIFY(!f.doc.isModified());
            QCOMPARE(f.title(), QStringLiteral("Norvik R7 [File Name: Untitled]"));
            QCOMPARE(f.pasteEnabled(), 0);
            QCOMPARE(f.shown(1, col::Rx), QString());
            QCOMPARE(f.shown(2, col::Name), QString());
            QCOMPARE(f.grid()->currentChannel(), 1);
            QCOMPARE(f.grid()->currentColumn(), 1);
            QVERIFY(!f.action("mnuEdit_Undo")->isEnabled()); // a new image starts a new history
            QTRY_VERIFY(f.grid()->hasFocus());
            // The next Save asks for a name again.
            f.window->mnuFile_Save_Click();
            QCOMPARE(f.prompter.saveRequests, QStringList{QStringLiteral("Untitled.dat")});
        }
    }

    void openOfAChangedDocumentAsksFirst() {
        struct Case {
            const char* what;
            QMessageBox::StandardButton answer;
            bool giveSaveName, saved, opened;
        };
        const Case cases[] = {
            {"Yes saves, then opens", QMessageBox::Yes, true, true, true},
            {"Yes with the Save dialog cancelled stops", QMessageBox::Yes, false, false, false},
            {"No opens without saving", QMessageBox::No, false, false, true},
            {"Cancel stops", QMessageBox::Cancel, false, false, false},
        };
        for (const Case& c : cases) {
            Fixture f;
            RadioDocument other; // the file to open: the defaults with channel 5 set
            ChannelTable(other).commitReceive(5, "150.00000");
            QVERIFY(test::writeFile(f.file("other.dat"), encodeDataFile(other.image())));
            f.editChannels();
            const RadioImage edited = f.doc.image();
            const QString mine = f.path("mine.dat");
            QList<bool> mineExistedAtOpen;
            f.prompter.onPrompt = [&](test::ScriptedPrompter::Kind k) {
                if (k == test::ScriptedPrompter::Kind::Open)
                    mineExistedAtOpen.append(QFile::exists(mine));
            };
            f.prompter.answers = {c.answer};
            if (c.giveSaveName)
                f.prompter.saveNames = {mine};
            f.prompter.openNames = {f.path("other.dat")};

            f.window->mnuFile_Open_Click();

            QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("File has been modified, save it now?")});
            QCOMPARE(f.prompter.asked.first().buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            // An untitled document is saved through the Save dialog, before the Open dialog shows.
            QCOMPARE(f.prompter.saveRequests.size(), c.answer == QMessageBox::Yes ? 1 : 0);
            QCOMPARE(mineExistedAtOpen, c.opened ? QList<bool>{c.saved} : QList<bool>{});
            if (c.saved)
                QVERIFY(readAll(mine) == encodeDataFile(edited));
            QVERIFY(f.doc.image() == (c.opened ? other.image() : edited));
            QCOMPARE(f.doc.isModified(), !c.opened);
            QCOMPARE(f.shown(5, col::Rx), c.opened ? QStringLiteral("150.00000") : QString());
            QCOMPARE(f.shown(1, col::Rx), c.opened ? QString() : QStringLiteral("145.50000"));
            QVERIFY2(f.title() == (c.opened ? QStringLiteral("Norvik R7 [File Name: other.dat]")
                                            : QStringLiteral("Norvik R7 [File Name: Untitled]")),
                     c.what);
        }
    }

    // A file Open refuses leaves the image, its file and its changes alone, and says why (an empty
    // file silently); the next Save still goes to the document's own file.
    void aFileOpenRefusesLeavesTheDocumentAlone() {
        struct Case {
            const char* kind;
            const char* message; // the start of the message's first line; null: no message
            QMessageBox::Icon icon;
        };
        const Case cases[] = {
            {"text file", "Incorrect File Type.", QMessageBox::Critical},
            {"empty file", nullptr, QMessageBox::NoIcon},
            {"missing", "Cannot read file", QMessageBox::Warning},
            // Opened plainly, a pipe without a writer would hold the window until one came.
            {"pipe", "Cannot read file", QMessageBox::Warning},
        };
        for (const Case& c : cases) {
            Fixture f;
            f.window->setFilePath(f.file("site.dat"));
            f.editChannels();
            f.doc.takeSavedImage();
            f.table().commitReceive(3, "146.00000"); // changed, answered No below
            const RadioImage before = f.doc.image();
            const QString target = f.path("in.dat");
            const QByteArray kind(c.kind);
            if (kind == "pipe")
                QCOMPARE(::mkfifo(target.toLocal8Bit().constData(), 0600), 0);
            else if (kind != "missing")
                QVERIFY(test::writeFile(f.file("in.dat"), kind == "text file" ? test::Bytes(40, 'x') : test::Bytes{}));
            f.prompter.answers = {QMessageBox::No};
            f.prompter.openNames = {target};

            f.window->mnuFile_Open_Click();

            QVERIFY2(f.prompter.asked.size() == (c.message ? 2 : 1), c.kind);
            if (c.message) {
                QVERIFY2(f.prompter.asked.last().text.startsWith(QLatin1String(c.message)), c.kind);
                QCOMPARE(f.prompter.asked.last().icon, c.icon);
            }
            QVERIFY(f.doc.image() == before);
            QVERIFY(f.doc.isModified());
            QVERIFY(f.window->filePath() == f.file("site.dat"));
            QCOMPARE(f.shown(3, col::Rx), QStringLiteral("146.00000"));
            f.window->mnuFile_Save_Click();
            QVERIFY(readAll(f.path("site.dat")) == encodeDataFile(before));
        }
    }

    // File › Compare with… lists what differs from the window's image to the file's in a window of
    // its own; the document stays as it is.
    void compareWithAFileShowsTheDifferences() {
        Fixture f;
        RadioDocument other;
        ChannelTable(other).commitReceive(5, "150.00000");
        QVERIFY(test::writeFile(f.file("other.dat"), encodeDataFile(other.image())));
        const RadioImage mine = f.doc.image();
        f.prompter.openNames = {f.path("other.dat")};
        f.action("mnuFile_Compare")->trigger();
        auto* dialog = f.window->findChild<QDialog*>(QStringLiteral("frmCompare"));
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Compare with other.dat"));
        const auto* list = dialog->findChild<QListWidget*>(QStringLiteral("lstDifferences"));
        QVERIFY(list && list->count() > 0);
        QCOMPARE(list->item(0)->text(), QStringLiteral("channel 5: RX Freq, (empty) \u2192 150.00000"));
        QVERIFY(f.doc.image() == mine);
    }

    // A save over a file keeps its previous bytes; File › Backups lists them, opens them as an untitled
    // document from the keyboard and compares them with the image.
    void aSaveKeepsTheFileItReplacesAndBackupsOpensItUntitled() {
        Fixture f;
        f.editChannels();
        f.prompter.saveNames = {f.path("old.dat")};
        f.window->mnuFile_Save_Click();
        const test::Bytes first = readAll(f.path("old.dat"));
        const RadioImage firstImage = f.doc.image();
        QVERIFY(io::listBackups(f.backups()).empty()); // nothing was there to keep
        f.table().commitReceive(9, "147.00000");
        f.window->mnuFile_Save_Click();
        QVERIFY(readAll(f.path("old.dat")) != first);
        const std::vector<io::BackupEntry> kept = io::listBackups(f.backups());
        QCOMPARE(kept.size(), std::size_t(1));
        QCOMPARE(test::readFile(kept.front().path), first);

        const auto openBackups = [&f] {
            f.action("mnuFile_Backups")->trigger();
            auto* dialog = f.window->findChild<QDialog*>(QStringLiteral("frmBackups"));
            return dialog && dialog->isVisible() ? dialog : nullptr;
        };
        QDialog* dialog = openBackups();
        QVERIFY(dialog);
        auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("lstBackups"));
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("old.dat before a save"));
        QTRY_VERIFY(list->hasFocus());
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(f.doc.image() == firstImage);
        QVERIFY(f.window->filePath().empty());
        QCOMPARE(f.title(), QStringLiteral("Norvik R7 [File Name: Untitled]"));
        QTRY_VERIFY(!f.window->findChild<QDialog*>(QStringLiteral("frmBackups")));

        f.table().commitReceive(9, "148.00000");
        dialog = openBackups();
        QVERIFY(dialog);
        dialog->findChild<QPushButton*>(QStringLiteral("CmdCompare"))->click();
        auto* compare = f.window->findChild<QDialog*>(QStringLiteral("frmCompare"));
        QVERIFY(compare && compare->isVisible());
        const auto* differences = compare->findChild<QListWidget*>(QStringLiteral("lstDifferences"));
        QVERIFY(differences->count() > 0);
        QVERIFY(differences->item(0)->text().startsWith(QStringLiteral("channel 9: ")));
    }

    void aFailedSaveKeepsTheOldFileAndTheChanges() {
        struct Case {
            QString kind, reason;
        };
        QList<Case> cases{{QStringLiteral("full"), QStringLiteral("No space left")},
                          {QStringLiteral("pipe"), QStringLiteral("not a regular file")}};
        // Root writes into read-only folders, so that case only proves something for a user.
        if (geteuid() != 0)
            cases.append({QStringLiteral("read-only"), QStringLiteral("Permission denied")});
        for (const auto& [kind, reason] : cases) {
            Fixture f;
            // The document came from box/old.dat; then it was changed.
            QDir(f.dir.path()).mkdir(QStringLiteral("box"));
            const QString box = f.path("box");
            const QString old = f.path("box/old.dat");
            f.editChannels();
            f.prompter.saveNames = {old};
            f.window->mnuFile_Save_Click();
            const test::Bytes oldBytes = readAll(old);
            QVERIFY(!oldBytes.empty());
            f.table().commitReceive(9, "147.00000");
            const RadioImage edited = f.doc.image();

            QString target = old;
            if (kind == QLatin1String("full")) {
                f.window->setSaveSinkWrapper(
                    [](io::ByteSink& file) { return std::make_unique<test::FailingSink>(file, 100); });
            } else if (kind == QLatin1String("pipe")) {
                target = box + QStringLiteral("/pipe.dat");
                QCOMPARE(::mkfifo(target.toLocal8Bit().constData(), 0600), 0);
            } else {
                QVERIFY(QFile::setPermissions(box, QFile::ReadOwner | QFile::ExeOwner));
            }
            f.prompter.saveNames = {target};
            if (kind == QLatin1String("full"))
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
            QVERIFY(readAll(old) == oldBytes);
            QVERIFY(f.doc.image() == edited);
            QVERIFY(f.doc.isModified());
            QVERIFY(f.window->filePath() == old.toStdString()); // still the file it came from
            QCOMPARE(f.title(), QStringLiteral("Norvik R7 [File Name: old.dat]"));
        }
    }

    // Two windows on one file: the second Save finds the first one's save on disk and asks before it
    // writes over it.
    void saveAsksBeforeWritingOverAnotherWindowsSave() {
        struct Case {
            QMessageBox::StandardButton answer;
            const char* onDisk; // whose image x.dat holds after B's Save
            bool savedElsewhere;
        };
        const Case cases[] = {
            {frmMain::kOverwriteAnswer, "B", false},
            {frmMain::kSaveAsAnswer, "A", true},
            {QMessageBox::Cancel, "A", false},
        };
        for (const Case& c : cases) {
            Fixture a, b;
            const QString x = a.path("x.dat"), y = a.path("y.dat");
            a.prompter.saveNames = {x};
            a.window->mnuFile_Save_Click();
            QVERIFY(b.window->openDataFile(x.toStdString()));
            a.table().commitReceive(7, "145.50000");
            a.window->mnuFile_Save_Click(); // its own last save: no question
            QVERIFY(a.prompter.asked.isEmpty());
            b.table().commitReceive(8, "146.50000");
            b.prompter.answers = {c.answer};
            b.prompter.saveNames = {y};

            b.window->mnuFile_Save_Click();

            QCOMPARE(b.prompter.asked.size(), 1);
            QVERIFY(b.prompter.asked.first().text.startsWith(x + QStringLiteral(" has been changed on disk")));
            QCOMPARE(b.prompter.asked.first().buttons,
                     frmMain::kOverwriteAnswer | frmMain::kSaveAsAnswer | QMessageBox::Cancel);
            const RadioImage& winner = *c.onDisk == 'A' ? a.doc.image() : b.doc.image();
            QVERIFY(readAll(x) == encodeDataFile(winner));
            QCOMPARE(QFile::exists(y), c.savedElsewhere);
            QCOMPARE(b.doc.isModified(), c.answer == QMessageBox::Cancel);
            QVERIFY(b.window->filePath() == (c.savedElsewhere ? y : x).toStdString());
        }
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
        QVERIFY(test::writeFile(gbk, encodeDataFile(other.image())));

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
        QVERIFY(test::readFile(gbk) == encodeDataFile(f.doc.image()));
        // Nothing written under another name (the settings file aside).
        const auto names = std::filesystem::directory_iterator(gbk.parent_path());
        QCOMPARE(std::count_if(begin(names), end(names), [](const auto& e) { return e.path().extension() == ".dat"; }),
                 1);
    }

    void recentFilesKeepTheLastEightNewestFirstAndLoseAFileThatIsGone() {
        Fixture f;
        for (int i = 1; i <= 9; ++i)
            QVERIFY(
                test::writeFile(f.file(qPrintable(QStringLiteral("f%1.dat").arg(i))), encodeDataFile(f.doc.image())));
        for (int i = 1; i <= 9; ++i)
            QVERIFY(f.window->openDataFile(f.file(qPrintable(QStringLiteral("f%1.dat").arg(i)))));
        QVERIFY(f.window->openDataFile(f.file("f3.dat"))); // moves up, not in twice
        f.prompter.saveNames = {f.path("saved.dat")};
        f.window->mnuFile_SaveAs_Click();
        const QStringList expected{f.path("saved.dat"), f.path("f3.dat"), f.path("f9.dat"), f.path("f8.dat"),
                                   f.path("f7.dat"),    f.path("f6.dat"), f.path("f5.dat"), f.path("f4.dat")};
        const auto shownList = [](const frmMain& w) {
            QStringList out;
            for (const auto& p : w.recentFiles())
                out.append(QString::fromStdString(p.string()));
            return out;
        };
        QCOMPARE(shownList(*f.window), expected);
        auto* menu = f.child<QMenu>("mnuFile_Recent");
        QCOMPARE(menu->actions().size(), 8);
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("&1 ") + f.path("saved.dat"));
        QCOMPARE(f.child<QLabel>("staNotice")->text(), QStringLiteral("Saved saved.dat"));
        // Remembered for the next start.
        frmMain next(f.doc, f.prompter, &f.settings);
        QCOMPARE(shownList(next), expected);

        // A file that is gone leaves the list with a word, and the image stays.
        QVERIFY(QFile::remove(f.path("f9.dat")));
        f.table().commitReceive(3, "146.00000");
        const RadioImage edited = f.doc.image();
        menu->actions().at(2)->trigger();
        QCOMPARE(f.prompter.texts(),
                 QStringList{f.path("f9.dat") + QStringLiteral(" is no longer there, so it has been taken off the "
                                                               "recent files.")});
        QVERIFY(f.doc.image() == edited);
        QCOMPARE(menu->actions().size(), 7);
        QVERIFY(!shownList(*f.window).contains(f.path("f9.dat")));
        // One that is there opens after the question Open asks.
        f.prompter.asked.clear();
        f.prompter.answers = {QMessageBox::No};
        menu->actions().at(2)->trigger(); // f8.dat
        QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("File has been modified, save it now?")});
        QVERIFY(f.window->filePath() == f.file("f8.dat"));
        QCOMPARE(shownList(*f.window).first(), f.path("f8.dat"));
    }

    void aDroppedFileOpensAfterTheQuestionOpenAsks() {
        struct Case {
            const char* file;
            QMessageBox::StandardButton answer; // to the modified question; NoButton: none asked
            bool accepted, opened, preview;
        };
        const Case cases[] = {
            {"other.dat", QMessageBox::Cancel, true, false, false},
            {"other.dat", QMessageBox::No, true, true, false},
            {"plan.csv", QMessageBox::NoButton, true, false, true},
            {"notes.txt", QMessageBox::NoButton, false, false, false},
        };
        for (const Case& c : cases) {
            Fixture f;
            RadioDocument other;
            ChannelTable(other).commitReceive(5, "150.00000");
            QVERIFY(test::writeFile(f.file("other.dat"), encodeDataFile(other.image())));
            QVERIFY(test::writeFile(f.file("plan.csv"), textBytes("CH,RX Freq\n5,150.00000\n")));
            QVERIFY(test::writeFile(f.file("notes.txt"), textBytes("x")));
            f.start();
            f.editChannels();
            const RadioImage edited = f.doc.image();
            if (c.answer != QMessageBox::NoButton)
                f.prompter.answers = {c.answer};

            QCOMPARE(dropOn(f.window.get(), f.path(c.file)), c.accepted);

            QTRY_COMPARE(f.prompter.asked.size(), c.answer != QMessageBox::NoButton ? 1 : 0);
            QVERIFY(f.doc.image() == (c.opened ? other.image() : edited));
            auto* preview = f.window->findChild<frmCsvImport*>();
            QCOMPARE(preview != nullptr, c.preview);
            if (preview)
                preview->reject();
        }
    }
};

QTEST_MAIN(FileCommandsTest)
#include "test_file_commands.moc"
