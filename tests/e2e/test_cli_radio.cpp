// Read and write through the CLI against the simulated radio, each as its own process.

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <vector>

#include "cli_helpers.h"
#include "core/channels/csv_text.h"
#include "core/history/transfer_history.h"
#include "core/image/band_limits.h"
#include "core/image/defaults.h"

using namespace Qt::StringLiterals;
using namespace clitest;

namespace {

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
        return m_process.waitForFinished(10000) ? m_process.exitCode() : -1;
    }

private:
    QProcess m_process;
    QString m_device;
};

// The CLI with its standard error on a terminal (a pseudo-terminal read here): what it wrote there.
QString stderrOnATerminal(const QStringList& args) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return {};
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    const QByteArray terminal = ::ptsname(master);
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.setChildProcessModifier([terminal] {
        const int fd = ::open(terminal.constData(), O_RDWR | O_NOCTTY);
        ::dup2(fd, 2);
    });
    p.start(QStringLiteral(NORVIK_CLI), args);
    QByteArray seen;
    const auto drain = [&] {
        char buf[4096];
        for (ssize_t n; (n = ::read(master, buf, sizeof buf)) > 0;)
            seen.append(buf, n);
    };
    while (!p.waitForFinished(100))
        drain();
    drain();
    ::close(master);
    return QString::fromUtf8(seen);
}

// New-image defaults, with channel 5 on 145.00000 MHz when asked.
QByteArray defaultsImage(bool channel5) {
    norvik::RadioImage image;
    norvik::writeNewImageDefaults(image, norvik::BandLimits());
    if (channel5)
        image.setRow(5, std::array<std::uint8_t, 16>{0x14, 0x50, 0, 0, 0x14, 0x50, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x04,
                                                     0x00, 0x46, 0x00});
    return bytesOf(image);
}

} // namespace

class TestCliRadio : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QStringList radioArgs(const QByteArray& memory, bool saveOnExit = true) {
        if (!writeFile(path(u"radio.bin"_s), memory))
            QTest::qFail("cannot write the radio image", __FILE__, __LINE__);
        QFile::remove(path(u"saved.bin"_s));
        QStringList args{u"--image"_s, path(u"radio.bin"_s)};
        return saveOnExit ? args << u"--save-on-exit"_s << path(u"saved.bin"_s) : args;
    }

    QTemporaryDir m_dataHome; // where the transfers' history goes, never the user's

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", m_dataHome.path().toLocal8Bit()); }

    void readThenWriteAgainstTheSimulator() {
        const QByteArray radioStart = randomImage(1);
        Simulator sim(radioArgs(radioStart));
        QVERIFY(sim.device().startsWith(u"/dev/"_s));

        // Data files hold what was read byte for byte, nothing normalised.
        const Run read = runCli({u"read"_s, u"--port"_s, sim.device(), path(u"read.dat"_s)});
        QCOMPARE(read.exitCode, 0);
        QCOMPARE(unpacked(readFile(path(u"read.dat"_s))), radioStart);
        // Without a terminal the Transfer Log goes to stderr.
        QVERIFY2(read.err.contains(u"Completion percentage40%\nCompletion percentage50%"_s), qPrintable(read.err));
        QVERIFY(read.err.contains(u"Reading completed!\nPort Closed.\n"_s));

        QByteArray edited = randomImage(2);
        edited.replace(0xD00, 16, radioStart.mid(0xD00, 16)); // same frequency range: no warning
        QVERIFY(writeFile(path(u"edited.dat"_s), packed(imageOf(edited))));
        const Run write = runCli(
            {u"write"_s, u"--port"_s, sim.device(), u"--backup-dir"_s, path(u"backups"_s), path(u"edited.dat"_s)});
        QCOMPARE(write.exitCode, 0);
        // The radio was kept first, exactly as it was, and the path is printed.
        const QRegularExpressionMatch kept =
            QRegularExpression(
                u"^The radio was backed up to (.+/backups/\\d{4}-\\d\\d-\\d\\d/\\d{6}_radio_[0-9a-f]{32}_.+\\.dat)\\.\n$"_s)
                .match(write.out);
        QVERIFY2(kept.hasMatch(), qPrintable(write.out));
        QCOMPARE(unpacked(readFile(kept.captured(1))), radioStart);
        QVERIFY(write.err.indexOf(u"Reading completed!"_s) < write.err.indexOf(u"Writing completed!"_s));

        // A read over a file keeps what the file held.
        const QByteArray before = readFile(path(u"read.dat"_s));
        QCOMPARE(runCli({u"read"_s, u"--port"_s, sim.device(), path(u"read.dat"_s)}).exitCode, 0);
        const QStringList backups =
            QDir(defaultBackups()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).filter(QRegularExpression(u"^\\d"_s));
        QVERIFY(!backups.isEmpty());
        const QDir day(defaultBackups() + u'/' + backups.last());
        const QStringList files = day.entryList({u"*_file_read.dat"_s}, QDir::Files);
        QCOMPARE(files.size(), 1);
        QCOMPARE(readFile(day.filePath(files.first())), before);
        QVERIFY(write.err.contains(u"Writing completed!\nVerifying: reading rows 0-239 back"_s));
        QVERIFY2(write.err.endsWith(u"Verified.\nPort Closed.\n"_s), qPrintable(write.err));

        QCOMPARE(sim.stop(), 0);
        const QByteArray saved = readFile(path(u"saved.bin"_s));
        QCOMPARE(saved.size(), norvik::kImageSize);
        QCOMPARE(saved.left(0xF00), edited.left(0xF00));
        QCOMPARE(saved.mid(0xF00), radioStart.mid(0xF00)); // rows 240..255 are never written
    }

    // A backups folder that cannot take the backup: nothing reaches the radio, not even the read.
    void aBackupThatCannotBeKeptRefusesTheWrite() {
        const QByteArray radioStart = randomImage(3);
        Simulator sim(radioArgs(radioStart));
        QByteArray edited = randomImage(4);
        edited.replace(0xD00, 16, radioStart.mid(0xD00, 16));
        QVERIFY(writeFile(path(u"refused.dat"_s), packed(imageOf(edited))));
        QVERIFY(writeFile(path(u"not-a-folder"_s), "x"));
        const Run write = runCli({u"write"_s, u"--port"_s, sim.device(), u"--backup-dir"_s, path(u"not-a-folder"_s),
                                  path(u"refused.dat"_s)});
        QCOMPARE(write.exitCode, 2);
        QVERIFY2(write.err.startsWith(u"The radio could not be backed up, so nothing was written to it: "_s),
                 qPrintable(write.err));
        QVERIFY(!write.err.contains(u"Opening Port"_s));
        QVERIFY(write.out.isEmpty());
        QCOMPARE(sim.stop(), 0);
        QCOMPARE(readFile(path(u"saved.bin"_s)), radioStart);
    }

    // With no answer possible the write stops; --yes answers for the user.
    void changedFrequencyRangeStopsAWriteWithoutATerminal() {
        struct Case {
            QStringList extra;
            int exitCode;
            QString logLine;
        };
        for (const auto& [extra, exitCode, logLine] :
             {Case{{}, 2, u"Writing cancelled: nothing was written to the radio."_s},
              Case{{u"--yes"_s, u"--no-verify"_s}, 0, u"Writing completed!"_s}}) {
            const QByteArray radioStart = randomImage(3), edited = randomImage(4);
            QVERIFY(edited.mid(0xD00, 16) != radioStart.mid(0xD00, 16));
            QVERIFY(writeFile(path(u"edited.bin"_s), edited));
            Simulator sim(radioArgs(radioStart));
            const Run write = runCli(QStringList{u"write"_s, u"--port"_s, sim.device(), path(u"edited.bin"_s)} + extra);
            QCOMPARE(write.exitCode, exitCode);
            QVERIFY2(write.err.contains(u"FrequencyRange has been changed!Go on?"_s), qPrintable(write.err));
            QVERIFY2(write.err.contains(logLine), qPrintable(write.err));
            QCOMPARE(sim.stop(), 0);
            const QByteArray saved = readFile(path(u"saved.bin"_s));
            QCOMPARE(saved.left(0xF00), (exitCode == 0 ? edited : radioStart).left(0xF00));
        }
    }

    // The radio acknowledges channel 5's row but keeps what it had: the read-back names it.
    void aRowTheRadioDidNotStoreIsNotVerified() {
        Simulator sim(radioArgs(defaultsImage(false), false) << u"--drop-write-at"_s << u"0x050"_s);
        QVERIFY(writeFile(path(u"mine.bin"_s), defaultsImage(true)));
        const Run write = runCli({u"write"_s, u"--port"_s, sim.device(), path(u"mine.bin"_s)});
        QCOMPARE(write.exitCode, 3);
        QVERIFY2(write.err.contains(u"Not verified: the radio holds something else than what was written:\n"
                                    u"  channel 5: RX Freq, 145.00000 → (empty)\n"_s),
                 qPrintable(write.err));
    }

    // As the several-ports line says it: a radio that refuses is no radio that did not answer.
    void aRefusedWriteNamesItsAddress() {
        Simulator sim(radioArgs(defaultsImage(false), false) << u"--refuse-write-at"_s << u"0x700"_s);
        QVERIFY(writeFile(path(u"mine.bin"_s), defaultsImage(true)));
        const Run write = runCli({u"write"_s, u"--port"_s, sim.device(), path(u"mine.bin"_s)});
        QCOMPARE(write.exitCode, 2);
        QVERIFY2(
            write.err.endsWith(u"\nThe radio refused the write at 0x0700. Write again; if the radio refuses again, "
                               u"it needs service.\n"_s),
            qPrintable(write.err));
    }

    void diffComparesAFileWithARadio() {
        Simulator sim(radioArgs(defaultsImage(true), false));
        QVERIFY(writeFile(path(u"defaults.bin"_s), defaultsImage(false)));
        const Run diff = runCli({u"diff"_s, path(u"defaults.bin"_s), u"--port"_s, sim.device()});
        QCOMPARE(diff.exitCode, 1);
        const QStringList lines = diff.out.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY2(lines.size() > 1, qPrintable(diff.out));
        QCOMPARE(lines.first(), u"channel 5: RX Freq, (empty) → 145.00000"_s);
        QVERIFY(lines.filter(u"byte"_s).isEmpty()); // channel 5's bytes are all named
        // The radio's progress is for a terminal only, a line a second at most.
        QVERIFY2(!diff.err.contains(u"Progress:"_s), qPrintable(diff.err));
        QElapsedTimer clock;
        clock.start();
        const QString shown = stderrOnATerminal({u"diff"_s, path(u"defaults.bin"_s), u"--port"_s, sim.device()});
        QVERIFY2(shown.contains(u"Progress: "_s + sim.device() + u" "_s), qPrintable(shown));
        QVERIFY(shown.count(u"Progress:"_s) <= clock.elapsed() / 1000 + 1);
    }

    // A silent radio and no retries fail the read; one silence and one retry do not.
    void failedReadExitsWithTheErrorLine() {
        struct Case {
            QStringList faults, options;
            int exitCode;
        };
        for (const auto& [faults, options, exitCode] :
             {Case{{u"--silent-at"_s, u"0x100"_s}, {}, 2},
              Case{{u"--silent-at"_s, u"0x100"_s, u"--fault-once"_s}, {u"--retries"_s, u"1"_s}, 0}}) {
            const QByteArray radioStart = randomImage(5);
            Simulator sim(radioArgs(radioStart, false) + faults);
            const QString out = path(u"read.bin"_s);
            QFile::remove(out);
            const Run read = runCli(QStringList{u"read"_s, u"--port"_s, sim.device(), out} + options);
            QCOMPARE(read.exitCode, exitCode);
            QVERIFY(read.err.contains(u"ERROR:Timeout while waiting for data blocks."_s));
            if (exitCode == 0)
                QCOMPARE(readFile(out), radioStart);
            else
                QVERIFY2(!QFile::exists(out), "a failed read leaves no file");
        }
    }

    // An existing file is updated in place; a missing one starts from the defaults.
    void serviceReadChangesOnlyTheServiceBytes() {
        for (const bool existing : {true, false}) {
            const QByteArray radio = randomImage(11);
            Simulator sim(radioArgs(radio, false));
            const QString out = path(u"service.dat"_s);
            QFile::remove(out);
            norvik::RadioImage start;
            if (existing) {
                start = imageOf(randomImage(12));
                QVERIFY(writeFile(out, packed(start)));
            } else {
                norvik::writeNewImageDefaults(start, norvik::BandLimits());
            }
            const Run read = runCli({u"service-read"_s, u"--port"_s, sim.device(), out});
            QCOMPARE(read.exitCode, 0);
            const QByteArray after = unpacked(readFile(out));
            QCOMPARE(after.size(), norvik::kImageSize);
            for (int a = 0; a < norvik::kImageSize; ++a) {
                const bool service = a == 0x0D06 || a >= 0x0F00;
                QCOMPARE(std::uint8_t(after[a]), service ? std::uint8_t(radio[a]) : start.at(a));
            }
        }
    }

    void serviceWriteSendsRows240To255Only_data() {
        QTest::addColumn<QStringList>("extra"); // the simulated radio's faults, then service-write's options
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("oldFrom"); // the radio keeps its own rows oldFrom..oldTo
        QTest::addColumn<int>("oldTo");
        QTest::addColumn<QString>("message");
        const QStringList dropped{u"--drop-write-at"_s, u"0xF30"_s};
        QTest::newRow("accepted and read back") << QStringList{} << 0 << 0 << -1 << u"Verified."_s;
        QTest::newRow("twenty junk bytes before the acknowledge")
            << QStringList{u"--junk"_s, u"50524F474E5256 00FF15 50524F474E5256 00FF15"_s} << 0 << 0 << -1
            << u"Verified."_s;
        QTest::newRow("a block refused for good") << QStringList{u"--refuse-write-at"_s, u"0xF30"_s} << 2 << 243 << 255
                                                  << u"The radio refused the same data block 6 times."_s;
        QTest::newRow("acknowledged but not stored")
            << dropped << 3 << 243 << 243
            << u"Not verified: the radio holds something else than what was written:\n  row 243 (0x0F30–0x0F3F)\n"_s;
        QTest::newRow("not stored, not read back")
            << dropped + QStringList{u"--no-verify"_s} << 0 << 243 << 243 << u"Writing completed!\nPort Closed.\n"_s;
    }
    void serviceWriteSendsRows240To255Only() {
        QFETCH(QStringList, extra);
        QFETCH(int, exitCode);
        QFETCH(int, oldFrom);
        QFETCH(int, oldTo);
        QFETCH(QString, message);
        const QByteArray radioStart = randomImage(13);
        QByteArray image = randomImage(14);
        image.replace(0xD00, 16, radioStart.mid(0xD00, 16)); // same frequency range: no warning
        QVERIFY(writeFile(path(u"service.bin"_s), image));
        const bool noVerify = extra.removeAll(u"--no-verify"_s) > 0;
        Simulator sim(radioArgs(radioStart) + extra);
        QStringList args{u"service-write"_s, u"--port"_s, sim.device(), path(u"service.bin"_s)};
        if (noVerify)
            args << u"--no-verify"_s;
        const Run write = runCli(args);
        QCOMPARE(write.exitCode, exitCode);
        QVERIFY2(write.err.contains(message), qPrintable(write.err));
        QCOMPARE(sim.stop(), 0);
        const QByteArray saved = readFile(path(u"saved.bin"_s));
        QCOMPARE(saved.left(0xF00), radioStart.left(0xF00));
        for (int row = 240; row < 256; ++row) {
            const bool old = row >= oldFrom && row <= oldTo;
            QVERIFY2(saved.mid(row * 16, 16) == (old ? radioStart : image).mid(row * 16, 16),
                     qPrintable(u"row %1"_s.arg(row)));
        }
    }

    void severalRadiosAtOnceEachEndOnTheirOwn() {
        const QByteArray radioStart = randomImage(8);
        QByteArray edited = randomImage(9);
        edited.replace(0xD00, 16, radioStart.mid(0xD00, 16));
        QVERIFY(writeFile(path(u"start.bin"_s), radioStart));
        QVERIFY(writeFile(path(u"edited.dat"_s), packed(imageOf(edited))));
        std::vector<std::unique_ptr<Simulator>> radios;
        for (int i = 0; i < 3; ++i) {
            QStringList args{u"--image"_s, path(u"start.bin"_s), u"--save-on-exit"_s, path(u"saved%1.bin"_s.arg(i))};
            if (i == 1)
                args << u"--refuse-write-at"_s << u"0x700"_s; // every time, retries included
            radios.push_back(std::make_unique<Simulator>(args));
            QVERIFY(radios.back()->device().startsWith(u"/dev/"_s));
        }
        const Run write = runCli({u"write"_s, u"--port"_s, radios[0]->device(), u"--port"_s, radios[1]->device(),
                                  u"--port"_s, radios[2]->device(), u"--retries"_s, u"1"_s, path(u"edited.dat"_s)});
        QCOMPARE(write.exitCode, 2);
        const QStringList lines = write.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const QStringList mine =
                lines.filter(QRegularExpression(u"^"_s + QRegularExpression::escape(radios[i]->device()) + u": "_s));
            QCOMPARE(mine.size(), 1);
            if (i == 1)
                QVERIFY2(mine[0].startsWith(radios[1]->device() +
                                            u": failed: the radio refused the write at 0x0700 (backed up to "_s),
                         qPrintable(mine[0]));
            else
                QVERIFY2(QRegularExpression(u": written in \\d+\\.\\d s, verified, backed up to /.+_radio_.+\\.dat$"_s)
                             .match(mine[0])
                             .hasMatch(),
                         qPrintable(mine[0]));
        }

        // The two that took the file read it back, one at a time, into a folder.
        const QString folder = path(u"read"_s);
        const Run read = runCli({u"read"_s, u"--port"_s, radios[0]->device(), u"--port"_s, radios[2]->device(),
                                 u"--jobs"_s, u"1"_s, folder});
        QCOMPARE(read.exitCode, 0);
        QCOMPARE(read.out.count(u": read in "_s), 2);
        for (int i : {0, 2}) {
            const QString name = radios[i]->device().mid(5).replace(u'/', u'-') + u".dat"_s;
            QCOMPARE(unpacked(readFile(folder + u'/' + name)).left(0xF00), edited.left(0xF00));
        }
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(radios[i]->stop(), 0);
            const QByteArray saved = readFile(path(u"saved%1.bin"_s.arg(i)));
            QCOMPARE(saved.left(0x700), edited.left(0x700));
            QCOMPARE(saved.mid(0x700, 0x800) == edited.mid(0x700, 0x800), i != 1);
        }
    }

    // Every transfer is one line of the history, a cancelled and a failed one included, and
    // history prints them back, as a table or as CSV.
    void historyKeepsOneLinePerTransfer() {
        QTemporaryDir dataHome;
        dataHomeOverride() = dataHome.path();
        const auto restore = qScopeGuard([] { dataHomeOverride().clear(); });
        const QByteArray radioStart = randomImage(10), otherRange = randomImage(11);
        QVERIFY(writeFile(path(u"other.bin"_s), otherRange));
        {
            Simulator sim(radioArgs(radioStart, false));
            QCOMPARE(runCli({u"read"_s, u"--port"_s, sim.device(), path(u"got.dat"_s)}).exitCode, 0);
            QCOMPARE(runCli({u"write"_s, u"--port"_s, sim.device(), path(u"other.bin"_s)}).exitCode, 2);
        }
        {
            Simulator silent(radioArgs(radioStart, false) << u"--silent-at"_s << u"0x100"_s);
            QCOMPARE(runCli({u"read"_s, u"--port"_s, silent.device(), path(u"none.dat"_s)}).exitCode, 2);
        }
        const Run csv = runCli({u"history"_s, u"--csv"_s});
        QCOMPARE(csv.exitCode, 0);
        const norvik::CsvTable table = norvik::readCsv(csv.out.toStdString());
        QCOMPARE(table.records.size(), 4U);
        const auto cell = [&](std::size_t row, std::size_t column) {
            return QString::fromStdString(table.records[row].cells.at(column));
        };
        QCOMPARE(cell(0, 6), u"result"_s);
        QCOMPARE(cell(1, 1) + u' ' + cell(1, 6), u"read completed"_s);
        QCOMPARE(cell(1, 3), QString::fromLatin1(radioStart.mid(0xD00, 16).toHex().toUpper()));
        QCOMPARE(cell(1, 4), QFileInfo(path(u"got.dat"_s)).absoluteFilePath());
        QCOMPARE(cell(1, 5), QString::fromStdString(norvik::rowsChecksum(imageOf(radioStart), 0, 256)));
        QCOMPARE(cell(2, 1) + u' ' + cell(2, 6), u"write cancelled"_s);
        QCOMPARE(cell(2, 5), QString::fromStdString(norvik::rowsChecksum(imageOf(otherRange), 0, 240)));
        QVERIFY2(cell(3, 6).startsWith(u"failed: "_s), qPrintable(cell(3, 6)));
        QVERIFY(cell(3, 5).isEmpty());

        const Run shown = runCli({u"history"_s});
        QCOMPARE(shown.exitCode, 0);
        const QStringList lines = shown.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[1].contains(u"  cancelled  "_s), qPrintable(lines[1]));
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
        // Refused before the port is looked at: a read with nowhere to go would be lost at the end.
        QTest::newRow("read into a missing folder")
            << QStringList{u"read"_s, u"--port"_s, u"/nonexistent/ttyUSB7"_s, u"/nonexistent/folder/x.bin"_s} << 2
            << u"Cannot write file /nonexistent/folder/x.bin"_s;
        QTest::newRow("not a raw image") << QStringList{u"write"_s, u"--port"_s, u"/nonexistent/ttyUSB7"_s,
                                                        QStringLiteral(NORVIK_CLI)}
                                         << 2 << u"4096-byte"_s;
        QTest::newRow("same port twice") << QStringList{u"write"_s,  u"--port"_s,       u"/dev/ttyUSB7"_s,
                                                        u"--port"_s, u"/dev/ttyUSB7"_s, u"x.bin"_s}
                                         << 1 << u"given twice"_s;
        QTest::newRow("bad fault address")
            << QStringList{u"simulate"_s, u"--silent-at"_s, u"0x1000"_s} << 1 << u"address"_s;
        QTest::newRow("retries out of range")
            << QStringList{u"read"_s, u"--port"_s, u"/dev/ttyUSB7"_s, u"--retries"_s, u"99999999999"_s, u"x.bin"_s} << 1
            << u"--retries needs a whole number of at least 0, not '99999999999'"_s;
        QTest::newRow("jobs out of range, several ports")
            << QStringList{u"read"_s, u"--port"_s, u"1"_s, u"--port"_s, u"2"_s, u"--jobs"_s, u"0"_s, u"x.bin"_s} << 1
            << u"--jobs needs a whole number of at least 1, not '0'"_s;
        // A file in the working folder, named as a bare device name would be.
        QTest::newRow("port is a file") << QStringList{u"read"_s, u"--port"_s, u"regular.dat"_s, u"x.bin"_s} << 2
                                        << u"regular.dat is not a serial device."_s;
        QTest::newRow("port is a folder") << QStringList{u"write"_s, u"--port"_s, u"/tmp"_s, u"regular.dat"_s} << 2
                                          << u"/tmp is not a serial device."_s;
        QTest::newRow("port name too long")
            << QStringList{u"read"_s, u"--port"_s, u"/dev/"_s + QString(300, u'a'), u"x.bin"_s} << 2
            << u"is too long. Give the device's path"_s;
    }
    void badArguments() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        for (QString& a : args)
            if (a == u"x.bin"_s)
                a = path(a);
        QVERIFY(writeFile(path(u"regular.dat"_s), packed(norvik::RadioImage())));
        const Run run = runCli(args, RunSetup{{}, m_dir.path()});
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
    }

    // A disk that cannot take the file stops a read before the port is looked at: the transfer
    // would only be lost at its end.
    void readToAFullDiskStopsBeforeThePort() {
        const QString out = path(u"full.dat"_s);
        QFile::remove(out);
        const Run read =
            runCli({u"read"_s, u"--port"_s, u"/nonexistent/ttyUSB7"_s, out}, RunSetup{{}, m_dir.path(), 1000});
        QCOMPARE(read.exitCode, 2);
        QVERIFY2(read.err.contains(u"Cannot write file %1. File too large"_s.arg(out)), qPrintable(read.err));
        QVERIFY(!read.err.contains(u"was not found"_s));
        QCOMPARE(QDir(m_dir.path()).entryList({u"full.dat*"_s}, QDir::Files), QStringList{});
    }
};

QTEST_MAIN(TestCliRadio)
#include "test_cli_radio.moc"
