#include "app/service/digit_field.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace norvik {

void makeDigitField(QLineEdit* field, int maxDigits) {
    field->setMaxLength(maxDigits);
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(maxDigits)), field));
    field->setContextMenuPolicy(Qt::NoContextMenu);
}

} // namespace norvik
