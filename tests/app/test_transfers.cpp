#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>
#include <set>

#include "app/common/texts.h"
#include "app/editor/alternate_panel.h"
#include "app/options/frm_op_sign.h"
#include "app/settings/reg_keys.h"
#include "app/transfer/frm_clone.h"
#include "app/transfer/frm_history.h"
#include "app/transfer/frm_several_radios.h"
#include "app/transfer/transfer_commands.h"
#include "app/transfer/transfer_progress.h"
#include "core/helpers.h"
#include "core/strings/string_ids.h"
#include "io/backups.h"
#include "io/history_file.h"
#include "io/image_files.h"
#include "support/window_fixture.h"
#include "transport/clone_runner.h"
#include "transport/pty_simulator.h"
#include "transport/transfer_record.h"

using namespace norvik;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(norvik::CloneOutcome)

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a read that does not complete must leave exactly as it was.
struct DocumentState {
    RadioImage image, saved;
    QString title;
    std::size_t undoSteps;
    int undoLabel;
    bool operator==(const DocumentState&) const = default;
};

// The main window over the simulated radio (answering at once) or over named devices.
struct Fixture : test::WindowFixture {
    DocumentState state() const {
        return {doc.image(), doc.savedImage(), window->windowTitle(), doc.undoCount(), doc.undoLabelId()};
    }
    // Sampled at every progress step: the window was disabled each time.
    int progressSteps = 0;
    int enabledSteps = 0;

    explicit Fixture(const QStringList& devices = {}) {
        usePorts(devices).setSimulatorPaced(false);
        ports->setChoice({1, devices.isEmpty()});
        window->show();
    }
    RadioSimulator& radio() { return ports->simulator(); }
    QString log() const { return child<QPlainTextEdit>("TxtStatus")->toPlainText(); }
    QString comStatus() const { return child<QLabel>("ComStatus")->text(); }
    // Runs a transfer confirmed with OK, the later questions answered from `answers`.
    CloneOutcome run(bool read, QList<QMessageBox::StandardButton> answers = {}) {
        QSignalSpy done(window.get(), &frmMain::transferFinished);
        prompter.answers = QList<QMessageBox::StandardButton>{QMessageBox::Ok} + answers;
        action(read ? "mnuTransfer_Read" : "mnuTransfer_Write")->trigger();
        if (!window->clone())
            return CloneOutcome::Failed;
        QObject::connect(&window->clone()->runner(), &CloneRunner::progress, window.get(), [this] {
            ++progressSteps;
            enabledSteps += window->isEnabled() ? 1 : 0;
        });
        if (!done.wait(60000))
            return CloneOutcome::Failed;
        return done.first().first().value<CloneOutcome>();
    }
};

} // namespace

class TransfersTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dataHome; // the history of these tests, never the user's

    // The history as the window's transfers left it, from a clean start.
    static std::vector<HistoryEntry> history() {
        io::FileProblem problem;
        return io::readHistory(historyFilePath(), problem);
    }

private slots:
    void initTestCase() {
        qRegisterMetaType<CloneOutcome>();
        qputenv("XDG_DATA_HOME", m_dataHome.path().toLocal8Bit());
    }
    void init() { std::filesystem::remove(historyFilePath()); }

    // Three radios, one refusing every write: two verified rows and a failed one, which Retry
    // puts right once the fault is gone. Each row's end is one line of the history.
    void severalRadiosWriteAndRetryTheOneThatRefused() {
        Fixture f;
        f.table().commitReceive(9, "148.00000");
        const RadioImage sent = f.doc.image();
        RegKeys(f.settings).writeSeveralRadios({u"sim:1"_s, u"sim:2"_s, u"sim:3"_s});
        f.ports->simulator(1).faults().refuseWriteAt = 0x100;
        f.action("mnuTransfer_WriteSeveral")->trigger();
        frmSeveralRadios* w = f.window->transferCommands().severalRadiosWindow();
        QVERIFY(w);
        QCOMPARE(w->rowCount(), 3);
        QSet<QString> phases;
        connect(w->findChild<QTreeWidget*>(u"lstPorts"_s), &QTreeWidget::itemChanged, w,
                [&](QTreeWidgetItem* item) { phases << item->text(frmSeveralRadios::ColPhase); });
        QSignalSpy finished(w, &frmSeveralRadios::finished);
        f.grid()->setCurrentCell(9, col::Rx);
        QTest::mouseClick(w->findChild<QPushButton*>(u"cmdStart"_s), Qt::LeftButton);
        // While it is being sent the window shows the image, but neither a key in the grid or the
        // panel nor a command changes it.
        QVERIFY(f.window->isEnabled() && !f.child<QLabel>("staHeld")->isHidden());
        for (const char* name :
             {"mnuEdit_Clear", "mnuEdit_Undo", "mnuFile_Open", "mnuProgram_OPSign", "mnuTransfer_Write"})
            QVERIFY2(!f.action(name)->isEnabled(), name);
        for (const char* name : {"mnuEdit_Copy", "mnuEdit_Find", "mnuFile_Save", "mnuSet_GUI"})
            QVERIFY2(f.action(name)->isEnabled(), name);
        QTest::keyClick(f.grid(), Qt::Key_5);
        QVERIFY(!f.grid()->isEditorOpen());
        QTest::keyClick(f.grid(), Qt::Key_D, Qt::ControlModifier);
        QVERIFY(f.window->alternatePanel()->findChild<QLineEdit*>(u"TxtRxFreqGUI"_s)->isReadOnly());
        QVERIFY(f.doc.image() == sent);
        QVERIFY(finished.wait(60000));
        QVERIFY(f.action("mnuEdit_Clear")->isEnabled() && f.child<QLabel>("staHeld")->isHidden());
        QTest::keyClick(f.grid(), Qt::Key_5);
        QVERIFY(f.grid()->isEditorOpen());
        QTest::keyClick(f.editor(), Qt::Key_Escape);
        QVERIFY(!f.grid()->isEditorOpen());
        QCOMPARE(w->rowText(0, frmSeveralRadios::ColResult), u"Verified"_s);
        QVERIFY2(
            w->rowText(1, frmSeveralRadios::ColResult).startsWith(u"Failed: the radio refused the write at 0x0100"_s),
            qPrintable(w->rowText(1, frmSeveralRadios::ColResult)));
        QCOMPARE(w->rowText(2, frmSeveralRadios::ColResult), u"Verified"_s);
        QVERIFY(phases.contains(u"Writing"_s) && phases.contains(u"Verifying"_s));
        for (const int radio : {0, 2})
            QVERIFY(rowsChecksum(f.ports->simulator(radio).memory(), 0, 240) == rowsChecksum(sent, 0, 240));

        f.ports->simulator(1).faults() = {};
        w->findChild<QTreeWidget*>(u"lstPorts"_s)
            ->setCurrentItem(w->findChild<QTreeWidget*>(u"lstPorts"_s)->topLevelItem(1));
        auto* retry = w->findChild<QPushButton*>(u"cmdRetry"_s);
        QVERIFY(retry->isEnabled());
        f.action("mnuProgram_OPSign")->trigger(); // a command's window open over the main one waits
        auto* options = f.window->findChild<FrmOpSign*>();
        QVERIFY(options && options->isEnabled());
        QTest::mouseClick(retry, Qt::LeftButton);
        QVERIFY(!options->isEnabled());
        QVERIFY(finished.wait(60000));
        QVERIFY(options->isEnabled());
        options->reject();
        QCOMPARE(w->rowText(1, frmSeveralRadios::ColResult), u"Verified"_s);
        QVERIFY(rowsChecksum(f.ports->simulator(1).memory(), 0, 240) == rowsChecksum(sent, 0, 240));

        const std::vector<HistoryEntry> lines = history();
        QCOMPARE(lines.size(), 4U);
        std::multiset<std::string> outcomes;
        for (const HistoryEntry& e : lines) {
            QCOMPARE(e.operation, "write");
            QCOMPARE(e.checksum, rowsChecksum(sent, 0, 240));
            QCOMPARE(e.identification.size(), 32U);
            outcomes.insert(e.port + " " + historyResult(e).substr(0, 8));
        }
        QVERIFY(outcomes == std::multiset<std::string>({"Simulated radio 1 verified", "Simulated radio 2 failed: ",
                                                        "Simulated radio 2 verified", "Simulated radio 3 verified"}));
    }

    // A read of several radios: one new data file per radio (the names' rule is core's).
    void severalRadiosReadSavesAFileEach() {
        Fixture f;
        RegKeys(f.settings).writeSeveralRadios({u"sim:1"_s, u"sim:3"_s});
        f.action("mnuTransfer_ReadSeveral")->trigger();
        frmSeveralRadios* w = f.window->transferCommands().severalRadiosWindow();
        w->setFolder(f.path("reads"));
        // Space checks the current row (the list has the keys first), and the choice is kept.
        auto* list = w->findChild<QTreeWidget*>(u"lstPorts"_s);
        QCOMPARE(w->focusWidget(), list);
        list->setCurrentItem(list->topLevelItem(1));
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(RegKeys(f.settings).readSeveralRadios(), (QStringList{u"sim:1"_s, u"sim:2"_s, u"sim:3"_s}));
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(RegKeys(f.settings).readSeveralRadios(), (QStringList{u"sim:1"_s, u"sim:3"_s}));
        QSignalSpy finished(w, &frmSeveralRadios::finished);
        w->cmdStart_Click();
        QVERIFY(finished.wait(60000));
        QCOMPARE(QDir(f.path("reads")).entryList(QDir::Files).size(), 2);
        const QString saved = w->savedFile(2);
        QVERIFY2(w->rowText(2, frmSeveralRadios::ColResult).startsWith(u"Saved as sim-3 "_s), qPrintable(saved));
        QVERIFY(w->savedFile(1).isEmpty()); // not checked
        const std::vector<HistoryEntry> lines = history();
        QCOMPARE(lines.size(), 2U);
        const auto third = std::find_if(lines.begin(), lines.end(),
                                        [](const HistoryEntry& e) { return e.port == "Simulated radio 3"; });
        QVERIFY(third != lines.end());
        QCOMPARE(QString::fromStdString(third->dataFile), saved);
        QCOMPARE(third->checksum, rowsChecksum(f.ports->simulator(2).memory(), 0, 256));

        // Start Again, then Cancel All at once: every row says so, and no file is left behind. A read
        // holds nothing, but the main window does not close under it.
        w->cmdStart_Click();
        QVERIFY(f.window->isEnabled() && !f.doc.isHeld() && !f.window->close());
        QVERIFY(w->findChild<QPushButton*>(u"cmdCancelAll"_s)->isEnabled());
        QVERIFY(!w->findChild<QPushButton*>(u"cmdStart"_s)->isEnabled());
        QTest::mouseClick(w->findChild<QPushButton*>(u"cmdCancelAll"_s), Qt::LeftButton);
        QVERIFY(finished.wait(60000));
        for (const int row : {0, 2})
            QCOMPARE(w->rowText(row, frmSeveralRadios::ColResult), u"Cancelled"_s);
        QCOMPARE(QDir(f.path("reads")).entryList(QDir::Files).size(), 2);
        QCOMPARE(history().size(), 4U);
    }

    // The window's own transfers each leave a line, a failed and a cancelled one included, and the
    // History window shows them and exports them.
    void singleTransfersGoIntoTheHistoryWindow() {
        Fixture f;
        QCOMPARE(f.run(true), CloneOutcome::Completed);
        Row other = f.doc.image().row(208);
        other[0] ^= 0x01;
        f.radio().memory().setRow(208, other);
        QCOMPARE(f.run(false, {QMessageBox::Cancel}), CloneOutcome::Cancelled);
        f.radio().faults().silentAt = 0x200;
        QCOMPARE(f.run(true, {QMessageBox::Cancel}), CloneOutcome::Failed);
        const std::vector<HistoryEntry> lines = history();
        QCOMPARE(lines.size(), 3U);
        QCOMPARE(historyResult(lines[0]), "completed");
        QCOMPARE(lines[0].port, "Simulated radio");
        QCOMPARE(historyResult(lines[1]), "cancelled");
        QCOMPARE(lines[1].operation, "write");
        QVERIFY2(historyResult(lines[2]).starts_with("failed: "), historyResult(lines[2]).c_str());
        QVERIFY(lines[2].checksum.empty()); // nothing came in whole

        f.action("mnuTransfer_History")->trigger();
        frmHistory* h = f.window->transferCommands().historyWindow();
        QVERIFY(h);
        QCOMPARE(h->table()->rowCount(), 3);
        f.prompter.saveNames = {f.path("history.csv")};
        QTest::mouseClick(h->findChild<QPushButton*>(u"cmdExport"_s), Qt::LeftButton);
        QCOMPARE(readAll(f.path("history.csv")), QByteArray::fromStdString(historyCsv(lines)));

        // A history that cannot be written is said in the status window; the read stands.
        std::filesystem::remove(historyFilePath());
        std::filesystem::create_directory(historyFilePath());
        f.radio().faults() = {};
        QCOMPARE(f.run(true), CloneOutcome::Completed);
        std::filesystem::remove(historyFilePath());
        QVERIFY2(f.log().endsWith(u"The transfer itself is not affected."_s), qPrintable(f.log().right(200)));
        QVERIFY(f.doc.image() == f.radio().memory());
    }

    void confirmationsAskFirstAndCancelDoesNothing() {
        for (const bool read : {true, false}) {
            Fixture f;
            const RadioImage before = f.doc.image();
            f.prompter.answers = {QMessageBox::Cancel};
            read ? f.window->mnuTransfer_Read_Click() : f.window->mnuTransfer_Write_Click();
            QCOMPARE(f.prompter.texts(),
                     QStringList{read ? QStringLiteral("Read data from radio\nDo you wish to continue?")
                                      : QStringLiteral("Write data to radio.\n") +
                                            qtext(ids::BackupWriteNote, Language::English) +
                                            QStringLiteral("\nDo you wish to continue?")});
            QCOMPARE(f.prompter.asked.first().buttons, QMessageBox::Ok | QMessageBox::Cancel);
            QVERIFY(!f.window->clone());
            QCOMPARE(f.radio().handshakes(), 0);
            QVERIFY(f.doc.image() == before);
        }
    }

    void readFillsTheWindowFromTheRadio() {
        Fixture f;
        const RadioImage radio = f.radio().memory();
        const RadioImage saved = f.doc.savedImage();
        f.table().commitReceive(9, "148.00000"); // not saved: the read says so and keeps it
        const RadioImage edited = f.doc.image();
        QCOMPARE(f.run(true), CloneOutcome::Completed);
        QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("Read data from radio\n") +
                                                 qtext(ids::ReadOverUnsavedEdits, Language::English) +
                                                 QStringLiteral("\nDo you wish to continue?")});
        QVERIFY(f.doc.image() == radio);
        // The edits the read replaced are kept.
        const std::vector<io::BackupEntry> kept = io::listBackups(f.backups());
        QCOMPARE(kept.size(), std::size_t(1));
        QCOMPARE(kept.front().name.origin.kind, BackupKind::UnsavedEdits);
        QVERIFY(io::loadImage(kept.front().path, io::ImageFormat::DataFile).image == edited);
        QCOMPARE(f.progressSteps, 256);
        QCOMPARE(f.enabledSteps, 0);
        QVERIFY(f.log().endsWith(QStringLiteral("Reading completed!\nPort Closed.")));
        QVERIFY(f.child<QPlainTextEdit>("TxtStatus")->textCursor().atEnd());
        QCOMPARE(f.comStatus(), QStringLiteral("Complete."));
        QVERIFY(f.window->isEnabled());
        QVERIFY(!f.window->clone());
        // The grid shows what came in, and it counts as a change until saved.
        QCOMPARE(f.shown(1, col::Rx), QStringLiteral("145.50000"));
        QCOMPARE(f.shown(1, col::Name), QStringLiteral("CALL"));
        QCOMPARE(f.shown(3, col::Tx), QStringLiteral("430.90000"));
        QVERIFY(f.doc.isModified());
        QVERIFY(f.doc.savedImage() == saved);
        QTRY_COMPARE(f.window->focusWidget(), f.grid());
        // The read is one step: Ctrl+Z brings back the edited image, still unsaved.
        QCOMPARE(f.doc.undoLabelId(), ids::MenuTransferRead);
        f.window->activateWindow(); // offscreen, activation goes to no window when a dialog closes
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QTest::keyClick(f.grid(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(f.doc.image() == edited);
        QVERIFY(f.doc.isModified());
        QCOMPARE(f.shown(9, col::Rx), QStringLiteral("148.00000"));
    }

    // Setup › Verify after Write (on unless turned off, and remembered) reaches the write; a row the
    // radio acknowledged without storing it is named in the log and a warning points there.
    void writeSendsRowsUpTo239AndKeepsTheDocument_data() {
        QTest::addColumn<bool>("verify");
        QTest::addColumn<bool>("dropRow");
        QTest::addColumn<QString>("logEnd");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("backup");
        QTest::newRow("read back") << true << false << QStringLiteral("Verified.\nPort Closed.")
                                   << QStringLiteral("Verified.") << true;
        QTest::newRow("not read back") << false << false << QStringLiteral("Writing completed!\nPort Closed.")
                                       << QStringLiteral("Complete.") << true;
        QTest::newRow("row not stored") << true << true << QStringLiteral(" \u2192 (empty)\nPort Closed.")
                                        << QStringLiteral("Not verified!") << true;
        QTest::newRow("no backup") << false << false << QStringLiteral("Writing completed!\nPort Closed.")
                                   << QStringLiteral("Complete.") << false;
    }
    void writeSendsRowsUpTo239AndKeepsTheDocument() {
        QFETCH(bool, verify);
        QFETCH(bool, dropRow);
        QFETCH(QString, logEnd);
        QFETCH(QString, status);
        QFETCH(bool, backup);
        Fixture f;
        QVERIFY(f.action("mnuSet_Verify")->isChecked());
        QVERIFY(f.action("mnuSet_Backup")->isChecked());
        if (!verify)
            f.action("mnuSet_Verify")->trigger();
        if (!backup)
            f.action("mnuSet_Backup")->trigger();
        QCOMPARE(RegKeys(f.settings).readVerifyAfterWrite(), verify);
        QCOMPARE(RegKeys(f.settings).readBackupBeforeWrite(), backup);
        f.table().commitReceive(7, "147.00000");
        const RadioImage mine = f.doc.image();
        f.radio().memory().setRow(208, mine.row(208)); // same band limits: no warning
        f.radio().memory().setRow(7, RadioImage().row(7));
        if (dropRow)
            f.radio().faults().dropWriteAt = 0x070;
        const RadioImage before = f.radio().memory();
        QCOMPARE(f.run(false, {QMessageBox::Ok}), CloneOutcome::Completed);
        QCOMPARE(f.radio().writeCommands(), 240);
        QCOMPARE(f.radio().readCommands(), (backup ? 256 : 0) + (verify ? 240 : 0));
        // The radio as it was before the write, kept under the window's backups folder.
        const std::vector<io::BackupEntry> kept = io::listBackups(f.backups());
        QCOMPARE(kept.size(), std::size_t(backup ? 1 : 0));
        if (backup) {
            QCOMPARE(kept.front().name.origin.kind, BackupKind::Radio);
            QVERIFY(io::loadImage(kept.front().path, io::ImageFormat::DataFile).image == before);
            QVERIFY(f.log().contains(QString::fromStdString(kept.front().path.string())));
        }
        QCOMPARE(f.enabledSteps, 0);
        QVERIFY2(f.log().endsWith(logEnd), qPrintable(f.log()));
        QCOMPARE(f.comStatus(), status);
        QCOMPARE(f.prompter.asked.size(), dropRow ? 2 : 1);
        if (dropRow) {
            QVERIFY(f.log().contains(QStringLiteral("channel 7: RX Freq, 147.00000 \u2192 (empty)")));
            QVERIFY(
                f.prompter.asked.last().text.startsWith(QStringLiteral("The radio does not hold what was written")));
        }
        QVERIFY(f.doc.image() == mine);
        QVERIFY(f.doc.isModified()); // a write saves nothing to a file
    }

    // A backups folder that cannot take the backup: the write says why and never reaches the radio.
    void aBackupThatCannotBeKeptStopsTheWrite() {
        Fixture f;
        QVERIFY(test::writeFile(f.path("not-a-folder").toStdString(), {1}));
        f.window->setBackupFolder(f.path("not-a-folder").toStdString());
        QCOMPARE(f.run(false, {QMessageBox::Ok}), CloneOutcome::Failed);
        QCOMPARE(f.radio().handshakes(), 0);
        QCOMPARE(f.prompter.asked.size(), 2);
        QVERIFY2(f.prompter.asked.last().text.startsWith(
                     QStringLiteral("The radio could not be backed up, so nothing was written to it: ")),
                 qPrintable(f.prompter.asked.last().text));
        QVERIFY(f.window->isEnabled());
    }

    void identificationWarningDeclinedIsACancelledWrite() {
        Fixture f;
        Row other = f.doc.image().row(208);
        other[0] ^= 0x01;
        f.radio().memory().setRow(208, other);
        QCOMPARE(f.run(false, {QMessageBox::Cancel}), CloneOutcome::Cancelled);
        QCOMPARE(f.prompter.asked.size(), 2);
        const auto& w = f.prompter.asked.last();
        QCOMPARE(w.text, QStringLiteral("FrequencyRange has been changed!Go on?"));
        QCOMPARE(w.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(f.radio().writeCommands(), 0); // the rest of a declined warning is the session's
        QVERIFY(f.comStatus() != QStringLiteral("Complete."));
    }

    void aFailedReadRetriedThenCancelledLeavesTheDocumentAsItWas() {
        Fixture f;
        f.table().commitReceive(9, "148.00000");
        const DocumentState before = f.state();
        f.radio().faults().silentAt = 0x200; // no answer to block 32, every time
        // Retry starts over, the log with it; the second time Cancel gives up.
        QCOMPARE(f.run(true, {QMessageBox::Retry, QMessageBox::Cancel}), CloneOutcome::Failed);
        QCOMPARE(f.radio().handshakes(), 2);
        QCOMPARE(f.prompter.asked.size(), 3);
        const auto& q = f.prompter.asked.last();
        QCOMPARE(q.text, QStringLiteral("Check Connection. Retry or Cancel?"));
        QCOMPARE(q.buttons, QMessageBox::Retry | QMessageBox::Cancel);
        QCOMPARE(f.log().count(QStringLiteral("Opening Port...")), 1);
        QVERIFY(f.log().contains(QStringLiteral("ERROR:Timeout while waiting for data blocks.")));
        QCOMPARE(f.comStatus(), QStringLiteral("Error!"));
        QVERIFY(f.state() == before);
        QCOMPARE(f.shown(9, col::Rx), QStringLiteral("148.00000"));
        QVERIFY(f.window->isEnabled());
    }

    // The radio answered, so the question says what it answered before asking about the connection.
    void aRefusedWriteNamesItsAddressWithTheRetryQuestion() {
        Fixture f;
        f.radio().memory().setRow(208, f.doc.image().row(208));
        f.radio().faults().refuseWriteAt = 0x700;
        QCOMPARE(f.run(false, {QMessageBox::Cancel}), CloneOutcome::Failed);
        const QString question = f.prompter.asked.last().text;
        QVERIFY2(question.startsWith(QStringLiteral("The radio refused the write at 0x0700.")), qPrintable(question));
        QVERIFY(question.endsWith(QStringLiteral("\nCheck Connection. Retry or Cancel?")));
    }

    void cancelOnTheProgressPanelStopsARead() {
        Fixture f;
        f.ports->setSimulatorPaced(true); // slow enough to be caught half way
        f.table().commitReceive(1, "147.00000");
        const DocumentState before = f.state();
        QSignalSpy done(f.window.get(), &frmMain::transferFinished);
        f.prompter.answers = {QMessageBox::Ok};
        f.window->mnuTransfer_Read_Click();
        QVERIFY(f.window->clone());
        TransferProgress* panel = f.window->clone()->progressPanel();
        QVERIFY(panel && panel->isVisible() && panel->isEnabled());
        QTRY_VERIFY(panel->value() >= 10);
        QCOMPARE(panel->maximum(), 256);
        // The caption steps by tens with no separator, as the log does ("Completion percentage10%"),
        // and the bar shows the same percentage.
        const QString caption = panel->findChild<QLabel*>(QStringLiteral("lblPercent"))->text();
        QVERIFY2(QRegularExpression(QStringLiteral("^Completion percentage\\d*0%$")).match(caption).hasMatch(),
                 qPrintable(caption));
        QCOMPARE(QStringLiteral("Completion percentage") + panel->percentText(), caption);
        QVERIFY(!f.window->close()); // not while the port and the image are in use
        QVERIFY(f.prompter.asked.size() == 1);
        QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("CmdCancel")), Qt::LeftButton);
        QVERIFY(done.wait(5000));
        QCOMPARE(done.first().first().value<CloneOutcome>(), CloneOutcome::Cancelled);
        QVERIFY(
            f.log().contains(QStringLiteral("Reading cancelled: the data held before the read has been put back.")));
        QCOMPARE(f.comStatus(), QStringLiteral("Cancelled."));
        QVERIFY(f.state() == before);
        QCOMPARE(f.shown(1, col::Rx), QStringLiteral("147.00000"));
        QVERIFY(f.window->isEnabled());
    }

    void aPortThatDoesNotOpenSaysSoAndSendsNothing() {
        Fixture f(QStringList{QStringLiteral("/nonexistent/ttyUSB7")});
        f.prompter.answers = {QMessageBox::Ok};
        f.window->mnuTransfer_Read_Click();
        QVERIFY(!f.window->clone());
        QCOMPARE(f.prompter.asked.size(), 2);
        const auto& e = f.prompter.asked.last();
        QVERIFY(e.text.startsWith(QStringLiteral("Cannot Open Communication Port.")));
        QVERIFY2(e.text.contains(QStringLiteral("/nonexistent/ttyUSB7")), qPrintable(e.text));
        QVERIFY(!f.doc.isModified());
    }

    void pulledCableIsExplainedWithTheRetryQuestion() {
        RadioSimulator radio(demoRadioImage());
        auto host = std::make_unique<PtySimulatorHost>(radio, true);
        QString error;
        if (!host->open(&error))
            QSKIP(qPrintable(QStringLiteral("no pseudo-terminal: ") + error));
        Fixture f(QStringList{host->devicePath()});
        QSignalSpy done(f.window.get(), &frmMain::transferFinished);
        f.prompter.answers = {QMessageBox::Ok, QMessageBox::Cancel};
        f.window->mnuTransfer_Read_Click();
        QVERIFY(f.window->clone());
        QTRY_VERIFY(f.window->clone()->progressPanel()->value() >= 5);
        host.reset(); // the far end goes away
        QVERIFY(done.wait(10000));
        QVERIFY(f.prompter.asked.size() >= 2);
        const QString question = f.prompter.asked.last().text;
        QVERIFY2(question.contains(QStringLiteral("Check Connection. Retry or Cancel?")), qPrintable(question));
        QVERIFY2(question.contains(QStringLiteral("The connection to the radio was lost")), qPrintable(question));
        QVERIFY(f.log().contains(QStringLiteral("The connection to the radio was lost")));
        QVERIFY(f.window->isEnabled());
    }
};

QTEST_MAIN(TransfersTest)
#include "test_transfers.moc"
