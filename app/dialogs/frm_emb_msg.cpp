#include "app/dialogs/frm_emb_msg.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/common/filtered_line_edit.h"
#include "app/common/texts.h"
#include "core/auxiliary/embedded_message.h"
#include "core/image/channel_record.h"
#include "core/strings/string_ids.h"

namespace norvik {

frmEmbMsg::frmEmbMsg(RadioDocument& document, Language lang, QWidget* parent)
    : QDialog(parent), m_document(document), txtMsg(new FilteredLineEdit(this)),
      CmdOk(new QPushButton(qtext(ids::Ok, lang), this)), CmdCancel(new QPushButton(qtext(ids::Cancel, lang), this)) {
    setObjectName(QStringLiteral("frmEmbMsg"));
    setWindowTitle(qtext(ids::EmbeddedMessageCaption, lang));
    txtMsg->setObjectName(QStringLiteral("txtMsg"));
    CmdOk->setObjectName(QStringLiteral("CmdOk"));
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));

    // The message's bytes are Latin-1 codes; every character comes through the rules below.
    txtMsg->setText(QString::fromLatin1(decodeEmbeddedMessage(document.image())));
    txtMsg->selectAllOnEntry();
    txtMsg->setKeyRule([this](QKeyEvent* e) { return textKey(e); });
    txtMsg->setPasteRule([this](const QString& text) { return taken(text); });
    txtMsg->setMinimumWidth(
        txtMsg->fontMetrics().horizontalAdvance(QString(kEmbeddedMessageLength + 4, QLatin1Char('W'))));
    txtMsg->installEventFilter(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdOk);
    buttons->addWidget(CmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(12);
    layout->addWidget(txtMsg);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(CmdOk, &QPushButton::clicked, this, &frmEmbMsg::CmdOk_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmEmbMsg::CmdOk_Click() {
    const std::string bytes = txtMsg->text().toLatin1().toStdString();
    m_document.edit(ids::EmbeddedMessageCaption, [&bytes](RadioImage& image) { encodeEmbeddedMessage(image, bytes); });
    accept();
}

QString frmEmbMsg::taken(const QString& typed) const {
    const auto length = static_cast<std::size_t>(txtMsg->text().size());
    const auto selected = static_cast<std::size_t>(txtMsg->selectedText().size());
    const QList<uint> codes = typed.toUcs4();
    const std::u32string taken = messageInsertion(length, selected, std::u32string(codes.begin(), codes.end()));
    return QString::fromUcs4(taken.data(), static_cast<qsizetype>(taken.size()));
}

bool frmEmbMsg::textKey(QKeyEvent* e) {
    const QString text = e->text();
    const bool typing = !text.isEmpty() && text.at(0).isPrint() &&
                        !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!typing)
        return false; // Backspace, caret keys and the box's own shortcuts
    const QString kept = taken(text);
    if (!kept.isEmpty())
        txtMsg->insert(kept);
    return true;
}

bool frmEmbMsg::eventFilter(QObject* watched, QEvent* event) {
    if (watched != txtMsg)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (isEnterKey(key)) {
            focusNextChild();
            return true;
        }
        // With nothing to put back, Esc closes the dialog.
        if (key == Qt::Key_Escape && txtMsg->text() != txtMsg->entered()) {
            txtMsg->restoreEntered();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace norvik
