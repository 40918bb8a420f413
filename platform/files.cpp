#include "platform/files.h"

#include "platform/failure.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <filesystem>

namespace {

// Checked only after something failed, to tell the reader which part of the path is wrong.
void requireFolderOf(const QString& path)
{
    Files::requireFolder(QFileInfo(path).absolutePath());
}

QString shortWrite(qint64 written, qsizetype wanted)
{
    return QStringLiteral("Записано %1 байт из %2").arg(written).arg(wanted);
}

} // namespace

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
    if (error) {
        throw Failure(FailureKind::MakeFolderFailed, absolute(path), 0,
            QString::fromLocal8Bit(error.message()));
    }
}

bool nameTaken(const QString& path)
{
    // exists() follows a symbolic link, so a link to nothing has to be asked about separately.
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QByteArray readWholeFile(const QString& path, qint64 maxSize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        requireFolderOf(path);
        if (!QFileInfo::exists(path))
            throw Failure(FailureKind::FileNotFound, absolute(path), 0, QString());
        throw Failure(FailureKind::ReadFailed, absolute(path), 0, file.errorString());
    }
    const auto tooLarge = [&](qint64 size) {
        return Failure(FailureKind::TooLarge, absolute(path), 0,
            QStringLiteral("В файле %1 байт, а помещается не больше %2").arg(size).arg(maxSize));
    };
    if (file.size() > maxSize)
        throw tooLarge(file.size());

    // Read in pieces until the end rather than trusting size(): the file may grow meanwhile,
    // and a device file reports 0.
    QByteArray bytes;
    for (;;) {
        const QByteArray piece = file.read(qMin<qint64>(maxSize - bytes.size() + 1, 1 << 16));
        if (file.error() != QFileDevice::NoError)
            throw Failure(FailureKind::ReadFailed, absolute(path), 0, file.errorString());
        if (piece.isEmpty())
            return bytes;
        bytes += piece;
        if (bytes.size() > maxSize)
            throw tooLarge(qMax<qint64>(file.size(), bytes.size()));
    }
}

NewFile writeNewFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    // NewOnly creates the name exclusively (O_EXCL): it neither follows a symbolic link nor
    // opens a file someone else has just created, so the name is ours or the call fails.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (nameTaken(path))
            return NewFile::NameTaken;
        requireFolderOf(path);
        throw Failure(FailureKind::WriteFailed, absolute(path), 0, file.errorString());
    }

    const qint64 written = file.write(bytes);
    QString reason;
    if (written != bytes.size())
        reason = file.error() != QFileDevice::NoError ? file.errorString()
                                                      : shortWrite(written, bytes.size());
    else if (!file.flush())
        reason = file.errorString();
    if (reason.isEmpty()) {
        file.close();
        if (file.error() == QFileDevice::NoError)
            return NewFile::Written;
        reason = file.errorString();
    }
    // The name was claimed by this call, so removing it takes nothing from anyone else.
    file.close();
    file.remove();
    throw Failure(FailureKind::WriteFailed, absolute(path), 0, reason);
}

void replaceFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        requireFolderOf(path);
        throw Failure(FailureKind::WriteFailed, absolute(path), 0, file.errorString());
    }
    // Without commit() the temporary file goes away and the old file stays.
    const qint64 written = file.write(bytes);
    if (written != bytes.size()) {
        throw Failure(FailureKind::WriteFailed, absolute(path), 0,
            file.error() != QFileDevice::NoError ? file.errorString()
                                                 : shortWrite(written, bytes.size()));
    }
    if (!file.commit())
        throw Failure(FailureKind::WriteFailed, absolute(path), 0, file.errorString());
}

} // namespace Files
