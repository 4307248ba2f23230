#include "app/common/texts.h"

#include <QLocale>
#include <QRegularExpression>

namespace norvik {

QString withoutMnemonic(QString caption) {
    static const QRegularExpression bracketed(QStringLiteral("\\(&.\\)"));
    caption.remove(bracketed);
    caption.remove(QLatin1Char('&'));
    return caption;
}

char localeDecimalSeparator() {
    const QString sep = QLocale().decimalPoint();
    return sep == QStringLiteral(",") ? ',' : '.';
}

} // namespace norvik
