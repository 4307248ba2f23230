#include "dialogs/dialog_hooks.h"

#include "dialogs/frm_emb_msg.h"
#include "dialogs/frm_memory_map.h"
#include "dialogs/frm_radio.h"
#include "editor/frm_main.h"

namespace norvik {

void connectImageDialogs(frmMain& window) {
    QObject::connect(&window, &frmMain::radioRequested, &window, [&window] {
        frmRadio dialog(window.document(), window.prompter(), window.language(), &window);
        dialog.exec();
    });
    QObject::connect(&window, &frmMain::embeddedMessageRequested, &window, [&window] {
        frmEmbMsg dialog(window.document(), window.language(), &window);
        dialog.exec();
    });
    // The same gesture closes the map when it is up.
    QObject::connect(&window, &frmMain::memoryMapRequested, &window, [&window] {
        if (auto* open = window.findChild<frmMemoryMap*>(); open && open->isVisible()) {
            open->reject();
            return;
        }
        frmMemoryMap dialog(window.document(), &window);
        dialog.exec();
    });
}

} // namespace norvik
