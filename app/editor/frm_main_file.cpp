// The File menu's New, Open, Save and Save As. Loads and saves work in memory: the image is
// encoded or decoded as a byte buffer, and a save goes through QSaveFile so that a failure never
// costs the file already on disk.

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <span>

#include "common/texts.h"
#include "datafile/data_file.h"
#include "dialogs/prompt.h"
#include "editor/frm_main.h"
#include "strings/string_ids.h"

namespace norvik {

QString frmMain::fileDialogTitle(int captionId) const {
    static const QRegularExpression bracketed(QStringLiteral("\\(&.\\)"));
    QString s = qtext(captionId, m_language);
    s.remove(bracketed);
    s.remove(QLatin1Char('&'));
    return s;
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
    commitOpenEditor();
    const auto answer =
        m_prompter.message(this, QMessageBox::Warning, QStringLiteral("alert"), qtext(ids::AllDataCleared, m_language),
                           QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    m_document.replace(m_document.newImage(), ids::MenuFileNew, RadioDocument::SavedImage::Take);
    setFileName(QString::fromLatin1(kUntitled));
    setPasteAvailable(false);
}

void frmMain::mnuFile_Open_Click() {
    commitOpenEditor();
    if (!saveChangesBefore(ids::FileModified))
        return;
    const QString path = m_prompter.openFileName(this, fileDialogTitle(ids::MenuFileOpen), QString(),
                                                 QString::fromLatin1(kDataFileFilter));
    if (path.isEmpty())
        return;

    openDataFile(path);
}

bool frmMain::openDataFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // Say why (gone, no permission) rather than leave the user wondering what happened.
        m_prompter.message(this, QMessageBox::Warning, QString::fromLatin1(kProductName),
                           qtext(ids::CannotReadFile, m_language).arg(QDir::toNativeSeparators(path)) +
                               QLatin1Char('\n') + file.errorString(),
                           QMessageBox::Ok);
        return false;
    }
    // Never more than the decoder accepts: a huge file is refused without reading it all.
    const QByteArray data = file.read(static_cast<qint64>(kMaxCodecSize) + 1);
    file.close();
    if (data.isEmpty())
        return false;

    const DataFileResult result = decodeDataFile(
        std::span(reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())));
    if (!result.ok()) {
        m_prompter.message(this, QMessageBox::Critical, qtext(ids::ErrorTitle, m_language),
                           qtext(dataFileErrorTextId(*result.error), m_language) + QLatin1Char('\n') +
                               qtext(ids::IncorrectFileTypeHint, m_language),
                           QMessageBox::Ok);
        return false;
    }

    m_document.replace(*result.image, ids::MenuFileOpen, RadioDocument::SavedImage::Take);
    setFileName(path);
    setPasteAvailable(false);
    return true;
}

void frmMain::mnuFile_Save_Click() {
    commitOpenEditor();
    QString target = m_fileName;
    if (target == QLatin1String(kUntitled)) {
        target = m_prompter.saveFileName(this, fileDialogTitle(ids::MenuFileSave), QStringLiteral("Untitled.dat"),
                                         QString::fromLatin1(kDataFileFilter));
        if (target.isEmpty())
            return;
    }
    writeDataFile(target);
}

void frmMain::mnuFile_SaveAs_Click() {
    commitOpenEditor();
    const QString target = m_prompter.saveFileName(this, fileDialogTitle(ids::MenuFileSaveAs), m_fileName,
                                                   QString::fromLatin1(kDataFileFilter));
    if (target.isEmpty())
        return;
    writeDataFile(target);
}

bool frmMain::writeDataFile(const QString& path) {
    const ByteVector bytes = encodeDataFile(m_document.image());
    QSaveFile file(path);
    const auto size = static_cast<qint64>(bytes.size());
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(reinterpret_cast<const char*>(bytes.data()), size) == size && file.commit();
    if (!written) {
        // The document keeps its name and stays changed; the file on disk is as it was.
        m_prompter.message(this, QMessageBox::Warning, QString::fromLatin1(kProductName),
                           qtext(ids::SaveFailed, m_language).arg(QDir::toNativeSeparators(path), file.errorString()),
                           QMessageBox::Ok);
        return false;
    }
    setFileName(path);
    m_document.takeSavedImage();
    return true;
}

} // namespace norvik
