// Reading and writing files where there are no POSIX calls (Windows): what Qt offers.
#include "platform/files.h"

#include "platform/failure.h"
#include "platform/files_p.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Files {

QString systemReason(int error)
{
    return QStringLiteral("Системная ошибка %1").arg(error);
}

namespace {

QString shortWrite(qint64 written, qsizetype wanted)
{
    return QStringLiteral("Записано %1 из %2")
        .arg(counted(written, u"байт", u"байта", u"байт"),
            counted(wanted, u"байт", u"байта", u"байт"));
}

} // namespace

QByteArray readWholeFile(const QString& path, qint64 maxSize, Links links)
{
    const QFileInfo info(path);
    if (info.isSymLink() && links == Links::Refuse) {
        throw Failure(FailureKind::NotAFile, absolute(path), 0,
            QStringLiteral("Это символическая ссылка, а за ссылкой программа не идёт"));
    }
    if (info.exists() && !info.isFile())
        throw Failure(
            FailureKind::NotAFile, absolute(path), 0, QStringLiteral("Это не обычный файл"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        requireFolderOf(path);
        if (!QFileInfo::exists(path))
            throw Failure(FailureKind::FileNotFound, absolute(path), 0, QString());
        throw Failure(FailureKind::ReadFailed, absolute(path), 0, file.errorString());
    }
    if (file.size() > maxSize)
        throw tooLarge(path, file.size(), maxSize);
    const QByteArray bytes = file.read(maxSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw Failure(FailureKind::ReadFailed, absolute(path), 0, file.errorString());
    if (bytes.size() > maxSize)
        throw tooLarge(path, bytes.size(), maxSize);
    return bytes;
}

NewFile writeNewFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
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
    // commit() alone does not report a failed final flush: flush first and look.
    const qint64 written = file.write(bytes);
    if (written != bytes.size() || !file.flush()) {
        throw Failure(FailureKind::WriteFailed, absolute(path), 0,
            file.error() != QFileDevice::NoError ? file.errorString()
                                                 : shortWrite(written, bytes.size()));
    }
    if (!file.commit())
        throw Failure(FailureKind::WriteFailed, absolute(path), 0, file.errorString());
}

} // namespace Files
