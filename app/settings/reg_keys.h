#pragma once

#include <QString>
#include <memory>

#include "strings/strings.h"

class QSettings;

namespace norvik {

// The one setting kept between runs: the interface language. On Windows it is the registry
// value HKEY_LOCAL_MACHINE\SoftWare\NORVIK LABS\Norvik R7\Language; elsewhere the same value
// in the native settings file of organisation "NORVIK LABS", application "Norvik R7". The text
// is "0" for English and "1" for Chinese.
class RegKeys {
public:
    explicit RegKeys(QSettings& settings) : m_settings(settings) {}

    // The store the program uses when nobody injects another.
    static std::unique_ptr<QSettings> openDefault();

    // The stored text, or empty when there is none or it cannot be read.
    QString readValue() const;
    // English for anything but "0" or "1": a stray value must not pick a caption set that
    // does not exist.
    Language readLanguage() const;
    // False when the store could not be written (silently: the choice is simply lost).
    bool writeLanguage(Language lang);

    static constexpr const char* kOrganisation = "NORVIK LABS";
    static constexpr const char* kApplication = "Norvik R7";
    static constexpr const char* kRegistryPath = "HKEY_LOCAL_MACHINE\\SoftWare\\NORVIK LABS\\Norvik R7";
    static constexpr const char* kValueRead = "Language";
#ifdef Q_OS_WIN
    // Registry value names ignore case, so the name written and the name read are one value.
    static constexpr const char* kValueWritten = "language";
#else
    static constexpr const char* kValueWritten = "Language";
#endif

private:
    QSettings& m_settings;
};

} // namespace norvik
