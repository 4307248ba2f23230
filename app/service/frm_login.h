#pragma once

#include <QDialog>

#include "core/strings/strings.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace norvik {

class Prompter;
class RadioDocument;
class TransferPorts;

// The service login: the code typed in `txtPassword` opens the service window; a wrong one is
// refused with its text selected for typing again. Made afresh each time, so nothing of a login
// outlives the service window.
class frmLogin : public QDialog {
    Q_OBJECT
public:
    frmLogin(RadioDocument& document, Prompter& prompter, TransferPorts& ports, Language lang,
             QWidget* parent = nullptr);

    bool loggedIn() const { return m_loggedIn; }
    // Handed to the service window it opens (see frmAdv::setVerifyAfterWrite).
    void setVerifyAfterWrite(bool on) { m_verifyAfterWrite = on; }

signals:
    // The service window is up (shown window-modal over the login's parent).
    void serviceWindowOpened(QDialog* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CmdOk_Click();
    void CmdCancel_Click();

    RadioDocument& m_document;
    Prompter& m_prompter;
    TransferPorts& m_ports;
    Language m_language;
    bool m_loggedIn = false;
    bool m_verifyAfterWrite = true;

    QLabel* lblLabels;
    QLineEdit* txtPassword;
    QPushButton* CmdOk;
    QPushButton* CmdCancel;
};

} // namespace norvik
