#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "image/radio_image.h"
#include "strings/strings.h"

namespace norvik::cli {

// Loading and saving the image files the radio commands take: a name ending in .dat is a data
// file (packed by the codec, exactly what the program's Save writes); anything else is a raw
// 4096-byte image in address order.
bool loadImageFile(const QString& path, RadioImage& image, Language lang, QString* error);
bool saveImageFile(const QString& path, const RadioImage& image, Language lang, QString* error);

// Reads at most maxSize + 1 bytes, so a huge or endless input is refused early: more than
// maxSize bytes in `data` means the file is too large. False when the file cannot be opened or
// read; `why` then holds the system's reason.
bool readLimited(const QString& path, qint64 maxSize, QByteArray& data, QString* why);
// Writes a temporary file beside the target and renames it over the target, so a failure
// leaves the old file as it was. False on failure, with the system's reason in `why`.
bool writeAtomically(const QString& path, const QByteArray& data, QString* why);
// The image the bytes of a data file hold; without one, `error` says why ("<path>: <reason>").
std::optional<RadioImage> decodeDataFileBytes(const QString& path, const QByteArray& data, Language lang,
                                              QString* error);

} // namespace norvik::cli
