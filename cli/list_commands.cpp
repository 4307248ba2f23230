// import-csv: a channel list file (as `channels --csv` writes it) applied to a data file.

#include <QString>
#include <cstdio>

#include "cli/commands.h"
#include "cli/image_files.h"
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
                "IN.csv:LINE: reason; then nothing is written and the exit status is 2.\n\n"
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
    const Options o(args, {QStringLiteral("--lang")}, {QStringLiteral("--replace-all"), QStringLiteral("--raw")});
    if (o.help) {
        printHelp();
        return kExitOk;
    }
    const QString usage = QString::fromLatin1(kUsage);
    if (!o.error.isEmpty())
        return usageError("import-csv", usage, o.error);
    const QString langName = o.values.value(QStringLiteral("--lang"), QStringLiteral("en"));
    if (langName != QLatin1String("en") && langName != QLatin1String("zh"))
        return usageError("import-csv", usage, QStringLiteral("unknown language '%1' (use en or zh)").arg(langName));
    const Language lang = langName == QLatin1String("zh") ? Language::Chinese : Language::English;
    if (o.positional.size() != 3)
        return usageError("import-csv", usage,
                          QStringLiteral("expected 3 file name(s), got %1").arg(o.positional.size()));
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
    return saveImage(out, result.image, formatOf(out, raw), lang) ? kExitOk : kExitFailed;
}

const Command kListCommands[] = {
    {"import-csv", "apply a channel list (CSV) to a data file", &runImportCsv},
};

} // namespace

const Command* listCommands(int& count) {
    count = static_cast<int>(std::size(kListCommands));
    return kListCommands;
}

} // namespace norvik::cli
