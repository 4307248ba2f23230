// The data file commands: new, unpack, pack, info, channels.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/file_args.h"
#include "cli/options.h"
#include "core/auxiliary/embedded_message.h"
#include "core/channels/channel_columns.h"
#include "core/channels/channel_csv.h"
#include "core/channels/channel_rules.h"
#include "core/datafile/data_file.h"
#include "core/image/band_limits.h"
#include "core/image/channel_record.h"
#include "core/image/defaults.h"
#include "core/strings/string_ids.h"
#include "core/strings/strings.h"
#include "io/file_handle.h"

namespace norvik::cli {
namespace {

// ---- arguments ------------------------------------------------------------------------------

struct Usage {
    const char* name;
    const char* synopsis; // after "norvik-r7-cli <name> "
    const char* description;
    int positionals;
    bool takesCsv;
};

constexpr const char* kLangHelp = "  --lang en|zh  language of the texts (default en)\n";

QString usageLine(const Usage& u) {
    return QStringLiteral("norvik-r7-cli %1 %2").arg(QLatin1String(u.name), QLatin1String(u.synopsis));
}

void printHelp(const Usage& u) {
    std::printf("usage: %s\n\n%s\n\noptions:\n", usageLine(u).toLocal8Bit().constData(), u.description);
    if (u.takesCsv)
        std::fputs("  --csv         the channel list as import-csv reads it: comma-separated, English,\n"
                   "                one line per used channel\n"
                   "  --used        only the channels in use\n",
                   stdout);
    std::fputs(kLangHelp, stdout);
    std::fputs("  -h, --help    show this help\n", stdout);
    std::fputs(kFileNameHelp, stdout);
}

// Returns the exit status when the command must stop here (help shown, or a usage error).
std::optional<int> parseArgs(const Usage& u, const Args& args, Options& opt) {
    Syntax syntax{u.name, usageLine(u), [&u] { printHelp(u); }};
    if (u.takesCsv)
        syntax.flags = {QStringLiteral("--csv"), QStringLiteral("--used")};
    syntax.language = true;
    syntax.positionals = u.positionals;
    return parseCommand(syntax, args, opt);
}

// ---- the channel table ----------------------------------------------------------------------

// CH .. Duplex: the grid's columns without the ">>" of the alternate panel.
constexpr int kColumnCount = col::Duplex + 1;

QString utf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The header and the 128 rows (or those of the channels in use) as the main window shows them,
// with the normalising loading does, which must not change the file.
std::vector<QStringList> tableRows(const RadioImage& image, Language lang, bool usedOnly) {
    RadioImage loaded = image;
    normaliseChannels(loaded);
    const ChannelRows channels = channelRows(loaded, lang, '.');
    std::vector<QStringList> rows;
    QStringList header;
    for (int c = 0; c < kColumnCount; ++c)
        header << utf8(textString(columnHeaderId(c), lang));
    rows.push_back(header);
    for (int n = 1; n <= kChannelCount; ++n) {
        if (usedOnly && !channelInUse(loaded, n))
            continue;
        QStringList cells{QString::number(n)};
        for (int c = 1; c < kColumnCount; ++c)
            cells << visibleText(utf8(channels[static_cast<std::size_t>(n)].texts[static_cast<std::size_t>(c)]));
        rows.push_back(cells);
    }
    return rows;
}

// Terminal columns a text takes: East Asian wide characters take two.
int displayWidth(const QString& s) {
    int width = 0;
    for (const char32_t c : s.toUcs4()) {
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                          (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                          (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6);
        width += wide ? 2 : 1;
    }
    return width;
}

QString formatTable(const std::vector<QStringList>& rows) {
    QString out;
    std::vector<int> widths(kColumnCount, 0);
    for (const QStringList& row : rows) {
        for (int c = 0; c < kColumnCount; ++c)
            widths[static_cast<std::size_t>(c)] = std::max(widths[static_cast<std::size_t>(c)], displayWidth(row[c]));
    }
    for (const QStringList& row : rows) {
        QString line;
        for (int c = 0; c < kColumnCount; ++c) {
            if (c > 0)
                line += QStringLiteral("  ");
            line += row[c] + QString(widths[static_cast<std::size_t>(c)] - displayWidth(row[c]), QLatin1Char(' '));
        }
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        out += line + QLatin1Char('\n');
    }
    return out;
}

void printOut(const QString& s) {
    const QByteArray bytes = s.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

// ---- commands -------------------------------------------------------------------------------

const Usage kNewUsage{"new", "OUT.dat", "Writes a data file holding the image of a new document (the defaults).", 1,
                      false};
const Usage kUnpackUsage{"unpack", "IN.dat OUT.bin",
                         "Decodes a data file and writes its 4096 image bytes in address order.", 2, false};
const Usage kPackUsage{"pack", "IN.bin OUT.dat",
                       "Packs a 4096-byte image file into a data file, byte for byte as Save writes it.", 2, false};
const Usage kInfoUsage{"info", "FILE.dat", "Summarises a data file: channels in use, band limits, embedded message.", 1,
                       false};
const Usage kChannelsUsage{"channels", "FILE.dat [--csv] [--used] [--lang en|zh]",
                           "Prints the channel table as the main window shows it (columns CH to Duplex).", 1, true};

int runNew(const Args& args) {
    Options opt;
    if (auto stop = parseArgs(kNewUsage, args, opt))
        return *stop;
    RadioImage image;
    writeNewImageDefaults(image, BandLimits{});
    return saveImage(opt.positional[0], image, io::ImageFormat::DataFile, opt.lang) ? kExitOk : kExitFailed;
}

// Reads the input in one format and writes it in the other.
int convert(const Options& opt, io::ImageFormat from, io::ImageFormat to) {
    const Arg& in = opt.positional[0];
    const Arg& out = opt.positional[1];
    if (sameFile(in, out, opt.lang))
        return kExitFailed;
    const auto image = loadImage(in, from, opt.lang);
    return image && saveImage(out, *image, to, opt.lang) ? kExitOk : kExitFailed;
}

int runUnpack(const Args& args) {
    Options opt;
    if (auto stop = parseArgs(kUnpackUsage, args, opt))
        return *stop;
    return convert(opt, io::ImageFormat::DataFile, io::ImageFormat::Raw);
}

int runPack(const Args& args) {
    Options opt;
    if (auto stop = parseArgs(kPackUsage, args, opt))
        return *stop;
    return convert(opt, io::ImageFormat::Raw, io::ImageFormat::DataFile);
}

int runInfo(const Args& args) {
    Options opt;
    if (auto stop = parseArgs(kInfoUsage, args, opt))
        return *stop;
    const auto image = loadImage(opt.positional[0], io::ImageFormat::DataFile, opt.lang);
    if (!image)
        return kExitFailed;

    int inUse = 0;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (channelInUse(*image, n))
            ++inUse;
    }
    BandLimits bands;
    const bool bandsStored = bands.load(*image);
    QStringList bandTexts;
    for (const Band& b : bands.bands())
        bandTexts << QStringLiteral("%1-%2 MHz").arg(b.lower).arg(b.upper);
    const std::string bytes = decodeEmbeddedMessage(*image);
    const QString message = visibleText(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())));

    QString out;
    out += QStringLiteral("Channels in use:  %1 of %2\n").arg(inUse).arg(kChannelCount);
    out += QStringLiteral("Band limits:      %1\n").arg(bandTexts.join(QStringLiteral(", ")));
    if (!bandsStored)
        out += QStringLiteral("                  (row 208 holds no valid limits; these are the defaults)\n");
    out += QStringLiteral("Embedded message: %1\n")
               .arg(message.isEmpty() ? QStringLiteral("(none)") : QLatin1Char('"') + message + QLatin1Char('"'));
    printOut(out);
    return kExitOk;
}

int runChannels(const Args& args) {
    Options opt;
    if (auto stop = parseArgs(kChannelsUsage, args, opt))
        return *stop;
    const auto image = loadImage(opt.positional[0], io::ImageFormat::DataFile, opt.lang);
    if (!image)
        return kExitFailed;
    // The list has only the channels in use anyway.
    if (!opt.has(QStringLiteral("--csv"))) {
        printOut(formatTable(tableRows(*image, opt.lang, opt.has(QStringLiteral("--used")))));
        return kExitOk;
    }
    // The file format import-csv reads, the same whatever the language: exact into a pipe or a
    // file, but a terminal is shown what a name's control bytes are instead of obeying them.
    QString csv = QString::fromStdString(exportChannelsCsv(*image));
    if (io::FileHandle::standardOutput().isTerminal()) {
        QStringList lines = csv.split(QLatin1Char('\n'));
        for (QString& line : lines)
            line = visibleText(line);
        csv = lines.join(QLatin1Char('\n'));
    }
    printOut(csv);
    return kExitOk;
}

constexpr Command kFileCommands[] = {
    {"new", "write a data file holding the new-image defaults", &runNew},
    {"unpack", "decode a data file into its 4096 image bytes", &runUnpack},
    {"pack", "pack a 4096-byte image into a data file", &runPack},
    {"info", "summarise a data file", &runInfo},
    {"channels", "print the channel table of a data file", &runChannels},
};

} // namespace

std::span<const Command> fileCommands() {
    return kFileCommands;
}

} // namespace norvik::cli
