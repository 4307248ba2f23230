#include "app/transfer/transfer_progress.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/common/texts.h"
#include "core/clone/clone_session.h"
#include "core/strings/string_ids.h"

namespace norvik {

TransferProgress::TransferProgress(Language lang, const QString& caption)
    : QWidget(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("TransferProgress"));
    setWindowTitle(caption);
    setAttribute(Qt::WA_ShowWithoutActivating, false);

    lblPercent = new QLabel(this);
    lblPercent->setObjectName(QStringLiteral("lblPercent"));
    prgPercent = new QProgressBar(this);
    prgPercent->setObjectName(QStringLiteral("prgPercent"));
    prgPercent->setTextVisible(true);
    prgPercent->setMinimumWidth(320);
    lblPhase = new QLabel(this);
    lblPhase->setObjectName(QStringLiteral("lblPhase"));
    lblPhase->setWordWrap(true);
    lblPhase->hide();
    CmdCancel = new QPushButton(qtext(ids::Cancel, lang), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    connect(CmdCancel, &QPushButton::clicked, this, [this] {
        CmdCancel->setEnabled(false); // one request is enough; the transfer winds down by itself
        emit cancelRequested();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPercent);
    layout->addWidget(prgPercent);
    layout->addWidget(lblPhase);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdCancel);
    layout->addLayout(buttons);
}

void TransferProgress::setProgress(int value, int maximum) {
    // The bar moves in the caption's steps of ten percent, rounded as the caption and the log's
    // percentage lines are, so that none of them disagree.
    if (maximum != prgPercent->maximum())
        prgPercent->setMaximum(maximum);
    else if (value > 0 && !isClonePercentStep(value, maximum))
        return;
    prgPercent->setValue(value);
    prgPercent->setFormat(QStringLiteral("%1%").arg(clonePercent(value, maximum)));
}

void TransferProgress::setPercentCaption(const QString& caption) {
    lblPercent->setText(caption);
}

void TransferProgress::setPhaseText(const QString& text) {
    lblPhase->setText(text);
    lblPhase->setVisible(!text.isEmpty());
}

void TransferProgress::showOver(QWidget* owner) {
    adjustSize();
    if (owner) {
        const QRect area = owner->frameGeometry();
        move(area.center() - rect().center());
    }
    show();
    raise();
}

void TransferProgress::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (CmdCancel->isEnabled())
        CmdCancel->click();
}

int TransferProgress::value() const {
    return prgPercent->value();
}

int TransferProgress::maximum() const {
    return prgPercent->maximum();
}

QString TransferProgress::percentText() const {
    return prgPercent->text();
}

} // namespace norvik
