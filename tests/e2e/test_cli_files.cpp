// The CLI's data file commands, run as a user runs them: as a separate process.

#include <QTemporaryDir>
#include <QtTest>

#include "cli_helpers.h"
#include "image/band_limits.h"
#include "image/defaults.h"

using namespace norvik;
using namespace clitest;

namespace {

// Defaults plus three channels: a duplex repeater with a name needing CSV quotes, a simplex
// channel whose stale encode tone the display clears, and a record with no receive frequency.
RadioImage programmedImage() {
    RadioImage img;
    writeNewImageDefaults(img, BandLimits{});
    const std::uint8_t ch1[16] = {0x14, 0x57, 0x25, 0x00, 0x14, 0x51, 0x25, 0x00,
                                  0x85, 0x08, 0xFF, 0xFF, 0x04, 0x00, 0x46, 0x00};
    const std::uint8_t ch2[16] = {0x43, 0x50, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF,
                                  0xFF, 0xFF, 0x12, 0x34, 0x31, 0x0B, 0x06, 0x00};
    const std::uint8_t ch5[16] = {0xFF, 0xFF, 0xFF, 0xFF, 0x43, 0x50, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0};
    img.setRow(1, ch1);
    img.setRow(2, ch2);
    img.setRow(5, ch5);
    for (int i = 0; i < 7; ++i)
        img.set(0x8C0 + i, static_cast<std::uint8_t>("Rpt,\"A\""[i]));
    for (int i = 0; i < 5; ++i)
        img.set(0xD10 + i, static_cast<std::uint8_t>("HELLO"[i]));
    return img;
}

} // namespace

class CliFiles : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    Run cli(const char* command, const QStringList& args) {
        return runCli(QStringList{QString::fromLatin1(command)} + args);
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QVERIFY(writeFile(path("prog.dat"), packed(programmedImage())));
    }

    void newWritesTheDefaultImage() {
        QVERIFY(writeFile(path("new.dat"), QByteArray(100000, 'x'))); // overwritten whole
        QCOMPARE(cli("new", {path("new.dat")}).exitCode, 0);
        RadioImage expected;
        writeNewImageDefaults(expected, BandLimits{});
        QCOMPARE(readFile(path("new.dat")), packed(expected));
        const QStringList left = QDir(m_dir.path()).entryList({QStringLiteral("new.dat*")}, QDir::Files);
        QCOMPARE(left, QStringList{QStringLiteral("new.dat")}); // no temporary file remains
    }

    void packAndUnpackAreExactInverses() {
        std::mt19937 rng(42);
        RadioImage img;
        for (auto& b : img.bytes())
            b = static_cast<std::uint8_t>(rng() % 7 == 0 ? rng() : 0xFF);
        QVERIFY(writeFile(path("image.bin"), bytesOf(img)));
        QCOMPARE(cli("pack", {path("image.bin"), path("image.dat")}).exitCode, 0);
        QCOMPARE(readFile(path("image.dat")), packed(img)); // what Save writes
        QCOMPARE(cli("unpack", {path("image.dat"), path("back.bin")}).exitCode, 0);
        QCOMPARE(readFile(path("back.bin")), bytesOf(img));
    }

    void infoSummarisesTheFile() {
        const Run r = cli("info", {path("prog.dat")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains(QStringLiteral("Channels in use:  2 of 128")), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("136-174 MHz, 400-470 MHz, 350-390 MHz, 470-520 MHz")));
        QVERIFY(r.out.contains(QStringLiteral("\"HELLO\"")));
    }

    void channelsShowsTheGridTexts_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("expectedLines"); // header, channel 1, channel 2, channel 5
        QTest::newRow("csv en") << QStringList{QStringLiteral("--csv")}
                                << QStringList{
                                       QStringLiteral("CH,RX Freq,TX Freq,Decode,Encode,TX Power,Scan Add,W/N,CH.Name,"
                                                      "BCL,PTT ID,VOX,Option,Scrambler,Offset Freq,Duplex"),
                                       QStringLiteral("1,145.72500,145.12500,88.5,None,High,Add,Wide,\"Rpt,\"\"A\"\"\","
                                                      "Off,Off,Off,Off,7,0.60000,Minus"),
                                       QStringLiteral("2,435.00000,,None,,Low,Del,Narrow,,Off,Both,Off,Compand,7,"
                                                      "0.00000,Off"),
                                       QStringLiteral("5,,,,,,,,,,,,,,,")};
        QTest::newRow("table") << QStringList{} << QStringList{{}, QStringLiteral("Minus"), QStringLiteral("Off"), {}};
    }
    void channelsShowsTheGridTexts() {
        QFETCH(QStringList, args);
        QFETCH(QStringList, expectedLines);
        const QByteArray before = readFile(path("prog.dat"));
        const Run r = cli("channels", QStringList{path("prog.dat")} + args);
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 129);
        if (args.isEmpty()) { // aligned columns: the Duplex texts start under the heading
            const qsizetype column = lines[0].indexOf(QStringLiteral("Duplex"));
            QVERIFY(column > 0);
            QCOMPARE(lines[1].mid(column), expectedLines[1]);
            QCOMPARE(lines[2].mid(column), expectedLines[2]);
            QCOMPARE(lines[3], QStringLiteral("3"));
        } else {
            for (int i : {0, 1, 2})
                QCOMPARE(lines[i], expectedLines[i]);
            QCOMPARE(lines[5], expectedLines[3]);
        }
        QCOMPARE(readFile(path("prog.dat")), before); // the display's normalising stays in memory
    }

    void failuresExitWithStatusAndMessage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stderrContains");
        const auto row = [](const char* name, const char* args, int code, const QString& message) {
            QTest::newRow(name) << QString::fromUtf8(args).split(QLatin1Char(' ')) << code << message;
        };
        row("no file", "unpack", 1, QStringLiteral("expected 2"));
        row("too many files", "info text.txt text.txt", 1, QStringLiteral("expected 1"));
        row("unknown option", "new --fast out.bin", 1, QStringLiteral("unknown option"));
        row("csv is for channels", "info --csv text.txt", 1, QStringLiteral("unknown option"));
        row("bad language", "channels text.txt --lang=fr", 1, QStringLiteral("unknown language"));
        row("text file", "unpack text.txt out.bin", 2, QStringLiteral("Incorrect File Type."));
        row("text file, Chinese", "channels text.txt --lang zh", 2, QStringLiteral("文件类型不正确。"));
        row("over the size cap", "info big.dat", 2, QStringLiteral("Incorrect File Type."));
        row("missing input", "info absent.dat", 2, QStringLiteral("cannot open"));
        row("short image", "pack short.bin s.dat", 2, QStringLiteral("exactly 4096 bytes"));
        row("unwritable target", "new no/such/dir/x.dat", 2, QStringLiteral("cannot write"));
    }
    void failuresExitWithStatusAndMessage() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, stderrContains);
        QVERIFY(writeFile(path("text.txt"), "Channel list for the club net, not a data file.\n"));
        QVERIFY(writeFile(path("big.dat"), QByteArray(static_cast<qsizetype>(kMaxCodecSize) + 1, '\0')));
        QVERIFY(writeFile(path("short.bin"), QByteArray(4095, '\xFF')));
        QVERIFY(writeFile(path("out.bin"), "keep me"));
        for (QString& a : args)
            if (!a.startsWith(QLatin1Char('-')) && a.contains(QLatin1Char('.')))
                a = m_dir.filePath(a);
        const Run r = runCli(args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(stderrContains), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
        QCOMPARE(readFile(path("out.bin")), QByteArray("keep me")); // a failure never touches the target
        QVERIFY(!QFile::exists(path("s.dat")));
    }

    void helpOnEveryCommand() {
        const Run top = runCli({QStringLiteral("--help")});
        QCOMPARE(top.exitCode, 0);
        for (const char* name : {"new", "unpack", "pack", "info", "channels"}) {
            QVERIFY(top.out.contains(QStringLiteral("  %1 ").arg(QString::fromLatin1(name))));
            const Run r = cli(name, {QStringLiteral("--help")});
            QCOMPARE(r.exitCode, 0);
            QVERIFY2(r.out.startsWith(QStringLiteral("usage: norvik-r7-cli %1 ").arg(QString::fromLatin1(name))),
                     qPrintable(r.out));
        }
    }
};

QTEST_GUILESS_MAIN(CliFiles)
#include "test_cli_files.moc"
