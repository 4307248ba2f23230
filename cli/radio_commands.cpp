// The commands that talk to a radio: read, write, their service forms and the port list.
#include <QEventLoop>
#include <QSocketNotifier>
#include <cstdio>
#include <functional>
#include <optional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#endif

#include "cli/commands.h"
#include "cli/file_args.h"
#include "cli/many_ports.h"
#include "cli/options.h"
#include "cli/simulate_command.h"
#include "cli/transfer_console.h"
#include "core/image/defaults.h"
#include "core/image/number_format.h"
#include "core/strings/string_ids.h"
#include "io/history_file.h"
#include "io/path_text.h"
#include "transport/clone_runner.h"
#include "transport/serial_link.h"
#include "transport/serial_ports.h"
#include "transport/transfer_record.h"
#include <QElapsedTimer>

namespace norvik::cli {
namespace {

// read, write and their service forms: one file, at least one --port; the counts checked.
Syntax transferSyntax(const char* name, const char* usage, bool service, std::function<void()> help) {
    Syntax syntax{name, QLatin1String(usage), std::move(help)};
    syntax.values = {QStringLiteral("--port"), QStringLiteral("--retries")};
    syntax.counting = {{QStringLiteral("--retries"), 0}};
    if (!service) {
        syntax.values << QStringLiteral("--jobs");
        syntax.counting.emplace_back(QStringLiteral("--jobs"), 1);
    }
    syntax.positionals = 1;
    syntax.countProblem = Syntax::CountProblem::UsageOnly;
    syntax.required = {QStringLiteral("--port")};
    return syntax;
}

// What the history needs of a transfer besides its session: how long it took and what the line
// or the port said when it failed.
struct TransferTrace {
    QElapsedTimer clock;
    QString openError;
    QString linkError;
};

// Appends the transfer to the history; a line that cannot be written is said on stderr, and the
// command's own result stands.
void recordHistory(const char* operation, const QString& port, const Arg& file, const PortOutcome& outcome) {
    QString dataFile = file.text;
    if (!file.isStdStream())
        dataFile = QString::fromStdString(io::displayName(std::filesystem::absolute(file.path)));
    const QString problem =
        recordTransfer(historyEntry(QLatin1String(operation), port, dataFile, outcome), cliLanguage());
    if (!problem.isEmpty())
        printErr(problem);
}

void recordHistory(const char* operation, const QString& port, const Arg& file, const CloneRunner& runner,
                   CloneOutcome outcome, const RadioImage& sent, const TransferTrace& trace, Language lang) {
    PortOutcome o =
        sessionOutcome(runner.session(), outcome, sent, trace.clock.isValid() ? trace.clock.nsecsElapsed() / 1e9 : 0,
                       trace.linkError, lang, runner.backupPath());
    if (!trace.openError.isEmpty())
        o.reason = trace.openError;
    if (runner.backupFailed()) {
        o.ok = false;
        o.cancelled = false;
        o.reason = runner.backupFailure();
    }
    recordHistory(operation, port, file, o);
}

// Runs one transfer to its end and returns its outcome (Failed when the port would not open).
CloneOutcome runTransfer(CloneRunner& runner, CloneMode mode, const RadioImage& image, TransferConsole& console,
                         int retries, const std::function<void(CloneRunner&)>& onIdentificationWarning,
                         TransferTrace& trace, bool serviceLink = false, bool verify = false,
                         const CloneRunner::RadioBackup* backup = nullptr) {
    QEventLoop loop;
    CloneOutcome outcome = CloneOutcome::Failed;
    trace.clock.start();
    QObject::connect(&runner, &CloneRunner::openFailed, &loop, [&](const QString& message) {
        printErr(message);
        trace.openError = message;
        loop.quit();
    });
    QObject::connect(&runner, &CloneRunner::linkError, &loop, [&](const QString& message) {
        console.endBar();
        printErr(message);
        if (trace.linkError.isEmpty())
            trace.linkError = message;
    });
    QObject::connect(&runner, &CloneRunner::question, &loop, [&](CloneQuestion q, const QString&) {
        if (q == CloneQuestion::IdentificationChanged) {
            onIdentificationWarning(runner);
            return;
        }
        runner.answer(retries-- > 0);
    });
    QObject::connect(&runner, &CloneRunner::done, &loop, [&](CloneOutcome o) {
        outcome = o;
        loop.quit();
    });
    const bool started = serviceLink ? runner.startLink(mode, image, verify)
                         : backup    ? runner.startBackedUpWrite(image, verify, *backup)
                                     : runner.start(mode, image, verify);
    if (!started)
        return CloneOutcome::Failed;
    loop.exec();
    console.endBar();
    return outcome;
}

std::optional<CloneRunner::RadioBackup> radioBackup(const Options& o, const QString& device) {
    std::filesystem::path folder = backupFolderOf(o);
    if (folder.empty())
        return std::nullopt;
    return CloneRunner::RadioBackup{std::move(folder), device};
}

QString resolvePortOrComplain(const QString& port, Language lang) {
    SystemPortEnumerator system;
    const QString device = resolvePort(port, system);
    if (device.isEmpty())
        printErr(cliText(ids::PortNotFound, lang).arg(port));
    return device;
}

constexpr const char* kReadUsage =
    "norvik-r7-cli read --port PORT [--retries N] OUT\n"
    "       norvik-r7-cli read --port PORT --port PORT... [--jobs N] [--retries N] FOLDER";
constexpr const char* kWriteUsage =
    "norvik-r7-cli write --port PORT [--port PORT...] [--jobs N] [--yes] [--retries N]\n"
    "       [--verify | --no-verify] [--backup-dir DIR | --no-backup] IN";
// What read and write say about several ports.
constexpr const char* kManyPortsHelp =
    "\nWith several --port options every port has its own transfer, all at the same time (at\n"
    "most N with --jobs N), and standard output gets one line per port as it ends:\n"
    "  PORT: written in 11.2 s    PORT: read in 17.6 s    PORT: failed: REASON\n"
    "A failure on one port never stops the others; the exit status is 2 when any failed.\n"
    "On a terminal, standard error shows every port's progress, a line a second at most.\n";
// What write says about reading the radio back.
constexpr const char* kVerifyHelp =
    "\nAfter writing, rows 0..239 are read back and compared with the file (--verify, the\n"
    "default; one more read of 240 rows); --no-verify skips it. What differs is listed by\n"
    "channel and setting. Exit status 3: the write went through but the radio holds something\n"
    "else. With several ports each line ends in \", verified\" or \", not verified: WHAT\".\n";
// What write says about the backup it keeps first.
constexpr const char* kBackupHelp =
    "\nBefore writing, the whole radio (rows 0..255) is read once more and kept as a data file\n"
    "under the backups folder (one folder a day in the application data folder, or DIR with\n"
    "--backup-dir DIR); its path is printed. Writing that file puts the radio back as it was.\n"
    "When the backup cannot be read or kept nothing is written. --no-backup skips it.\n"
    "With several ports each line ends in \", backed up to PATH\".\n";
constexpr const char* kServiceReadUsage = "norvik-r7-cli service-read --port PORT [--retries N] OUT";
constexpr const char* kServiceWriteUsage =
    "norvik-r7-cli service-write --port PORT [--yes] [--retries N] [--verify | --no-verify] IN";
// What service-write says about reading the radio back.
constexpr const char* kServiceVerifyHelp =
    "\nAfter writing, the service rows are read back and compared with the file (--verify, the\n"
    "default; one more read of 16 rows); --no-verify skips it. Each row that differs is named\n"
    "(row 243 (0x0F30-0x0F3F)). Exit status 3: the write went through but the radio holds\n"
    "something else.\n";
constexpr const char* kPortsUsage = "norvik-r7-cli ports [--check]";

// read and service-read: the whole memory into a new file, or the service rows into a file that
// keeps everything else.
int readCommand(const Args& args, bool service) {
    const char* usage = service ? kServiceReadUsage : kReadUsage;
    const auto help = [service, usage] {
        std::printf("usage: %s\n\n%s\nPORT is a number 1..20 (see 'ports') or a device path.\n", usage,
                    service ? "Reads the service rows 240..255 and the identification byte 0x0D06 from the\n"
                              "radio into OUT; every other byte of an existing OUT stays as it was, a new\n"
                              "OUT starts from the new-image defaults."
                            : "Reads rows 0..255 from the radio and saves them exactly as read.");
        if (!service)
            std::printf("%sEach port's image goes into FOLDER as a data file named after its device\n"
                        "(/dev/ttyUSB0 gives ttyUSB0.dat).\n",
                        kManyPortsHelp);
        std::fputs(kFileNameHelp, stdout);
    };
    Options o;
    if (const std::optional<int> stop =
            parseCommand(transferSyntax(service ? "service-read" : "read", usage, service, help), args, o))
        return *stop;
    if (!service && o.all(QStringLiteral("--port")).size() > 1)
        return runManyPorts(CloneMode::Read, o, kReadUsage);
    const int retries = o.number(QStringLiteral("--retries"), 0);
    const Language lang = o.lang;
    const Arg& out = o.positional.front();
    if (!canSave(out, formatOf(out), lang))
        return kExitFailed; // before the radio is touched: a read with nowhere to go is lost
    RadioImage image;
    if (service) {
        std::error_code ec;
        if (!out.isStdStream() && std::filesystem::exists(out.path, ec)) {
            std::optional<RadioImage> loaded = loadImage(out, formatOf(out), lang);
            if (!loaded)
                return kExitFailed;
            image = *loaded;
        } else {
            writeNewImageDefaults(image, BandLimits());
        }
    }
    const char* operation = service ? "service-read" : "read";
    const QString port = o.values[QStringLiteral("--port")];
    const QString device = resolvePortOrComplain(port, lang);
    if (device.isEmpty()) {
        recordHistory(operation, port, out, PortOutcome::failed(cliText(ids::PortNotFound, lang).arg(port)));
        return kExitFailed;
    }

    SerialLink link(device);
    CloneRunner runner(link, lang);
    TransferConsole console(runner, cliText(ids::ReadFromRadioQuestion, lang), lang);
    TransferTrace trace;
    const CloneOutcome outcome = runTransfer(
        runner, CloneMode::Read, image, console, retries, [](CloneRunner&) {}, trace, service);
    if (outcome != CloneOutcome::Completed) {
        recordHistory(operation, port, out, runner, outcome, image, trace, lang);
        if (runner.session().log().empty())
            return kExitFailed; // the port did not open; its message is out already
        console.reportFailure();
        return kExitFailed;
    }
    const RadioImage sent = image;
    if (service)
        takeLinkRead(runner.session().image(), image);
    const bool saved = saveImage(out, service ? image : runner.session().image(), formatOf(out), lang);
    // A read whose file could not be saved has brought nothing the user keeps.
    if (saved) {
        recordHistory(operation, port, out, runner, outcome, sent, trace, lang);
    } else {
        PortOutcome failed =
            PortOutcome::failed(cliText(ids::CannotWriteFile, lang).arg(out.text), trace.clock.nsecsElapsed() / 1e9);
        failed.identification = QString::fromStdString(hexText(runner.session().radioIdentification()));
        recordHistory(operation, port, out, failed);
    }
    return saved ? kExitOk : kExitFailed;
}

int runRead(const Args& args) {
    return readCommand(args, false);
}

int runServiceRead(const Args& args) {
    return readCommand(args, true);
}

// What reading a write back found, on a terminal, where only a progress bar was shown: verified,
// the differences one per line (exit 3), or that the read-back failed.
int reportVerification(const CloneSession& session, TransferConsole& console, Language lang) {
    switch (session.verification()) {
    case Verification::NotAsked:
        return kExitOk;
    case Verification::Verified:
        if (console.isTerminal())
            printErr(cliText(ids::Verified, lang));
        return kExitOk;
    case Verification::NotChecked:
        console.reportFailure();
        if (console.isTerminal())
            printErr(cliText(ids::LogNotChecked, lang));
        return kExitFailed;
    case Verification::Differs:
        break;
    }
    // Without a terminal the log has said it all.
    if (console.isTerminal()) {
        printErr(cliText(ids::LogNotVerified, lang));
        for (const std::string& line : session.differenceLines())
            printErr(QStringLiteral("  ") + QString::fromStdString(line));
    }
    return kExitDiffers;
}

// write and service-write: rows 0..239, or the service rows 240..255 only.
int writeCommand(const Args& args, bool service) {
    const char* usage = service ? kServiceWriteUsage : kWriteUsage;
    const auto help = [service, usage] {
        std::printf("usage: %s\n\nWrites %s of the image to the radio. When the radio's frequency\n"
                    "range differs from the image's, the write asks on a terminal and otherwise\n"
                    "stops, unless --yes is given.%s\n",
                    usage, service ? "the service rows 240..255" : "rows 0..239",
                    service ? "\nA block the radio keeps refusing is sent at most six times." : "");
        if (service)
            std::fputs(kServiceVerifyHelp, stdout);
        else
            std::printf("%s%s%sWith several ports nothing is asked: a radio whose range differs is written only\n"
                        "with --yes.\n",
                        kVerifyHelp, kBackupHelp, kManyPortsHelp);
        std::fputs(kFileNameHelp, stdout);
    };
    Syntax syntax = transferSyntax(service ? "service-write" : "write", usage, service, help);
    syntax.flags = {QStringLiteral("--yes"), QStringLiteral("--verify"), QStringLiteral("--no-verify")};
    syntax.excluding = {{QStringLiteral("--verify"), QStringLiteral("--no-verify")}};
    if (!service) {
        syntax.values << QStringLiteral("--backup-dir");
        syntax.flags << QStringLiteral("--no-backup");
        syntax.excluding.emplace_back(QStringLiteral("--backup-dir"), QStringLiteral("--no-backup"));
    }
    Options o;
    if (const std::optional<int> stop = parseCommand(syntax, args, o))
        return *stop;
    const bool verify = !o.has(QStringLiteral("--no-verify"));
    if (!service && o.all(QStringLiteral("--port")).size() > 1)
        return runManyPorts(CloneMode::Write, o, kWriteUsage);
    const int retries = o.number(QStringLiteral("--retries"), 0);
    const Language lang = o.lang;
    const Arg& in = o.positional.front();
    std::optional<RadioImage> loaded = loadImage(in, formatOf(in), lang);
    if (!loaded)
        return kExitFailed;
    RadioImage image = *loaded;
    const char* operation = service ? "service-write" : "write";
    const QString port = o.values[QStringLiteral("--port")];
    const QString device = resolvePortOrComplain(port, lang);
    if (device.isEmpty()) {
        recordHistory(operation, port, in, PortOutcome::failed(cliText(ids::PortNotFound, lang).arg(port)));
        return kExitFailed;
    }

    SerialLink link(device);
    CloneRunner runner(link, lang);
    TransferConsole console(runner, cliText(ids::WriteToRadioCaption, lang), lang);
    const bool yes = o.has(QStringLiteral("--yes"));
    std::unique_ptr<QSocketNotifier> stdinNotifier;
    const auto askIdentification = [&](CloneRunner& r) {
        console.endBar();
        const QString warning = cliText(ids::FrequencyRangeChanged, lang);
        if (yes) {
            printErr(warning);
            r.answer(true);
            return;
        }
        if (!isatty(0)) {
            printErr(warning);
            r.answer(false);
            return;
        }
        std::fprintf(stderr, "%s [y/N] ", warning.toLocal8Bit().constData());
        std::fflush(stderr);
        // Read the answer when it comes, without holding up the event loop.
        stdinNotifier = std::make_unique<QSocketNotifier>(0, QSocketNotifier::Read);
        QObject::connect(stdinNotifier.get(), &QSocketNotifier::activated, &runner, [&r, &stdinNotifier] {
            char buf[64] = {};
            const auto n = ::read(0, buf, sizeof buf - 1);
            stdinNotifier->setEnabled(false);
            const bool ok = n > 0 && (buf[0] == 'y' || buf[0] == 'Y');
            QMetaObject::invokeMethod(
                &r, [&r, ok] { r.answer(ok); }, Qt::QueuedConnection);
        });
    };
    const std::optional<CloneRunner::RadioBackup> backup = service ? std::nullopt : radioBackup(o, device);
    TransferTrace trace;
    const CloneOutcome outcome = runTransfer(runner, CloneMode::Write, image, console, retries, askIdentification,
                                             trace, service, verify, backup ? &*backup : nullptr);
    recordHistory(operation, port, in, runner, outcome, image, trace, lang);
    if (runner.backupFailed()) {
        printErr(runner.backupFailure());
        return kExitFailed;
    }
    if (!runner.backupPath().isEmpty())
        printLine(cliText(ids::BackupKept, lang).arg(runner.backupPath()));
    if (outcome == CloneOutcome::Completed)
        return reportVerification(runner.session(), console, lang);
    if (runner.session().log().empty())
        return kExitFailed;
    if (outcome == CloneOutcome::Cancelled) {
        if (console.isTerminal())
            printErr(cliText(ids::WritingCancelled, lang));
        return kExitFailed;
    }
    console.reportFailure();
    return kExitFailed;
}

int runWrite(const Args& args) {
    return writeCommand(args, false);
}

int runServiceWrite(const Args& args) {
    return writeCommand(args, true);
}

int runPorts(const Args& args) {
    Syntax syntax{"ports", QLatin1String(kPortsUsage), [] {
                      std::printf("usage: %s\n\nLists the port numbers 1..20 and the device behind each. --check also "
                                  "opens\neach port at 19200 bit/s and sends \"ATI1\" to see whether it can be used.\n",
                                  kPortsUsage);
                  }};
    syntax.flags = {QStringLiteral("--check")};
    syntax.countProblem = Syntax::CountProblem::UnexpectedArgument;
    Options o;
    if (const std::optional<int> stop = parseCommand(syntax, args, o))
        return *stop;
    const Language lang = o.lang;
    SystemPortEnumerator system;
    PortProbe probe(system);
    const bool check = o.has(QStringLiteral("--check"));
    if (check) {
        QEventLoop loop;
        QObject::connect(&probe, &PortProbe::finished, &loop, &QEventLoop::quit);
        probe.start();
        loop.exec();
    }
    const QString stem = cliText(ids::ComPortStem, lang);
    for (int i = 0; i < kPortCount; ++i) {
        const NumberedPort& p = probe.ports()[i];
        QString line = QStringLiteral("%1%2").arg(stem).arg(p.number).leftJustified(8);
        line += (p.device.isEmpty() ? QStringLiteral("-") : p.device).leftJustified(22);
        if (check && !p.device.isEmpty())
            line += (probe.usable()[i] ? QStringLiteral("ok") : QStringLiteral("unavailable")).leftJustified(13);
        line += p.description;
        std::printf("%s\n", line.trimmed().toLocal8Bit().constData());
    }
    return kExitOk;
}

constexpr const char* kHistoryUsage = "norvik-r7-cli history [--csv]";

int runHistory(const Args& args) {
    Syntax syntax{"history", QLatin1String(kHistoryUsage), [] {
                      std::printf(
                          "usage: %s\n\nPrints the transfer history, oldest first: one line per read or write of\n"
                          "a radio (this tool's and the window's), with its time, operation, port, the\n"
                          "radio's identification, the checksum of the rows sent or received, the result\n"
                          "(verified, differs, failed: REASON, cancelled, completed), the time it took,\n"
                          "the data file and the backup taken before a write. --csv prints it as a CSV\n"
                          "file with a header row.\n",
                          kHistoryUsage);
                  }};
    syntax.flags = {QStringLiteral("--csv")};
    syntax.countProblem = Syntax::CountProblem::UnexpectedArgument;
    Options o;
    if (const std::optional<int> stop = parseCommand(syntax, args, o))
        return *stop;
    const std::filesystem::path file = historyFilePath();
    io::FileProblem problem;
    const std::vector<HistoryEntry> entries = io::readHistory(file, problem);
    if (problem) {
        printErr(cliText(ids::HistoryNotRead, o.lang)
                     .arg(QString::fromStdString(io::displayName(file)),
                          QString::fromStdString(io::reasonText(problem, o.lang))));
        return kExitFailed;
    }
    if (o.has(QStringLiteral("--csv"))) {
        std::fputs(historyCsv(entries).c_str(), stdout);
        return kExitOk;
    }
    // Columns as wide as their longest entry; the file and the backup, of any length, come last.
    std::vector<std::vector<QString>> rows;
    for (const HistoryEntry& e : entries) {
        rows.push_back(
            {QString::fromStdString(e.time), QString::fromStdString(e.operation), QString::fromStdString(e.port),
             QString::fromStdString(e.identification.empty() ? "-" : e.identification),
             QString::fromStdString(e.checksum.empty() ? "-" : e.checksum),
             QString::number(e.seconds, 'f', 1) + QStringLiteral(" s"), QString::fromStdString(historyResult(e)),
             QString::fromStdString(e.dataFile), QString::fromStdString(e.backupPath)});
    }
    constexpr std::size_t kAligned = 6;
    std::vector<qsizetype> widths(kAligned, 0);
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < kAligned; ++i)
            widths[i] = std::max(widths[i], row[i].size());
    }
    for (const auto& row : rows) {
        QString line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (row[i].isEmpty())
                continue;
            line += (i < kAligned ? row[i].leftJustified(widths[i]) : row[i]) + QStringLiteral("  ");
        }
        std::printf("%s\n", visibleText(line.trimmed()).toLocal8Bit().constData());
    }
    return kExitOk;
}

constexpr Command kRadioCommands[] = {
    {"read", "read the radio's memory into an image file", &runRead},
    {"write", "write an image file to the radio", &runWrite},
    {"service-read", "read the radio's service rows into an image file", &runServiceRead},
    {"service-write", "write an image file's service rows to the radio", &runServiceWrite},
    {"simulate", "run a simulated radio on a pseudo-terminal", &runSimulate},
    {"ports", "list the port numbers and their devices", &runPorts},
    {"history", "print the transfer history", &runHistory},
};

} // namespace

std::span<const Command> radioCommands() {
    return kRadioCommands;
}

} // namespace norvik::cli
