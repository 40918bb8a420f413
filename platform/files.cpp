// What every system shares; reading and writing are in files_posix.cpp or files_win.cpp.
#include "platform/files.h"

#include "platform/failure.h"
#include "platform/files_p.h"

#include <QFileInfo>

#include <filesystem>

namespace Files {

QString absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

QDir requireFolder(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        throw Failure(FailureKind::PathNotFound, info.absoluteFilePath(), 0, QString());
    return QDir(info.absoluteFilePath());
}

void makeFolder(const QString& path)
{
    // QDir::mkpath() says only that it failed; the standard library also says why.
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path.toStdU16String()), error);
    if (error)
        throw Failure(
            FailureKind::MakeFolderFailed, absolute(path), 0, systemReason(error.value()));
}

void makeNewFolder(const QString& path)
{
    std::error_code error;
    if (std::filesystem::create_directory(std::filesystem::path(path.toStdU16String()), error))
        return;
    if (!error || error == std::errc::file_exists)
        throw Failure(FailureKind::FolderExists, absolute(path), 0, QString());
    throw Failure(FailureKind::MakeFolderFailed, absolute(path), 0, systemReason(error.value()));
}

bool nameTaken(const QString& path)
{
    // exists() follows a symbolic link, so a link to nothing has to be asked about separately.
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

void requireFolderOf(const QString& path)
{
    requireFolder(QFileInfo(path).absolutePath());
}

Failure tooLarge(const QString& path, qint64 size, qint64 maxSize)
{
    return Failure(FailureKind::TooLarge, absolute(path), 0,
        QStringLiteral("В нём %1, а предел — %2")
            .arg(counted(size, u"байт", u"байта", u"байт"),
                counted(maxSize, u"байт", u"байта", u"байт")));
}

} // namespace Files
