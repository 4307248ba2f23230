#include "app/channel_list/channel_list_commands.h"

#include <QComboBox>
#include <QGraphicsView>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <span>

#include "app/channel_list/channel_list_sheet.h"
#include "app/channel_list/frm_csv_import.h"
#include "app/common/path_names.h"
#include "app/common/texts.h"
#include "app/dialogs/prompt.h"
#include "app/editor/frm_main.h"
#include "core/channels/channel_csv.h"
#include "core/strings/string_ids.h"
#include "io/files.h"

namespace norvik::channel_lists {
namespace {

constexpr const char* kCsvFilter = "CSV Files (*.csv)";
constexpr const char* kPdfFilter = "PDF Files (*.pdf)";
// A channel list is a few kilobytes; anything this large is something else.
constexpr std::size_t kMaxCsvSize = 1024 * 1024;

// A menu caption as a dialog title: "&Import CSV..." reads "Import CSV".
QString titleOf(int captionId, Language lang) {
    QString title = withoutMnemonic(qtext(captionId, lang));
    if (title.endsWith(QLatin1String("...")))
        title.chop(3);
    return title.trimmed();
}

// The name the title bar shows: the file's, or "Untitled".
QString documentName(const frmMain& window) {
    return window.filePath().empty() ? QString::fromLatin1(frmMain::kUntitled)
                                     : shownPath(window.filePath().filename());
}

// The document's own name with another extension, beside it.
QString suggestedPath(const frmMain& window, const char* extension) {
    if (window.filePath().empty())
        return QString::fromLatin1(frmMain::kUntitled) + QLatin1String(extension);
    std::filesystem::path p = window.filePath();
    p.replace_extension(extension);
    return shownPath(p);
}

void save(frmMain& window, int captionId, const char* extension, const char* filter, const QByteArray& bytes) {
    const Language lang = window.language();
    const QString name = window.prompter().saveFileName(&window, titleOf(captionId, lang),
                                                        suggestedPath(window, extension), QString::fromLatin1(filter));
    if (name.isEmpty())
        return;
    const std::filesystem::path path = pathFromDialog(name);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const std::span<const std::uint8_t> content(data, static_cast<std::size_t>(bytes.size()));
    if (!window.keepFileBeforeReplace(path, content))
        return;
    const io::FileProblem problem = io::saveFile(path, content);
    if (problem) {
        window.prompter().message(
            &window, QMessageBox::Warning, QString::fromLatin1(kProductName),
            qtext(ids::SaveFailed, lang).arg(shownPath(path), qstr(io::reasonText(problem, lang))), QMessageBox::Ok);
        return;
    }
    window.showNotice(qtext(ids::SavedNotice, lang).arg(shownFileName(path)));
}

} // namespace

void importCsv(frmMain& window) {
    const Language lang = window.language();
    const QString title = titleOf(ids::MenuFileImportCsv, lang);
    const QString name = window.prompter().openFileName(&window, title, QString(), QString::fromLatin1(kCsvFilter));
    if (!name.isEmpty())
        importCsvFile(window, pathFromDialog(name));
}

void importCsvFile(frmMain& window, const std::filesystem::path& path) {
    const Language lang = window.language();
    const io::ReadResult read = io::readFile(path, kMaxCsvSize);
    QString failure;
    if (read.problem)
        failure = qtext(ids::CannotReadFile, lang).arg(shownPath(path)) + QLatin1Char('\n') +
                  qstr(io::reasonText(read.problem, lang));
    else if (read.bytes.size() > kMaxCsvSize)
        failure = qtext(ids::CsvTooLarge, lang).arg(kMaxCsvSize / 1024);
    if (!failure.isEmpty()) {
        window.prompter().message(&window, QMessageBox::Warning, QString::fromLatin1(kProductName), failure,
                                  QMessageBox::Ok);
        return;
    }
    auto* preview = new frmCsvImport(window.document(), std::string(read.bytes.begin(), read.bytes.end()), lang,
                                     window.channelTable().decimalSeparator(), &window);
    preview->setWindowTitle(titleOf(ids::MenuFileImportCsv, lang));
    window.openWindow(preview);
}

void exportCsv(frmMain& window) {
    const std::string csv = exportChannelsCsv(window.document().image());
    save(window, ids::MenuFileExportCsv, ".csv", kCsvFilter,
         QByteArray(csv.data(), static_cast<qsizetype>(csv.size())));
}

void print(frmMain& window) {
    const ChannelListSheet sheet = channelListSheet(window.channelTable(), documentName(window));
    auto* preview = new QPrintPreviewDialog(&window);
    preview->setObjectName(QStringLiteral("dlgPrintPreview"));
    preview->setWindowTitle(titleOf(ids::MenuFilePrint, window.language()));
    preview->printer()->setPageLayout(channelListPageLayout());
    preview->printer()->setDocName(sheet.fileName);
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                     [sheet](QPrinter* printer) { paintChannelList(*printer, sheet); });
    // The preview's own fields have no names for a screen reader.
    const Language lang = window.language();
    if (auto* zoom = preview->findChild<QComboBox*>())
        zoom->setAccessibleName(qtext(ids::AccessibleZoom, lang));
    for (auto* field : preview->findChildren<QLineEdit*>()) {
        if (!qobject_cast<QComboBox*>(field->parentWidget())) // the zoom list's own field
            field->setAccessibleName(qtext(ids::AccessiblePage, lang));
    }
    if (auto* pages = preview->findChild<QPrintPreviewWidget*>())
        pages->setAccessibleName(preview->windowTitle());
    if (auto* pages = preview->findChild<QGraphicsView*>())
        pages->setAccessibleName(preview->windowTitle());
    // Page Setup and Print close the preview's toolbar, where a narrow screen would hide them
    // behind its overflow arrow: they go first.
    if (auto* tools = preview->findChild<QToolBar*>()) {
        const QList<QAction*> all = tools->actions();
        if (all.size() > 2) {
            QAction* first = all.first();
            for (QAction* a : {all.at(all.size() - 2), all.last()})
                tools->insertAction(first, a);
            tools->insertSeparator(first);
        }
    }
    window.openWindow(preview);
}

void exportPdf(frmMain& window) {
    save(window, ids::MenuFileExportPdf, ".pdf", kPdfFilter,
         channelListPdf(channelListSheet(window.channelTable(), documentName(window))));
}

} // namespace norvik::channel_lists
