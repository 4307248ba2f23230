#include "editor/frm_main.h"

#include "common/texts.h"
#include "dialogs/prompt.h"

namespace norvik {

frmMain::frmMain(RadioDocument& document, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), m_document(document), m_prompter(prompter) {
    setObjectName(QStringLiteral("frmMain"));
    updateTitle();
}

void frmMain::updateTitle() {
    setWindowTitle(QStringLiteral("%1 [File Name: %2]").arg(QString::fromLatin1(kProductName), m_fileName));
}

} // namespace norvik
