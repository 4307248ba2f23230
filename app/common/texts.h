#pragma once

#include <QString>
#include <string_view>

#include "core/strings/strings.h"

namespace norvik {

inline constexpr const char* kProductName = "Norvik R7";

// A string table entry as a QString.
inline QString qtext(int id, Language lang) {
    const std::string_view t = text(id, lang);
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

inline QString qstr(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// A caption as plain text, its mnemonic gone: "&Read" reads "Read", "读取(&R)" reads "读取".
QString withoutMnemonic(QString caption);

// The user's decimal separator, for the "0.00000" and "0.0" formats.
char localeDecimalSeparator();

} // namespace norvik
