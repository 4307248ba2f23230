#include <QCoreApplication>
#include <cstdio>
#include <vector>

#include "cli/commands.h"
#include "io/file_handle.h"

using namespace norvik::cli;

namespace {

std::vector<Command> allCommands() {
    std::vector<Command> all;
    for (auto group : {&fileCommands, &listCommands, &radioCommands, &compareCommands}) {
        const std::span<const Command> commands = group();
        all.insert(all.end(), commands.begin(), commands.end());
    }
    return all;
}

void printUsage(std::FILE* out, const std::vector<Command>& commands) {
    std::fputs("usage: norvik-r7-cli <command> [options]\n\n"
               "Reads, writes and converts RX-70 radio images and data files.\n\ncommands:\n",
               out);
    for (const Command& c : commands)
        std::fprintf(out, "  %-14s %s\n", c.name, c.summary);
    std::fputs("\nA file name '-' is standard input or output; '--' ends the options, so that a file name\n"
               "may start with '-'.\nRun 'norvik-r7-cli <command> --help' for the options of a command,\n"
               "'norvik-r7-cli --version' for the version.\n",
               out);
}

} // namespace

int main(int argc, char** argv) {
    norvik::io::ignoreFileSizeSignal(); // a write past `ulimit -f` fails and says so
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("NORVIK LABS"));
    QCoreApplication::setApplicationName(QStringLiteral("Norvik R7"));
    const auto commands = allCommands();
    Args args = commandLine(argc, argv);
    if (args.empty()) {
        printUsage(stderr, commands);
        return kExitUsage;
    }
    const QString name = args.front().text;
    args.erase(args.begin());
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        printUsage(stdout, commands);
        return kExitOk;
    }
    if (name == QLatin1String("--version")) {
        std::printf("norvik-r7-cli %s\n", NORVIK_VERSION);
        return kExitOk;
    }
    for (const Command& c : commands) {
        if (name == QLatin1String(c.name))
            return c.run(args);
    }
    std::fprintf(stderr, "norvik-r7-cli: unknown command '%s'\n\n", name.toLocal8Bit().constData());
    printUsage(stderr, commands);
    return kExitUsage;
}
