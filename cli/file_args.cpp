#include "cli/file_args.h"

#include "core/strings/string_ids.h"
#include "io/backups.h"
#include "io/file_handle.h"
#include "io/files.h"
#include "transport/backup_folder.h"

namespace norvik::cli {
namespace {

void printError(const QString& message) {
    printErr(QStringLiteral("norvik-r7-cli: ") + message);
}

QString reason(const io::FileProblem& problem, Language lang) {
    return QString::fromStdString(io::reasonText(problem, lang));
}

QString loadMessage(const io::FileProblem& problem, const QString& name, Language lang) {
    switch (problem.error) {
    case io::FileError::Empty:
    case io::FileError::NotDataFile:
        return QStringLiteral("%1: %2").arg(name, cliText(ids::IncorrectFileType, lang));
    case io::FileError::NotRawImage:
        return cliText(ids::NotARawImage, lang).arg(name);
    default:
        return cliText(ids::CannotReadFile, lang).arg(name) + QLatin1Char(' ') + reason(problem, lang);
    }
}

// Binary bytes are never written to a terminal.
bool refusesTerminal(const Arg& file, Language lang) {
    if (!file.isStdStream() || !io::FileHandle::standardOutput().isTerminal())
        return false;
    printError(cliText(ids::NoBinaryToTerminal, lang));
    return true;
}

// True when there is no problem; otherwise says what it is.
bool reported(const Arg& file, const io::FileProblem& problem, Language lang) {
    if (problem)
        printError(cliText(ids::CannotWriteFile, lang).arg(file.text) + QLatin1Char(' ') + reason(problem, lang));
    return !problem;
}

} // namespace

io::ImageFormat formatOf(const Arg& file, bool rawStdStream) {
    if (file.isStdStream())
        return rawStdStream ? io::ImageFormat::Raw : io::ImageFormat::DataFile;
    return io::formatOf(file.path);
}

std::optional<RadioImage> loadImage(const Arg& file, io::ImageFormat format, Language lang) {
    io::ImageLoad loaded;
    if (file.isStdStream()) {
        const io::ReadResult read = io::readStandardInput(io::maxInputSize(format));
        loaded = read.problem ? io::ImageLoad{std::nullopt, read.problem} : io::decodeImage(read.bytes, format);
    } else {
        loaded = io::loadImage(file.path, format);
    }
    if (loaded.problem)
        printError(loadMessage(loaded.problem, file.text, lang));
    return loaded.image;
}

bool saveImage(const Arg& file, const RadioImage& image, io::ImageFormat format, Language lang) {
    if (refusesTerminal(file, lang))
        return false;
    const ByteVector bytes = io::encodeImage(image, format);
    if (file.isStdStream())
        return reported(file, io::writeStandardOutput(bytes), lang);
    // The file written over is kept first; one that cannot be kept is not written over.
    const io::BackupSaved kept = io::keepBeforeReplace(defaultBackupFolder(), file.path, io::backupTimeNow(), bytes);
    if (kept.problem) {
        printError(cliText(ids::BackupBeforeSaveFailed, lang).arg(file.text, reason(kept.problem, lang)));
        return false;
    }
    return reported(file, io::saveFile(file.path, bytes), lang);
}

bool canSave(const Arg& file, io::ImageFormat format, Language lang) {
    if (refusesTerminal(file, lang))
        return false;
    return reported(file, file.isStdStream() ? io::FileProblem{} : io::checkSaveTarget(file.path, saveRoom(format)),
                    lang);
}

std::size_t saveRoom(io::ImageFormat format) {
    // A data file of any image stays well below twice the image's size (measured: under 4.2 KB).
    return format == io::ImageFormat::Raw ? std::size_t{kImageSize} : std::size_t{2 * kImageSize};
}

bool sameFile(const Arg& in, const Arg& out, Language lang) {
    std::error_code error;
    if (in.isStdStream() || out.isStdStream() || !std::filesystem::equivalent(in.path, out.path, error))
        return false;
    printError(cliText(ids::SameInputAndOutput, lang).arg(out.text));
    return true;
}

} // namespace norvik::cli
