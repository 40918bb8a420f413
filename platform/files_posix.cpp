// Reading and writing files with the system's own calls: only they can refuse a FIFO without
// blocking, refuse a symbolic link, and tell a full disk from a written file.
#include "platform/files.h"

#include "platform/failure.h"
#include "platform/files_p.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Files {

QString systemReason(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("Такого файла или папки нет");
    case EACCES:
    case EPERM:
        return QStringLiteral("Нет прав доступа");
    case ELOOP:
        return QStringLiteral("Символические ссылки ведут по кругу или их слишком много подряд");
    case ENOTDIR:
        return QStringLiteral("Часть пути — не папка");
    case EISDIR:
        return QStringLiteral("На этом месте папка");
    case ENOSPC:
        return QStringLiteral("На диске нет места");
    case EDQUOT:
        return QStringLiteral("Исчерпана дисковая квота");
    case EROFS:
        return QStringLiteral("Файловая система только для чтения");
    case EFBIG:
        return QStringLiteral("Файл больше, чем позволено");
    case EIO:
        return QStringLiteral("Ошибка ввода-вывода");
    case ENAMETOOLONG:
        return QStringLiteral("Слишком длинное имя");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Открыто слишком много файлов");
    case EBUSY:
        return QStringLiteral("Файл занят");
    }
    return QStringLiteral("Системная ошибка %1").arg(error);
}

namespace {

// Closes a descriptor when it goes out of scope, unless it was closed and checked before.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    // The close's own result: some file systems report a failed write only here.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// What a path names when it is no regular file.
QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("Это папка");
    if (S_ISFIFO(mode))
        return QStringLiteral("Это именованный канал (FIFO)");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("Это устройство");
    if (S_ISSOCK(mode))
        return QStringLiteral("Это сокет");
    if (S_ISLNK(mode))
        return QStringLiteral("Это символическая ссылка, а за ссылкой программа не идёт");
    return QStringLiteral("Это не обычный файл");
}

[[noreturn]] void failOpen(const QString& path, int error)
{
    if (error == ENOENT) {
        requireFolderOf(path);
        throw Failure(FailureKind::FileNotFound, absolute(path), 0, QString());
    }
    throw Failure(FailureKind::ReadFailed, absolute(path), 0, systemReason(error));
}

// Writes all of bytes; false with errno set when the system refuses.
bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

// Writes bytes to fd, to the disk when asked, and closes it; the first failing step's error,
// or 0.
enum class Sync { No, Yes };
int writeAndClose(Descriptor& fd, const QByteArray& bytes, Sync sync)
{
    if (!writeAll(fd.get(), bytes) || (sync == Sync::Yes && ::fsync(fd.get()) != 0))
        return errno;
    return fd.close() ? 0 : errno;
}

mode_t creationMode()
{
    // Files the program makes get the permissions the user's umask gives any new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

QByteArray readWholeFile(const QString& path, qint64 maxSize, Links links)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer; fstat then refuses it.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (links == Links::Refuse ? O_NOFOLLOW : 0);
    Descriptor fd(::open(native(path).constData(), flags));
    if (fd.get() < 0) {
        const int error = errno;
        struct stat link;
        if (error == ELOOP && links == Links::Refuse
            && ::lstat(native(path).constData(), &link) == 0 && S_ISLNK(link.st_mode))
            throw Failure(FailureKind::NotAFile, absolute(path), 0, kindOf(link.st_mode));
        failOpen(path, error);
    }
    struct stat info;
    if (::fstat(fd.get(), &info) != 0)
        throw Failure(FailureKind::ReadFailed, absolute(path), 0, systemReason(errno));
    if (!S_ISREG(info.st_mode))
        throw Failure(FailureKind::NotAFile, absolute(path), 0, kindOf(info.st_mode));
    if (info.st_size > maxSize)
        throw tooLarge(path, info.st_size, maxSize);

    // One byte more than fstat says, to see the end; a file that grows meanwhile gets more room,
    // up to one byte past the limit.
    QByteArray bytes(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qsizetype size = 0;
    for (;;) {
        if (size == bytes.size()) {
            if (size > maxSize)
                throw tooLarge(path, size, maxSize);
            bytes.resize(qsizetype(std::min<qint64>(2 * size, maxSize + 1)));
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + size, size_t(bytes.size() - size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Failure(FailureKind::ReadFailed, absolute(path), 0, systemReason(errno));
        if (n == 0)
            break;
        size += n;
        // A regular file reads short only at its end: no call more to be told so.
        if (size < bytes.size())
            break;
    }
    bytes.truncate(size);
    return bytes;
}

NewFile writeNewFile(const QString& path, const QByteArray& bytes)
{
    // O_EXCL creates the name or fails; with it a symbolic link is never followed either.
    Descriptor fd(
        ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, creationMode()));
    if (fd.get() < 0) {
        const int error = errno;
        if (error == EEXIST)
            return NewFile::NameTaken;
        requireFolderOf(path);
        throw Failure(FailureKind::WriteFailed, absolute(path), 0, systemReason(error));
    }
    // A new name puts nothing older at risk, so the system may write it out when it likes.
    if (const int error = writeAndClose(fd, bytes, Sync::No)) {
        // The name was claimed by this call, so removing it takes nothing from anyone else.
        ::unlink(native(path).constData());
        throw Failure(FailureKind::WriteFailed, absolute(path), 0, systemReason(error));
    }
    return NewFile::Written;
}

void replaceFile(const QString& path, const QByteArray& bytes)
{
    const QFileInfo target(absolute(path));
    requireFolderOf(target.filePath());
    QByteArray temporary
        = native(target.path() + QStringLiteral("/.") + target.fileName()) + ".XXXXXX";
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0)
        throw Failure(FailureKind::WriteFailed, target.filePath(), 0, systemReason(errno));
    // On the disk before it takes the name: else a crash could leave an empty file there.
    int error
        = ::fchmod(fd.get(), creationMode()) == 0 ? writeAndClose(fd, bytes, Sync::Yes) : errno;
    // rename() replaces the name itself: a symbolic link there is replaced, its target untouched.
    if (error == 0 && ::rename(temporary.constData(), native(target.filePath()).constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        throw Failure(FailureKind::WriteFailed, target.filePath(), 0, systemReason(error));
    }
    // The new name on disk too, so that a crash cannot leave the folder without the file.
    Descriptor folder(
        ::open(native(target.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
}

} // namespace Files
