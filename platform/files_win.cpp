// Reading and writing files where there are no POSIX calls (Windows): Qt for reading, and for
// writing a hidden file that reaches the disk before MoveFileEx gives it its name, which never
// replaces a file unless told to (QFile::rename would copy over a name taken meanwhile).
#include "platform/files.h"

#include "platform/failure.h"
#include "platform/files_p.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <filesystem>
#include <io.h>
#include <system_error>
#include <utility>

// <windows.h> in a block of its own so that sorting cannot move it.
#include <windows.h>

namespace Files {

QString systemReason(int error)
{
    // Windows says it in the user's own language.
    return QString::fromLocal8Bit(std::system_category().message(error)).trimmed();
}

QString fromNative(QByteArrayView name)
{
    return QString::fromUtf8(name);
}

QByteArray toNative(QStringView name)
{
    return name.toUtf8();
}

QString absolute(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool isFolder(const QString& path)
{
    return QFileInfo(path).isDir();
}

bool nameTaken(const QString& path)
{
    // exists() follows a symbolic link, so a link to nothing has to be asked about separately.
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

void makeFolder(const QString& path, Existing existing)
{
    std::error_code error;
    const bool made
        = std::filesystem::create_directory(std::filesystem::path(path.toStdWString()), error);
    if (!made && existing == Existing::Refuse && nameTaken(path))
        throw Failure(FailureKind::FolderExists, absolute(path), 0, QString());
    if (error || !isFolder(path)) {
        throw Failure(FailureKind::MakeFolderFailed, absolute(path), 0,
            error ? QString::fromLocal8Bit(error.message())
                  : QStringLiteral("На этом месте не папка"));
    }
}

namespace {

QString shortWrite(qint64 written, qsizetype wanted)
{
    return QStringLiteral("Записано %1 из %2")
        .arg(counted(written, u"байт", u"байта", u"байт"),
            counted(wanted, u"байт", u"байта", u"байт"));
}

QString randomName()
{
    static constexpr char16_t Letters[]
        = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString name;
    for (int i = 0; i < 6; ++i)
        name += QChar(Letters[QRandomGenerator::global()->bounded(int(std::size(Letters) - 1))]);
    return name;
}

// Writes all of bytes and flushes them to the disk (_commit is FlushFileBuffers); the reason
// of a failure, or nothing.
QString writeThrough(QFile& file, const QByteArray& bytes)
{
    const qint64 written = file.write(bytes);
    if (written != bytes.size())
        return file.error() != QFileDevice::NoError ? file.errorString()
                                                    : shortWrite(written, bytes.size());
    if (!file.flush())
        return file.errorString();
    return ::_commit(file.handle()) == 0
        ? QString()
        : QString::fromLocal8Bit(std::generic_category().message(errno));
}

// Removes the hidden temporary file when it is not wanted any more.
struct Temporary {
    QString path;
    explicit Temporary(QString p)
        : path(std::move(p))
    {
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    ~Temporary()
    {
        if (!path.isEmpty())
            QFile::remove(path);
    }
};

// bytes in a hidden file beside target, named after it, on the disk and closed. A failure is
// WriteFailed naming target.
QString writeTemporary(const QString& target, const QByteArray& bytes)
{
    const QFileInfo place(target);
    for (;;) {
        QFile file(place.path() + QStringLiteral("/.") + place.fileName() + u'.' + randomName());
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (nameTaken(file.fileName()))
                continue;
            requireFolderOf(target);
            throw Failure(FailureKind::WriteFailed, absolute(target), 0, file.errorString());
        }
        QString reason = writeThrough(file, bytes);
        file.close();
        if (reason.isEmpty() && file.error() == QFileDevice::NoError)
            return file.fileName();
        if (reason.isEmpty())
            reason = file.errorString();
        file.remove();
        throw Failure(FailureKind::WriteFailed, absolute(target), 0, reason);
    }
}

// What programs killed while writing into folder left: a temporary that nothing has written
// to for a minute. A file being written is open, and Windows removes no open file.
void removeLeftovers(const QString& folder)
{
    const QDateTime before = QDateTime::currentDateTime().addSecs(-60);
    QDirIterator entries(folder, QDir::Files | QDir::Hidden | QDir::System);
    while (entries.hasNext()) {
        const QFileInfo entry(entries.next());
        if (isTemporaryName(entry.fileName().toLatin1()) && entry.lastModified() < before)
            QFile::remove(entry.filePath());
    }
}

// Moves the file from to the name to, replacing a file there only when asked; true when done,
// false when the name is taken and not to be replaced. Other failures throw, naming to.
bool move(const QString& from, const QString& to, bool replace)
{
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (::MoveFileExW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(from).utf16()),
            reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(to).utf16()), flags))
        return true;
    const DWORD error = ::GetLastError();
    if (!replace && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS))
        return false;
    throw Failure(FailureKind::WriteFailed, absolute(to), 0, systemReason(int(error)));
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

QString writeNewFile(const QString& folder, const QByteArray& bytes,
    const std::function<QString(const QString& taken)>& nextName)
{
    removeLeftovers(requireFolder(folder).absolutePath());
    QString path = nextName(QString());
    Temporary file(writeTemporary(path, bytes));
    while (!move(file.path, path, false))
        path = nextName(path);
    file.path.clear();
    return path;
}

void replaceFile(const QString& path, const QByteArray& bytes)
{
    const QString target = absolute(path);
    requireFolderOf(target);
    removeLeftovers(QFileInfo(target).path());
    Temporary file(writeTemporary(target, bytes));
    move(file.path, target, true);
    file.path.clear();
}

} // namespace Files
