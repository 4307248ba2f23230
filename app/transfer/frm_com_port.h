#pragma once

#include <QDialog>
#include <QVector>
#include <memory>

#include "strings/strings.h"
#include "transfer/transfer_ports.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace norvik {

// The choice of port: twenty numbered buttons, each enabled once CheckPort has opened its port,
// and the simulated radio. All ports are probed at the same time while the dialog is already on
// screen; the port in force stays selected even when its button stays disabled.
class frmComPort : public QDialog {
    Q_OBJECT
public:
    frmComPort(Language lang, const QVector<NumberedPort>& ports, std::unique_ptr<PortChecker> checker,
               PortChoice current, QWidget* parent = nullptr);
    ~frmComPort() override;

    // The port the dialog stands for: the one checked after OK, the one it started with otherwise.
    PortChoice choice() const { return m_choice; }
    bool probing() const { return m_probing; }

    QRadioButton* portButton(int index) const { return OptComPort.at(index); }
    QRadioButton* simulatedButton() const { return OptSimulated; }

signals:
    void probeFinished();

private:
    void CmdOk_Click();

    PortChoice m_choice;
    std::unique_ptr<PortChecker> m_checker;
    bool m_probing = true;

    QGroupBox* fraComPort;
    QVector<QRadioButton*> OptComPort;
    QRadioButton* OptSimulated;
    QPushButton* CmdOk;
    QPushButton* CmdCancel;
};

} // namespace norvik
