#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "channels/channel_table.h"
#include "common/texts.h"
#include "editor/channel_grid.h"
#include "editor/frm_main.h"
#include "image/radio_document.h"
#include "support/fake_ports.h"
#include "support/scripted_prompter.h"
#include "transfer/frm_clone.h"
#include "transfer/transfer_ports.h"
#include "transfer/transfer_progress.h"
#include "transport/clone_runner.h"
#include "transport/pty_simulator.h"

using namespace norvik;

Q_DECLARE_METATYPE(norvik::CloneOutcome)

namespace {

const QStringList kReadLog{
    QStringLiteral("Opening Port..."),
    QStringLiteral("Transfering data blocks..."),
    QStringLiteral("Completion percentage0%"),
    QStringLiteral("Completion percentage10%"),
    QStringLiteral("Completion percentage20%"),
    QStringLiteral("Completion percentage30%"),
    QStringLiteral("Completion percentage40%"),
    QStringLiteral("Completion percentage50%"),
    QStringLiteral("Completion percentage60%"),
    QStringLiteral("Completion percentage70%"),
    QStringLiteral("Completion percentage80%"),
    QStringLiteral("Completion percentage90%"),
    QStringLiteral("Completion percentage100%"),
    QStringLiteral("Reading completed!"),
    QStringLiteral("Port Closed."),
};

// The main window over the simulated radio (answering at once) or over named devices.
struct Fixture {
    QTemporaryDir dir;
    QSettings settings{dir.filePath(QStringLiteral("lang.ini")), QSettings::IniFormat};
    RadioDocument doc;
    test::ScriptedPrompter prompter;
    std::unique_ptr<TransferPorts> ports;
    std::unique_ptr<frmMain> window;
    // Sampled at every progress step: the window was disabled each time.
    int progressSteps = 0;
    int enabledSteps = 0;

    explicit Fixture(QStringList devices = {}) {
        ports = std::make_unique<TransferPorts>(std::make_unique<test::FakeEnumerator>(devices),
                                                [] { return std::make_unique<test::FakeChecker>(QSet<QString>{}, 1); });
        ports->setSimulatorPaced(false);
        ports->setChoice({1, devices.isEmpty()});
        window = std::make_unique<frmMain>(doc, prompter, &settings);
        window->setTransferPorts(*ports);
        window->show();
    }
    RadioSimulator& radio() { return ports->simulator(); }
    QString log() const { return window->findChild<QPlainTextEdit*>(QStringLiteral("TxtStatus"))->toPlainText(); }
    QString comStatus() const { return window->findChild<QLabel*>(QStringLiteral("ComStatus"))->text(); }
    // Runs a transfer confirmed with OK, the later questions answered from `answers`.
    CloneOutcome run(bool read, QList<QMessageBox::StandardButton> answers = {}) {
        QSignalSpy done(window.get(), &frmMain::transferFinished);
        prompter.answers = QList<QMessageBox::StandardButton>{QMessageBox::Ok} + answers;
        if (read)
            window->mnuTransfer_Read_Click();
        else
            window->mnuTransfer_Write_Click();
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

bool sameRows(const RadioImage& a, const RadioImage& b, int from, int to) {
    for (int r = from; r <= to; ++r)
        if (a.row(r) != b.row(r))
            return false;
    return true;
}

} // namespace

class TransfersTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<CloneOutcome>(); }

    void confirmationsAskFirstAndCancelDoesNothing_data() {
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("question");
        QTest::newRow("read") << true << QStringLiteral("Read data from radio\nDo you wish to continue?");
        QTest::newRow("write") << false << QStringLiteral("Write data to radio.\nDo you wish to continue?");
    }
    void confirmationsAskFirstAndCancelDoesNothing() {
        QFETCH(bool, read);
        QFETCH(QString, question);
        Fixture f;
        const RadioImage before = f.doc.image();
        f.prompter.answers = {QMessageBox::Cancel};
        read ? f.window->mnuTransfer_Read_Click() : f.window->mnuTransfer_Write_Click();
        QCOMPARE(f.prompter.asked.size(), 1);
        QCOMPARE(f.prompter.asked.first().text, question);
        QCOMPARE(f.prompter.asked.first().icon, QMessageBox::Question);
        QCOMPARE(f.prompter.asked.first().title, QStringLiteral("Norvik R7"));
        QCOMPARE(f.prompter.asked.first().buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QVERIFY(!f.window->clone());
        QVERIFY(f.window->isEnabled());
        QCOMPARE(f.radio().handshakes(), 0);
        QVERIFY(f.doc.image() == before);
    }

    void readFillsTheWindowFromTheRadio() {
        Fixture f;
        const RadioImage radio = f.radio().memory();
        QVERIFY(!f.doc.isModified());
        // The radio misses one reply early on; Retry starts over and the log with it.
        f.radio().faults().silentAt = 0x020;
        f.radio().faults().once = true;
        QCOMPARE(f.run(true, {QMessageBox::Retry}), CloneOutcome::Completed);

        QCOMPARE(f.prompter.asked.size(), 2);
        QCOMPARE(f.prompter.asked.last().text, QStringLiteral("Check Connection. Retry or Cancel?"));
        QVERIFY(f.doc.image() == radio);
        QVERIFY(f.progressSteps > 256);
        QCOMPARE(f.enabledSteps, 0);
        QCOMPARE(f.log().split(QLatin1Char('\n')), kReadLog);
        auto* status = f.window->findChild<QPlainTextEdit*>(QStringLiteral("TxtStatus"));
        QVERIFY(status->textCursor().atEnd());
        QCOMPARE(f.comStatus(), QStringLiteral("Complete."));
        QVERIFY(f.window->isEnabled());
        QVERIFY(!f.window->clone());
        // The grid shows what came in, and it counts as a change until saved.
        QCOMPARE(f.window->channelTable().text(1, col::Rx), std::string("145.50000"));
        QCOMPARE(f.window->channelTable().text(1, col::Name), std::string("CALL"));
        QCOMPARE(f.window->channelTable().text(3, col::Tx), std::string("430.90000"));
        QVERIFY(f.doc.isModified());
    }

    void writeSendsRowsUpTo239AndKeepsTheDocument() {
        Fixture f;
        f.window->channelTable().commitReceive(7, "147.00000");
        f.doc.bandLimits().store(f.doc.image());
        const RadioImage mine = f.doc.image();
        f.radio().memory().setRow(208, mine.row(208)); // same band limits: no warning
        const RadioImage radioBefore = f.radio().memory();
        QCOMPARE(f.run(false), CloneOutcome::Completed);
        QVERIFY(sameRows(f.radio().memory(), mine, 0, 239));
        QVERIFY(sameRows(f.radio().memory(), radioBefore, 240, 255));
        QCOMPARE(f.radio().writeCommands(), 240);
        QCOMPARE(f.progressSteps, 240);
        QCOMPARE(f.enabledSteps, 0);
        const QStringList log = f.log().split(QLatin1Char('\n'));
        QCOMPARE(log.mid(log.size() - 2),
                 (QStringList{QStringLiteral("Writing completed!"), QStringLiteral("Port Closed.")}));
        QCOMPARE(f.comStatus(), QStringLiteral("Complete."));
        QVERIFY(f.doc.image() == mine);
        QVERIFY(f.doc.isModified()); // a write saves nothing to a file
        // The simulated radio lives as long as the port state: what was written stays there.
        QVERIFY(sameRows(f.ports->simulator().memory(), mine, 0, 239));
    }

    void identificationWarningDeclinedIsACancelledWrite() {
        Fixture f;
        Row other = f.doc.image().row(208);
        other[0] ^= 0x01;
        f.radio().memory().setRow(208, other);
        const RadioImage radioBefore = f.radio().memory();
        QCOMPARE(f.run(false, {QMessageBox::Cancel}), CloneOutcome::Cancelled);
        QCOMPARE(f.prompter.asked.size(), 2);
        const auto& w = f.prompter.asked.last();
        QCOMPARE(w.text, QStringLiteral("FrequencyRange has been changed!Go on?"));
        QCOMPARE(w.title, QStringLiteral("Warning"));
        QCOMPARE(w.icon, QMessageBox::Critical);
        QCOMPARE(w.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(f.radio().writeCommands(), 0);
        QVERIFY(f.radio().memory() == radioBefore);
        QVERIFY(!f.log().contains(QStringLiteral("Writing completed!")));
        QVERIFY(f.log().contains(QStringLiteral("Writing cancelled: nothing was written to the radio.")));
        QVERIFY(f.comStatus() != QStringLiteral("Complete."));
    }

    void aFailedReadPutsTheDocumentBack_data() {
        QTest::addColumn<bool>("editedBefore");
        QTest::newRow("unchanged document") << false;
        QTest::newRow("changed document stays changed") << true;
    }
    void aFailedReadPutsTheDocumentBack() {
        QFETCH(bool, editedBefore);
        Fixture f;
        if (editedBefore)
            f.window->channelTable().commitReceive(9, "148.00000");
        const RadioImage before = f.doc.image();
        f.radio().faults().deadFrom = 0x200; // the radio stops answering after 32 blocks
        QCOMPARE(f.run(true, {QMessageBox::Cancel}), CloneOutcome::Failed);
        const auto& q = f.prompter.asked.last();
        QCOMPARE(q.text, QStringLiteral("Check Connection. Retry or Cancel?"));
        QCOMPARE(q.title, QStringLiteral("Error"));
        QCOMPARE(q.icon, QMessageBox::Critical);
        QCOMPARE(q.buttons, QMessageBox::Retry | QMessageBox::Cancel);
        QVERIFY(f.log().contains(QStringLiteral("ERROR:Timeout while waiting for data blocks.")));
        QCOMPARE(f.comStatus(), QStringLiteral("Error!"));
        QVERIFY(f.doc.image() == before);
        QCOMPARE(f.doc.isModified(), editedBefore);
        QCOMPARE(f.window->channelTable().text(9, col::Rx), std::string(editedBefore ? "148.00000" : ""));
        QVERIFY(f.window->isEnabled());
    }

    void cancelOnTheProgressPanelStopsARead() {
        Fixture f;
        f.ports->setSimulatorPaced(true); // slow enough to be caught half way
        const RadioImage before = f.doc.image();
        QSignalSpy done(f.window.get(), &frmMain::transferFinished);
        f.prompter.answers = {QMessageBox::Ok};
        f.window->mnuTransfer_Read_Click();
        QVERIFY(f.window->clone());
        TransferProgress* panel = f.window->clone()->progressPanel();
        QVERIFY(panel && panel->isVisible() && panel->isEnabled());
        QTRY_VERIFY(panel->value() >= 10);
        QCOMPARE(panel->maximum(), 256);
        QCOMPARE(panel->percentText(), QStringLiteral("%1%").arg(clonePercent(panel->value(), 256)));
        QVERIFY(!f.window->close()); // not while the port and the image are in use
        QVERIFY(f.prompter.asked.size() == 1);
        QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("CmdCancel")), Qt::LeftButton);
        QVERIFY(done.wait(5000));
        QCOMPARE(done.first().first().value<CloneOutcome>(), CloneOutcome::Cancelled);
        QVERIFY(
            f.log().contains(QStringLiteral("Reading cancelled: the data held before the read has been put back.")));
        QCOMPARE(f.comStatus(), QStringLiteral("Cancelled."));
        QVERIFY(f.doc.image() == before);
        QVERIFY(!f.doc.isModified());
        QVERIFY(f.window->isEnabled());
    }

    void aPortThatDoesNotOpenSaysSoAndSendsNothing() {
        Fixture f(QStringList{QStringLiteral("/nonexistent/ttyUSB7")});
        f.prompter.answers = {QMessageBox::Ok};
        f.window->mnuTransfer_Read_Click();
        QVERIFY(!f.window->clone());
        QVERIFY(f.window->isEnabled());
        QCOMPARE(f.prompter.asked.size(), 2);
        const auto& e = f.prompter.asked.last();
        QCOMPARE(e.icon, QMessageBox::Warning);
        QVERIFY(e.text.startsWith(QStringLiteral("Cannot Open Communication Port.")));
        QVERIFY2(e.text.contains(QStringLiteral("/nonexistent/ttyUSB7")), qPrintable(e.text));
        QVERIFY(!f.doc.isModified());
    }

    void readAndWriteThroughAPseudoTerminal() {
        RadioSimulator radio(demoRadioImage());
        PtySimulatorHost host(radio, false);
        QString error;
        if (!host.open(&error))
            QSKIP(qPrintable(QStringLiteral("no pseudo-terminal: ") + error));
        Fixture f(QStringList{host.devicePath()});
        QCOMPARE(f.run(true), CloneOutcome::Completed);
        QVERIFY(f.doc.image() == radio.memory());
        QCOMPARE(f.log().split(QLatin1Char('\n')), kReadLog);

        f.window->channelTable().commitName(2, "PTY");
        QCOMPARE(f.run(false), CloneOutcome::Completed);
        QVERIFY(sameRows(radio.memory(), f.doc.image(), 0, 239));
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
