#include "platform/paths.h"

#include "platform/failure.h"
#include "platform/files.h"
#include "platform/paths_p.h"

#include <QDir>
#include <QFileInfo>

namespace Paths {

namespace {
QString& overridden()
{
    static QString folder;
    return folder;
}

// A place relative to the program's folder, or nothing when that folder cannot be found: ""
// + "/words" would be the root's.
QStringList besideProgram(const QString& name)
{
    const QString folder = programFolder();
    return folder.isEmpty() ? QStringList() : QStringList { folder + u'/' + name };
}
} // namespace

QString programFolder()
{
    return overridden().isEmpty() ? executableFolder() : overridden();
}

void overrideProgramFolder(const QString& folder)
{
    overridden() = folder;
}

QStringList wordsFolders()
{
    const QString words = QStringLiteral("/zurevavud/words");
    QStringList folders = besideProgram(QStringLiteral("words"));
    if (const QString own = userWordsFolder(); !own.isEmpty())
        folders << own;
    for (const QString& installed : besideProgram(QStringLiteral(ZUREVAVUD_DATA_FROM_BIN)))
        folders << installed + words;
    for (const QString& folder : dataFolders())
        folders << folder + words;
    // A copy installed under /usr is also one of the data folders: each place is looked at, and
    // named in a failure, once.
    for (QString& folder : folders)
        folder = QDir::cleanPath(folder);
    folders.removeDuplicates();
    return folders;
}

QString userWordsFolder()
{
    const QString own = userDataFolder();
    return own.isEmpty() ? QString() : QDir::cleanPath(own + QStringLiteral("/zurevavud/words"));
}

QString outputFolder()
{
    for (const QString& beside : besideProgram(QStringLiteral("output"))) {
        if (Files::isFolder(beside))
            return beside;
    }
    const Documents d = documents();
    if (d.folder.isEmpty())
        throw Failure(FailureKind::NoSaveFolder, d.problem);
    return d.folder + QStringLiteral("/Zurevavud");
}

QString makeOutputFolder()
{
    QString folder = outputFolder();
    if (Files::isFolder(folder))
        return folder;
    // The documents folder as a desktop session makes it, directly in the home folder; a
    // folder elsewhere, or deeper, is the user's to make.
    const Documents d = documents();
    if (!Files::isFolder(d.folder)) {
        if (QFileInfo(d.folder).path() != d.home || !Files::isFolder(d.home))
            throw Failure(FailureKind::PathNotFound, d.folder, 0,
                QStringLiteral("Это папка документов, а в ней программа создаёт только свою "
                               "папку Zurevavud"));
        Files::makeFolder(d.folder);
    }
    Files::makeFolder(folder);
    return folder;
}

} // namespace Paths
