#include <QApplication>
#include <QIcon>
#include <filesystem>
#include <string>

#include "dialogs/prompt.h"
#include "editor/frm_main.h"
#include "image/radio_document.h"
#include "transfer/transfer_ports.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("NORVIK LABS"));
    QApplication::setApplicationName(QStringLiteral("Norvik R7"));
    // Every window, the transfer panel and the message boxes included, takes this one.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/norvik.svg")));

    norvik::RadioDocument document;
    norvik::DialogPrompter prompter;
    // COM1 at every start, unless another device was chosen by its path last time; the simulated
    // radio keeps what is written to it until the program ends.
    norvik::TransferPorts ports;
    norvik::frmMain window(document, prompter);
    window.setTransferPorts(ports);
    window.show();
    // A data file named on the command line (as a file manager passes it) opens at once. Its
    // name is taken as the bytes it came as: one that is not valid UTF-8 would not survive a
    // QString. Windows passes names whole only on its wide command line.
#ifdef Q_OS_WIN
    const QStringList args = QApplication::arguments();
    if (args.size() > 1)
        window.openDataFile(std::filesystem::path(args.at(1).toStdWString()));
#else
    if (argc > 1)
        window.openDataFile(std::filesystem::path(std::string(argv[1])));
#endif
    return QApplication::exec();
}
