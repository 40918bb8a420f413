#include "platform/paths.h"

#include "platform/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace Paths {

namespace {
QString& overridden()
{
    static QString folder;
    return folder;
}

QString besideProgram(const QString& name)
{
    return programFolder() + u'/' + name;
}
} // namespace

QString programFolder()
{
    return overridden().isEmpty() ? QCoreApplication::applicationDirPath() : overridden();
}

void overrideProgramFolder(const QString& folder)
{
    overridden() = folder;
}

QStringList wordsFolders()
{
    const QString words = QStringLiteral("/zurevavud/words");
    const QStringList data = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    QStringList folders { besideProgram(QStringLiteral("words")),
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + words,
        besideProgram(QStringLiteral(ZUREVAVUD_DATA_FROM_BIN)) + words };
    for (const QString& folder : data)
        folders << folder + words;
    // The user's own folder heads the data folders too, and a copy installed under /usr is also
    // one of them: each place is looked at, and named in a failure, once.
    for (QString& folder : folders)
        folder = QDir::cleanPath(folder);
    folders.removeDuplicates();
    return folders;
}

QString outputFolder()
{
    const QString beside = besideProgram(QStringLiteral("output"));
    if (QFileInfo(beside).isDir())
        return beside;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
        + QStringLiteral("/Zurevavud");
}

QString makeOutputFolder()
{
    const QString folder = outputFolder();
    Files::makeFolder(folder);
    return folder;
}

} // namespace Paths
