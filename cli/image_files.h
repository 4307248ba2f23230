#pragma once

#include <QString>

#include "image/radio_image.h"
#include "strings/strings.h"

namespace norvik::cli {

// Loading and saving the image files the radio commands take. A file of exactly 4096 bytes is
// a raw image; data files (.dat) go through the data file codec once this build has one.
bool loadImageFile(const QString& path, RadioImage& image, Language lang, QString* error);
bool saveImageFile(const QString& path, const RadioImage& image, Language lang, QString* error);
// Whether saveImageFile() can write this kind of file, checked before a transfer starts.
bool canSaveImageFile(const QString& path, Language lang, QString* error);

} // namespace norvik::cli
