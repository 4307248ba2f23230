// The File menu's New, Open, Save and Save As (run, as every command, after the open editor is
// committed). Loads and saves work in memory and go through the program's one load and save
// helper, so that a failure never costs the file already on disk.

#include "app/backups/frm_backups.h"
#include "app/common/path_names.h"
#include "app/common/texts.h"
#include "app/dialogs/frm_compare.h"
#include "app/dialogs/prompt.h"
#include "app/editor/frm_main.h"
#include "app/settings/reg_keys.h"
#include "app/transfer/transfer_commands.h"
#include "io/backups.h"
#include "io/files.h"
#include "io/image_files.h"

namespace norvik {

QString frmMain::fileDialogTitle(int captionId) const {
    return withoutMnemonic(qtext(captionId, m_language));
}

void frmMain::setBackupFolder(const std::filesystem::path& folder) {
    m_backupFolder = folder;
    m_transfers->setBackupFolder(folder);
}

bool frmMain::keepFileBeforeReplace(const std::filesystem::path& target, std::span<const std::uint8_t> replacement) {
    const io::BackupSaved kept = io::keepBeforeReplace(m_backupFolder, target, io::backupTimeNow(), replacement);
    if (!kept.problem)
        return true;
    m_prompter.message(this, QMessageBox::Warning, QString::fromLatin1(kProductName),
                       qtext(ids::BackupBeforeSaveFailed, m_language)
                           .arg(shownPath(target), qstr(io::reasonText(kept.problem, m_language))),
                       QMessageBox::Ok);
    return false;
}

bool frmMain::keepUnsavedEdits() {
    if (!m_document.isModified())
        return true;
    BackupOrigin origin;
    origin.kind = BackupKind::UnsavedEdits;
    origin.fileName = m_filePath.empty() ? std::string(kUntitled) : shownFileName(m_filePath).toStdString();
    const io::BackupSaved kept = io::saveBackup(m_backupFolder, io::backupTimeNow(), origin,
                                                io::encodeImage(m_document.image(), io::ImageFormat::DataFile));
    if (!kept.problem)
        return true;
    m_prompter.message(this, QMessageBox::Warning, QString::fromLatin1(kProductName),
                       qtext(ids::BackupUnsavedFailed, m_language).arg(qstr(io::reasonText(kept.problem, m_language))),
                       QMessageBox::Ok);
    return false;
}

bool frmMain::saveChangesBefore(int questionId) {
    if (!m_document.isModified())
        return true;
    const auto answer =
        m_prompter.message(this, QMessageBox::Warning, QString::fromLatin1(kProductName), qtext(questionId, m_language),
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::No)
        return true;
    if (answer != QMessageBox::Yes)
        return false;
    mnuFile_Save_Click();
    // A cancelled or failed save must not let the next command throw the changes away.
    return !m_document.isModified();
}

void frmMain::mnuFile_New_Click() {
    const auto answer =
        m_prompter.message(this, QMessageBox::Warning, QStringLiteral("alert"), qtext(ids::AllDataCleared, m_language),
                           QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    m_document.replace(m_document.newImage(), ids::MenuFileNew, RadioDocument::SavedImage::Take);
    setFilePath({});
    setPasteAvailable(false);
}

void frmMain::mnuFile_Open_Click() {
    if (!saveChangesBefore(ids::FileModified))
        return;
    const QString name = m_prompter.openFileName(this, fileDialogTitle(ids::MenuFileOpen), QString(),
                                                 QString::fromLatin1(kDataFileFilter));
    if (name.isEmpty())
        return;

    openDataFile(pathFromDialog(name));
}

bool frmMain::openDataFile(const std::filesystem::path& path) {
    // Stamped before it is read: a write in between then shows as a change, never the reverse.
    const std::optional<io::FileStamp> stamp = io::stampFile(path, io::maxInputSize(io::ImageFormat::DataFile));
    const std::optional<RadioImage> image = readDataFile(path);
    if (!image || !keepUnsavedEdits())
        return false;
    m_document.replace(*image, ids::MenuFileOpen, RadioDocument::SavedImage::Take);
    setFilePath(path);
    m_fileStamp = stamp;
    setPasteAvailable(false);
    rememberRecentFile(path);
    return true;
}

std::optional<RadioImage> frmMain::readDataFile(const std::filesystem::path& path) {
    // Never more than the decoder accepts, and never a pipe or a device the window would wait on.
    const io::ImageLoad loaded = io::loadImage(path, io::ImageFormat::DataFile);
    switch (loaded.problem.error) {
    case io::FileError::None:
        break;
    case io::FileError::Empty:
        return std::nullopt;
    case io::FileError::NotDataFile:
    case io::FileError::NotRawImage:
        m_prompter.message(this, QMessageBox::Critical, qtext(ids::ErrorTitle, m_language),
                           qtext(ids::IncorrectFileType, m_language) + QLatin1Char('\n') +
                               qtext(ids::IncorrectFileTypeHint, m_language),
                           QMessageBox::Ok);
        return std::nullopt;
    case io::FileError::System:
    case io::FileError::NotRegular:
        // Say why (gone, no permission, a folder) rather than leave the user wondering what happened.
        m_prompter.message(this, QMessageBox::Warning, QString::fromLatin1(kProductName),
                           qtext(ids::CannotReadFile, m_language).arg(shownPath(path)) + QLatin1Char('\n') +
                               qstr(io::reasonText(loaded.problem, m_language)),
                           QMessageBox::Ok);
        return std::nullopt;
    }
    return loaded.image;
}

void frmMain::mnuFile_Backups_Click() {
    auto* dialog = new frmBackups(m_backupFolder, RegKeys(*m_settings).readBackupDays(), m_language, this);
    connect(dialog, &frmBackups::keepDaysChanged, this,
            [this](int days) { RegKeys(*m_settings).writeBackupDays(days); });
    // The Backups window steps aside for the document or the comparison it hands over.
    connect(dialog, &frmBackups::openRequested, this, [this, dialog](const std::filesystem::path& path) {
        dialog->accept();
        openBackup(path);
    });
    connect(dialog, &frmBackups::compareRequested, this, [this, dialog](const std::filesystem::path& path) {
        dialog->accept();
        compareWithDataFile(path);
    });
    openWindow(dialog);
}

void frmMain::openBackup(const std::filesystem::path& path) {
    if (!saveChangesBefore(ids::FileModified))
        return;
    const std::optional<RadioImage> image = readDataFile(path);
    if (!image || !keepUnsavedEdits())
        return;
    m_document.replace(*image, ids::MenuFileOpen, RadioDocument::SavedImage::Take);
    setFilePath({});
    m_fileStamp.reset();
    setPasteAvailable(false);
}

void frmMain::mnuFile_Compare_Click() {
    const QString name = m_prompter.openFileName(this, fileDialogTitle(ids::MenuFileCompare), QString(),
                                                 QString::fromLatin1(kDataFileFilter));
    if (!name.isEmpty())
        compareWithDataFile(pathFromDialog(name));
}

void frmMain::compareWithDataFile(const std::filesystem::path& path) {
    const std::optional<RadioImage> image = readDataFile(path);
    if (!image)
        return;
    openWindow(new frmCompare(compareImages(m_document.image(), *image, m_language, localeDecimalSeparator()),
                              shownFileName(path), m_language, this));
}

void frmMain::mnuFile_Save_Click() {
    std::filesystem::path target = m_filePath;
    if (target.empty()) {
        const QString name =
            m_prompter.saveFileName(this, fileDialogTitle(ids::MenuFileSave), QStringLiteral("Untitled.dat"),
                                    QString::fromLatin1(kDataFileFilter));
        if (name.isEmpty())
            return;
        target = pathFromDialog(name);
    }
    writeDataFile(target);
}

void frmMain::mnuFile_SaveAs_Click() {
    const QString current = m_filePath.empty() ? QString::fromLatin1(kUntitled) : shownPath(m_filePath);
    const QString name = m_prompter.saveFileName(this, fileDialogTitle(ids::MenuFileSaveAs), current,
                                                 QString::fromLatin1(kDataFileFilter));
    if (name.isEmpty())
        return;
    // The offered name taken as it is: the document's own file, whatever bytes its name holds.
    writeDataFile(!m_filePath.empty() && name == current ? m_filePath : pathFromDialog(name));
}

bool frmMain::writeDataFile(const std::filesystem::path& path) {
    // Another copy of the program on the same file may have saved since; writing over it would
    // lose that copy's changes without a word.
    if (path == m_filePath && m_fileStamp &&
        io::compareWithDisk(path, *m_fileStamp, io::maxInputSize(io::ImageFormat::DataFile)) ==
            io::DiskState::Changed) {
        const auto answer = m_prompter.choose(this, QMessageBox::Warning, QString::fromLatin1(kProductName),
                                              qtext(ids::FileChangedOnDisk, m_language).arg(shownPath(path)),
                                              {{kOverwriteAnswer, qtext(ids::OverwriteAnswer, m_language)},
                                               {kSaveAsAnswer, qtext(ids::SaveAsAnswer, m_language)},
                                               {QMessageBox::Cancel, qtext(ids::Cancel, m_language)}},
                                              QMessageBox::Cancel);
        if (answer == kSaveAsAnswer) {
            mnuFile_SaveAs_Click();
            return !m_document.isModified();
        }
        if (answer != kOverwriteAnswer)
            return false;
    }
    const ByteVector bytes = io::encodeImage(m_document.image(), io::ImageFormat::DataFile);
    if (!keepFileBeforeReplace(path, bytes))
        return false; // the file stays as it was, and the document changed
    const io::FileProblem problem = io::saveFile(path, bytes, m_saveSinkWrapper);
    if (problem) {
        // The document keeps its name and stays changed; the file on disk is as it was.
        m_prompter.message(
            this, QMessageBox::Warning, QString::fromLatin1(kProductName),
            qtext(ids::SaveFailed, m_language).arg(shownPath(path), qstr(io::reasonText(problem, m_language))),
            QMessageBox::Ok);
        return false;
    }
    setFilePath(path);
    m_fileStamp = io::stampSaved(path, bytes);
    m_document.takeSavedImage();
    rememberRecentFile(path);
    showNotice(qtext(ids::SavedNotice, m_language).arg(shownFileName(path)));
    return true;
}

} // namespace norvik
