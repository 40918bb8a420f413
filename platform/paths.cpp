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

// A place relative to the program's folder, or nothing when that folder cannot be named: Qt
// gives an empty folder for a name that is no valid UTF-8, and "" + "/words" is the root's.
QStringList besideProgram(const QString& name)
{
    const QString folder = programFolder();
    return folder.isEmpty() ? QStringList() : QStringList { folder + u'/' + name };
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
    QStringList folders = besideProgram(QStringLiteral("words"));
    folders << userWordsFolder();
    for (const QString& installed : besideProgram(QStringLiteral(ZUREVAVUD_DATA_FROM_BIN)))
        folders << installed + words;
    for (const QString& folder : data)
        folders << folder + words;
    // The user's own folder heads the data folders too, and a copy installed under /usr is also
    // one of them: each place is looked at, and named in a failure, once.
    for (QString& folder : folders)
        folder = QDir::cleanPath(folder);
    folders.removeDuplicates();
    return folders;
}

QString userWordsFolder()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/zurevavud/words"));
}

QString outputFolder()
{
    for (const QString& beside : besideProgram(QStringLiteral("output"))) {
        if (QFileInfo(beside).isDir())
            return beside;
    }
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
        + QStringLiteral("/Zurevavud");
}

QString makeOutputFolder()
{
    QString folder = outputFolder();
    Files::makeFolder(folder);
    return folder;
}

} // namespace Paths
