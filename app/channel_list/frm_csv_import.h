#pragma once

#include <QDialog>
#include <string>

#include "core/channels/channel_csv.h"
#include "core/image/radio_document.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace norvik {

// What an import of a channel list will do, before it is done: each channel that changes with
// its row now and after the import, and each line that is not taken and why. Apply writes the
// changed channels into the document as one undoable step; Cancel leaves it untouched.
class frmCsvImport : public QDialog {
    Q_OBJECT
public:
    // `bytes` are the file's as read; texts and numbers are shown as the grid shows them.
    frmCsvImport(RadioDocument& document, std::string bytes, Language lang, char decimalSeparator,
                 QWidget* parent = nullptr);

    const CsvImport& result() const { return m_result; }

public slots:
    void chkReplaceAll_Click();
    void CmdApply_Click();

private:
    void preview();

    RadioDocument& m_document;
    const std::string m_bytes;
    const RadioImage m_base;
    const Language m_lang;
    const char m_sep;
    CsvImport m_result;

    QCheckBox* chkReplaceAll;
    QLabel* lblChanges;
    QTableWidget* grdChanges;
    QLabel* lblRefused;
    QListWidget* lstRefused;
    QPushButton* CmdApply;
    QPushButton* CmdCancel;
};

} // namespace norvik
