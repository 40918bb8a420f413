// Reading and writing files with the system's own calls: only they can refuse a FIFO without
// blocking, refuse a symbolic link, tell a full disk from a written file, give a file its name
// only once it is whole, and reach a folder whose name is no UTF-8.
#include "platform/files.h"

#include "platform/failure.h"
#include "platform/files_p.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Files {

namespace {

struct Reason {
    int error;
    const char16_t* text;
};

// Every error number that the calls below can give, in words. On Linux ENOTSUP is EOPNOTSUPP
// and EWOULDBLOCK is EAGAIN.
constexpr Reason Reasons[] = {
    { ENOENT, u"Такого файла или папки нет" },
    { EACCES, u"Нет прав доступа" },
    { EPERM, u"Нет прав доступа" },
    { ELOOP, u"Символические ссылки ведут по кругу или их слишком много подряд" },
    { ENOTDIR, u"Часть пути — не папка" },
    { EISDIR, u"На этом месте папка" },
    { ENOSPC, u"На диске нет места" },
    { EDQUOT, u"Исчерпана дисковая квота" },
    { EROFS, u"Файловая система только для чтения" },
    { EFBIG, u"Файл больше, чем позволено" },
    { EIO, u"Ошибка ввода-вывода" },
    { ENAMETOOLONG, u"Слишком длинное имя" },
    { EMFILE, u"Открыто слишком много файлов" },
    { ENFILE, u"Открыто слишком много файлов" },
    { EBUSY, u"Файл занят" },
    { ENXIO, u"За этим именем нет ни файла, ни работающего устройства (например, это сокет)" },
    { ENODEV, u"Это устройство не умеет так работать с файлами" },
    { EEXIST, u"Это имя уже занято" },
    { ENOTEMPTY, u"Папка не пуста" },
    { EXDEV, u"Файл нельзя перенести на другой диск одним переименованием" },
    { EOPNOTSUPP, u"Файловая система этого не умеет" },
    { ETXTBSY, u"Файл занят: он сейчас выполняется как программа" },
    { EAGAIN, u"Файл сейчас занят; попробуйте ещё раз" },
    { EINTR, u"Действие прервано сигналом" },
    { EINVAL, u"Система не принимает такое действие или такое имя здесь" },
    { EBADF, u"Файл уже закрыт (ошибка программы)" },
    { ENOMEM, u"Не хватает памяти" },
    { EMLINK, u"Слишком много ссылок на файл или папок в папке" },
    { EOVERFLOW, u"Файл слишком велик для этой программы" },
    { ENOLCK, u"Система не может больше запирать файлы" },
    { ESTALE, u"Файл на сетевом диске удалён или заменён на сервере" },
    { EFAULT, u"Неверный адрес в памяти (ошибка программы)" },
    { ERANGE, u"Путь слишком длинный" },
    { ENOSYS, u"Система не умеет этого делать" },
    { ETIMEDOUT, u"Сетевой диск не ответил вовремя" },
    { EUCLEAN, u"Файловая система повреждена: её нужно проверить" },
};

} // namespace

QString systemReason(int error)
{
    for (const Reason& r : Reasons) {
        if (r.error == error)
            return QString::fromUtf16(r.text);
    }
    return QStringLiteral("Непредвиденная системная ошибка %1: %2")
        .arg(error)
        .arg(QString::fromLocal8Bit(std::strerror(error)));
}

namespace {

// The length of the UTF-8 sequence at the start of bytes, with its character in c; 0 when the
// bytes there are no UTF-8: a stray byte, a cut sequence, an overlong form, a surrogate or a
// value past U+10FFFF.
int utf8Sequence(QByteArrayView bytes, char32_t& c)
{
    const auto lead = uchar(bytes[0]);
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    const int length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (length == 0 || length > bytes.size())
        return 0;
    c = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if ((uchar(bytes[k]) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (uchar(bytes[k]) & 0x3F);
    }
    const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    return c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) ? 0 : length;
}

} // namespace

QString fromNative(QByteArrayView name)
{
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size();) {
        char32_t c = 0;
        if (const int length = utf8Sequence(name.sliced(i), c)) {
            out += QStringView(QChar::fromUcs4(c));
            i += length;
        } else {
            out += QChar(char16_t(0xDC00 + uchar(name[i++])));
        }
    }
    return out;
}

QByteArray toNative(QStringView name)
{
    QByteArray out;
    out.reserve(name.size());
    qsizetype plain = 0; // where the text not yet written starts
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c >= 0xDC80 && c <= 0xDCFF) {
            out += name.sliced(plain, i - plain).toUtf8();
            out += char(c - 0xDC00);
            plain = i + 1;
        }
    }
    return out + name.sliced(plain).toUtf8();
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
    ~Descriptor() { reset(-1); }
    int get() const { return m_fd; }
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
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

// What a path names when it is no regular file, or where a folder was to be.
QString kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return QStringLiteral("На этом месте файл, а не папка");
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
    // A socket or a device without a driver refuses to open at all: say what is there.
    struct stat info;
    if (::stat(toNative(path).constData(), &info) == 0 && !S_ISREG(info.st_mode))
        throw Failure(FailureKind::NotAFile, absolute(path), 0, kindOf(info.st_mode));
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

mode_t creationMode()
{
    // Files the program makes get the permissions the user's umask gives any new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_ino == b.st_ino && a.st_dev == b.st_dev;
}

// Removes the temporary name in folder unless a write in progress holds its file: every write
// keeps its file locked, and a lock ends with the program that held it.
void removeIfAbandoned(int folder, const char* name)
{
    Descriptor fd(::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat held, named;
    if (fd.get() < 0 || ::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode)
        || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return;
    // A write that finished meanwhile took the file on to its own name.
    if (::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(named, held))
        ::unlinkat(folder, name, 0);
}

// What programs killed while writing into folder left there.
void removeLeftovers(const QString& folder)
{
    DIR* dir = ::opendir(toNative(folder).constData());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (isTemporaryName(entry->d_name))
            removeIfAbandoned(::dirfd(dir), entry->d_name);
    }
    ::closedir(dir);
}

// The new name in folder on the disk too, so that a crash cannot take it back.
void syncFolder(const QString& folder)
{
    Descriptor fd(::open(toNative(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

QByteArray randomName()
{
    static constexpr char Letters[]
        = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name(6, Qt::Uninitialized);
    for (char& c : name)
        c = Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))];
    return name;
}

// A file on its way to its name: written whole and on the disk before it gets one, and locked
// while this lives, so that no other write takes it for a leftover. It has no name at all where
// the file system can do that (O_TMPFILE), else a temporary one that goes with this object.
class Pending {
public:
    // target: the path the file is to have, in the folder it is made in; failures name it.
    Pending(const QString& target, const QByteArray& bytes)
        : m_target(target)
    {
        const QFileInfo place(target);
        m_folder = place.path();
        m_stem = place.fileName();
        if (!openUnnamed())
            openNamed(toNative(m_folder + QStringLiteral("/.") + m_stem + u'.') + "XXXXXX");
        // On the disk before it takes the name: else a crash could leave a stub there.
        if (!writeAll(m_fd.get(), bytes) || ::fsync(m_fd.get()) != 0)
            fail(errno);
    }
    Pending(const Pending&) = delete;
    Pending& operator=(const Pending&) = delete;
    ~Pending()
    {
        if (!m_temporary.isEmpty())
            ::unlink(m_temporary.constData());
    }

    // Gives the file the name path as well; false, touching nothing, when the name is taken.
    bool linkAs(const QString& path)
    {
        const QByteArray to = toNative(path);
        const QByteArray from = m_temporary.isEmpty()
            ? "/proc/self/fd/" + QByteArray::number(m_fd.get())
            : m_temporary;
        if (::linkat(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        const int error = errno;
        if (error == EEXIST)
            return false;
        throw Failure(FailureKind::WriteFailed, absolute(path), 0, systemReason(error));
    }

    // Gives the file the name path, whatever had it: a symbolic link there is replaced, its
    // target untouched.
    void renameTo(const QString& path)
    {
        // rename() moves a name: an unnamed file takes a temporary one first.
        while (m_temporary.isEmpty()) {
            const QString temporary
                = m_folder + QStringLiteral("/.") + m_stem + u'.' + QLatin1StringView(randomName());
            if (linkAs(temporary))
                m_temporary = toNative(temporary);
        }
        if (::rename(m_temporary.constData(), toNative(path).constData()) != 0)
            fail(errno);
        m_temporary.clear();
    }

private:
    [[noreturn]] void fail(int error) const
    {
        throw Failure(FailureKind::WriteFailed, m_target, 0, systemReason(error));
    }

    bool openUnnamed()
    {
        // Naming an unnamed file takes /proc: the other way, AT_EMPTY_PATH, needs a privilege.
        if (::access("/proc/self/fd", X_OK) != 0)
            return false;
        // File systems without O_TMPFILE say EOPNOTSUPP, older kernels EISDIR; any other trouble
        // the temporary name meets again, and reports.
        m_fd.reset(::open(toNative(m_folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        return m_fd.get() >= 0 && ::flock(m_fd.get(), LOCK_EX) == 0;
    }

    void openNamed(const QByteArray& pattern)
    {
        // Between mkostemp and flock another write may take the new file for a leftover and
        // remove it; then the name no longer leads to it, and another is made.
        for (int attempt = 0; m_temporary.isEmpty(); ++attempt) {
            if (attempt == 100)
                fail(EAGAIN);
            QByteArray name = pattern;
            m_fd.reset(::mkostemp(name.data(), O_CLOEXEC));
            struct stat held, named;
            if (m_fd.get() < 0 || ::flock(m_fd.get(), LOCK_EX) != 0
                || ::fstat(m_fd.get(), &held) != 0)
                fail(errno);
            if (::lstat(name.constData(), &named) == 0 && sameFile(named, held))
                m_temporary = name;
        }
        if (::fchmod(m_fd.get(), creationMode()) != 0)
            fail(errno);
    }

    QString m_target;
    QString m_folder;
    QString m_stem;
    Descriptor m_fd { -1 };
    QByteArray m_temporary; // native; empty while the file has no name
};

} // namespace

QString absolute(const QString& path)
{
    if (path.startsWith(u'/'))
        return QDir::cleanPath(path);
    // The working folder in the system's bytes: Qt's own loses a name that is no UTF-8.
    char* working = ::getcwd(nullptr, 0);
    const QString base = working ? fromNative(working) : QDir::currentPath();
    std::free(working);
    return QDir::cleanPath(base + u'/' + path);
}

bool isFolder(const QString& path)
{
    struct stat info;
    return ::stat(toNative(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool nameTaken(const QString& path)
{
    // lstat() sees the link itself, so a link to nothing takes its name too.
    struct stat info;
    return ::lstat(toNative(path).constData(), &info) == 0;
}

void makeFolder(const QString& path, Existing existing)
{
    const QByteArray name = toNative(path);
    if (::mkdir(name.constData(), 0777) == 0)
        return;
    const int error = errno;
    if (error == EEXIST && existing == Existing::Refuse)
        throw Failure(FailureKind::FolderExists, absolute(path), 0, QString());
    if (isFolder(path))
        return;
    struct stat there;
    QString reason = systemReason(error);
    if (error == EEXIST && ::lstat(name.constData(), &there) == 0) {
        reason = S_ISLNK(there.st_mode)
            ? QStringLiteral("Здесь символическая ссылка, которая никуда не ведёт")
            : kindOf(there.st_mode);
    }
    throw Failure(FailureKind::MakeFolderFailed, absolute(path), 0, reason);
}

QByteArray readWholeFile(const QString& path, qint64 maxSize, Links links)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer; fstat then refuses it.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (links == Links::Refuse ? O_NOFOLLOW : 0);
    Descriptor fd(::open(toNative(path).constData(), flags));
    if (fd.get() < 0) {
        const int error = errno;
        struct stat link;
        if (error == ELOOP && links == Links::Refuse
            && ::lstat(toNative(path).constData(), &link) == 0 && S_ISLNK(link.st_mode))
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

QString writeNewFile(const QString& folder, const QByteArray& bytes,
    const std::function<QString(const QString& taken)>& nextName)
{
    const QString place = requireFolder(folder).absolutePath();
    removeLeftovers(place);
    QString path = nextName(QString());
    Pending file(path, bytes);
    while (!file.linkAs(path))
        path = nextName(path);
    syncFolder(place);
    return path;
}

void replaceFile(const QString& path, const QByteArray& bytes)
{
    const QString target = absolute(path);
    requireFolderOf(target);
    const QString place = QFileInfo(target).path();
    removeLeftovers(place);
    Pending file(target, bytes);
    file.renameTo(target);
    syncFolder(place);
}

} // namespace Files
