#include "settings/reg_keys.h"

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

bool RegKeys::writeLanguage(Language lang) {
    if (!m_settings.isWritable())
        return false;
    m_settings.setValue(QString::fromLatin1(kValueWritten), QString::number(languageIndex(lang)));
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

RegKeys::OtherDevice RegKeys::readOtherDevice() const {
    if (m_settings.status() != QSettings::NoError)
        return {};
    const QString path = m_settings.value(QString::fromLatin1(kOtherDevicePath)).toString().trimmed();
    const bool chosen = m_settings.value(QString::fromLatin1(kOtherDeviceChosen)).toString() == QLatin1String("1");
    return {path, chosen && !path.isEmpty()};
}

bool RegKeys::writeOtherDevice(const OtherDevice& device) {
    if (!m_settings.isWritable())
        return false;
    m_settings.setValue(QString::fromLatin1(kOtherDevicePath), device.path);
    m_settings.setValue(QString::fromLatin1(kOtherDeviceChosen), QLatin1String(device.chosen ? "1" : "0"));
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

} // namespace norvik
