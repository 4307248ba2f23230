#include "app/dialogs/frm_about.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/common/texts.h"
#include "core/strings/string_ids.h"

namespace norvik {

QString frmAbout::infoText(Language lang, const QLocale& locale) {
    const QString product = QString::fromLatin1(kProductName);
    return QStringList{qtext(ids::AboutProgram, lang), qtext(ids::AboutFor, lang) + QLatin1Char(' ') + product,
                       qtext(ids::AboutVersion, lang) + QLatin1Char(' ') + QString::fromLatin1(kVersion),
                       qtext(ids::AboutRelease, lang) + QLatin1Char(' ') +
                           locale.toString(releaseDate(), QLocale::ShortFormat)}
        .join(QLatin1Char('\n'));
}

frmAbout::frmAbout(Language lang, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(qtext(ids::AboutTitle, lang) + QLatin1Char(' ') + QString::fromLatin1(kProductName));

    lblInfo = new QLabel(infoText(lang, QLocale()), this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setAlignment(Qt::AlignCenter);
    lblInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The box is fixed to its contents: wide enough that the title bar shows the whole title
    // beside its buttons (the Chinese lines alone would make it very narrow).
    const QFontMetrics metrics = fontMetrics();
    lblInfo->setMinimumWidth(metrics.horizontalAdvance(windowTitle()) + metrics.averageCharWidth() * 16);

    CmdOk = new QPushButton(qtext(ids::Ok, lang), this);
    CmdOk->setObjectName(QStringLiteral("CmdOk"));
    CmdOk->setDefault(true);
    connect(CmdOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdOk);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(16);
    layout->addWidget(lblInfo);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace norvik
