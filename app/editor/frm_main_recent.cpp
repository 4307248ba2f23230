// Files that reach the window other than through the Open dialog: File › Open Recent, and files
// dropped on the window from a file manager. Both go through the same question as Open.

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <optional>
#include <system_error>

#include "app/channel_list/channel_list_commands.h"
#include "app/common/path_names.h"
#include "app/common/texts.h"
#include "app/dialogs/prompt.h"
#include "app/editor/frm_main.h"
#include "app/settings/reg_keys.h"
#include "core/datafile/recent_files.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

struct DroppedFile {
    std::filesystem::path path;
    bool channelList; // a .csv for the import preview, else a data file
};

// The first local file of a drop that the window takes, by its extension.
std::optional<DroppedFile> droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return std::nullopt;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString name = url.toLocalFile();
        if (name.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive))
            return DroppedFile{pathFromDialog(name), false};
        if (name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
            return DroppedFile{pathFromDialog(name), true};
    }
    return std::nullopt;
}

} // namespace

void frmMain::rememberRecentFile(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec);
    setRecentFiles(withRecentFile(m_recentFiles, ec ? path : full));
}

void frmMain::setRecentFiles(std::vector<std::filesystem::path> files) {
    m_recentFiles = std::move(files);
    // A store that cannot be written only costs the list at the next start.
    RegKeys(*m_settings).writeRecentFiles(m_recentFiles);
    fillRecentMenu();
}

void frmMain::fillRecentMenu() {
    if (m_recentFiles.size() > kRecentFileCount)
        m_recentFiles.resize(kRecentFileCount);
    mnuFile_Recent->clear();
    int n = 0;
    for (const std::filesystem::path& file : m_recentFiles) {
        QString shown = shownPath(file);
        shown.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* a = mnuFile_Recent->addAction(QStringLiteral("&%1 %2").arg(++n).arg(shown));
        a->setObjectName(QStringLiteral("mnuFile_RecentFile"));
        connect(a, &QAction::triggered, this, [this, file] { runCommand([this, file] { openRecentFile(file); }); });
    }
    mnuFile_Recent->menuAction()->setEnabled(!m_recentFiles.empty() && !m_document.isHeld());
}

void frmMain::openRecentFile(const std::filesystem::path& path) {
    std::error_code ec;
    // Only a file that is certainly gone leaves the list; one that cannot be read now (a
    // folder without permission, a drive not mounted) says why and stays.
    if (!std::filesystem::exists(path, ec) && !ec) {
        std::vector<std::filesystem::path> rest = m_recentFiles;
        std::erase(rest, path);
        setRecentFiles(std::move(rest));
        m_prompter.message(this, QMessageBox::Information, QString::fromLatin1(kProductName),
                           qtext(ids::RecentFileGone, m_language).arg(shownPath(path)), QMessageBox::Ok);
        return;
    }
    if (saveChangesBefore(ids::FileModified))
        openDataFile(path);
}

void frmMain::showNotice(const QString& text) {
    m_notice->setText(text);
    m_noticeTimer->start();
}

void frmMain::mnuHelp_Contents_Click() {
    showHelp(0);
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    // Not while a transfer holds the image or a dialog is working on it.
    if (!clone() && !m_document.isHeld() && !QApplication::activeModalWidget() && droppedFile(event->mimeData()))
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
    const std::optional<DroppedFile> file = droppedFile(event->mimeData());
    if (!file || clone() || m_document.isHeld() || QApplication::activeModalWidget())
        return;
    event->acceptProposedAction();
    // After the drop has returned: the file manager waits for it, and the questions are modal.
    QTimer::singleShot(0, this, [this, file = *file] {
        runCommand([this, &file] {
            if (file.channelList)
                channel_lists::importCsvFile(*this, file.path);
            else if (saveChangesBefore(ids::FileModified))
                openDataFile(file.path);
        });
    });
}

} // namespace norvik
