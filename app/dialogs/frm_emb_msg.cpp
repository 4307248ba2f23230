#include "app/dialogs/frm_emb_msg.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/common/cell_editor.h"
#include "app/common/texts.h"
#include "core/dialogs/embedded_message.h"
#include "core/image/channel_record.h"
#include "core/strings/string_ids.h"

namespace norvik {

frmEmbMsg::frmEmbMsg(RadioDocument& document, Language lang, QWidget* parent)
    : QDialog(parent), m_document(document), txtMsg(new QLineEdit(this)),
      CmdOk(new QPushButton(qtext(ids::Ok, lang), this)), CmdCancel(new QPushButton(qtext(ids::Cancel, lang), this)) {
    setObjectName(QStringLiteral("frmEmbMsg"));
    setWindowTitle(qtext(ids::EmbeddedMessageCaption, lang));
    txtMsg->setObjectName(QStringLiteral("txtMsg"));
    CmdOk->setObjectName(QStringLiteral("CmdOk"));
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));

    // The message's bytes are Latin-1 codes; every character comes through the key rules below.
    txtMsg->setText(QString::fromLatin1(decodeEmbeddedMessage(document.image())));
    txtMsg->setAttribute(Qt::WA_InputMethodEnabled, false);
    txtMsg->setContextMenuPolicy(Qt::NoContextMenu);
    txtMsg->setAcceptDrops(false);
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

void frmEmbMsg::insertTyped(const QString& typed) {
    const auto length = static_cast<std::size_t>(txtMsg->text().size());
    const auto selected = static_cast<std::size_t>(txtMsg->selectedText().size());
    const QList<uint> codes = typed.toUcs4();
    const std::u32string taken = messageInsertion(length, selected, std::u32string(codes.begin(), codes.end()));
    if (!taken.empty())
        txtMsg->insert(QString::fromUcs4(taken.data(), static_cast<qsizetype>(taken.size())));
}

bool frmEmbMsg::textKey(QKeyEvent* e) {
    if (e->matches(QKeySequence::Paste)) {
        insertTyped(QApplication::clipboard()->text());
        return true;
    }
    if (isEnterKey(e->key())) {
        focusNextChild();
        return true;
    }
    if (e->key() == Qt::Key_Escape) {
        if (txtMsg->text() == m_remembered)
            return false; // nothing to put back: Esc closes the dialog
        txtMsg->setText(m_remembered);
        txtMsg->selectAll();
        return true;
    }
    const QString text = e->text();
    const bool typing = !text.isEmpty() && text.at(0).isPrint() &&
                        !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!typing)
        return false; // Backspace, caret keys and the box's own shortcuts
    insertTyped(text);
    return true;
}

bool frmEmbMsg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtMsg) {
        switch (event->type()) {
        case QEvent::KeyPress:
            return textKey(static_cast<QKeyEvent*>(event));
        case QEvent::FocusIn:
            m_remembered = txtMsg->text();
            // After the click that brought the focus has placed the caret.
            QTimer::singleShot(0, txtMsg, &QLineEdit::selectAll);
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton)
                return true; // the selection would be pasted past the limits
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace norvik
