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
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "stress/stress_driver.h"

namespace {

int g_warnings = 0;

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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(onMessage);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("NORVIK LABS"));
    QApplication::setApplicationName(QStringLiteral("Norvik R7 stress"));
    // Letters typed on a list each start a new search, however slow the build: the same seed then
    // takes the same steps with the sanitizers on.
    QApplication::setKeyboardInputInterval(-1);
    norvik::stress::StressDriver driver(options);
    const int result = driver.run();
    if (g_warnings > 0)
        std::printf("  Qt warnings %d (each shown once above)\n", g_warnings);
    return result;
}
