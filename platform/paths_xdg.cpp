// The freedesktop.org places: $HOME, the XDG base directories and the documents folder of
// user-dirs.dirs. Qt 6.4 takes a relative or empty value for a place (HOME="" is "/", and
// XDG_DOCUMENTS_DIR="" in user-dirs.dirs a folder named ""), so they are read here.
#include "platform/paths.h"

#include "platform/failure.h"
#include "platform/files.h"
#include "platform/paths_p.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <climits>
#include <unistd.h>

namespace Paths {

namespace {

// The variable's value when it is an absolute path, else nothing: the rules say to ignore a
// relative one, and an empty one means unset.
QString absoluteVariable(const char* name)
{
    const QString value = Files::fromNative(qgetenv(name));
    return value.startsWith(u'/') ? QDir::cleanPath(value) : QString();
}

// The documents folder that user-dirs.dirs names, or nothing when it names none that can be
// used. Its lines are shell assignments such as XDG_DOCUMENTS_DIR="$HOME/Documents"; a value
// must be absolute or start with $HOME, and the last assignment counts.
QString namedDocuments(const QString& configFolder, const QString& home)
{
    QByteArray file;
    try {
        file = Files::readWholeFile(configFolder + QStringLiteral("/user-dirs.dirs"), 65536);
    } catch (const Failure&) {
        return QString(); // no file, no documents folder of the user's choice
    }
    QByteArray value;
    for (const QByteArray& line : file.split('\n')) {
        if (line.trimmed().startsWith("XDG_DOCUMENTS_DIR="))
            value = line.trimmed().mid(18);
    }
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        value = value.mid(1, value.size() - 2);
    value.replace("\\", ""); // the shell's escapes of ", $, ` and \ itself
    if ((value == "$HOME" || value.startsWith("$HOME/")) && !home.isEmpty())
        return QDir::cleanPath(home + Files::fromNative(value.mid(5)));
    return value.startsWith('/') ? QDir::cleanPath(Files::fromNative(value)) : QString();
}

} // namespace

QString executableFolder()
{
    // The link in the system's bytes: Qt's own path loses a folder name that is no UTF-8.
    QByteArray target(PATH_MAX, Qt::Uninitialized);
    const ssize_t size = ::readlink("/proc/self/exe", target.data(), size_t(target.size()));
    if (size <= 0 || size == target.size())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(Files::fromNative(target.first(size))).path();
}

QString userDataFolder()
{
    const QString own = absoluteVariable("XDG_DATA_HOME");
    const QString home = absoluteVariable("HOME");
    return !own.isEmpty() || home.isEmpty()
        ? own
        : QDir::cleanPath(home + QStringLiteral("/.local/share"));
}

QStringList dataFolders()
{
    const QByteArray value = qgetenv("XDG_DATA_DIRS");
    if (value.isEmpty())
        return { QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share") };
    QStringList folders;
    for (const QByteArray& folder : value.split(':')) {
        if (folder.startsWith('/'))
            folders << Files::fromNative(folder);
    }
    return folders;
}

Documents documents()
{
    const QString home = absoluteVariable("HOME");
    QString config = absoluteVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() && !home.isEmpty())
        config = QDir::cleanPath(home + QStringLiteral("/.config"));
    const QString named = config.isEmpty() ? QString() : namedDocuments(config, home);
    if (!named.isEmpty())
        return { named, home, QString() };
    if (!home.isEmpty())
        return { QDir::cleanPath(home + QStringLiteral("/Documents")), home, QString() };
    const QByteArray given = qgetenv("HOME");
    return { QString(), QString(),
        (given.isEmpty() ? QStringLiteral("Переменная окружения HOME не задана или пуста")
                         : QStringLiteral("Переменная окружения HOME — «%1», а не полный путь")
                               .arg(Files::fromNative(given)))
            + QStringLiteral(", и неизвестно, где папка документов. Задайте HOME или создайте "
                             "папку output рядом с программой") };
}

QStringList arguments(int argc, char** argv)
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << Files::fromNative(argv[i]);
    return list;
}

} // namespace Paths
