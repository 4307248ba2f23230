#include <QSignalSpy>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <random>

#include "core/clone/radio_simulator.h"
#include "core/helpers.h"
#include "support/fake_ports.h"
#include "transport/clone_runner.h"
#include "transport/pty_simulator.h"
#include "transport/serial_link.h"
#include "transport/serial_ports.h"

using namespace norvik;

namespace {

using test::randomImage;

// A pseudo-terminal pair the test holds: the probe opens the slave, the test reads the master.
struct Pty {
    int master = -1;
    QString path;
    Pty() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(master);
        unlockpt(master);
        path = QString::fromLocal8Bit(ptsname(master));
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~Pty() { ::close(master); }
    QByteArray readAll() const {
        QByteArray out;
        char buf[256];
        ssize_t n;
        while ((n = ::read(master, buf, sizeof buf)) > 0)
            out.append(buf, int(n));
        return out;
    }
};

// Runs a transfer to its end, answering any question with No, and keeps its log.
CloneOutcome runTransfer(CloneRunner& runner, CloneMode mode, QStringList& log, const RadioImage& image = {}) {
    QSignalSpy done(&runner, &CloneRunner::done);
    QObject::connect(&runner, &CloneRunner::question, &runner, [&] { runner.answer(false); });
    QObject::connect(&runner, &CloneRunner::logReset, &runner, [&log] { log.clear(); });
    QObject::connect(&runner, &CloneRunner::logLine, &runner, [&log](const QString& l) { log.append(l); });
    if (!runner.start(mode, image))
        return CloneOutcome::Failed;
    if (!done.wait(60000))
        return CloneOutcome::Failed;
    return done.first().first().value<CloneOutcome>();
}

} // namespace

class TestTransport : public QObject {
    Q_OBJECT
private slots:
    void serialLinkWritesToTheRadioOnAPseudoTerminal() {
        RadioSimulator radio(randomImage(6));
        const RadioImage before = radio.memory();
        PtySimulatorHost host(radio, false);
        QString error;
        QVERIFY2(host.open(&error), qPrintable(error));
        SerialLink link(host.devicePath());
        RadioImage image = randomImage(7);
        image.setRow(clone::kIdentRow, radio.memory().row(clone::kIdentRow));
        CloneRunner runner(link, Language::English);
        QSignalSpy linkErrors(&runner, &CloneRunner::linkError);
        QStringList log;
        QCOMPARE(runTransfer(runner, CloneMode::Write, log, image), CloneOutcome::Completed);
        QCOMPARE(log.last(), QStringLiteral("Port Closed."));
        for (int a = 0; a < kImageSize; ++a)
            QCOMPARE(radio.memory().at(a), a < 0xF00 ? image.at(a) : before.at(a));
        QCOMPARE(radio.writeCommands(), 240);
        QCOMPARE(radio.exitBytes(), 2);
        QCOMPARE(linkErrors.size(), 0);
        QVERIFY(!link.isOpen());
    }

    // The serial layer says PermissionError for a port held elsewhere too: the access check tells.
    void permissionProblemsAreToldApartFromBusyPorts() {
        struct Case {
            QSerialPort::SerialPortError error;
            AccessCheck access;
            LinkError expected;
        };
        const Case cases[] = {
            {QSerialPort::PermissionError, [](const QByteArray&) { return EACCES; }, LinkError::PermissionDenied},
            {QSerialPort::PermissionError, [](const QByteArray&) { return EROFS; }, LinkError::PermissionDenied},
            {QSerialPort::PermissionError, [](const QByteArray&) { return 0; }, LinkError::Busy},
            {QSerialPort::PermissionError, [](const QByteArray&) { return ENAMETOOLONG; }, LinkError::NameTooLong},
            {QSerialPort::PermissionError, [](const QByteArray&) { return EIO; }, LinkError::Other},
            {QSerialPort::DeviceNotFoundError, [](const QByteArray&) { return 0; }, LinkError::NotFound},
        };
        for (const Case& c : cases)
            QCOMPARE(classifyOpenError(c.error, QStringLiteral("ttyUSB0"), {}, c.access).error, c.expected);
        const auto seen = [](const QByteArray& path) { return path == "/dev/ttyUSB0" ? 0 : EACCES; };
        QCOMPARE(classifyOpenError(QSerialPort::PermissionError, QStringLiteral("ttyUSB0"), {}, seen).error,
                 LinkError::Busy);                                   // a bare name is checked in /dev
        QCOMPARE(deviceAccessError("/nonexistent/ttyUSB0"), ENOENT); // the real check gives the errno
        const QString text =
            linkErrorText({LinkError::PermissionDenied, {}}, QStringLiteral("/dev/ttyUSB0"), Language::English);
        QVERIFY(text.contains(QStringLiteral("/dev/ttyUSB0")));
        QVERIFY(text.contains(QStringLiteral("dialout")));
        QVERIFY(linkErrorText({LinkError::Busy, {}}, QStringLiteral("COM3"), Language::Chinese)
                    .contains(QStringLiteral("占用")));
    }

    void portNumbersMapToDevices_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("device");
        const char* rows[][3] = {{"first is a USB adapter", "1", "/dev/ttyACM0"},
                                 {"numeric order", "2", "/dev/ttyUSB2"},
                                 {"USB before built-in", "3", "/dev/ttyUSB10"},
                                 {"built-in last", "4", "/dev/ttyS0"},
                                 {"number with nothing behind it", "5", ""},
                                 {"out of range", "21", ""},
                                 {"zero", "0", ""},
                                 {"any path is taken as it is", "/dev/pts/7", "/dev/pts/7"}};
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QString::fromLatin1(r[1]) << QString::fromLatin1(r[2]);
    }
    void portNumbersMapToDevices() {
        QFETCH(QString, argument);
        QFETCH(QString, device);
        test::FakeEnumerator ports(QStringList{QStringLiteral("/dev/ttyUSB10"), QStringLiteral("/dev/ttyS0"),
                                               QStringLiteral("/dev/ttyUSB2"), QStringLiteral("/dev/ttyACM0")});
        QCOMPARE(resolvePort(argument, ports), device);
        QCOMPARE(numberedPorts(ports).size(), 20);
    }

    void probeChecksEveryPortAtOnceWithoutBlocking() {
        Pty a, b;
        test::FakeEnumerator ports(QStringList{a.path, b.path, QStringLiteral("/nonexistent/ttyUSB9")});
        PortProbe probe(ports);
        QSignalSpy finished(&probe, &PortProbe::finished);
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(10);
        probe.start();
        QVERIFY(finished.wait(5000));
        // The order is by name, so which pty is port 1 depends on their numbers.
        QVector<bool> expected(20, false);
        for (int i = 0; i < 20; ++i)
            expected[i] = probe.ports()[i].device == a.path || probe.ports()[i].device == b.path;
        QCOMPARE(probe.usable(), expected);
        QCOMPARE(a.readAll(), QByteArray("ATI1\r"));
        QCOMPARE(b.readAll(), QByteArray("ATI1\r"));
        QVERIFY2(ticks >= 5, "the event loop kept running during the 200 ms waits");
    }

    void checkPortUses19200Baud() {
        Pty a;
        CheckPort check(a.path);
        QSignalSpy finished(&check, &CheckPort::finished);
        int speedWhileOpen = -1;
        QTimer::singleShot(100, [&] {
            termios tio{};
            if (tcgetattr(a.master, &tio) == 0)
                speedWhileOpen = int(cfgetospeed(&tio));
        });
        check.start();
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().first().toBool(), true);
        QCOMPARE(speedWhileOpen, int(B19200));
    }
};

QTEST_MAIN(TestTransport)
#include "test_transport.moc"
