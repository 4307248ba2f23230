#include "app/backups/frm_backups.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "app/common/path_names.h"
#include "app/common/texts.h"
#include "core/backups/backup_rules.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

QString sizeText(std::uintmax_t bytes, Language lang) {
    const QLocale locale(lang == Language::Chinese ? QLocale::Chinese : QLocale::English);
    return locale.formattedDataSize(qint64(bytes), 1, QLocale::DataSizeTraditionalFormat);
}

} // namespace

frmBackups::frmBackups(const std::filesystem::path& folder, int keepDays, Language lang, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_language(lang) {
    setObjectName(QStringLiteral("frmBackups"));
    setWindowTitle(qtext(ids::BackupsTitle, lang));

    lstBackups = new QTreeWidget(this);
    lstBackups->setObjectName(QStringLiteral("lstBackups"));
    lstBackups->setRootIsDecorated(false);
    lstBackups->setAllColumnsShowFocus(true);
    lstBackups->setHeaderLabels(
        {qtext(ids::BackupsTime, lang), qtext(ids::BackupsOrigin, lang), qtext(ids::BackupsSize, lang)});
    lstBackups->setMinimumWidth(fontMetrics().averageCharWidth() * 110);
    lstBackups->header()->setStretchLastSection(false);
    lstBackups->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    lstBackups->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    lstBackups->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    lstBackups->setAccessibleName(qtext(ids::BackupsTitle, lang));
    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    lblKeepDays = new QLabel(qtext(ids::BackupsKeepDays, lang), this);
    lblKeepDays->setObjectName(QStringLiteral("lblKeepDays"));
    txtKeepDays = new QSpinBox(this);
    txtKeepDays->setObjectName(QStringLiteral("txtKeepDays"));
    txtKeepDays->setRange(1, kMaxBackupDays);
    txtKeepDays->setValue(keepDays);
    lblKeepDays->setBuddy(txtKeepDays);
    txtKeepDays->setAccessibleName(withoutMnemonic(lblKeepDays->text()));
    connect(txtKeepDays, &QSpinBox::valueChanged, this, &frmBackups::keepDaysChanged);

    const auto button = [this](int id, const char* name) {
        auto* b = new QPushButton(qtext(id, m_language), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    CmdOpen = button(ids::BackupsOpen, "CmdOpen");
    CmdCompare = button(ids::BackupsCompare, "CmdCompare");
    CmdShowFolder = button(ids::BackupsShowFolder, "CmdShowFolder");
    CmdClose = button(ids::BackupsClose, "CmdClose");
    CmdOpen->setDefault(true);
    connect(CmdOpen, &QPushButton::clicked, this, [this] {
        if (!currentBackup().empty())
            emit openRequested(currentBackup());
    });
    connect(CmdCompare, &QPushButton::clicked, this, [this] {
        if (!currentBackup().empty())
            emit compareRequested(currentBackup());
    });
    connect(CmdShowFolder, &QPushButton::clicked, this, [this] {
        const std::filesystem::path chosen = currentBackup();
        const std::filesystem::path shown = chosen.empty() ? m_folder : chosen.parent_path();
        QDesktopServices::openUrl(QUrl::fromLocalFile(shownPath(shown)));
    });
    connect(CmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(lstBackups, &QTreeWidget::currentItemChanged, this, &frmBackups::updateButtons);
    connect(lstBackups, &QTreeWidget::itemActivated, this, [this] { CmdOpen->click(); });

    auto* days = new QHBoxLayout;
    days->addWidget(lblKeepDays);
    days->addWidget(txtKeepDays);
    days->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CmdOpen);
    buttons->addWidget(CmdCompare);
    buttons->addWidget(CmdShowFolder);
    buttons->addStretch(1);
    buttons->addWidget(CmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstBackups, 1);
    layout->addWidget(lblSummary);
    layout->addLayout(days);
    layout->addLayout(buttons);
    refresh();
}

void frmBackups::refresh() {
    m_entries = io::listBackups(m_folder);
    lstBackups->clear();
    std::uintmax_t total = 0;
    for (const io::BackupEntry& e : m_entries) {
        auto* item = new QTreeWidgetItem(lstBackups, {qstr(backupTimeText(e.name.time)),
                                                      qstr(backupOriginText(e.name.origin, m_language)),
                                                      sizeText(e.size, m_language)});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(1, shownPath(e.path));
        total += e.size;
    }
    if (m_entries.empty())
        lblSummary->setText(qtext(ids::BackupsNone, m_language));
    else
        lblSummary->setText(qtext(ids::BackupsSummary, m_language)
                                .arg(m_entries.size())
                                .arg(sizeText(total, m_language), shownPath(m_folder)));
    if (!m_entries.empty())
        lstBackups->setCurrentItem(lstBackups->topLevelItem(0));
    lstBackups->setFocus();
    updateButtons();
}

std::filesystem::path frmBackups::currentBackup() const {
    const int row = lstBackups->indexOfTopLevelItem(lstBackups->currentItem());
    return row >= 0 && row < int(m_entries.size()) ? m_entries[std::size_t(row)].path : std::filesystem::path();
}

void frmBackups::updateButtons() {
    const bool chosen = !currentBackup().empty();
    CmdOpen->setEnabled(chosen);
    CmdCompare->setEnabled(chosen);
}

} // namespace norvik
