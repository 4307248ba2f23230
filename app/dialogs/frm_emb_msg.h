#pragma once

#include <QDialog>

#include "core/image/radio_document.h"
#include "core/strings/strings.h"

class QPushButton;

namespace norvik {

class FilteredLineEdit;

// Embedded Message: the 16 single-byte characters of the message in one text box. Typing and
// pasting take only what a message byte can hold and what fits; OK writes the message, Cancel
// nothing.
class frmEmbMsg : public QDialog {
    Q_OBJECT
public:
    frmEmbMsg(RadioDocument& document, Language lang, QWidget* parent = nullptr);

public slots:
    void CmdOk_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What of `typed` the message takes in place of the selection.
    QString taken(const QString& typed) const;
    bool textKey(QKeyEvent* e);

    RadioDocument& m_document;
    FilteredLineEdit* txtMsg;
    QPushButton* CmdOk;
    QPushButton* CmdCancel;
};

} // namespace norvik
