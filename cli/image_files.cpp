#include "image_files.h"

#include <QFile>
#include <QSaveFile>

#include "datafile/data_file.h"
#include "strings/string_ids.h"

namespace norvik::cli {
namespace {

QString tr(int id, Language lang) {
    return QString::fromStdString(textString(id, lang));
}

bool isDataFileName(const QString& path) {
    return path.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive);
}

} // namespace

bool loadImageFile(const QString& path, RadioImage& image, Language lang, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = tr(ids::CannotReadFile, lang).arg(path);
        return false;
    }
    // One byte over the largest acceptable size, so a longer file is refused without reading it whole.
    const qint64 limit = isDataFileName(path) ? static_cast<qint64>(kMaxCodecSize) : kImageSize;
    const QByteArray bytes = f.read(limit + 1);
    if (!isDataFileName(path)) {
        if (bytes.size() != kImageSize) {
            *error = tr(ids::NotARawImage, lang).arg(path);
            return false;
        }
        std::copy(bytes.begin(), bytes.end(), image.bytes().begin());
        return true;
    }
    if (bytes.size() > limit) {
        *error = QStringLiteral("%1: %2").arg(path, tr(ids::IncorrectFileType, lang));
        return false;
    }
    const auto* begin = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const DataFileResult result = decodeDataFile(std::span(begin, static_cast<std::size_t>(bytes.size())));
    if (!result.ok()) {
        *error = QStringLiteral("%1: %2").arg(path, tr(dataFileErrorTextId(*result.error), lang));
        return false;
    }
    image = *result.image;
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
    // Written beside the old file and renamed, so a failed save never destroys it.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit()) {
        *error = tr(ids::CannotWriteFile, lang).arg(path);
        return false;
    }
    return true;
}

} // namespace norvik::cli
