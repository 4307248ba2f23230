#pragma once

#include <QString>

#include "image/radio_image.h"
#include "strings/strings.h"

namespace norvik::cli {

// Loading and saving the image files the radio commands take: a name ending in .dat is a data
// file (packed by the codec, exactly what the program's Save writes); anything else is a raw
// 4096-byte image in address order.
bool loadImageFile(const QString& path, RadioImage& image, Language lang, QString* error);
bool saveImageFile(const QString& path, const RadioImage& image, Language lang, QString* error);

} // namespace norvik::cli
