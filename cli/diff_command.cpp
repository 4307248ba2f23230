// diff: what differs between two images, each a file or a radio.
#include <QEventLoop>
#include <array>
#include <cstdio>
#include <optional>

#include "cli/commands.h"
#include "cli/file_args.h"
#include "cli/many_ports.h"
#include "cli/transfer_console.h"
#include "core/compare/image_compare.h"
#include "core/strings/string_ids.h"
#include "transport/clone_batch.h"
#include "transport/serial_link.h"
#include "transport/serial_ports.h"

namespace norvik::cli {
namespace {

constexpr const char* kDiffUsage = "norvik-r7-cli diff [--retries N] [--raw] A B";
constexpr int kExitDifferent = 1;

// One side of the comparison: a file, or the radio on a port.
struct Operand {
    Arg file;
    QString port; // as given; empty for a file
    std::optional<RadioImage> image;
};

// Reads every radio among the operands, all at once. False, after saying why, when one failed.
bool readRadios(std::vector<Operand>& operands, int retries, Language lang) {
    CloneBatch::Settings settings;
    settings.mode = CloneMode::Read;
    settings.language = lang;
    settings.retries = retries;
    CloneBatch batch(settings);
    std::vector<Operand*> byIndex;
    QStringList ports;
    SystemPortEnumerator system;
    QString firstDevice;
    for (Operand& o : operands) {
        if (o.port.isEmpty())
            continue;
        const QString device = resolvePort(o.port, system);
        if (device.isEmpty()) {
            printErr(cliText(ids::PortNotFound, lang).arg(o.port));
            return false;
        }
        if (device == firstDevice) {
            printErr(QStringLiteral("norvik-r7-cli: port %1 is given twice").arg(o.port));
            return false;
        }
        firstDevice = device;
        batch.add(std::make_unique<SerialLink>(device));
        byIndex.push_back(&o);
        ports << o.port;
    }
    if (byIndex.empty())
        return true;
    const BatchProgress progress(batch, ports, lang);
    bool ok = true;
    QEventLoop loop;
    QObject::connect(&batch, &CloneBatch::portEnded, &loop, [&](int index, const PortOutcome& outcome) {
        Operand& o = *byIndex[std::size_t(index)];
        if (outcome.ok)
            o.image = batch.image(index);
        else
            printErr(summaryLine(o.port, CloneMode::Read, outcome));
        ok = ok && outcome.ok;
    });
    QObject::connect(&batch, &CloneBatch::finished, &loop, &QEventLoop::quit);
    batch.start();
    loop.exec();
    return ok;
}

int runDiff(const Args& args) {
    Syntax syntax{"diff", QLatin1String(kDiffUsage), [] {
                      std::printf(
                          "usage: %s\n\nLists what differs from image A to image B, each a data file, a raw image "
                          "or\n--port PORT (the radio there, read whole as 'read' does):\n"
                          "  channel 5: RX Freq, 145.00000 -> 145.50000     a channel's column\n"
                          "  Function Setting > Lamp: On -> Auto             an option setting\n"
                          "  bytes 0x0810-0x081F                             bytes no window shows\n"
                          "Exit status 0 when the images are the same, 1 when they differ, 2 on trouble.\n"
                          "On a terminal, standard error shows a radio's progress, a line a second at most.\n",
                          kDiffUsage);
                      std::fputs(kRawHelp, stdout);
                      std::fputs(kFileNameHelp, stdout);
                  }};
    syntax.values = {QStringLiteral("--port"), QStringLiteral("--retries")};
    syntax.flags = {QStringLiteral("--raw")};
    syntax.positionals = 2;
    syntax.operandOption = QStringLiteral("--port");
    syntax.countProblem = Syntax::CountProblem::Text;
    syntax.countText = QStringLiteral("diff compares two images");
    syntax.counting = {{QStringLiteral("--retries"), 0}};
    syntax.usageStatus = kExitFailed; // the usage's own status would read as "different"
    Options o;
    if (const std::optional<int> stop = parseCommand(syntax, args, o))
        return *stop;
    std::vector<Operand> operands;
    for (const auto& [option, arg] : o.inOrder(syntax.operandOption))
        operands.push_back(option.isEmpty() ? Operand{arg, {}, {}} : Operand{{}, arg.text, {}});
    const int retries = o.number(QStringLiteral("--retries"), 0);
    const bool raw = o.has(QStringLiteral("--raw"));
    const Language lang = cliLanguage();
    // Files first: a bad file costs no radio read.
    for (Operand& o : operands) {
        if (o.port.isEmpty() && !(o.image = loadImage(o.file, formatOf(o.file, raw), lang)))
            return kExitFailed;
    }
    if (!readRadios(operands, retries, lang))
        return kExitFailed;
    const std::vector<ImageDifference> differences = compareImages(*operands[0].image, *operands[1].image, lang);
    for (const ImageDifference& d : differences)
        std::printf("%s\n", visibleText(QString::fromStdString(differenceText(d, lang))).toUtf8().constData());
    // Said, not only told by the exit status: an empty output reads as "did nothing".
    if (differences.empty())
        std::printf("%s\n", cliText(ids::DiffNone, lang).toUtf8().constData());
    return differences.empty() ? kExitOk : kExitDifferent;
}

constexpr Command kCompareCommands[] = {
    {"diff", "list what differs between two images (files or radios)", &runDiff},
};

} // namespace

std::span<const Command> compareCommands() {
    return kCompareCommands;
}

} // namespace norvik::cli
