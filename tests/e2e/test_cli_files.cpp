// The CLI's data file commands, run as a user runs them: as a separate process.

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <random>

#include "datafile/data_file.h"
#include "image/band_limits.h"
#include "image/defaults.h"

using namespace norvik;

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run cli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(NORVIK_CLI), args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    Run r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(data), data.size());
}

QByteArray bytesOf(const ByteVector& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

QByteArray bytesOf(const RadioImage& img) {
    return QByteArray(reinterpret_cast<const char*>(img.bytes().data()), kImageSize);
}

std::optional<RadioImage> decoded(const QByteArray& file) {
    return decodeDataFile(std::span(reinterpret_cast<const std::uint8_t*>(file.constData()),
                                    static_cast<std::size_t>(file.size())))
        .image;
}

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
    const char name[] = "Rpt,\"A\"";
    for (int i = 0; i < 7; ++i)
        img.set(0x8C0 + i, static_cast<std::uint8_t>(name[i]));
    const char message[] = "HELLO";
    for (int i = 0; i < 5; ++i)
        img.set(0xD10 + i, static_cast<std::uint8_t>(message[i]));
    return img;
}

} // namespace

class CliFiles : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void newWritesTheDefaultImage() {
        const Run r = cli({QStringLiteral("new"), path("new.dat")});
        QCOMPARE(r.exitCode, 0);
        RadioImage expected;
        writeNewImageDefaults(expected, BandLimits{});
        const QByteArray file = readAll(path("new.dat"));
        QCOMPARE(file, bytesOf(encodeDataFile(expected)));
        const auto image = decoded(file);
        QVERIFY(image.has_value());
        QVERIFY(*image == expected);
    }

    void packAndUnpackAreExactInverses() {
        std::mt19937 rng(42);
        RadioImage img;
        for (auto& b : img.bytes())
            b = static_cast<std::uint8_t>(rng() % 7 == 0 ? rng() : 0xFF);
        writeAll(path("image.bin"), bytesOf(img));

        QCOMPARE(cli({QStringLiteral("pack"), path("image.bin"), path("image.dat")}).exitCode, 0);
        QCOMPARE(readAll(path("image.dat")), bytesOf(encodeDataFile(img))); // what Save writes

        QCOMPARE(cli({QStringLiteral("unpack"), path("image.dat"), path("back.bin")}).exitCode, 0);
        QCOMPARE(readAll(path("back.bin")), bytesOf(img));
    }

    void infoSummarisesTheFile() {
        writeAll(path("prog.dat"), bytesOf(encodeDataFile(programmedImage())));
        const Run r = cli({QStringLiteral("info"), path("prog.dat")});
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
        QTest::newRow("csv zh") << QStringList{QStringLiteral("--csv"), QStringLiteral("--lang"), QStringLiteral("zh")}
                                << QStringList{
                                       QStringLiteral("信道,接收频率,发射频率,解码,编码,发射功率,扫描添加,宽/窄,"
                                                      "信道名,繁忙锁定,PTT ID,声控,可选,扰频组别,频差,异频模式"),
                                       QStringLiteral("1,145.72500,145.12500,88.5,无,高,添加,宽带,"
                                                      "\"Rpt,\"\"A\"\"\",关,关,关,关,7,0.60000,减"),
                                       QStringLiteral("2,435.00000,,无,,低,删除,窄带,,关,两者,关,压扩,7,"
                                                      "0.00000,关"),
                                       QStringLiteral("5,,,,,,,,,,,,,,,")};
    }
    void channelsShowsTheGridTexts() {
        QFETCH(QStringList, args);
        QFETCH(QStringList, expectedLines);
        writeAll(path("prog.dat"), bytesOf(encodeDataFile(programmedImage())));
        const QByteArray before = readAll(path("prog.dat"));
        const Run r = cli(QStringList{QStringLiteral("channels"), path("prog.dat")} + args);
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 129);
        QCOMPARE(lines[0], expectedLines[0]);
        QCOMPARE(lines[1], expectedLines[1]);
        QCOMPARE(lines[2], expectedLines[2]);
        QCOMPARE(lines[5], expectedLines[3]);
        QCOMPARE(readAll(path("prog.dat")), before); // the display's normalising stays in memory
    }

    void channelsTableIsAligned() {
        writeAll(path("prog.dat"), bytesOf(encodeDataFile(programmedImage())));
        const Run r = cli({QStringLiteral("channels"), path("prog.dat")});
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'));
        const qsizetype column = lines[0].indexOf(QStringLiteral("Duplex"));
        QVERIFY(column > 0);
        QCOMPARE(lines[1].mid(column), QStringLiteral("Minus"));
        QCOMPARE(lines[2].mid(column), QStringLiteral("Off"));
        QCOMPARE(lines[3], QStringLiteral("3"));
    }

    void failuresExitWithStatusAndMessage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stderrContains");
        const QString text = QStringLiteral("text.txt"), big = QStringLiteral("big.dat"),
                      shortBin = QStringLiteral("short.bin"), out = QStringLiteral("out.bin");
        auto p = [](const QString& a, const QString& b = {}) {
            return b.isEmpty() ? QStringList{a} : QStringList{a, b};
        };
        QTest::newRow("no file") << QStringList{QStringLiteral("unpack")} << 1 << QStringLiteral("expected 2");
        QTest::newRow("too many files") << QStringList{QStringLiteral("info"), text, text} << 1
                                        << QStringLiteral("expected 1");
        QTest::newRow("unknown option") << QStringList{QStringLiteral("new"), QStringLiteral("--fast"), out} << 1
                                        << QStringLiteral("unknown option");
        QTest::newRow("csv is for channels") << QStringList{QStringLiteral("info"), QStringLiteral("--csv"), text} << 1
                                             << QStringLiteral("unknown option");
        QTest::newRow("bad language") << QStringList{QStringLiteral("channels"), text, QStringLiteral("--lang=fr")} << 1
                                      << QStringLiteral("unknown language");
        QTest::newRow("text file") << QStringList{QStringLiteral("unpack")} + p(text, out) << 2
                                   << QStringLiteral("Incorrect File Type.");
        QTest::newRow("text file, Chinese")
            << QStringList{QStringLiteral("channels"), text, QStringLiteral("--lang"), QStringLiteral("zh")} << 2
            << QStringLiteral("文件类型不正确。");
        QTest::newRow("over the size cap")
            << QStringList{QStringLiteral("info")} + p(big) << 2 << QStringLiteral("Incorrect File Type.");
        QTest::newRow("missing input") << QStringList{QStringLiteral("info")} + p(QStringLiteral("absent.dat")) << 2
                                       << QStringLiteral("cannot open");
        QTest::newRow("short image") << QStringList{QStringLiteral("pack")} + p(shortBin, QStringLiteral("s.dat")) << 2
                                     << QStringLiteral("exactly 4096 bytes");
        QTest::newRow("unwritable target") << QStringList{QStringLiteral("new"), QStringLiteral("no/such/dir/x.dat")}
                                           << 2 << QStringLiteral("cannot write");
    }
    void failuresExitWithStatusAndMessage() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, stderrContains);
        writeAll(path("text.txt"), "Channel list for the club net, not a data file.\n");
        writeAll(path("big.dat"), QByteArray(static_cast<qsizetype>(kMaxCodecSize) + 1, '\0'));
        writeAll(path("short.bin"), QByteArray(4095, '\xFF'));
        writeAll(path("out.bin"), "keep me");
        QStringList absolute;
        for (const QString& a : args)
            absolute << (a.startsWith(QLatin1Char('-')) || !a.contains(QLatin1Char('.')) ? a : m_dir.filePath(a));
        const Run r = cli(absolute);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(stderrContains), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
        QCOMPARE(readAll(path("out.bin")), QByteArray("keep me")); // a failure never touches the target
        QVERIFY(!QFile::exists(path("s.dat")));
    }

    void helpOnEveryCommand() {
        for (const char* name : {"new", "unpack", "pack", "info", "channels"}) {
            const Run r = cli({QString::fromLatin1(name), QStringLiteral("--help")});
            QCOMPARE(r.exitCode, 0);
            QVERIFY2(r.out.startsWith(QStringLiteral("usage: norvik-r7-cli %1 ").arg(QString::fromLatin1(name))),
                     qPrintable(r.out));
        }
        const Run top = cli({QStringLiteral("--help")});
        QCOMPARE(top.exitCode, 0);
        for (const char* name : {"new", "unpack", "pack", "info", "channels"})
            QVERIFY(top.out.contains(QStringLiteral("  %1 ").arg(QString::fromLatin1(name))));
    }

    void overwriteReplacesTheWholeFile() {
        writeAll(path("over.dat"), QByteArray(100000, 'x'));
        QCOMPARE(cli({QStringLiteral("new"), path("over.dat")}).exitCode, 0);
        QVERIFY(decoded(readAll(path("over.dat"))).has_value());
        const QStringList left = QDir(m_dir.path()).entryList({QStringLiteral("over.dat*")}, QDir::Files);
        QCOMPARE(left, QStringList{QStringLiteral("over.dat")}); // no temporary file remains
    }
};

QTEST_GUILESS_MAIN(CliFiles)
#include "test_cli_files.moc"
