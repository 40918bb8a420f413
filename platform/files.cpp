// What every system shares; reading and writing are in files_posix.cpp or files_win.cpp.
#include "platform/files.h"

#include "platform/failure.h"
#include "platform/files_p.h"

#include <QFileInfo>

#include <algorithm>

namespace Files {

QDir requireFolder(const QString& path)
{
    QString folder = absolute(path);
    if (!isFolder(folder))
        throw Failure(FailureKind::PathNotFound, folder, 0, QString());
    return QDir(folder);
}

void requireFolderOf(const QString& path)
{
    // path() only cuts the string: it reads nothing from the system.
    requireFolder(QFileInfo(absolute(path)).path());
}

Failure tooLarge(const QString& path, qint64 size, qint64 maxSize)
{
    return Failure(FailureKind::TooLarge, absolute(path), 0,
        QStringLiteral("В нём %1, а предел — %2")
            .arg(counted(size, u"байт", u"байта", u"байт"),
                counted(maxSize, u"байт", u"байта", u"байт")));
}

bool isTemporaryName(QByteArrayView name)
{
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const auto isAlnum
        = [&](char c) { return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    // ".000.txt.Ab3dE9": a dot, the name, a dot and six random characters.
    if (name.size() != 15 || name[0] != '.' || name[4] != '.' || name[8] != '.')
        return false;
    const QByteArrayView extension = name.sliced(5, 3);
    return std::all_of(name.begin() + 1, name.begin() + 4, isDigit)
        && (extension == "txt" || extension == "exe")
        && std::all_of(name.begin() + 9, name.end(), isAlnum);
}

} // namespace Files
