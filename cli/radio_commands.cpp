// The commands that talk to a radio: read, write, the simulated radio and the port list.
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTextStream>
#include <cstdio>
#include <fstream>
#include <optional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#endif

#include "cli/commands.h"
#include "cli/image_files.h"
#include "cli/many_ports.h"
#include "cli/options.h"
#include "core/clone/clone_failure.h"
#include "core/image/defaults.h"
#include "core/strings/string_ids.h"
#include "transport/clone_runner.h"
#include "transport/pty_simulator.h"
#include "transport/serial_link.h"
#include "transport/serial_ports.h"

namespace norvik::cli {
namespace {

bool parseAddress(const QString& text, int& out) {
    bool ok = false;
    const int a = text.toInt(&ok, 0);
    if (!ok || a < 0 || a >= kImageSize)
        return false;
    out = a;
    return true;
}

bool parseHex(const QString& text, std::vector<std::uint8_t>& out) {
    QString digits = text;
    digits.remove(QLatin1Char(' ')).remove(QLatin1Char(':'));
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        digits = digits.mid(2);
    if (digits.size() % 2 != 0)
        return false;
    out.clear();
    for (int i = 0; i < digits.size(); i += 2) {
        bool ok = false;
        out.push_back(static_cast<std::uint8_t>(digits.mid(i, 2).toUInt(&ok, 16)));
        if (!ok)
            return false;
    }
    return true;
}

// The arguments read and write share: a port, one file, and a retry count when one is given.
// Empty when they are there; a problem to name (or an empty one for the usage alone) otherwise.
std::optional<QString> portAndOneFileProblem(const Options& o, int& retries) {
    if (!o.values.contains(QStringLiteral("--port")) || o.positional.size() != 1)
        return QString();
    const QString option = QStringLiteral("--retries");
    if (o.values.contains(option) && (retries = wholeNumber(o.values[option], 0)) < 0)
        return numberProblem(option, o.values[option], 0);
    return std::nullopt;
}

// Shows a transfer on stderr: a progress bar on a terminal, the Transfer Log lines otherwise.
class TransferConsole : public QObject {
public:
    TransferConsole(CloneRunner& runner, const QString& title, Language lang)
        : m_runner(runner), m_title(title), m_lang(lang), m_tty(isatty(2)) {
        connect(&runner, &CloneRunner::logReset, this, [this] { m_log.clear(); });
        connect(&runner, &CloneRunner::logLine, this, [this](const QString& line) {
            m_log.append(line);
            if (!m_tty)
                printErr(line);
        });
        connect(&runner, &CloneRunner::progress, this, [this](int value, int maximum) {
            if (!m_tty)
                return;
            // The write's bar stays at 100% on its line; the read-back gets a bar of its own.
            if (m_runner.session().verifying() && !m_verifyBar) {
                m_verifyBar = true;
                endBar();
                m_title = cliText(ids::StatusVerifying, m_lang);
            }
            drawBar(value, maximum);
        });
    }

    void endBar() {
        if (m_tty && m_barShown) {
            std::fputc('\n', stderr);
            m_barShown = false;
        }
    }
    const QStringList& log() const { return m_log; }
    bool isTerminal() const { return m_tty; }

    // On a terminal the log was not shown: give its error line now. Then what went wrong, as the
    // several-ports line says it: a refused block at its address is no silent radio.
    void reportFailure() {
        endBar();
        const QString refused = cliText(ids::LinkRefused, m_lang).arg(clone::kLinkRepeatLimit + 1);
        if (m_log.contains(refused)) {
            if (m_tty)
                printErr(refused);
            return;
        }
        const QString errorLine = cliText(ids::LogTimeout, m_lang);
        if (m_tty && m_log.contains(errorLine))
            printErr(errorLine);
        const CloneSession& session = m_runner.session();
        if (session.isLink()) {
            printErr(cliText(ids::RadioDidNotAnswer, m_lang));
            return;
        }
        // A read-back that failed is a read.
        const CloneMode mode = session.verifying() ? CloneMode::Read : session.mode();
        printErr(QString::fromStdString(cloneFailureMessage(mode, session.lastFailure(), m_lang)));
    }

private:
    void drawBar(int value, int maximum) {
        constexpr int width = 40;
        const int filled = maximum > 0 ? value * width / maximum : 0;
        const QString bar = QString(filled, QLatin1Char('#')) + QString(width - filled, QLatin1Char('.'));
        const QString line = QStringLiteral("\r%1 [%2] %3%").arg(m_title, bar).arg(clonePercent(value, maximum), 3);
        std::fputs(line.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        m_barShown = true;
    }

    CloneRunner& m_runner;
    QString m_title;
    Language m_lang;
    bool m_tty;
    bool m_barShown = false;
    bool m_verifyBar = false;
    QStringList m_log;
};

// Runs one transfer to its end and returns its outcome (Failed when the port would not open).
CloneOutcome runTransfer(CloneRunner& runner, CloneMode mode, const RadioImage& image, TransferConsole& console,
                         int retries, const std::function<void(CloneRunner&)>& onIdentificationWarning,
                         bool serviceLink = false, bool verify = false) {
    QEventLoop loop;
    CloneOutcome outcome = CloneOutcome::Failed;
    QObject::connect(&runner, &CloneRunner::openFailed, &loop, [&](const QString& message) {
        printErr(message);
        loop.quit();
    });
    QObject::connect(&runner, &CloneRunner::linkError, &loop, [&](const QString& message) {
        console.endBar();
        printErr(message);
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
    if (!(serviceLink ? runner.startLink(mode, image, verify) : runner.start(mode, image, verify)))
        return CloneOutcome::Failed;
    loop.exec();
    console.endBar();
    return outcome;
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
    "       [--verify | --no-verify] IN";
// What read and write say about several ports.
constexpr const char* kManyPortsHelp =
    "\nWith several --port options every port has its own transfer, all at the same time (at\n"
    "most N with --jobs N), and standard output gets one line per port as it ends:\n"
    "  PORT: written in 11.2 s    PORT: read in 17.6 s    PORT: failed: REASON\n"
    "A failure on one port never stops the others; the exit status is 2 when any failed.\n";
// What write says about reading the radio back.
constexpr const char* kVerifyHelp =
    "\nAfter writing, rows 0..239 are read back and compared with the file (--verify, the\n"
    "default; one more read of 240 rows); --no-verify skips it. What differs is listed by\n"
    "channel and setting. Exit status 3: the write went through but the radio holds something\n"
    "else. With several ports each line ends in \", verified\" or \", not verified: WHAT\".\n";
constexpr const char* kServiceReadUsage = "norvik-r7-cli service-read --port PORT [--retries N] OUT";
constexpr const char* kServiceWriteUsage =
    "norvik-r7-cli service-write --port PORT [--yes] [--retries N] [--verify | --no-verify] IN";
// What service-write says about reading the radio back.
constexpr const char* kServiceVerifyHelp =
    "\nAfter writing, the service rows are read back and compared with the file (--verify, the\n"
    "default; one more read of 16 rows); --no-verify skips it. Each row that differs is named\n"
    "(row 243 (0x0F30-0x0F3F)). Exit status 3: the write went through but the radio holds\n"
    "something else.\n";
constexpr const char* kSimulateUsage =
    "norvik-r7-cli simulate [--image IN] [--save-on-exit OUT] [--log FILE] [--pace]\n"
    "       [--junk HEX] [--silent-at ADDR] [--short-reply-at ADDR] [--long-reply-at ADDR]\n"
    "       [--refuse-write-at ADDR] [--drop-write-at ADDR] [--ident HEX] [--dead-from ADDR]\n"
    "       [--fault-once]";
constexpr const char* kPortsUsage = "norvik-r7-cli ports [--check]";

// read and service-read: the whole memory into a new file, or the service rows into a file that
// keeps everything else.
int readCommand(const Args& args, bool service) {
    const char* name = service ? "service-read" : "read";
    const QString usage = QLatin1String(service ? kServiceReadUsage : kReadUsage);
    QSet<QString> valueNames{QStringLiteral("--port"), QStringLiteral("--retries")};
    if (!service)
        valueNames << QStringLiteral("--jobs");
    const Options o(args, valueNames, {});
    if (o.help) {
        std::printf("usage: %s\n\n%s\nPORT is a number 1..20 (see 'ports') or a device path.\n", qPrintable(usage),
                    service ? "Reads the service rows 240..255 and the identification byte 0x0D06 from the\n"
                              "radio into OUT; every other byte of an existing OUT stays as it was, a new\n"
                              "OUT starts from the new-image defaults."
                            : "Reads rows 0..255 from the radio and saves them exactly as read.");
        if (!service)
            std::printf("%sEach port's image goes into FOLDER as a data file named after its device\n"
                        "(/dev/ttyUSB0 gives ttyUSB0.dat).\n",
                        kManyPortsHelp);
        std::fputs(kFileNameHelp, stdout);
        return kExitOk;
    }
    if (!o.error.isEmpty())
        return usageError(name, usage, o.error);
    if (!service && o.all(QStringLiteral("--port")).size() > 1)
        return runManyPorts(CloneMode::Read, o, kReadUsage);
    int retries = 0;
    if (const std::optional<QString> problem = portAndOneFileProblem(o, retries))
        return usageError(name, usage, *problem);
    const Language lang = cliLanguage();
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
    const QString device = resolvePortOrComplain(o.values[QStringLiteral("--port")], lang);
    if (device.isEmpty())
        return kExitFailed;

    SerialLink link(device);
    CloneRunner runner(link, lang);
    TransferConsole console(runner, cliText(ids::ReadFromRadioQuestion, lang), lang);
    const CloneOutcome outcome = runTransfer(
        runner, CloneMode::Read, image, console, retries, [](CloneRunner&) {}, service);
    if (outcome != CloneOutcome::Completed) {
        if (runner.session().log().empty())
            return kExitFailed; // the port did not open; its message is out already
        console.reportFailure();
        return kExitFailed;
    }
    if (!service)
        return saveImage(out, runner.session().image(), formatOf(out), lang) ? kExitOk : kExitFailed;
    takeLinkRead(runner.session().image(), image);
    return saveImage(out, image, formatOf(out), lang) ? kExitOk : kExitFailed;
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
    const char* name = service ? "service-write" : "write";
    const QString usage = QLatin1String(service ? kServiceWriteUsage : kWriteUsage);
    QSet<QString> valueNames{QStringLiteral("--port"), QStringLiteral("--retries")};
    if (!service)
        valueNames << QStringLiteral("--jobs");
    const QSet<QString> flagNames{QStringLiteral("--yes"), QStringLiteral("--verify"), QStringLiteral("--no-verify")};
    const Options o(args, valueNames, flagNames);
    if (o.help) {
        std::printf("usage: %s\n\nWrites %s of the image to the radio. When the radio's frequency\n"
                    "range differs from the image's, the write asks on a terminal and otherwise\n"
                    "stops, unless --yes is given.%s\n",
                    qPrintable(usage), service ? "the service rows 240..255" : "rows 0..239",
                    service ? "\nA block the radio keeps refusing is sent at most six times." : "");
        if (service)
            std::fputs(kServiceVerifyHelp, stdout);
        else
            std::printf("%s%sWith several ports nothing is asked: a radio whose range differs is written only\n"
                        "with --yes.\n",
                        kVerifyHelp, kManyPortsHelp);
        std::fputs(kFileNameHelp, stdout);
        return kExitOk;
    }
    if (!o.error.isEmpty())
        return usageError(name, usage, o.error);
    if (o.has(QStringLiteral("--verify")) && o.has(QStringLiteral("--no-verify")))
        return usageError(name, usage, QStringLiteral("--verify and --no-verify exclude each other"));
    const bool verify = !o.has(QStringLiteral("--no-verify"));
    if (!service && o.all(QStringLiteral("--port")).size() > 1)
        return runManyPorts(CloneMode::Write, o, kWriteUsage);
    int retries = 0;
    if (const std::optional<QString> problem = portAndOneFileProblem(o, retries))
        return usageError(name, usage, *problem);
    const Language lang = cliLanguage();
    const Arg& in = o.positional.front();
    std::optional<RadioImage> loaded = loadImage(in, formatOf(in), lang);
    if (!loaded)
        return kExitFailed;
    RadioImage image = *loaded;
    const QString device = resolvePortOrComplain(o.values[QStringLiteral("--port")], lang);
    if (device.isEmpty())
        return kExitFailed;

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
    const CloneOutcome outcome =
        runTransfer(runner, CloneMode::Write, image, console, retries, askIdentification, service, verify);
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

#ifdef Q_OS_UNIX
int g_signalPipe[2] = {-1, -1};
void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] auto n = ::write(g_signalPipe[1], &c, 1);
}
#endif

int runSimulate(const Args& args) {
    const QSet<QString> valueNames = {
        QStringLiteral("--image"),         QStringLiteral("--save-on-exit"),    QStringLiteral("--log"),
        QStringLiteral("--junk"),          QStringLiteral("--silent-at"),       QStringLiteral("--short-reply-at"),
        QStringLiteral("--long-reply-at"), QStringLiteral("--refuse-write-at"), QStringLiteral("--ident"),
        QStringLiteral("--dead-from"),     QStringLiteral("--drop-write-at")};
    const Options o(args, valueNames, {QStringLiteral("--pace"), QStringLiteral("--fault-once")});
    if (o.help) {
        std::printf("usage: %s\n\nRuns a simulated radio on a pseudo-terminal until interrupted. The first line\n"
                    "of output is the device path to give to --port. ADDR is a block address such as\n"
                    "0x0A0; HEX is a string of hex digits. --pace spends the line time of 9600 bit/s\n"
                    "on every byte. --drop-write-at acknowledges the write there but keeps the old\n"
                    "row, as a radio whose memory failed would.\n",
                    kSimulateUsage);
        std::fputs(kFileNameHelp, stdout);
        return kExitOk;
    }
    if (!o.error.isEmpty())
        return usageError("simulate", QLatin1String(kSimulateUsage), o.error);
    if (!o.positional.empty())
        return usageError("simulate", QLatin1String(kSimulateUsage),
                          QStringLiteral("unexpected argument %1").arg(o.positional.front().text));
    const Language lang = cliLanguage();

    RadioImage memory;
    if (o.values.contains(QStringLiteral("--image"))) {
        const Arg image = o.file(QStringLiteral("--image"));
        const std::optional<RadioImage> loaded = loadImage(image, formatOf(image), lang);
        if (!loaded)
            return kExitFailed;
        memory = *loaded;
    }
    const bool saveOnExit = o.values.contains(QStringLiteral("--save-on-exit"));
    const Arg saveTo = o.file(QStringLiteral("--save-on-exit"));

    SimulatorFaults faults;
    faults.once = o.has(QStringLiteral("--fault-once"));
    const std::pair<const char*, std::optional<int>*> addressOptions[] = {
        {"--silent-at", &faults.silentAt},        {"--short-reply-at", &faults.shortReplyAt},
        {"--long-reply-at", &faults.longReplyAt}, {"--refuse-write-at", &faults.refuseWriteAt},
        {"--drop-write-at", &faults.dropWriteAt}, {"--dead-from", &faults.deadFrom}};
    for (const auto& [name, field] : addressOptions) {
        const QString key = QLatin1String(name);
        if (!o.values.contains(key))
            continue;
        int a = 0;
        if (!parseAddress(o.values[key], a))
            return usageError("simulate", QLatin1String(kSimulateUsage),
                              QStringLiteral("%1 needs an address 0..0xFFF").arg(key));
        *field = a;
    }
    if (o.values.contains(QStringLiteral("--junk")) &&
        !parseHex(o.values[QStringLiteral("--junk")], faults.junkBeforeHandshakeAck))
        return usageError("simulate", QLatin1String(kSimulateUsage), QStringLiteral("--junk needs hex digits"));
    if (o.values.contains(QStringLiteral("--ident"))) {
        std::vector<std::uint8_t> ident;
        if (!parseHex(o.values[QStringLiteral("--ident")], ident) || ident.size() != kRowSize)
            return usageError("simulate", QLatin1String(kSimulateUsage),
                              QStringLiteral("--ident needs 16 bytes in hex"));
        Row row{};
        std::copy(ident.begin(), ident.end(), row.begin());
        faults.identification = row;
    }

    // A stream, not a document: it may well be a pipe or a terminal, so it is opened as named.
    std::ofstream log;
    const Arg logFile = o.file(QStringLiteral("--log"));
    if (o.values.contains(QStringLiteral("--log"))) {
        log.open(logFile.path, std::ios::out | std::ios::trunc);
        if (!log) {
            printErr(cliText(ids::CannotWriteFile, lang).arg(logFile.text));
            return kExitFailed;
        }
    }

    RadioSimulator radio(memory, faults);
    PtySimulatorHost host(radio, o.has(QStringLiteral("--pace")));
    QString error;
    if (!host.open(&error)) {
        printErr(error);
        return kExitFailed;
    }
    QElapsedTimer clock;
    clock.start();
    if (log.is_open()) {
        QObject::connect(&host.line(), &SimulatedLine::traffic, &host, [&](bool fromRadio, const QByteArray& bytes) {
            if (!log)
                return; // the failure was reported once; the simulated radio goes on
            const QString line = QStringLiteral("%1 %2 %3\n")
                                     .arg(clock.nsecsElapsed() / 1e6, 10, 'f', 3)
                                     .arg(fromRadio ? QLatin1Char('<') : QLatin1Char('>'))
                                     .arg(QString::fromLatin1(bytes.toHex(' ')));
            log << line.toStdString() << std::flush;
            if (!log)
                printErr(cliText(ids::CannotWriteFile, lang).arg(logFile.text));
        });
    }

    QEventLoop loop;
#ifdef Q_OS_UNIX
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) {
        printErr(QStringLiteral("socketpair failed"));
        return kExitFailed;
    }
    QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &loop, [&] {
        char c;
        [[maybe_unused]] auto n = ::read(g_signalPipe[0], &c, 1);
        loop.quit();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaction(sig, &sa, nullptr);
#endif

    std::printf("%s\n", host.devicePath().toLocal8Bit().constData());
    std::fflush(stdout);
    loop.exec();

    if (saveOnExit && !saveImage(saveTo, radio.memory(), formatOf(saveTo), lang))
        return kExitFailed;
    return kExitOk;
}

int runPorts(const Args& args) {
    const Options o(args, {}, {QStringLiteral("--check")});
    if (o.help) {
        std::printf("usage: %s\n\nLists the port numbers 1..20 and the device behind each. --check also opens\n"
                    "each port at 19200 bit/s and sends \"ATI1\" to see whether it can be used.\n",
                    kPortsUsage);
        return kExitOk;
    }
    if (!o.error.isEmpty())
        return usageError("ports", QLatin1String(kPortsUsage), o.error);
    if (!o.positional.empty())
        return usageError("ports", QLatin1String(kPortsUsage),
                          QStringLiteral("unexpected argument %1").arg(o.positional.front().text));
    const Language lang = cliLanguage();
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

const Command kRadioCommands[] = {
    {"read", "read the radio's memory into an image file", &runRead},
    {"write", "write an image file to the radio", &runWrite},
    {"service-read", "read the radio's service rows into an image file", &runServiceRead},
    {"service-write", "write an image file's service rows to the radio", &runServiceWrite},
    {"simulate", "run a simulated radio on a pseudo-terminal", &runSimulate},
    {"ports", "list the port numbers and their devices", &runPorts},
};

} // namespace

const Command* radioCommands(int& count) {
    count = int(std::size(kRadioCommands));
    return kRadioCommands;
}

} // namespace norvik::cli
