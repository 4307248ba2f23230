#include "dialogs/dialog_hooks.h"

#include "dialogs/frm_emb_msg.h"
#include "dialogs/frm_memory_map.h"
#include "dialogs/frm_radio.h"
#include "editor/frm_main.h"

namespace norvik {
namespace {

// Window-modal and returning at once, as the other dialogs of the main window: no nested event
// loop, and the main window takes no input while the dialog is up.
void show(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

} // namespace

void connectImageDialogs(frmMain& window) {
    QObject::connect(&window, &frmMain::radioRequested, &window, [&window] {
        show(new frmRadio(window.document(), window.prompter(), window.language(), &window));
    });
    QObject::connect(&window, &frmMain::embeddedMessageRequested, &window,
                     [&window] { show(new frmEmbMsg(window.document(), window.language(), &window)); });
    // The same gesture closes the map when it is up.
    QObject::connect(&window, &frmMain::memoryMapRequested, &window, [&window] {
        if (auto* open = window.findChild<frmMemoryMap*>(); open && open->isVisible()) {
            open->reject();
            return;
        }
        show(new frmMemoryMap(window.document(), &window));
    });
}

} // namespace norvik
