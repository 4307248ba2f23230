#include "app/transfer/transfer_commands.h"

#include "app/common/accessible_names.h"
#include "app/common/texts.h"
#include "app/dialogs/prompt.h"
#include "app/settings/reg_keys.h"
#include "app/transfer/frm_clone.h"
#include "app/transfer/frm_com_port.h"
#include "app/transfer/frm_history.h"
#include "app/transfer/frm_several_radios.h"
#include "app/transfer/transfer_host.h"
#include "app/transfer/transfer_ports.h"
#include "core/image/radio_document.h"
#include "core/strings/string_ids.h"
#include "transport/backup_folder.h"
#include "transport/byte_link.h"
#include "transport/clone_runner.h"
#include "transport/transfer_record.h"

namespace norvik {

TransferCommands::TransferCommands(TransferHost& host, RadioDocument& document, Prompter& prompter, QSettings& settings,
                                   QObject* parent)
    : QObject(parent), m_host(host), m_document(document), m_prompter(prompter), m_settings(settings),
      m_backupFolder(defaultBackupFolder()) {}

// The windows of their own have no parent (the main window is disabled while they run): they go
// with the commands.
TransferCommands::~TransferCommands() {
    delete m_several.data();
    delete m_history.data();
}

void TransferCommands::setPorts(TransferPorts& ports) {
    m_ports = &ports;
    useRememberedDevice(ports);
}

TransferPorts& TransferCommands::ports() {
    if (!m_ports) {
        m_ownPorts = std::make_unique<TransferPorts>();
        m_ports = m_ownPorts.get();
        useRememberedDevice(*m_ports);
    }
    return *m_ports;
}

void TransferCommands::useRememberedDevice(TransferPorts& ports) {
    const RegKeys::OtherDevice remembered = RegKeys(m_settings).readOtherDevice();
    if (remembered.chosen)
        ports.setChoice({ports.choice().number, false, remembered.path});
}

frmClone* TransferCommands::clone() const {
    return m_clone;
}

bool TransferCommands::confirm(int questionId, int noteId) {
    QString text = qtext(questionId, m_language) + QLatin1Char('\n');
    if (noteId)
        text += qtext(noteId, m_language) + QLatin1Char('\n');
    const auto answer = m_prompter.message(
        m_host.transferWindow(), QMessageBox::Question, QString::fromLatin1(kProductName),
        text + qtext(ids::ContinueQuestion, m_language), QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
    return answer == QMessageBox::Ok;
}

void TransferCommands::read() {
    if (m_clone || raiseBusyWindow() ||
        !confirm(ids::ReadFromRadioQuestion, m_document.isModified() ? ids::ReadOverUnsavedEdits : 0))
        return;
    if (m_beforeRead && !m_beforeRead())
        return;
    start(CloneMode::Read);
}

void TransferCommands::write() {
    const bool backup = RegKeys(m_settings).readBackupBeforeWrite();
    if (m_clone || raiseBusyWindow() || !confirm(ids::WriteToRadioQuestion, backup ? ids::BackupWriteNote : 0))
        return;
    start(CloneMode::Write);
}

void TransferCommands::record(CloneMode mode, const PortOutcome& outcome) {
    const bool reading = mode == CloneMode::Read;
    const QString problem = recordTransfer(historyEntry(reading ? QStringLiteral("read") : QStringLiteral("write"),
                                                        ports().choiceName(m_language),
                                                        reading ? QString() : m_host.transferDataFile(), outcome),
                                           m_language);
    if (!problem.isEmpty())
        m_host.appendTransferLogLine(problem);
}

void TransferCommands::start(CloneMode mode) {
    auto* clone = new frmClone(m_host, m_prompter, ports().makeLink(), m_language, this);
    connect(clone, &frmClone::finished, this, [this, clone, mode](CloneOutcome outcome) {
        record(mode, clone->outcome(outcome, clone->runner().backupPath()));
        if (mode == CloneMode::Read && outcome == CloneOutcome::Completed)
            m_document.replace(clone->receivedImage(), ids::MenuTransferRead, RadioDocument::SavedImage::Keep);
        clone->deleteLater();
        m_clone = nullptr;
        emit finished(outcome);
    });
    m_clone = clone;
    const bool verify = mode == CloneMode::Write && RegKeys(m_settings).readVerifyAfterWrite();
    const bool backup = mode == CloneMode::Write && RegKeys(m_settings).readBackupBeforeWrite();
    if (!clone->TransferDatas(mode, m_document.image(), verify, backup ? m_backupFolder : std::filesystem::path())) {
        record(mode, PortOutcome::failed(clone->openError()));
        m_clone = nullptr;
        delete clone;
    }
}

void TransferCommands::severalRadios(CloneMode mode) {
    if (m_clone)
        return;
    if (m_several) {
        if (m_several->isRunning() || m_several->mode() == mode) {
            m_several->raise();
            m_several->activateWindow();
            return;
        }
        delete m_several.data();
    }
    m_several = new frmSeveralRadios(mode, m_host, m_document, ports(), m_settings, m_prompter, m_language);
    m_several->setAttribute(Qt::WA_DeleteOnClose);
    m_several->setBackupFolder(m_backupFolder);
    nameControlsFromLabels(m_several, m_language);
    m_several->show();
}

void TransferCommands::history() {
    if (m_history) {
        m_history->reload();
        m_history->raise();
        m_history->activateWindow();
        return;
    }
    m_history = new frmHistory(historyFilePath(), m_prompter, m_language);
    m_history->setAttribute(Qt::WA_DeleteOnClose);
    nameControlsFromLabels(m_history, m_language);
    m_history->show();
}

bool TransferCommands::busy() const {
    return m_several && m_several->isRunning();
}

bool TransferCommands::raiseBusyWindow() {
    if (!busy())
        return false;
    m_several->raise();
    m_several->activateWindow();
    return true;
}

void TransferCommands::closeWindows() {
    if (m_several && !m_several->isRunning())
        m_several->close();
    if (m_history)
        m_history->close();
}

frmSeveralRadios* TransferCommands::severalRadiosWindow() const {
    return m_several;
}

frmHistory* TransferCommands::historyWindow() const {
    return m_history;
}

void TransferCommands::chooseComPort() {
    TransferPorts& all = ports();
    auto* dialog = new frmComPort(
        m_language, all.ports(), [this] { return ports().makeChecker(); }, all.choice(),
        RegKeys(m_settings).readOtherDevice().path, m_host.transferWindow());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        ports().setChoice(dialog->choice());
        RegKeys(m_settings).writeOtherDevice({dialog->otherDevicePath(), !dialog->choice().device.isEmpty()});
    });
    nameControlsFromLabels(dialog, m_language);
    // Window-modal and shown at once: the probe runs while the dialog is already on screen.
    dialog->open();
    emit comPortDialogShown(dialog);
}

} // namespace norvik
