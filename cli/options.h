#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "core/strings/strings.h"

namespace norvik::cli {

// One command-line argument: the bytes it came as, kept as a path so that a file name that is
// not valid UTF-8 still names its file, and a readable text for options, numbers and messages.
struct Arg {
    std::filesystem::path path;
    QString text;
    // "-": standard input or output.
    bool isStdStream() const { return text == QLatin1String("-"); }
};
using Args = std::vector<Arg>;

// The program's arguments after its own name.
Args commandLine(int argc, char** argv);

// The arguments of one command: "--name value" (or "--name=value") pairs, bare flags and the
// positional arguments. "--" ends the options; a lone "-" is positional. Parsing stops at the
// first problem, which `error` then names.
struct Options {
    Args positional;
    QMap<QString, QString> values;
    QSet<QString> flags;
    bool help = false; // -h or --help
    QString error;

    Options() = default;
    Options(const Args& args, const QSet<QString>& valueNames, const QSet<QString>& flagNames);
    bool has(const QString& flag) const { return flags.contains(flag); }
    bool given(const QString& name) const { return values.contains(name); }
    // The value of an option that names a file, as the bytes it came as.
    Arg file(const QString& name) const { return m_files.value(name); }
    // Every value of an option given more than once, in order (`values` keeps the last).
    Args all(const QString& name) const { return m_all.value(name); }
    // The positional arguments (with an empty name) and the values of `option` together, in the
    // order given.
    std::vector<std::pair<QString, Arg>> inOrder(const QString& option) const;

    // Filled in by parseCommand: the language of --lang (or of the environment) and the counting
    // options it checked.
    Language lang = Language::English;
    int number(const QString& name, int fallback) const { return numbers.value(name, fallback); }
    QMap<QString, int> numbers;

private:
    QMap<QString, Arg> m_files;
    QMap<QString, Args> m_all;
    std::vector<std::pair<QString, Arg>> m_order; // option name, or empty for a positional
};

// How a command is called. parseCommand checks it all before the command runs, in this order:
// help, unknown options, options that exclude each other, --lang, the positional count and the
// required options, the counting options.
struct Syntax {
    Syntax(const char* command, QString usageText, std::function<void()> printHelp)
        : name(command), usage(std::move(usageText)), help(std::move(printHelp)) {}

    const char* name;
    QString usage;              // after "usage: "
    std::function<void()> help; // prints the command's help on stdout
    QSet<QString> values;       // options that take a value
    QSet<QString> flags;        // options that do not
    bool language = false;      // takes --lang en|zh; otherwise the environment's language
    std::vector<std::pair<QString, QString>> excluding;
    // The positional count: exactly `positionals`, the values of `operandOption` counted with
    // them; what a wrong count says.
    int positionals = 0;
    enum class CountProblem { FileNames, UnexpectedArgument, UsageOnly, Text } countProblem = CountProblem::FileNames;
    QString countText; // for CountProblem::Text
    QString operandOption;
    QStringList required;                          // options that must be given (else the usage alone)
    std::vector<std::pair<QString, int>> counting; // option, least whole number
    int usageStatus = 1;                           // the exit status of a usage problem
};

// The arguments of a command checked against its syntax. Empty when the command is to run;
// otherwise the exit status to stop with, the help or the usage problem printed.
std::optional<int> parseCommand(const Syntax& syntax, const Args& args, Options& out);

// What every command's help says about file names.
inline constexpr const char* kFileNameHelp =
    "  -             as a file name: standard input or standard output, as a data file (the\n"
    "                4096 raw image bytes only where the command says so: unpack's output,\n"
    "                pack's input, or --raw)\n"
    "  --            ends the options: the arguments after it are file names even when they\n"
    "                start with '-' (norvik-r7-cli new -- -repeater.dat)\n";

// The user's language from the environment: Chinese for a zh locale, English otherwise.
Language cliLanguage();
// A text of the string table as a QString.
QString cliText(int id, Language lang);
// One line on stderr, through visibleText.
void printErr(const QString& line);
// The text with control characters (C0, DEL, C1) as \xNN, so that bytes from a file cannot clear
// the terminal, retitle it or ring its bell.
QString visibleText(const QString& text);
// The value of a counting option: a whole number of at least `least`, or -1. A value that is not
// one is named by numberProblem(): "--retries needs a whole number of at least 0, not 'x'".
int wholeNumber(const QString& text, int least);
QString numberProblem(const QString& option, const QString& value, int least);
// A usage problem: the problem (when there is one), the usage and where to read more.
int usageError(const char* command, const QString& usage, const QString& problem);

} // namespace norvik::cli
