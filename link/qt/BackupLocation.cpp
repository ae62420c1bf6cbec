#include "BackupLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace kel {

std::string BackupFolderPath()
{
    // One folder for both programs, whatever the running one is called.
    const QString own = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("Kel"));
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setApplicationName(own);
    return QDir::toNativeSeparators(data + QStringLiteral("/backups")).toStdString();
}

}  // namespace kel
