#pragma once

#include <QDateTime>
#include <QDialog>
#include <QString>
#include <QVector>
#include <filesystem>
#include <memory>

#include "core/clone/clone_session.h"
#include "core/strings/strings.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QSettings;
class QTreeWidget;
class QTreeWidgetItem;

namespace norvik {

class ByteLink;
class CloneBatch;
class Prompter;
class RadioDocument;
class TransferHost;
class TransferPorts;
struct PortOutcome;
enum class PortPhase : std::uint8_t;

// One read or write on several radios at once, on the batch engine the command line uses: one
// row per port (every serial port with its description, the simulated radios and the device
// typed under "Other device…"), each with a check box that is remembered. Start runs the checked
// rows; each shows its progress, phase, result and time. Retry runs a failed row again, Cancel
// stops the current row, Cancel All every row, and Start Again runs all rows once more for the
// next radios on the same cables. A write sends the image as it was when Start was pressed, and
// holds it meanwhile: the main window shows it but nothing changes it. A read saves one data file
// per radio into the chosen folder, named after the port and the time, never over a file.
class frmSeveralRadios : public QDialog {
    Q_OBJECT
public:
    enum Column { ColPort, ColProgress, ColPhase, ColResult, ColTime, kColumnCount };

    frmSeveralRadios(CloneMode mode, TransferHost& host, RadioDocument& document, TransferPorts& ports,
                     QSettings& settings, Prompter& prompter, Language lang, QWidget* parent = nullptr);
    ~frmSeveralRadios() override;

    CloneMode mode() const { return m_mode; }
    bool isRunning() const;
    // Where a write keeps each radio before writing it (when Setup says so); empty: no backup.
    void setBackupFolder(const std::filesystem::path& folder) { m_backupFolder = folder; }
    // Where reads go; asked for at the first Start when not set.
    QString folder() const { return m_folder; }
    void setFolder(const QString& folder);
    int rowCount() const { return int(m_rows.size()); }
    // The row's key in the settings: "sim:N", "port:DEVICE" or "other:DEVICE".
    QString rowKey(int row) const;
    QString rowText(int row, Column column) const;
    QProgressBar* rowBar(int row) const;
    // Where a row's read was saved, empty when it was not.
    QString savedFile(int row) const;

    void cmdStart_Click();
    void cmdRetry_Click();
    void cmdCancel_Click();
    void cmdCancelAll_Click();
    void cmdFolder_Click();

signals:
    void finished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    struct Row {
        QString key;
        QString name; // as the history names the port
        QString device;
        int simulator = -1;
        QTreeWidgetItem* item = nullptr;
        QProgressBar* bar = nullptr;
        int batchIndex = -1;
        bool failed = false;
        QString savedFile;
    };

    void addRow(const QString& key, const QString& caption, const QString& name, const QString& device, int simulator,
                const QStringList& checked);
    std::unique_ptr<ByteLink> makeLink(const Row& row) const;
    int currentRow() const;
    void rememberChecks();
    void showNote();
    void showRunning(bool running);
    void updateButtons();
    void onPhase(int index, PortPhase phase);
    void onEnded(int index, const PortOutcome& outcome);
    void onFinished();
    Row* rowOfBatch(int index);

    CloneMode m_mode;
    TransferHost& m_host;
    RadioDocument& m_document;
    TransferPorts& m_ports;
    QSettings& m_settings;
    Prompter& m_prompter;
    Language m_language;
    QString m_folder;
    std::filesystem::path m_backupFolder;
    QString m_dataFile; // what a write sends, as the history names it
    QDateTime m_started;
    std::vector<Row> m_rows;
    std::unique_ptr<CloneBatch> m_batch;
    bool m_ranOnce = false;

    QLabel* lblNote;
    QPushButton* cmdFolder;
    QTreeWidget* lstPorts;
    QLabel* lblStatus;
    QPushButton* cmdStart;
    QPushButton* cmdRetry;
    QPushButton* cmdCancel;
    QPushButton* cmdCancelAll;
    QPushButton* cmdClose;
};

} // namespace norvik
