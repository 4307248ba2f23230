// The CLI's data file commands, run as a user runs them: as a separate process.

#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "cli_helpers.h"
#include "core/image/band_limits.h"
#include "core/image/defaults.h"

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
    }

    void infoSummarisesTheFile() {
        const Run r = cli("info", {path("prog.dat")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains(QStringLiteral("Channels in use:  2 of 128")), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("136-174 MHz, 400-470 MHz, 350-390 MHz, 470-520 MHz")));
        QVERIFY(r.out.contains(QStringLiteral("\"HELLO\"")));
    }

    void channelsShowsTheGridTexts() {
        const QByteArray before = readFile(path("prog.dat"));
        const Run r = cli("channels", {path("prog.dat")});
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 129);
        // Aligned columns: the Duplex texts start under the heading.
        const qsizetype column = lines[0].indexOf(QStringLiteral("Duplex"));
        QVERIFY(column > 0);
        QCOMPARE(lines[1].mid(column), QStringLiteral("Minus"));
        QCOMPARE(lines[2].mid(column), QStringLiteral("Off"));
        QCOMPARE(lines[3], QStringLiteral("3"));
        QCOMPARE(readFile(path("prog.dat")), before); // the display's normalising stays in memory
        // Only channels 1 and 2 are in use; the columns are as wide as what is shown.
        const Run used = cli("channels", {path("prog.dat"), QStringLiteral("--used")});
        QStringList usedLines = used.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (QString& line : usedLines)
            line = line.simplified();
        QCOMPARE(usedLines, (QStringList{lines[0].simplified(), lines[1].simplified(), lines[2].simplified()}));
    }

    // The list `channels --csv` prints is what import-csv reads; a file with a bad line writes
    // nothing.
    void channelsCsvThenImportCsvReproducesTheImage() {
        const Run list = cli(
            "channels", {path("prog.dat"), QStringLiteral("--csv"), QStringLiteral("--lang"), QStringLiteral("zh")});
        QCOMPARE(list.exitCode, 0);
        const QStringList lines = list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines, (QStringList{QStringLiteral("CH,RX Freq,TX Freq,Decode,Encode,TX Power,Scan Add,W/N,CH.Name,"
                                                    "BCL,PTT ID,VOX,Option,Scrambler,Offset Freq,Duplex,Option Signal,"
                                                    "AutoResponse"),
                                     QStringLiteral("1,145.72500,145.12500,88.5,None,High,Add,Wide,\"Rpt,\"\"A\"\"\","
                                                    "Off,Off,Off,Off,7,0.60000,Minus,None,"),
                                     QStringLiteral("2,435.00000,,None,,Low,Del,Narrow,,Off,Both,Off,Compand,7,0.00000,"
                                                    "Off,None,")}));
        // The demo file's channels, applied to a new file, give back the demo file's image.
        const Run demo = cli("channels", {QStringLiteral(NORVIK_TEST_DATA "/demo.dat"), QStringLiteral("--csv")});
        QVERIFY(writeFile(path("list.csv"), demo.rawOut));
        QCOMPARE(cli("new", {path("blank.dat")}).exitCode, 0);
        const Run taken = cli("import-csv", {path("list.csv"), path("blank.dat"), path("back.dat")});
        QCOMPARE(taken.exitCode, 0);
        QCOMPARE(taken.out, QStringLiteral("%1 channels changed, 0 lines refused\n").arg(demo.out.count('\n') - 1));
        QCOMPARE(cli("unpack", {path("back.dat"), path("back.bin")}).exitCode, 0);
        QCOMPARE(cli("unpack", {QStringLiteral(NORVIK_TEST_DATA "/demo.dat"), path("demo.bin")}).exitCode, 0);
        QCOMPARE(readFile(path("back.bin")), readFile(path("demo.bin")));

        QVERIFY(writeFile(path("bad.csv"), demo.rawOut + "9,146,,D999N,,,,,,,,,,,,,,\n"));
        const Run bad = cli("import-csv", {path("bad.csv"), path("blank.dat"), path("never.dat")});
        QCOMPARE(bad.exitCode, 2);
        QCOMPARE(bad.err, path("bad.csv") + QStringLiteral(":8: Decode \"D999N\" is not a tone. Use None, a CTCSS "
                                                           "tone such as 67.0 or a DCS code such as D023N.\n"));
        QVERIFY(!QFile::exists(path("never.dat")));
    }

    // Exit 0 when equal, 1 when different, each difference by name; the first file's value first.
    void diffListsWhatDiffersByName() {
        RadioImage edited = programmedImage();
        edited.set(0x011, 0x60); // channel 1 receives on 146.00000
        edited.set(0x012, 0x00);
        edited.set(0x005, 0x42); // a byte no window shows
        QVERIFY(writeFile(path("edited.bin"), bytesOf(edited)));
        const Run same = cli("diff", {path("prog.dat"), path("prog.dat")});
        QCOMPARE(same.exitCode, 0);
        QCOMPARE(same.out, QStringLiteral("No differences.\n"));
        const Run r = cli("diff", {path("prog.dat"), path("edited.bin")});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QStringLiteral("channel 1: RX Freq, 145.72500 \u2192 146.00000\nbyte 0x0005\n"));
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
        row("missing input", "info absent.dat", 2, QStringLiteral("Cannot read file"));
        row("short image", "pack short.bin s.dat", 2, QStringLiteral("exactly 4096 bytes"));
        row("unwritable target", "new no/such/dir/x.dat", 2, QStringLiteral("Cannot write file"));
        row("diff of one file", "diff prog.dat", 2, QStringLiteral("two images"));
        row("diff with a text file", "diff prog.dat text.txt", 2, QStringLiteral("not a 4096-byte image"));
    }
    void failuresExitWithStatusAndMessage() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, stderrContains);
        QVERIFY(writeFile(path("text.txt"), "Channel list for the club net, not a data file.\n"));
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

    void failedOutputsAreLeftAsTheyWere_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("fileSizeLimit"); // 0: none
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const char* args, int limit, const char* message) {
            QTest::newRow(name) << QString::fromUtf8(args).split(QLatin1Char(' ')) << limit
                                << QString::fromUtf8(message);
        };
        // A file-size limit below every output: the write fails part way, as on a full disk, and the
        // program lives to say so.
        row("new, disk full", "new old.dat", 100, "Cannot write file old.dat. File too large");
        row("pack, disk full", "pack image.bin old.dat", 100, "Cannot write file old.dat. File too large");
        row("unpack, disk full", "unpack prog.dat old.bin", 1000, "Cannot write file old.bin. File too large");
        row("import-csv, disk full", "import-csv list.csv prog.dat old.dat", 100,
            "Cannot write file old.dat. File too large");
        row("unpack onto its input", "unpack prog.dat ./prog.dat", 0, "both the input and the output");
    }
    void failedOutputsAreLeftAsTheyWere() {
        QFETCH(QStringList, args);
        QFETCH(int, fileSizeLimit);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(QStringLiteral("prog.dat")), readFile(path("prog.dat"))));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("image.bin")), randomImage(7)));
        // Small enough for their backups to pass the file-size limit: the save itself is what fails.
        QVERIFY(writeFile(dir.filePath(QStringLiteral("old.dat")), randomImage(8).left(60)));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("old.bin")), randomImage(10).left(60)));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("list.csv")),
                          cli("channels", {path("prog.dat"), QStringLiteral("--csv")}).rawOut));
        const auto snapshot = [&] {
            QStringList state;
            for (const QFileInfo& i :
                 QDir(dir.path()).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
                state << i.fileName() + QLatin1Char(' ') +
                             (i.isFile() ? QString::fromLatin1(readFile(i.filePath()).toHex())
                                         : QStringLiteral("special"));
            return state;
        };
        const QStringList before = snapshot();
        RunSetup setup{{}, dir.path(), fileSizeLimit > 0 ? rlim_t(fileSizeLimit) : RLIM_INFINITY};
        const Run r = runCli(args, setup);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QCOMPARE(snapshot(), before);
    }

    // "-" reads standard input and writes standard output: a data file, but for the raw side of
    // unpack and pack and where --raw asks for the image bytes.
    void dashIsStandardInputAndOutput() {
        const QByteArray raw = bytesOf(programmedImage()), file = packed(programmedImage());
        const QByteArray csv = "CH,RX Freq\n3,146\n";
        QVERIFY(writeFile(path("list.csv"), csv));
        QCOMPARE(cli("new", {path("blank.dat")}).exitCode, 0);
        const QString dash = QStringLiteral("-");
        struct Case {
            QStringList args;
            QByteArray input, output;
        };
        const std::vector<Case> cases = {
            {{QStringLiteral("unpack"), dash, dash}, file, raw},
            {{QStringLiteral("pack"), dash, dash}, raw, file},
            {{QStringLiteral("new"), dash}, {}, readFile(path("blank.dat"))},
            {{QStringLiteral("import-csv"), path("list.csv"), dash, dash}, file, {}},
            {{QStringLiteral("import-csv"), QStringLiteral("--raw"), path("list.csv"), dash, dash}, raw, {}},
        };
        for (const Case& c : cases) {
            const Run r = runCli(QStringList{c.args}, {c.input, {}, RLIM_INFINITY});
            QCOMPARE(r.exitCode, 0);
            QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
            if (!c.output.isEmpty())
                QCOMPARE(r.rawOut, c.output);
            // What came out reads back in as the command's input format said.
            const bool rawOut = c.args.contains(QStringLiteral("--raw")) || c.args[0] == QLatin1String("unpack");
            const Run back =
                rawOut ? runCli({QStringLiteral("pack"), dash, path("back.dat")}, {r.rawOut, {}, RLIM_INFINITY})
                       : runCli({QStringLiteral("info"), dash}, {r.rawOut, {}, RLIM_INFINITY});
            QVERIFY2(back.exitCode == 0, qPrintable(c.args.join(QLatin1Char(' ')) + back.err));
        }
        const Run info =
            runCli({QStringLiteral("info"), dash},
                   {runCli({QStringLiteral("import-csv"), path("list.csv"), path("blank.dat"), dash}).rawOut,
                    {},
                    RLIM_INFINITY});
        QVERIFY2(info.out.contains(QStringLiteral("Channels in use:  1 of 128")), qPrintable(info.out + info.err));
    }

    // Names and the message of a hostile file are shown, never obeyed: no control byte reaches the
    // terminal.
    void controlBytesAreShownEscaped() {
        RadioImage img = programmedImage();
        const char name[] = "\x1B]0;X\x07";
        for (int i = 0; i < 7; ++i)
            img.set(0x8C0 + i, static_cast<std::uint8_t>(name[i]));
        const char message[] = "\x1B[2J\x9B"
                               "31mHI";
        for (int i = 0; i < 9; ++i)
            img.set(0xD10 + i, static_cast<std::uint8_t>(message[i]));
        QVERIFY(writeFile(path("hostile.dat"), packed(img)));
        for (const char* command : {"channels", "info"}) {
            const Run r = cli(command, {path("hostile.dat")});
            QCOMPARE(r.exitCode, 0);
            QVERIFY2(!r.rawOut.contains('\x1B') && !r.rawOut.contains('\x07') && !r.rawOut.contains("\xC2\x9B"),
                     command);
            QVERIFY2(r.out.contains(QStringLiteral("\\x1B")), qPrintable(r.out));
        }
    }

    void fileNamesAreTakenAsTheyCome() {
        QTemporaryDir dir;
        const RunSetup here{{}, dir.path(), RLIM_INFINITY};
        // A name starting with a dash after "--", and one that is not valid UTF-8 (GBK "测试"),
        // which the test cannot even pass as a QString: a shell makes its bytes.
        QCOMPARE(runCli({QStringLiteral("new"), QStringLiteral("-x.dat")}, here).exitCode, 1);
        QCOMPARE(runCli({QStringLiteral("new"), QStringLiteral("--"), QStringLiteral("-x.dat")}, here).exitCode, 0);
        QProcess sh;
        sh.setWorkingDirectory(dir.path());
        sh.start(QStringLiteral("/bin/sh"),
                 {QStringLiteral("-c"),
                  QStringLiteral("n=$(printf '\\262\\342\\312\\324.dat') && \"$0\" unpack -- -x.dat \"$n.bin\" &&"
                                 " \"$0\" pack \"$n.bin\" \"$n\" && \"$0\" info \"$n\""),
                  QStringLiteral(NORVIK_CLI)});
        QVERIFY(sh.waitForFinished(60000));
        QCOMPARE(sh.exitCode(), 0);
        QVERIFY(sh.readAllStandardOutput().startsWith("Channels in use:  0 of 128"));
        std::ifstream in(std::filesystem::path(dir.path().toStdString()) / "\xB2\xE2\xCA\xD4.dat", std::ios::binary);
        QCOMPARE(QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(in), {})),
                 readFile(dir.filePath(QStringLiteral("-x.dat"))));
        std::filesystem::remove_all(dir.path().toStdString()); // QTemporaryDir cannot name those files
    }
};

QTEST_GUILESS_MAIN(CliFiles)
#include "test_cli_files.moc"
