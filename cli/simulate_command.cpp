// simulate: a simulated radio on a pseudo-terminal, with the faults a test asks for.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSocketNotifier>
#include <cstdio>
#include <fstream>
#include <optional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "cli/commands.h"
#include "cli/file_args.h"
#include "cli/options.h"
#include "cli/simulate_command.h"
#include "core/strings/string_ids.h"
#include "transport/pty_simulator.h"

namespace norvik::cli {
namespace {

constexpr const char* kSimulateUsage =
    "norvik-r7-cli simulate [--image IN] [--save-on-exit OUT] [--log FILE] [--pace]\n"
    "       [--junk HEX] [--silent-at ADDR] [--short-reply-at ADDR] [--long-reply-at ADDR]\n"
    "       [--refuse-write-at ADDR] [--drop-write-at ADDR] [--ident HEX] [--dead-from ADDR]\n"
    "       [--fault-once]";
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

#ifdef Q_OS_UNIX
int g_signalPipe[2] = {-1, -1};
void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] auto n = ::write(g_signalPipe[1], &c, 1);
}
#endif

// The faults the options ask for; the problem with one of them, or an empty text.
QString readFaults(const Options& o, SimulatorFaults& faults) {
    faults.once = o.has(QStringLiteral("--fault-once"));
    const std::pair<const char*, std::optional<int>*> addressOptions[] = {
        {"--silent-at", &faults.silentAt},        {"--short-reply-at", &faults.shortReplyAt},
        {"--long-reply-at", &faults.longReplyAt}, {"--refuse-write-at", &faults.refuseWriteAt},
        {"--drop-write-at", &faults.dropWriteAt}, {"--dead-from", &faults.deadFrom}};
    for (const auto& [name, field] : addressOptions) {
        const QString key = QLatin1String(name);
        if (!o.given(key))
            continue;
        int a = 0;
        if (!parseAddress(o.values[key], a))
            return QStringLiteral("%1 needs an address 0..0xFFF").arg(key);
        *field = a;
    }
    if (o.given(QStringLiteral("--junk")) &&
        !parseHex(o.values[QStringLiteral("--junk")], faults.junkBeforeHandshakeAck))
        return QStringLiteral("--junk needs hex digits");
    if (o.given(QStringLiteral("--ident"))) {
        std::vector<std::uint8_t> ident;
        if (!parseHex(o.values[QStringLiteral("--ident")], ident) || ident.size() != kRowSize)
            return QStringLiteral("--ident needs 16 bytes in hex");
        Row row{};
        std::copy(ident.begin(), ident.end(), row.begin());
        faults.identification = row;
    }
    return {};
}

// Prints the device path and serves it until SIGINT, SIGTERM or SIGHUP; false when the
// signals cannot be waited for.
bool runUntilInterrupted(const QString& devicePath) {
    QEventLoop loop;
#ifdef Q_OS_UNIX
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) {
        printErr(QStringLiteral("socketpair failed"));
        return false;
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
    std::printf("%s\n", devicePath.toLocal8Bit().constData());
    std::fflush(stdout);
    loop.exec();
    return true;
}

} // namespace

int runSimulate(const Args& args) {
    Syntax syntax{"simulate", QLatin1String(kSimulateUsage), [] {
                      std::printf(
                          "usage: %s\n\nRuns a simulated radio on a pseudo-terminal until interrupted. The first "
                          "line\nof output is the device path to give to --port. ADDR is a block address such as\n"
                          "0x0A0; HEX is a string of hex digits. --pace spends the line time of 9600 bit/s\n"
                          "on every byte. --drop-write-at acknowledges the write there but keeps the old\n"
                          "row, as a radio whose memory failed would.\n",
                          kSimulateUsage);
                      std::fputs(kFileNameHelp, stdout);
                  }};
    syntax.values = {
        QStringLiteral("--image"),         QStringLiteral("--save-on-exit"),    QStringLiteral("--log"),
        QStringLiteral("--junk"),          QStringLiteral("--silent-at"),       QStringLiteral("--short-reply-at"),
        QStringLiteral("--long-reply-at"), QStringLiteral("--refuse-write-at"), QStringLiteral("--ident"),
        QStringLiteral("--dead-from"),     QStringLiteral("--drop-write-at")};
    syntax.flags = {QStringLiteral("--pace"), QStringLiteral("--fault-once")};
    syntax.countProblem = Syntax::CountProblem::UnexpectedArgument;
    Options o;
    if (const std::optional<int> stop = parseCommand(syntax, args, o))
        return *stop;
    const Language lang = o.lang;

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
    if (const QString problem = readFaults(o, faults); !problem.isEmpty())
        return usageError("simulate", QLatin1String(kSimulateUsage), problem);

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

    if (!runUntilInterrupted(host.devicePath()))
        return kExitFailed;

    if (saveOnExit && !saveImage(saveTo, radio.memory(), formatOf(saveTo), lang))
        return kExitFailed;
    return kExitOk;
}

} // namespace norvik::cli
