#include "app/transfer/frm_several_radios.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeWidget>
#include <utility>

#include "app/common/path_names.h"
#include "app/common/texts.h"
#include "app/dialogs/prompt.h"
#include "app/settings/reg_keys.h"
#include "app/transfer/transfer_host.h"
#include "app/transfer/transfer_ports.h"
#include "core/clone/port_files.h"
#include "core/image/radio_document.h"
#include "core/strings/string_ids.h"
#include "io/image_files.h"
#include "transport/byte_link.h"
#include "transport/clone_batch.h"
#include "transport/serial_link.h"
#include "transport/transfer_record.h"

namespace norvik {
namespace {

// What the phase column says of each phase of a row's run.
constexpr std::pair<PortPhase, int> kPhaseTexts[] = {{PortPhase::BackingUp, ids::PhaseBackingUp},
                                                     {PortPhase::Writing, ids::PhaseWriting},
                                                     {PortPhase::Verifying, ids::PhaseVerifying},
                                                     {PortPhase::Reading, ids::PhaseReading}};

} // namespace

frmSeveralRadios::frmSeveralRadios(CloneMode mode, TransferHost& host, RadioDocument& document, TransferPorts& ports,
                                   QSettings& settings, Prompter& prompter, Language lang, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_host(host), m_document(document), m_ports(ports), m_settings(settings),
      m_prompter(prompter), m_language(lang) {
    setObjectName(QStringLiteral("frmSeveralRadios"));
    const bool reading = mode == CloneMode::Read;
    setWindowTitle(qtext(reading ? ids::SeveralReadTitle : ids::SeveralWriteTitle, lang));
    const auto button = [this, lang](const char* name, int id) {
        auto* b = new QPushButton(qtext(id, lang), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };

    lblNote = new QLabel(this);
    lblNote->setObjectName(QStringLiteral("lblNote"));
    lblNote->setWordWrap(true);
    cmdFolder = button("cmdFolder", ids::SeveralFolder);
    cmdFolder->setVisible(reading);
    auto* lblPorts = new QLabel(qtext(ids::SeveralPorts, lang), this);
    lstPorts = new QTreeWidget(this);
    lstPorts->setObjectName(QStringLiteral("lstPorts"));
    lblPorts->setBuddy(lstPorts);
    lstPorts->setColumnCount(kColumnCount);
    lstPorts->setHeaderLabels({qtext(ids::ColumnPort, lang), qtext(ids::ColumnProgress, lang),
                               qtext(ids::ColumnPhase, lang), qtext(ids::ColumnResult, lang),
                               qtext(ids::ColumnTime, lang)});
    lstPorts->setRootIsDecorated(false);
    lstPorts->setAllColumnsShowFocus(true);
    lstPorts->setUniformRowHeights(true);
    lstPorts->header()->setStretchLastSection(false);
    lstPorts->header()->setSectionResizeMode(ColResult, QHeaderView::Stretch);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);

    cmdStart = button("cmdStart", ids::SeveralStart);
    cmdStart->setDefault(true);
    cmdRetry = button("cmdRetry", ids::SeveralRetry);
    cmdCancel = button("cmdCancel", ids::SeveralCancel);
    cmdCancelAll = button("cmdCancelAll", ids::SeveralCancelAll);
    cmdClose = button("cmdClose", ids::SeveralClose);

    auto* top = new QHBoxLayout;
    top->addWidget(lblNote, 1);
    top->addWidget(cmdFolder);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdStart);
    buttons->addWidget(cmdRetry);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdCancelAll);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lblPorts);
    layout->addWidget(lstPorts, 1);
    layout->addWidget(lblStatus);
    layout->addLayout(buttons);

    // Every port the machine has, with the system's words for it, then the simulated radios and
    // the device typed under "Other device…".
    const QStringList checked = RegKeys(settings).readSeveralRadios();
    const QString stem = qtext(ids::ComPortStem, lang);
    for (const NumberedPort& port : m_ports.ports()) {
        if (port.device.isEmpty())
            continue;
        QString caption = stem + QString::number(port.number);
#ifndef Q_OS_WIN
        caption += QStringLiteral("  ") + port.device;
#endif
        if (!port.description.isEmpty())
            caption += QStringLiteral(" (%1)").arg(port.description);
        addRow(QStringLiteral("port:") + port.device, caption, port.device, port.device, -1, checked);
    }
    for (int i = 0; i < TransferPorts::kSimulatedRadios; ++i) {
        const QString name = qtext(ids::SimulatedRadioNumbered, lang).arg(i + 1);
        addRow(QStringLiteral("sim:%1").arg(i + 1), name, name, {}, i, checked);
    }
    const QString other = RegKeys(settings).readOtherDevice().path;
    if (!other.isEmpty())
        addRow(QStringLiteral("other:") + other,
               qtext(ids::OtherDevice, lang).remove(QChar(0x2026)) + QStringLiteral(" ") + other, other, other, -1,
               checked);
    for (int c = 0; c < kColumnCount; ++c)
        lstPorts->resizeColumnToContents(c);
    lstPorts->setColumnWidth(ColProgress,
                             qMax(lstPorts->columnWidth(ColProgress), fontMetrics().averageCharWidth() * 16));
    // The phase and time columns are wide enough for the longest text they will show in this
    // language, so none is cut short mid-run.
    const auto fit = [this](int column, const QStringList& texts) {
        int width = lstPorts->columnWidth(column);
        for (const QString& text : texts)
            width = qMax(width, lstPorts->fontMetrics().horizontalAdvance(text) + fontMetrics().averageCharWidth() * 3);
        lstPorts->setColumnWidth(column, width);
    };
    QStringList phases{qtext(ids::PhaseWaiting, lang)};
    for (const auto& [phase, id] : kPhaseTexts)
        phases << qtext(id, lang);
    fit(ColPhase, phases);
    fit(ColTime, {qtext(ids::SecondsShort, lang).arg(999.9, 0, 'f', 1)});
    if (!m_rows.empty())
        lstPorts->setCurrentItem(m_rows.front().item);
    // The list, not the default button, starts with the keys: Space there checks a row instead of
    // starting a write.
    lstPorts->setFocus(Qt::OtherFocusReason);
    connect(lstPorts, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem*, int column) {
        if (column == ColPort && !isRunning())
            rememberChecks();
    });
    connect(lstPorts, &QTreeWidget::currentItemChanged, this, &frmSeveralRadios::updateButtons);

    m_folder = RegKeys(settings).readSeveralFolder();
    showNote();
    connect(cmdStart, &QPushButton::clicked, this, &frmSeveralRadios::cmdStart_Click);
    connect(cmdRetry, &QPushButton::clicked, this, &frmSeveralRadios::cmdRetry_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSeveralRadios::cmdCancel_Click);
    connect(cmdCancelAll, &QPushButton::clicked, this, &frmSeveralRadios::cmdCancelAll_Click);
    connect(cmdFolder, &QPushButton::clicked, this, &frmSeveralRadios::cmdFolder_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmSeveralRadios::close);
    updateButtons();
    resize(qMax(sizeHint().width(), fontMetrics().averageCharWidth() * 150), sizeHint().height());
}

// Gone while running only when the program ends (closing is refused meanwhile): the links close
// with the batch, and the main window, going too, is not touched.
frmSeveralRadios::~frmSeveralRadios() = default;

void frmSeveralRadios::addRow(const QString& key, const QString& caption, const QString& name, const QString& device,
                              int simulator, const QStringList& checked) {
    Row row;
    row.key = key;
    row.name = name;
    row.device = device;
    row.simulator = simulator;
    row.item = new QTreeWidgetItem(lstPorts);
    row.item->setText(ColPort, caption);
    row.item->setToolTip(ColPort, caption);
    row.item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    row.item->setCheckState(ColPort, checked.contains(key) ? Qt::Checked : Qt::Unchecked);
    row.bar = new QProgressBar(lstPorts);
    row.bar->setRange(0, 1);
    row.bar->setValue(0);
    row.bar->setTextVisible(true);
    row.bar->setFocusPolicy(Qt::NoFocus);
    lstPorts->setItemWidget(row.item, ColProgress, row.bar);
    m_rows.push_back(row);
}

bool frmSeveralRadios::isRunning() const {
    return m_batch && m_batch->isRunning();
}

void frmSeveralRadios::setFolder(const QString& folder) {
    m_folder = folder;
    RegKeys(m_settings).writeSeveralFolder(folder);
    showNote();
}

QString frmSeveralRadios::rowKey(int row) const {
    return m_rows.at(std::size_t(row)).key;
}

QString frmSeveralRadios::rowText(int row, Column column) const {
    return m_rows.at(std::size_t(row)).item->text(column);
}

QProgressBar* frmSeveralRadios::rowBar(int row) const {
    return m_rows.at(std::size_t(row)).bar;
}

QString frmSeveralRadios::savedFile(int row) const {
    return m_rows.at(std::size_t(row)).savedFile;
}

void frmSeveralRadios::showNote() {
    if (m_mode == CloneMode::Write)
        lblNote->setText(qtext(ids::SeveralWriteNote, m_language));
    else
        lblNote->setText(qtext(ids::SeveralReadNote, m_language)
                             .arg(m_folder.isEmpty() ? QStringLiteral("-") : QDir::toNativeSeparators(m_folder)));
}

std::unique_ptr<ByteLink> frmSeveralRadios::makeLink(const Row& row) const {
    if (row.simulator >= 0)
        return m_ports.makeSimulatorLink(row.simulator);
    return std::make_unique<SerialLink>(row.device);
}

int frmSeveralRadios::currentRow() const {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].item == lstPorts->currentItem())
            return int(i);
    }
    return -1;
}

void frmSeveralRadios::rememberChecks() {
    QStringList keys;
    for (const Row& row : m_rows) {
        if (row.item->checkState(ColPort) == Qt::Checked)
            keys << row.key;
    }
    RegKeys(m_settings).writeSeveralRadios(keys);
}

void frmSeveralRadios::cmdFolder_Click() {
    const QString dir =
        m_folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : m_folder;
    const QString chosen = m_prompter.folderName(this, qtext(ids::SeveralChooseFolder, m_language), dir);
    if (!chosen.isEmpty())
        setFolder(chosen);
}

// Start, and Start Again: every checked row from the beginning, on the image as it is now.
void frmSeveralRadios::cmdStart_Click() {
    if (isRunning())
        return;
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].item->checkState(ColPort) == Qt::Checked)
            chosen.push_back(i);
    }
    if (chosen.empty()) {
        lblStatus->setText(qtext(ids::SeveralNoneChecked, m_language));
        return;
    }
    if (m_mode == CloneMode::Read) {
        if (m_folder.isEmpty())
            cmdFolder_Click();
        if (m_folder.isEmpty())
            return;
        QDir().mkpath(m_folder);
    }
    rememberChecks();
    lblStatus->clear();

    CloneBatch::Settings settings;
    settings.mode = m_mode;
    settings.language = m_language;
    settings.verify = m_mode == CloneMode::Write && RegKeys(m_settings).readVerifyAfterWrite();
    settings.rangeDiffersText = ids::SeveralRangeDiffers;
    if (m_mode == CloneMode::Write && RegKeys(m_settings).readBackupBeforeWrite())
        settings.backupFolder = m_backupFolder;
    m_batch = std::make_unique<CloneBatch>(settings);
    // Held before it is taken, so a half-typed cell goes in and nothing changes it afterwards.
    if (m_mode == CloneMode::Write)
        m_host.holdImage(true);
    const RadioImage image = m_document.image(); // what every radio of this run gets
    m_dataFile = m_host.transferDataFile();
    m_started = QDateTime::currentDateTime();
    for (Row& row : m_rows)
        row.batchIndex = -1;
    for (const std::size_t i : chosen) {
        Row& row = m_rows[i];
        row.batchIndex = m_batch->size();
        row.failed = false;
        row.savedFile.clear();
        m_batch->add(makeLink(row), image);
        row.bar->setRange(0, 1);
        row.bar->setValue(0);
        row.item->setText(ColPhase, qtext(ids::PhaseWaiting, m_language));
        row.item->setText(ColResult, QString());
        row.item->setText(ColTime, QString());
    }
    for (Row& row : m_rows) {
        if (row.batchIndex < 0) {
            row.bar->setRange(0, 1);
            row.bar->setValue(0);
            for (const int c : {ColPhase, ColResult, ColTime})
                row.item->setText(c, QString());
        }
    }
    connect(m_batch.get(), &CloneBatch::phaseChanged, this, &frmSeveralRadios::onPhase);
    connect(m_batch.get(), &CloneBatch::progress, this, [this](int index, int value, int maximum) {
        if (Row* row = rowOfBatch(index)) {
            row->bar->setRange(0, maximum);
            row->bar->setValue(value);
        }
    });
    connect(m_batch.get(), &CloneBatch::portEnded, this, &frmSeveralRadios::onEnded);
    connect(m_batch.get(), &CloneBatch::finished, this, &frmSeveralRadios::onFinished);
    m_ranOnce = true;
    cmdStart->setText(qtext(ids::SeveralStartAgain, m_language));
    m_batch->start(); // nothing ends before the event loop comes round
    showRunning(true);
}

void frmSeveralRadios::cmdRetry_Click() {
    const int current = currentRow();
    if (current < 0 || !m_batch)
        return;
    Row& row = m_rows[std::size_t(current)];
    if (row.batchIndex < 0 || !row.failed)
        return;
    const bool wasRunning = isRunning();
    if (!m_batch->retry(row.batchIndex))
        return;
    row.failed = false;
    row.savedFile.clear();
    row.bar->setRange(0, 1);
    row.bar->setValue(0);
    row.item->setText(ColResult, QString());
    row.item->setText(ColTime, QString());
    if (!wasRunning)
        showRunning(true);
    updateButtons();
}

void frmSeveralRadios::cmdCancel_Click() {
    const int current = currentRow();
    if (current < 0 || !m_batch)
        return;
    const Row& row = m_rows[std::size_t(current)];
    if (row.batchIndex >= 0)
        m_batch->cancel(row.batchIndex);
}

void frmSeveralRadios::cmdCancelAll_Click() {
    if (m_batch)
        m_batch->cancelAll();
}

frmSeveralRadios::Row* frmSeveralRadios::rowOfBatch(int index) {
    for (Row& row : m_rows) {
        if (row.batchIndex == index)
            return &row;
    }
    return nullptr;
}

void frmSeveralRadios::onPhase(int index, PortPhase phase) {
    Row* row = rowOfBatch(index);
    if (!row)
        return;
    for (const auto& [shown, id] : kPhaseTexts) {
        if (shown == phase)
            row->item->setText(ColPhase, qtext(id, m_language));
    }
}

void frmSeveralRadios::onEnded(int index, const PortOutcome& ended) {
    Row* row = rowOfBatch(index);
    if (!row)
        return;
    PortOutcome outcome = ended;
    const bool reading = m_mode == CloneMode::Read;
    QString savedName;
    // A read is done when its file is: saved under a name of its own, never over another file.
    if (reading && outcome.ok) {
        const QString time = m_started.toString(QStringLiteral("yyyy-MM-dd HHmmss"));
        const std::filesystem::path folder = pathFromDialog(m_folder);
        const std::string name =
            portReadFileName((row->simulator >= 0 ? row->key : row->device).toStdString(), time.toStdString(),
                             [&folder](const std::string& candidate) {
                                 std::error_code error;
                                 return std::filesystem::exists(folder / io::pathFromUtf8(candidate), error) || error;
                             });
        const std::filesystem::path file = folder / io::pathFromUtf8(name);
        if (const io::FileProblem problem = io::saveImage(file, m_batch->image(index), io::ImageFormat::DataFile)) {
            PortOutcome failed =
                PortOutcome::failed(qtext(ids::CannotWriteFile, m_language).arg(shownPath(file)) + QLatin1Char(' ') +
                                        QString::fromStdString(io::reasonText(problem, m_language)),
                                    outcome.seconds);
            failed.identification = outcome.identification;
            outcome = failed;
        } else {
            row->savedFile = shownPath(file);
            savedName = QString::fromStdString(name);
        }
    }
    row->failed = !outcome.ok || outcome.verification == Verification::NotChecked;
    QString result;
    if (outcome.cancelled)
        result = qtext(ids::ResultCancelled, m_language);
    else if (!outcome.ok)
        result = qtext(ids::ResultFailed, m_language).arg(outcome.reason);
    else if (reading)
        result = qtext(ids::ResultSavedAs, m_language).arg(savedName);
    else if (outcome.verification == Verification::Verified)
        result = qtext(ids::ResultVerified, m_language);
    else if (outcome.verification == Verification::Differs)
        result = qtext(ids::ResultDiffers, m_language).arg(outcome.verifyDetail);
    else if (outcome.verification == Verification::NotChecked)
        result = qtext(ids::ResultFailed, m_language).arg(outcome.verifyDetail);
    else
        result = qtext(ids::ResultCompleted, m_language);
    row->item->setText(ColPhase, QString());
    row->item->setText(ColResult, result);
    row->item->setToolTip(ColResult, result);
    row->item->setText(ColTime, qtext(ids::SecondsShort, m_language).arg(outcome.seconds, 0, 'f', 1));
    if (outcome.ok)
        row->bar->setValue(row->bar->maximum());

    const QString problem = recordTransfer(historyEntry(reading ? QStringLiteral("read") : QStringLiteral("write"),
                                                        row->name, reading ? row->savedFile : m_dataFile, outcome),
                                           m_language);
    if (!problem.isEmpty()) {
        lblStatus->setText(problem);
        m_host.appendTransferLogLine(problem);
    }
    updateButtons();
}

void frmSeveralRadios::onFinished() {
    showRunning(false);
    emit finished();
}

// While a write runs the image is held (the main window shows it but nothing changes it); a read
// leaves it alone. Either way no row can be checked or unchecked meanwhile.
void frmSeveralRadios::showRunning(bool running) {
    if (m_mode == CloneMode::Write)
        m_host.holdImage(running);
    for (Row& row : m_rows) {
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (!running)
            flags |= Qt::ItemIsUserCheckable;
        row.item->setFlags(flags);
    }
    cmdFolder->setEnabled(!running);
    updateButtons();
}

void frmSeveralRadios::updateButtons() {
    const bool running = isRunning();
    const int current = currentRow();
    const Row* row = current >= 0 ? &m_rows[std::size_t(current)] : nullptr;
    const bool inBatch = row && m_batch && row->batchIndex >= 0;
    cmdStart->setEnabled(!running);
    cmdRetry->setEnabled(inBatch && row->failed && !m_batch->isRunning(row->batchIndex));
    cmdCancel->setEnabled(inBatch && m_batch->isRunning(row->batchIndex));
    cmdCancelAll->setEnabled(running);
    cmdClose->setEnabled(!running);
}

void frmSeveralRadios::closeEvent(QCloseEvent* event) {
    if (isRunning()) {
        lblStatus->setText(qtext(ids::SeveralStillRunning, m_language));
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmSeveralRadios::reject() {
    if (isRunning()) {
        lblStatus->setText(qtext(ids::SeveralStillRunning, m_language));
        return;
    }
    QDialog::reject();
}

} // namespace norvik
