#include "image_files.h"

#include <QFile>
#include <QSaveFile>

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
    // Read one byte more than an image so that a longer file is not mistaken for one.
    const QByteArray bytes = f.read(kImageSize + 1);
    if (bytes.size() != kImageSize) {
        *error = tr(ids::NotARawImage, lang).arg(path);
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), image.bytes().begin());
    return true;
}

bool canSaveImageFile(const QString& path, Language lang, QString* error) {
    if (isDataFileName(path)) {
        *error = tr(ids::NotARawImage, lang).arg(path);
        return false;
    }
    return true;
}

bool saveImageFile(const QString& path, const RadioImage& image, Language lang, QString* error) {
    if (!canSaveImageFile(path, lang, error))
        return false;
    // Written beside the old file and renamed, so a failed save never destroys it.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(reinterpret_cast<const char*>(image.bytes().data()), kImageSize) != kImageSize || !f.commit()) {
        *error = tr(ids::CannotWriteFile, lang).arg(path);
        return false;
    }
    return true;
}

} // namespace norvik::cli
