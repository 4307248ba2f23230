#include "image_files.h"

#include <QFile>
#include <QSaveFile>

#include "datafile/data_file.h"
#include "options.h"
#include "strings/string_ids.h"

namespace norvik::cli {
namespace {

bool isDataFileName(const QString& path) {
    return path.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive);
}

} // namespace

bool readLimited(const QString& path, qint64 maxSize, QByteArray& data, QString* why) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return false;
    }
    data.clear();
    while (data.size() <= maxSize) { // a pipe hands its bytes over in pieces
        const QByteArray chunk = file.read(maxSize + 1 - data.size());
        if (chunk.isEmpty())
            break;
        data += chunk;
    }
    if (file.error() != QFileDevice::NoError) {
        *why = file.errorString();
        return false;
    }
    return true;
}

bool writeAtomically(const QString& path, const QByteArray& data, QString* why) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        *why = file.errorString();
        return false;
    }
    return true;
}

std::optional<RadioImage> decodeDataFileBytes(const QString& path, const QByteArray& data, Language lang,
                                              QString* error) {
    if (data.size() > static_cast<qsizetype>(kMaxCodecSize)) {
        *error = QStringLiteral("%1: %2").arg(path, cliText(ids::IncorrectFileType, lang));
        return std::nullopt;
    }
    const auto* begin = reinterpret_cast<const std::uint8_t*>(data.constData());
    const DataFileResult result = decodeDataFile(std::span(begin, static_cast<std::size_t>(data.size())));
    if (!result.ok()) {
        *error = QStringLiteral("%1: %2").arg(path, cliText(dataFileErrorTextId(*result.error), lang));
        return std::nullopt;
    }
    return *result.image;
}

bool loadImageFile(const QString& path, RadioImage& image, Language lang, QString* error) {
    const bool dataFile = isDataFileName(path);
    QByteArray bytes;
    QString why;
    if (!readLimited(path, dataFile ? static_cast<qint64>(kMaxCodecSize) : kImageSize, bytes, &why)) {
        *error = cliText(ids::CannotReadFile, lang).arg(path);
        return false;
    }
    if (!dataFile) {
        if (bytes.size() != kImageSize) {
            *error = cliText(ids::NotARawImage, lang).arg(path);
            return false;
        }
        std::copy(bytes.begin(), bytes.end(), image.bytes().begin());
        return true;
    }
    const auto decoded = decodeDataFileBytes(path, bytes, lang, error);
    if (!decoded)
        return false;
    image = *decoded;
    return true;
}

bool saveImageFile(const QString& path, const RadioImage& image, Language lang, QString* error) {
    QByteArray data;
    if (isDataFileName(path)) {
        const ByteVector packed = encodeDataFile(image);
        data = QByteArray(reinterpret_cast<const char*>(packed.data()), static_cast<qsizetype>(packed.size()));
    } else {
        data = QByteArray(reinterpret_cast<const char*>(image.bytes().data()), kImageSize);
    }
    QString why;
    if (!writeAtomically(path, data, &why)) {
        *error = cliText(ids::CannotWriteFile, lang).arg(path);
        return false;
    }
    return true;
}

} // namespace norvik::cli
