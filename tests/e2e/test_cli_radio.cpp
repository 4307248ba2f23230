#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

using namespace Qt::StringLiterals;

namespace {

constexpr int kImage = 4096;

QByteArray randomImage(unsigned seed) {
    std::mt19937 rng(seed);
    QByteArray b(kImage, '\0');
    for (auto& c : b)
        c = char(rng());
    return b;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Run {
    int exitCode = -1;
    QString err;
};

Run runCli(const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.setStandardInputFile(QProcess::nullDevice());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"LANG"_s, u"C"_s);
    env.remove(u"LC_ALL"_s);
    env.remove(u"LC_MESSAGES"_s);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(NORVIK_CLI), args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardError())};
}

// The simulated radio as its own process; the first line it prints is its device.
class Simulator {
public:
    explicit Simulator(const QStringList& args) {
        m_process.start(QStringLiteral(NORVIK_CLI), QStringList{u"simulate"_s} + args);
        if (m_process.waitForStarted(10000)) {
            while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
            }
            m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        }
    }
    ~Simulator() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    QString device() const { return m_device; }
    // Asks it to quit as an interrupted user would; it saves its memory on the way out.
    int stop() {
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            return -1;
        return m_process.exitCode();
    }

private:
    QProcess m_process;
    QString m_device;
};

} // namespace

class TestCliRadio : public QObject {
    Q_OBJECT
private slots:
    void readThenWriteAgainstTheSimulator() {
        QTemporaryDir dir;
        const QByteArray radioStart = randomImage(1);
        QVERIFY(writeFile(dir.filePath(u"radio.bin"_s), radioStart));
        Simulator sim({u"--image"_s, dir.filePath(u"radio.bin"_s), u"--save-on-exit"_s, dir.filePath(u"saved.bin"_s)});
        QVERIFY(sim.device().startsWith(u"/dev/"_s));

        const Run read = runCli({u"read"_s, u"--port"_s, sim.device(), dir.filePath(u"read.bin"_s)});
        QCOMPARE(read.exitCode, 0);
        QCOMPARE(readFile(dir.filePath(u"read.bin"_s)), radioStart);
        // Without a terminal the Transfer Log goes to stderr.
        QVERIFY2(read.err.contains(u"Completion percentage40%\nCompletion percentage50%"_s), qPrintable(read.err));
        QVERIFY(read.err.contains(u"Reading completed!\nPort Closed.\n"_s));

        QByteArray edited = randomImage(2);
        edited.replace(0xD00, 16, radioStart.mid(0xD00, 16)); // same frequency range: no warning
        QVERIFY(writeFile(dir.filePath(u"edited.bin"_s), edited));
        const Run write = runCli({u"write"_s, u"--port"_s, sim.device(), dir.filePath(u"edited.bin"_s)});
        QCOMPARE(write.exitCode, 0);
        QVERIFY(write.err.contains(u"Writing completed!"_s));

        QCOMPARE(sim.stop(), 0);
        const QByteArray saved = readFile(dir.filePath(u"saved.bin"_s));
        QCOMPARE(saved.size(), kImage);
        QCOMPARE(saved.left(0xF00), edited.left(0xF00));
        QCOMPARE(saved.mid(0xF00), radioStart.mid(0xF00)); // rows 240..255 are never written
    }

    void changedFrequencyRangeStopsAWriteWithoutATerminal_data() {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("logLine");
        QTest::newRow("no answer possible")
            << QStringList{} << 2 << u"Writing cancelled: nothing was written to the radio."_s;
        QTest::newRow("--yes") << QStringList{u"--yes"_s} << 0 << u"Writing completed!"_s;
    }
    void changedFrequencyRangeStopsAWriteWithoutATerminal() {
        QFETCH(QStringList, extra);
        QFETCH(int, exitCode);
        QFETCH(QString, logLine);
        QTemporaryDir dir;
        const QByteArray radioStart = randomImage(3);
        QVERIFY(writeFile(dir.filePath(u"radio.bin"_s), radioStart));
        QByteArray edited = randomImage(4);
        QVERIFY(edited.mid(0xD00, 16) != radioStart.mid(0xD00, 16));
        QVERIFY(writeFile(dir.filePath(u"edited.bin"_s), edited));
        Simulator sim({u"--image"_s, dir.filePath(u"radio.bin"_s), u"--save-on-exit"_s, dir.filePath(u"saved.bin"_s)});
        const Run write =
            runCli(QStringList{u"write"_s, u"--port"_s, sim.device(), dir.filePath(u"edited.bin"_s)} + extra);
        QCOMPARE(write.exitCode, exitCode);
        QVERIFY2(write.err.contains(u"FrequencyRange has been changed!Go on?"_s), qPrintable(write.err));
        QVERIFY2(write.err.contains(logLine), qPrintable(write.err));
        QCOMPARE(sim.stop(), 0);
        const QByteArray saved = readFile(dir.filePath(u"saved.bin"_s));
        if (exitCode == 0)
            QCOMPARE(saved.left(0xF00), edited.left(0xF00));
        else
            QCOMPARE(saved, radioStart);
    }

    void failedReadExitsWithTheErrorLine_data() {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("silent radio, no retries") << QStringList{u"--silent-at"_s, u"0x100"_s} << QStringList{} << 2;
        QTest::newRow("one silence, one retry")
            << QStringList{u"--silent-at"_s, u"0x100"_s, u"--fault-once"_s} << QStringList{u"--retries"_s, u"1"_s} << 0;
    }
    void failedReadExitsWithTheErrorLine() {
        QFETCH(QStringList, faults);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        const QByteArray radioStart = randomImage(5);
        QVERIFY(writeFile(dir.filePath(u"radio.bin"_s), radioStart));
        Simulator sim(QStringList{u"--image"_s, dir.filePath(u"radio.bin"_s)} + faults);
        const QString out = dir.filePath(u"read.bin"_s);
        const Run read = runCli(QStringList{u"read"_s, u"--port"_s, sim.device(), out} + options);
        QCOMPARE(read.exitCode, exitCode);
        QVERIFY(read.err.contains(u"ERROR:Timeout while waiting for data blocks."_s));
        if (exitCode == 0)
            QCOMPARE(readFile(out), radioStart);
        else
            QVERIFY2(!QFile::exists(out), "a failed read leaves no file");
    }

    void badArguments_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no port") << QStringList{u"read"_s, u"x.bin"_s} << 1 << u"usage:"_s;
        QTest::newRow("port number out of range")
            << QStringList{u"read"_s, u"--port"_s, u"21"_s, u"x.bin"_s} << 2 << u"was not found"_s;
        QTest::newRow("missing device") << QStringList{u"read"_s, u"--port"_s, u"/nonexistent/ttyUSB7"_s, u"x.bin"_s}
                                        << 2 << u"was not found"_s;
        QTest::newRow("not a raw image") << QStringList{u"write"_s, u"--port"_s, u"/nonexistent/ttyUSB7"_s,
                                                        QStringLiteral(NORVIK_CLI)}
                                         << 2 << u"4096-byte"_s;
        QTest::newRow("bad fault address")
            << QStringList{u"simulate"_s, u"--silent-at"_s, u"0x1000"_s} << 1 << u"address"_s;
    }
    void badArguments() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir dir;
        for (QString& a : args)
            if (a == u"x.bin"_s)
                a = dir.filePath(a);
        const Run run = runCli(args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
    }
};

QTEST_MAIN(TestCliRadio)
#include "test_cli_radio.moc"
