#pragma once

#include <QDialog>

#include "core/image/radio_document.h"
#include "core/strings/strings.h"

class QLineEdit;
class QPushButton;

namespace norvik {

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
    // Puts what of `typed` the message takes in place of the selection.
    void insertTyped(const QString& typed);
    bool textKey(QKeyEvent* e);

    RadioDocument& m_document;
    QString m_remembered; // the text when the box got the focus, for Esc
    QLineEdit* txtMsg;
    QPushButton* CmdOk;
    QPushButton* CmdCancel;
};

} // namespace norvik
