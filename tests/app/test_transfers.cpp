#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "support/window_fixture.h"
#include "transfer/frm_clone.h"
#include "transfer/transfer_progress.h"
#include "transport/clone_runner.h"
#include "transport/pty_simulator.h"

using namespace norvik;

Q_DECLARE_METATYPE(norvik::CloneOutcome)

namespace {

QStringList readLog() {
    QStringList log{QStringLiteral("Opening Port..."), QStringLiteral("Transfering data blocks...")};
    for (int p = 0; p <= 100; p += 10)
        log.append(QStringLiteral("Completion percentage%1%").arg(p));
    return log << QStringLiteral("Reading completed!") << QStringLiteral("Port Closed.");
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
        QCOMPARE(f.prompter.texts(), QStringList{question});
        QCOMPARE(f.prompter.asked.first().buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QVERIFY(!f.window->clone());
        QCOMPARE(f.radio().handshakes(), 0);
        QVERIFY(f.doc.image() == before);
    }

    void readFillsTheWindowFromTheRadio() {
        Fixture f;
        const RadioImage radio = f.radio().memory();
        f.table().commitReceive(9, "148.00000");
        f.doc.takeSavedImage();
        const RadioImage before = f.doc.image();
        QCOMPARE(f.run(true), CloneOutcome::Completed);
        QCOMPARE(f.prompter.asked.size(), 1);
        QVERIFY(f.doc.image() == radio);
        QCOMPARE(f.progressSteps, 256);
        QCOMPARE(f.enabledSteps, 0);
        QCOMPARE(f.log().split(QLatin1Char('\n')), readLog());
        QVERIFY(f.child<QPlainTextEdit>("TxtStatus")->textCursor().atEnd());
        QCOMPARE(f.comStatus(), QStringLiteral("Complete."));
        QVERIFY(f.window->isEnabled());
        QVERIFY(!f.window->clone());
        // The grid shows what came in, and it counts as a change until saved.
        QCOMPARE(f.shown(1, col::Rx), QStringLiteral("145.50000"));
        QCOMPARE(f.shown(1, col::Name), QStringLiteral("CALL"));
        QCOMPARE(f.shown(3, col::Tx), QStringLiteral("430.90000"));
        QVERIFY(f.doc.isModified());
        QVERIFY(f.doc.savedImage() == before);
        QVERIFY(!f.doc.canUndo()); // a new image starts a new history
        QVERIFY(!f.action("mnuEdit_Undo")->isEnabled());
        QTRY_COMPARE(f.window->focusWidget(), f.grid());
    }

    void writeSendsRowsUpTo239AndKeepsTheDocument() {
        Fixture f;
        f.table().commitReceive(7, "147.00000");
        const RadioImage mine = f.doc.image();
        f.radio().memory().setRow(208, mine.row(208)); // same band limits: no warning
        const RadioImage radioBefore = f.radio().memory();
        QCOMPARE(f.run(false), CloneOutcome::Completed);
        QVERIFY(sameRows(f.radio().memory(), mine, 0, 239));
        QVERIFY(sameRows(f.radio().memory(), radioBefore, 240, 255));
        QCOMPARE(f.radio().writeCommands(), 240);
        QCOMPARE(f.progressSteps, 240);
        QCOMPARE(f.enabledSteps, 0);
        QVERIFY(f.log().endsWith(QStringLiteral("Writing completed!\nPort Closed.")));
        QCOMPARE(f.comStatus(), QStringLiteral("Complete."));
        QVERIFY(f.doc.image() == mine);
        QVERIFY(f.doc.isModified()); // a write saves nothing to a file
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
        QCOMPARE(panel->percentText(), QStringLiteral("%1%").arg(clonePercent(panel->value(), 256)));
        // The caption steps by tens with no separator, as the log does ("Completion percentage10%").
        const QString caption = panel->findChild<QLabel*>(QStringLiteral("lblPercent"))->text();
        QVERIFY2(QRegularExpression(QStringLiteral("^Completion percentage\\d*0%$")).match(caption).hasMatch(),
                 qPrintable(caption));
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

    void writeThroughAPseudoTerminal() {
        RadioSimulator radio(demoRadioImage());
        PtySimulatorHost host(radio, false);
        QString error;
        if (!host.open(&error))
            QSKIP(qPrintable(QStringLiteral("no pseudo-terminal: ") + error));
        Fixture f(QStringList{host.devicePath()});
        f.change([&](RadioImage& img) { img.setRow(208, radio.memory().row(208)); }); // same band limits: no warning
        f.table().commitName(2, "PTY");
        QCOMPARE(f.run(false), CloneOutcome::Completed);
        QVERIFY(sameRows(radio.memory(), f.doc.image(), 0, 239));
        QVERIFY(f.log().endsWith(QStringLiteral("Writing completed!\nPort Closed.")));
        QCOMPARE(f.comStatus(), QStringLiteral("Complete."));
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
