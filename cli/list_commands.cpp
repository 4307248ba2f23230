// import-csv: a channel list file (as `channels --csv` writes it) applied to a data file.

#include <QString>
#include <cstdio>
#include <optional>

#include "cli/commands.h"
#include "cli/file_args.h"
#include "cli/options.h"
#include "core/channels/channel_csv.h"
#include "core/strings/string_ids.h"
#include "io/files.h"

namespace norvik::cli {
namespace {

constexpr const char* kUsage =
    "norvik-r7-cli import-csv IN.csv BASE.dat OUT.dat [--replace-all] [--raw] [--lang en|zh]";
// A channel list is a few kilobytes; anything this large is something else.
constexpr std::size_t kMaxCsvSize = 1024 * 1024;

void printHelp() {
    std::printf("usage: %s\n\n"
                "Applies the channel lines of IN.csv to the image of BASE.dat and writes the result to\n"
                "OUT.dat. Channels the file does not name keep their settings, unless --replace-all\n"
                "empties them (names included). Each line that cannot be taken is reported as\n"
                "IN.csv:LINE: reason; then nothing is written and the exit status is 2. What was taken\n"
                "is said on standard output unless OUT is '-': 12 channels changed, 0 lines refused.\n\n"
                "options:\n"
                "  --replace-all  start from an image without channels\n"
                "  --lang en|zh   language of the messages (default en)\n"
                "  -h, --help     show this help\n",
                kUsage);
    std::fputs(kRawHelp, stdout);
    std::fputs(kFileNameHelp, stdout);
}

QString utf8(const std::string& s) {
    return QString::fromStdString(s);
}

int runImportCsv(const Args& args) {
    Syntax syntax{"import-csv", QString::fromLatin1(kUsage), &printHelp};
    syntax.flags = {QStringLiteral("--replace-all"), QStringLiteral("--raw")};
    syntax.language = true;
    syntax.positionals = 3;
    Options o;
    if (const std::optional<int> stop = parseCommand(syntax, args, o))
        return *stop;
    const Language lang = o.lang;
    const Arg& in = o.positional[0];
    const Arg& base = o.positional[1];
    const Arg& out = o.positional[2];
    if (sameFile(in, out, lang) || sameFile(base, out, lang))
        return kExitFailed;

    const io::ReadResult read =
        in.isStdStream() ? io::readStandardInput(kMaxCsvSize) : io::readFile(in.path, kMaxCsvSize);
    if (read.problem) {
        printErr(QStringLiteral("norvik-r7-cli: ") + cliText(ids::CannotReadFile, lang).arg(in.text) +
                 QLatin1Char(' ') + utf8(io::reasonText(read.problem, lang)));
        return kExitFailed;
    }
    if (read.bytes.size() > kMaxCsvSize) {
        printErr(QStringLiteral("%1: %2").arg(in.text, cliText(ids::CsvTooLarge, lang).arg(kMaxCsvSize / 1024)));
        return kExitFailed;
    }
    const bool raw = o.has(QStringLiteral("--raw"));
    const auto image = loadImage(base, formatOf(base, raw), lang);
    if (!image)
        return kExitFailed;

    const std::string_view text(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size());
    const CsvImport result = importChannelsCsv(
        text, *image, o.has(QStringLiteral("--replace-all")) ? CsvBase::ReplaceAll : CsvBase::KeepOthers);
    for (const CsvProblem& p : result.problems)
        printErr(QStringLiteral("%1:%2: %3").arg(in.text).arg(p.line).arg(utf8(csvProblemText(p, lang))));
    if (result.unlistedProblems > 0)
        printErr(
            QStringLiteral("%1: %2").arg(in.text, cliText(ids::CsvMoreRefused, lang).arg(result.unlistedProblems)));
    if (result.refused())
        return kExitFailed;
    if (!saveImage(out, result.image, formatOf(out, raw), lang))
        return kExitFailed;
    // Standard output, unless it carries the data file: a pipeline keeps its bytes and a quiet stderr.
    if (!out.isStdStream())
        std::printf("%s\n", cliText(ids::CsvImportTook, lang)
                                .arg(result.changedCount())
                                .arg(result.refusedCount())
                                .toUtf8()
                                .constData());
    return kExitOk;
}

constexpr Command kListCommands[] = {
    {"import-csv", "apply a channel list (CSV) to a data file", &runImportCsv},
};

} // namespace

std::span<const Command> listCommands() {
    return kListCommands;
}

} // namespace norvik::cli
