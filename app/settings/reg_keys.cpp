#include "app/settings/reg_keys.h"

#include <QSettings>

namespace norvik {

std::unique_ptr<QSettings> RegKeys::openDefault() {
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QString::fromLatin1(kRegistryPath), QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
#endif
}

QString RegKeys::readValue() const {
    if (m_settings.status() != QSettings::NoError)
        return {};
    // A DWORD comes back as a number; toString gives its decimal text.
    const QVariant v = m_settings.value(QString::fromLatin1(kValueRead));
    if (!v.isValid() || !v.canConvert<QString>())
        return {};
    QString text = v.toString();
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

Language RegKeys::readLanguage() const {
    const QString text = readValue().trimmed();
    if (text == QLatin1String("1"))
        return Language::Chinese;
    return Language::English;
}

bool RegKeys::store(std::initializer_list<std::pair<const char*, QString>> values) {
    if (!m_settings.isWritable())
        return false;
    for (const auto& [name, value] : values)
        m_settings.setValue(QString::fromLatin1(name), value);
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

bool RegKeys::writeLanguage(Language lang) {
    return store({{kValueWritten, QString::number(languageIndex(lang))}});
}

RegKeys::OtherDevice RegKeys::readOtherDevice() const {
    if (m_settings.status() != QSettings::NoError)
        return {};
    const QString path = m_settings.value(QString::fromLatin1(kOtherDevicePath)).toString().trimmed();
    const bool chosen = m_settings.value(QString::fromLatin1(kOtherDeviceChosen)).toString() == QLatin1String("1");
    return {path, chosen && !path.isEmpty()};
}

bool RegKeys::writeOtherDevice(const OtherDevice& device) {
    return store({{kOtherDevicePath, device.path}, {kOtherDeviceChosen, QLatin1String(device.chosen ? "1" : "0")}});
}

bool RegKeys::readOnUnlessOff(const char* key) const {
    if (m_settings.status() != QSettings::NoError)
        return true;
    return m_settings.value(QString::fromLatin1(key)).toString() != QLatin1String("0");
}

bool RegKeys::writeFlag(const char* key, bool on) {
    return store({{key, QLatin1String(on ? "1" : "0")}});
}

bool RegKeys::readVerifyAfterWrite() const {
    return readOnUnlessOff(kVerifyAfterWrite);
}

bool RegKeys::writeVerifyAfterWrite(bool on) {
    return writeFlag(kVerifyAfterWrite, on);
}

bool RegKeys::readBackupBeforeWrite() const {
    return readOnUnlessOff(kBackupBeforeWrite);
}

bool RegKeys::writeBackupBeforeWrite(bool on) {
    return writeFlag(kBackupBeforeWrite, on);
}

int RegKeys::readBackupDays() const {
    if (m_settings.status() != QSettings::NoError)
        return kDefaultBackupDays;
    bool ok = false;
    const int days = m_settings.value(QString::fromLatin1(kBackupDays)).toString().toInt(&ok);
    return ok && days >= 1 && days <= kMaxBackupDays ? days : kDefaultBackupDays;
}

bool RegKeys::writeBackupDays(int days) {
    return store({{kBackupDays, QString::number(days)}});
}

QStringList RegKeys::readSeveralRadios() const {
    if (m_settings.status() != QSettings::NoError)
        return {};
    return m_settings.value(QString::fromLatin1(kSeveralRadios)).toStringList();
}

bool RegKeys::writeSeveralRadios(const QStringList& keys) {
    if (!m_settings.isWritable())
        return false;
    m_settings.setValue(QString::fromLatin1(kSeveralRadios), keys);
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

QString RegKeys::readSeveralFolder() const {
    if (m_settings.status() != QSettings::NoError)
        return {};
    return m_settings.value(QString::fromLatin1(kSeveralFolder)).toString();
}

bool RegKeys::writeSeveralFolder(const QString& folder) {
    return store({{kSeveralFolder, folder}});
}

// A name that is not valid UTF-8 would not survive a QString: each is stored percent-encoded.
std::vector<std::filesystem::path> RegKeys::readRecentFiles() const {
    std::vector<std::filesystem::path> files;
    if (m_settings.status() != QSettings::NoError)
        return files;
    for (const QString& entry : m_settings.value(QString::fromLatin1(kRecentFiles)).toStringList()) {
        const QByteArray bytes = QByteArray::fromPercentEncoding(entry.toLatin1());
        if (!bytes.isEmpty())
#ifdef Q_OS_WIN
            files.emplace_back(QString::fromUtf8(bytes).toStdWString());
#else
            files.emplace_back(bytes.toStdString());
#endif
    }
    return files;
}

bool RegKeys::writeRecentFiles(const std::vector<std::filesystem::path>& files) {
    QStringList entries;
    for (const std::filesystem::path& file : files) {
#ifdef Q_OS_WIN
        const QByteArray bytes = QString::fromStdWString(file.native()).toUtf8();
#else
        const QByteArray bytes = QByteArray::fromStdString(file.native());
#endif
        entries.append(QString::fromLatin1(bytes.toPercentEncoding("/")));
    }
    m_settings.setValue(QString::fromLatin1(kRecentFiles), entries);
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

} // namespace norvik
