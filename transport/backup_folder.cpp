#include "transport/backup_folder.h"

#include <QStandardPaths>

namespace norvik {

std::filesystem::path defaultBackupFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return std::filesystem::path(data.toStdU16String()) / "backups";
}

} // namespace norvik
