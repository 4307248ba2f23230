#include <QApplication>
#include <QIcon>
#include <QSettings>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/dialogs/prompt.h"
#include "app/editor/frm_main.h"
#include "app/settings/reg_keys.h"
#include "app/transfer/transfer_ports.h"
#include "core/image/radio_document.h"
#include "io/backups.h"
#include "io/file_handle.h"
#include "transport/backup_folder.h"

namespace {

// --version and --help are answered before the window system is touched, so they work without a
// display.
bool answeredWithoutWindow(const char* arg) {
    if (std::strcmp(arg, "--version") == 0) {
        std::printf("norvik-r7 %s\n", NORVIK_VERSION);
        return true;
    }
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
        std::fputs("usage: norvik-r7 [FILE.dat]\n\n"
                   "Opens the Norvik R7 window, with FILE.dat in it when one is named.\n\n"
                   "options:\n"
                   "  --version   print the version and exit\n"
                   "  -h, --help  show this help\n",
                   stdout);
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && answeredWithoutWindow(argv[1]))
        return 0;
    norvik::io::ignoreFileSizeSignal(); // a save past `ulimit -f` fails and says so
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("NORVIK LABS"));
    QApplication::setApplicationName(QStringLiteral("Norvik R7"));
    // Ties the window to its installed desktop entry (Wayland shows that entry's icon).
    QGuiApplication::setDesktopFileName(QStringLiteral(NORVIK_APP_ID));
    // Every window, the transfer panel and the message boxes included, takes this one.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/norvik.svg")));

    // Backups past the days kept go at start; nothing newer, nothing the program did not make.
    norvik::io::removeOldBackups(norvik::defaultBackupFolder(), norvik::io::backupTimeNow(),
                                 norvik::RegKeys(*norvik::RegKeys::openDefault()).readBackupDays());

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
