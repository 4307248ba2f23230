#include "datafile/channel_list_commands.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <span>

#include "channels/channel_csv.h"
#include "common/path_names.h"
#include "common/texts.h"
#include "datafile/channel_list_printer.h"
#include "datafile/frm_csv_import.h"
#include "dialogs/prompt.h"
#include "editor/channel_grid.h"
#include "editor/frm_main.h"
#include "io/files.h"
#include "strings/string_ids.h"

namespace norvik::channel_lists {
namespace {

constexpr const char* kCsvFilter = "CSV Files (*.csv)";
constexpr const char* kPdfFilter = "PDF Files (*.pdf)";
// A channel list is a few kilobytes; anything this large is something else.
constexpr std::size_t kMaxCsvSize = 1024 * 1024;

// A menu caption as a dialog title: "&Import CSV..." reads "Import CSV".
QString titleOf(int captionId, Language lang) {
    static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)|&|\\.\\.\\.$"));
    return qtext(captionId, lang).remove(mnemonic).trimmed();
}

// Window-modal and returning at once, as the window's other dialogs; the grid takes the focus
// back once the dialog has let go of the window.
void openOver(frmMain& window, QDialog* dialog) {
    QObject::connect(
        dialog, &QDialog::finished, &window,
        [&window] {
            if (!window.alternatePanelShown())
                window.channelGrid()->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
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
    const io::FileProblem problem = io::saveFile(path, std::span(data, static_cast<std::size_t>(bytes.size())));
    if (problem) {
        window.prompter().message(
            &window, QMessageBox::Warning, QString::fromLatin1(kProductName),
            qtext(ids::SaveFailed, lang).arg(shownPath(path), qstr(io::reasonText(problem, lang))), QMessageBox::Ok);
    }
}

} // namespace

void importCsv(frmMain& window) {
    const Language lang = window.language();
    const QString title = titleOf(ids::MenuFileImportCsv, lang);
    const QString name = window.prompter().openFileName(&window, title, QString(), QString::fromLatin1(kCsvFilter));
    if (name.isEmpty())
        return;
    const std::filesystem::path path = pathFromDialog(name);
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
    preview->setWindowTitle(title);
    openOver(window, preview);
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
    openOver(window, preview);
}

void exportPdf(frmMain& window) {
    save(window, ids::MenuFileExportPdf, ".pdf", kPdfFilter,
         channelListPdf(channelListSheet(window.channelTable(), documentName(window))));
}

} // namespace norvik::channel_lists
