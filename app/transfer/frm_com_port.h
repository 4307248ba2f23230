#pragma once

#include <QDialog>
#include <QTimer>
#include <QVector>
#include <memory>

#include "app/transfer/transfer_ports.h"
#include "core/strings/strings.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace norvik {

// The choice of port: twenty numbered buttons, each enabled once CheckPort has opened its port,
// any other serial device by its path, and the simulated radio. All numbered ports are probed at
// the same time while the dialog is already on screen, the other device right after them and
// again whenever its path has been edited; the port in force stays selected even when its button
// stays disabled. Typing a path chooses it.
class frmComPort : public QDialog {
    Q_OBJECT
public:
    // `otherDevice` is the path the "Other device…" field starts with.
    frmComPort(Language lang, const QVector<NumberedPort>& ports, TransferPorts::CheckerFactory checkers,
               PortChoice current, const QString& otherDevice, QWidget* parent = nullptr);
    ~frmComPort() override;

    // The port the dialog stands for: the one checked after OK, the one it started with otherwise.
    PortChoice choice() const { return m_choice; }
    bool probing() const { return m_probing; }
    // The path in the "Other device…" field, whatever was chosen.
    QString otherDevicePath() const;

    QRadioButton* portButton(int index) const { return OptComPort.at(index); }
    QRadioButton* simulatedButton() const { return OptSimulated; }
    QRadioButton* otherDeviceButton() const { return OptOtherDevice; }

signals:
    void probeFinished();
    // The path under "Other device…" was probed; ok when it opened.
    void otherDeviceChecked(bool ok);

private:
    void CmdOk_Click();
    void txtOtherDevice_Change(const QString& text);
    void probeOtherDevice();

    PortChoice m_choice;
    TransferPorts::CheckerFactory m_checkers;
    std::unique_ptr<PortChecker> m_checker;
    bool m_probing = true;
    // One probe of the other device at a time, never beside the numbered ports' (it may be one of
    // them, and a second open of the same device fails).
    std::unique_ptr<PortChecker> m_otherChecker;
    bool m_otherDue = false;
    QTimer m_otherDelay; // lets the typing finish before the probe

    QGroupBox* fraComPort;
    QVector<QRadioButton*> OptComPort;
    QRadioButton* OptOtherDevice;
    QLineEdit* txtOtherDevice;
    QRadioButton* OptSimulated;
    QPushButton* CmdOk;
    QPushButton* CmdCancel;
};

} // namespace norvik
