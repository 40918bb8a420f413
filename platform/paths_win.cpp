// Windows: the known folders, as Qt finds them; names there are UTF-16 throughout.
#include "platform/paths.h"

#include "platform/paths_p.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace Paths {

QString executableFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString userDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QStringList dataFolders()
{
    return QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
}

Documents documents()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return { folder, QDir::homePath(),
        folder.isEmpty() ? QStringLiteral("Windows не называет папку документов") : QString() };
}

QStringList arguments(int, char**)
{
    return QCoreApplication::arguments();
}

} // namespace Paths
