#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "core/backups/backup_rules.h"
#include "core/strings/strings.h"

class QSettings;

namespace norvik {

// The settings kept between runs: the interface language, the serial device typed under
// "Other device…" in the port dialog, and whether a write is read back. On Windows they are values under the registry
// key HKEY_LOCAL_MACHINE\SoftWare\NORVIK LABS\Norvik R7 (the language in "Language"); elsewhere the same values in the
// native settings file of organisation "NORVIK LABS", application "Norvik R7". The language text is "0" for English and
// "1" for Chinese.
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
    // False when the store could not be written; the caller tells the user.
    bool writeLanguage(Language lang);

    // The device path last typed under "Other device…", and whether it was the port chosen then.
    struct OtherDevice {
        QString path;
        bool chosen = false;
    };
    OtherDevice readOtherDevice() const;
    bool writeOtherDevice(const OtherDevice& device);

    // Read the radio back after a write: on unless it was turned off.
    bool readVerifyAfterWrite() const;
    bool writeVerifyAfterWrite(bool on);

    // Back up the radio before a write: on unless it was turned off.
    bool readBackupBeforeWrite() const;
    bool writeBackupBeforeWrite(bool on);
    // Days a backup is kept before the start removes it (1..kMaxBackupDays, else the default).
    int readBackupDays() const;
    bool writeBackupDays(int days);
    // The ports checked in the several-radios window, by their keys (see frmSeveralRadios), and
    // the folder its reads go into.
    QStringList readSeveralRadios() const;
    bool writeSeveralRadios(const QStringList& keys);
    QString readSeveralFolder() const;
    bool writeSeveralFolder(const QString& folder);

    // The File menu's recent data files, newest first, each kept as the bytes of its name.
    std::vector<std::filesystem::path> readRecentFiles() const;
    bool writeRecentFiles(const std::vector<std::filesystem::path>& files);

    static constexpr const char* kOrganisation = "NORVIK LABS";
    static constexpr const char* kApplication = "Norvik R7";
    static constexpr const char* kRegistryPath = "HKEY_LOCAL_MACHINE\\SoftWare\\NORVIK LABS\\Norvik R7";
    static constexpr const char* kValueRead = "Language";
    static constexpr const char* kOtherDevicePath = "OtherDevice";
    static constexpr const char* kOtherDeviceChosen = "OtherDeviceChosen";
    static constexpr const char* kVerifyAfterWrite = "VerifyAfterWrite";
    static constexpr const char* kRecentFiles = "RecentFiles";
    static constexpr const char* kBackupBeforeWrite = "BackupBeforeWrite";
    static constexpr const char* kBackupDays = "BackupDays";
    static constexpr const char* kSeveralRadios = "SeveralRadios";
    static constexpr const char* kSeveralFolder = "SeveralRadiosFolder";
#ifdef Q_OS_WIN
    // Registry value names ignore case, so the name written and the name read are one value.
    static constexpr const char* kValueWritten = "language";
#else
    static constexpr const char* kValueWritten = "Language";
#endif

private:
    // Writes the values and makes sure they reached the store.
    bool store(std::initializer_list<std::pair<const char*, QString>> values);
    // A setting that is on until it is stored as "0" (and on when the settings cannot be read).
    bool readOnUnlessOff(const char* key) const;
    bool writeFlag(const char* key, bool on);
    QSettings& m_settings;
};

} // namespace norvik
