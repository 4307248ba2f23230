#include "cli/many_ports.h"

#include <QEventLoop>
#include <QSet>
#include <cstdio>
#include <filesystem>

#include "cli/commands.h"
#include "cli/file_args.h"
#include "cli/transfer_console.h"
#include "core/clone/port_files.h"
#include "core/strings/string_ids.h"
#include "io/backups.h"
#include "io/files.h"
#include "io/image_files.h"
#include "io/path_text.h"
#include "transport/backup_folder.h"
#include "transport/serial_link.h"
#include "transport/serial_ports.h"
#include "transport/transfer_record.h"

namespace norvik::cli {

void printLine(const QString& line) {
    std::fputs(visibleText(line).toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::filesystem::path backupFolderOf(const Options& o) {
    if (o.has(QStringLiteral("--no-backup")))
        return {};
    if (o.given(QStringLiteral("--backup-dir")))
        return o.file(QStringLiteral("--backup-dir")).path;
    return defaultBackupFolder();
}

namespace {

struct Port {
    QString given;  // as on the command line, which is what the summary names
    QString device; // empty: no device behind the number
    QString stem;
};

} // namespace

QString summaryLine(const QString& port, CloneMode mode, const PortOutcome& outcome) {
    if (!outcome.ok) {
        QString line = QStringLiteral("%1: failed: %2").arg(port, outcome.reason);
        if (!outcome.backupPath.isEmpty())
            line += QStringLiteral(" (backed up to %1)").arg(outcome.backupPath);
        return line;
    }
    QString line = QStringLiteral("%1: %2 in %3 s")
                       .arg(port, QLatin1String(mode == CloneMode::Read ? "read" : "written"),
                            QString::number(outcome.seconds, 'f', 1));
    if (outcome.verification == Verification::Verified)
        line += QStringLiteral(", verified");
    else if (outcome.verification != Verification::NotAsked)
        line += QStringLiteral(", not verified: ") + outcome.verifyDetail;
    if (!outcome.backupPath.isEmpty())
        line += QStringLiteral(", backed up to ") + outcome.backupPath;
    return line;
}

int runManyPorts(CloneMode mode, const Options& o, const char* usage) {
    const bool reading = mode == CloneMode::Read;
    const char* command = reading ? "read" : "write";
    const QString usageText = QLatin1String(usage);
    CloneBatch::Settings settings;
    settings.mode = mode;
    settings.language = cliLanguage();
    settings.acceptRangeChange = o.has(QStringLiteral("--yes"));
    settings.verify = !reading && !o.has(QStringLiteral("--no-verify"));
    settings.retries = o.number(QStringLiteral("--retries"), 0);
    settings.jobs = o.number(QStringLiteral("--jobs"), 0);
    if (!reading)
        settings.backupFolder = backupFolderOf(o);
    const Language lang = settings.language;

    std::vector<Port> ports;
    SystemPortEnumerator system;
    QSet<QString> stems;
    for (const Arg& a : o.all(QStringLiteral("--port"))) {
        Port port{a.text, resolvePort(a.text, system), {}};
        port.stem = QString::fromStdString(portFileStem((port.device.isEmpty() ? a.text : port.device).toStdString()));
        if (stems.contains(port.stem))
            return usageError(command, usageText, QStringLiteral("port %1 is given twice").arg(a.text));
        stems.insert(port.stem);
        ports.push_back(port);
    }

    const Arg& file = o.positional.front();
    RadioImage image;
    if (reading) {
        if (file.isStdStream())
            return usageError(command, usageText, QStringLiteral("several ports read into a folder, not '-'"));
        std::error_code error;
        std::filesystem::create_directories(file.path, error);
        if (!std::filesystem::is_directory(file.path)) {
            printErr(cliText(ids::CannotWriteFile, lang).arg(file.text) + QLatin1Char(' ') +
                     QString::fromStdString(error ? error.message() : std::string("Not a folder.")));
            return kExitFailed;
        }
    } else {
        const std::optional<RadioImage> loaded = loadImage(file, formatOf(file), lang);
        if (!loaded)
            return kExitFailed;
        image = *loaded;
    }

    CloneBatch batch(settings);
    std::vector<const Port*> byIndex;
    QStringList started;
    int failed = 0;
    int differs = 0;
    const auto saveTo = [&](const Port& port) {
        return file.path / std::filesystem::path((port.stem + QStringLiteral(".dat")).toStdU16String());
    };
    const auto cannotWrite = [&](const Port& port, const io::FileProblem& problem) {
        return cliText(ids::CannotWriteFile, lang).arg(QString::fromStdString(io::displayName(saveTo(port)))) +
               QLatin1Char(' ') + QString::fromStdString(io::reasonText(problem, lang));
    };
    const QString writtenFile =
        reading ? QString() : QString::fromStdString(io::displayName(std::filesystem::absolute(file.path)));
    // Each port's line goes into the history too; a history line that cannot be written is said
    // on stderr and changes nothing else.
    const auto record = [&](const Port& port, const PortOutcome& outcome) {
        const QString dataFile =
            reading ? QString::fromStdString(io::displayName(std::filesystem::absolute(saveTo(port)))) : writtenFile;
        const QString problem =
            recordTransfer(historyEntry(QLatin1String(command), port.given, dataFile, outcome), lang);
        if (!problem.isEmpty())
            printErr(problem);
    };
    for (const Port& port : ports) {
        if (port.device.isEmpty()) {
            const PortOutcome outcome = PortOutcome::failed(cliText(ids::PortNotFound, lang).arg(port.given));
            printLine(summaryLine(port.given, mode, outcome));
            record(port, outcome);
            ++failed;
            continue;
        }
        // A radio is read only when its file can be written.
        if (const io::FileProblem problem =
                reading ? io::checkSaveTarget(saveTo(port), saveRoom(io::ImageFormat::DataFile)) : io::FileProblem{}) {
            const PortOutcome outcome = PortOutcome::failed(cannotWrite(port, problem));
            printLine(summaryLine(port.given, mode, outcome));
            record(port, outcome);
            ++failed;
            continue;
        }
        batch.add(std::make_unique<SerialLink>(port.device), image);
        byIndex.push_back(&port);
        started << port.given;
    }
    const BatchProgress progress(batch, started, lang);
    QEventLoop loop;
    QObject::connect(&batch, &CloneBatch::portEnded, &loop, [&](int index, const PortOutcome& outcome) {
        const Port& port = *byIndex[std::size_t(index)];
        PortOutcome shown = outcome;
        if (reading && outcome.ok) {
            // A file of an earlier read there is kept first, and stays when it cannot be.
            const ByteVector bytes = io::encodeImage(batch.image(index), io::ImageFormat::DataFile);
            const io::BackupSaved kept =
                io::keepBeforeReplace(defaultBackupFolder(), saveTo(port), io::backupTimeNow(), bytes);
            if (kept.problem) {
                shown = PortOutcome::failed(cliText(ids::BackupBeforeSaveFailed, lang)
                                                .arg(QString::fromStdString(io::displayName(saveTo(port))),
                                                     QString::fromStdString(io::reasonText(kept.problem, lang))),
                                            outcome.seconds);
                shown.identification = outcome.identification;
            } else if (const io::FileProblem problem = io::saveFile(saveTo(port), bytes)) {
                shown = PortOutcome::failed(cannotWrite(port, problem), outcome.seconds);
                shown.identification = outcome.identification;
            }
        }
        record(port, shown);
        if (!shown.ok || shown.verification == Verification::NotChecked)
            ++failed;
        else if (shown.verification == Verification::Differs)
            ++differs;
        printLine(summaryLine(port.given, mode, shown));
    });
    QObject::connect(&batch, &CloneBatch::finished, &loop, &QEventLoop::quit);
    batch.start();
    loop.exec();
    return failed > 0 ? kExitFailed : differs > 0 ? kExitDiffers : kExitOk;
}

} // namespace norvik::cli
