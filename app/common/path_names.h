#pragma once

#include <QDir>
#include <QString>
#include <filesystem>

#include "io/path_text.h"

namespace norvik {

// The path a file dialog's answer names.
inline std::filesystem::path pathFromDialog(const QString& name) {
    return io::pathFromUtf8(name.toStdString());
}

// A path as the user reads it, with the platform's separators. Bytes that are not UTF-8 show as
// U+FFFD: the text is for showing only, the path itself is kept.
inline QString shownPath(const std::filesystem::path& path) {
    return QDir::toNativeSeparators(QString::fromStdString(io::displayName(path)));
}

// The file's name alone, as the user reads it.
inline QString shownFileName(const std::filesystem::path& path) {
    const QString shown = shownPath(path);
    return shown.mid(qMax(shown.lastIndexOf(QLatin1Char('\\')), shown.lastIndexOf(QLatin1Char('/'))) + 1);
}

} // namespace norvik
