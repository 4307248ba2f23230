#include <QApplication>

#include "dialogs/prompt.h"
#include "editor/frm_main.h"
#include "image/radio_document.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("NORVIK LABS"));
    QApplication::setApplicationName(QStringLiteral("Norvik R7"));

    norvik::RadioDocument document;
    norvik::DialogPrompter prompter;
    norvik::frmMain window(document, prompter);
    window.show();
    return QApplication::exec();
}
