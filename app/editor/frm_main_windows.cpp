// The windows the main window's commands open. Each handler makes its window over the window's
// document, in its language, and shows it window-modal without a nested event loop.
#include <QDialog>

#include "app/common/accessible_names.h"
#include "app/common/screen_fit.h"
#include "app/dialogs/frm_about.h"
#include "app/dialogs/frm_emb_msg.h"
#include "app/dialogs/frm_memory_map.h"
#include "app/dialogs/frm_radio.h"
#include "app/dialogs/frm_sel_columns.h"
#include "app/editor/channel_grid.h"
#include "app/editor/frm_main.h"
#include "app/options/frm_op_sign.h"
#include "app/service/frm_login.h"

namespace norvik {

void frmMain::openWindow(QDialog* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    nameControlsFromLabels(window, m_language);
    // Once the dialog has let go of the window.
    connect(window, &QDialog::finished, this, &frmMain::focusGrid, Qt::QueuedConnection);
    window->open();
    // Sized from its contents as it shows, but never past the screen: its buttons must stay
    // reachable.
    resizeWithinScreen(window, window->size());
}

void frmMain::mnuProgram_OPSign_Click() {
    openWindow(new FrmOpSign(m_document, m_language, this));
}

// The service window opens behind its login.
void frmMain::mnuProgram_Advanced_Click() {
    auto* login = new frmLogin(m_document, m_prompter, transferPorts(), m_language, this);
    login->setVerifyAfterWrite(action("mnuSet_Verify")->isChecked());
    openWindow(login);
}

void frmMain::mnuProgram_ANI_Click() {
    openWindow(new frmRadio(m_document, m_prompter, m_language, this));
}

void frmMain::mnuProgram_EmbMsg_Click() {
    openWindow(new frmEmbMsg(m_document, m_language, this));
}

void frmMain::toggleMemoryMap() {
    if (auto* open = findChild<frmMemoryMap*>(); open && open->isVisible()) {
        open->reject();
        return;
    }
    openWindow(new frmMemoryMap(m_document, this));
}

void frmMain::mnuView_Columns_Click() {
    auto* dialog = new frmSelColumns(*m_table, m_language, this);
    // OK or Cancel, the widths follow the flags: each shown column gets its width at load back.
    connect(dialog, &QDialog::finished, m_channelGrid, &ChannelGrid::applyColumnWidths);
    openWindow(dialog);
}

void frmMain::mnuHelp_About_Click() {
    openWindow(new frmAbout(m_language, this));
}

} // namespace norvik
