#include "app/common/texts.h"

#include <QLocale>

namespace norvik {

char localeDecimalSeparator() {
    const QString sep = QLocale().decimalPoint();
    return sep == QStringLiteral(",") ? ',' : '.';
}

} // namespace norvik
