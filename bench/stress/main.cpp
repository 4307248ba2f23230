// norvik-stress: the main window under a seeded stream of random keys, clicks, commands and
// answers, with the program's invariants checked after every step.
//
//   norvik-stress [--seed S] [--steps N] [--trace]
//
// A fault prints the seed and the step; the same seed with --steps up to that step and --trace
// replays the run to it, printing every step.

#include <QApplication>
#include <QByteArray>
#include <QSet>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "stress/stress_driver.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif
#include <csignal>
#include <unistd.h>

namespace {

int g_warnings = 0;

// Where the run is, ready to be written from a crash or a sanitizer's report.
char g_where[200] = "";

void sayWhere() {
    if (const auto n = std::strlen(g_where); n > 0 && ::write(STDERR_FILENO, g_where, n) < 0)
        return;
}

void onFatalSignal(int signal) {
    sayWhere();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Qt's own warnings are shown once each.
void onMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
    static QSet<QString> seen;
    // QtTest's notes about events nobody took, and what the offscreen platform cannot do.
    if (type == QtDebugMsg || type == QtInfoMsg || text.contains(QLatin1String("not accepted by receiving widget")) ||
        text.contains(QLatin1String("This plugin does not support")) ||
        text.startsWith(QLatin1String("QStandardPaths:")))
        return;
    ++g_warnings;
    if (!seen.contains(text)) {
        seen.insert(text);
        std::fprintf(stderr, "qt: %s\n", qPrintable(text));
    }
    if (type == QtFatalMsg)
        std::abort();
}

bool numberArgument(int argc, char** argv, int& i, const char* name, unsigned long long& value) {
    if (std::strcmp(argv[i], name) != 0 || i + 1 >= argc)
        return false;
    char* end = nullptr;
    value = std::strtoull(argv[++i], &end, 10);
    return end && *end == '\0';
}

} // namespace

int main(int argc, char** argv) {
    norvik::stress::StressOptions options;
    for (int i = 1; i < argc; ++i) {
        unsigned long long value = 0;
        if (numberArgument(argc, argv, i, "--seed", value)) {
            options.seed = value;
        } else if (numberArgument(argc, argv, i, "--steps", value)) {
            options.steps = static_cast<int>(value);
        } else if (std::strcmp(argv[i], "--trace") == 0) {
            options.trace = true;
        } else {
            std::fprintf(stderr, "usage: norvik-stress [--seed S] [--steps N] [--trace]\n");
            return 2;
        }
    }
    options.stepStarted = [seed = options.seed](int step) {
        std::snprintf(
            g_where, sizeof g_where,
            "stress: stopped at step %d (seed %llu)\n  replay: norvik-stress --seed %llu --steps %d --trace\n", step,
            static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed), step);
    };
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(sayWhere);
#else
    for (int s : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL})
        std::signal(s, onFatalSignal);
#endif
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(onMessage);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("NORVIK LABS"));
    QApplication::setApplicationName(QStringLiteral("Norvik R7 stress"));
    // Its saves, reads and writes keep backups: never among the real user's.
    QStandardPaths::setTestModeEnabled(true);
    // Letters typed on a list each start a new search, however slow the build: the same seed then
    // takes the same steps with the sanitizers on.
    QApplication::setKeyboardInputInterval(-1);
    norvik::stress::StressDriver driver(options);
    const int result = driver.run();
    if (g_warnings > 0)
        std::printf("  Qt warnings %d (each shown once above)\n", g_warnings);
    return result;
}
