#include "app/service/frm_login.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/common/accessible_names.h"
#include "app/common/texts.h"
#include "app/dialogs/prompt.h"
#include "app/service/frm_adv.h"
#include "core/service/service_code.h"
#include "core/strings/string_ids.h"

namespace norvik {

frmLogin::frmLogin(RadioDocument& document, Prompter& prompter, TransferPorts& ports, Language lang, QWidget* parent)
    : QDialog(parent), m_document(document), m_prompter(prompter), m_ports(ports), m_language(lang) {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(qtext(ids::LoginCaption, lang));

    lblLabels = new QLabel(qtext(ids::LoginPassword, lang), this);
    lblLabels->setObjectName(QStringLiteral("lblLabels"));
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->installEventFilter(this);
    lblLabels->setBuddy(txtPassword);
    CmdOk = new QPushButton(qtext(ids::Ok, lang), this);
    CmdOk->setObjectName(QStringLiteral("CmdOk"));
    CmdCancel = new QPushButton(qtext(ids::Cancel, lang), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    // Enter moves from the code to OK and presses OK there; no button is pressed from the field.
    for (QPushButton* b : {CmdOk, CmdCancel})
        b->setAutoDefault(true);
    connect(CmdOk, &QPushButton::clicked, this, &frmLogin::CmdOk_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &frmLogin::CmdCancel_Click);

    auto* field = new QHBoxLayout;
    field->addWidget(lblLabels);
    field->addWidget(txtPassword, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdOk);
    buttons->addWidget(CmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addLayout(buttons);
    setMinimumWidth(320);
    txtPassword->setFocus();
}

bool frmLogin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtPassword && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            CmdOk->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmLogin::CmdOk_Click() {
    if (!isServiceCode(txtPassword->text().toStdString())) {
        m_prompter.message(this, QMessageBox::NoIcon, qtext(ids::LoginCaption, m_language),
                           qtext(ids::WrongPassword, m_language), QMessageBox::Ok);
        txtPassword->setFocus();
        txtPassword->setCursorPosition(0);
        txtPassword->selectAll();
        return;
    }
    m_loggedIn = true;
    hide();
    auto* service = new frmAdv(m_document, m_prompter, m_ports, m_language, parentWidget());
    service->setVerifyAfterWrite(m_verifyAfterWrite);
    service->setAttribute(Qt::WA_DeleteOnClose);
    connect(service, &QDialog::finished, this, [this] { done(QDialog::Accepted); });
    nameControlsFromLabels(service, m_language);
    service->open();
    emit serviceWindowOpened(service);
}

void frmLogin::CmdCancel_Click() {
    m_loggedIn = false;
    reject();
}

} // namespace norvik
