#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>

#include <functional>

// The one door to the file system: every read and write of the program goes through here.
// Every failure is a Failure naming the full path and the reason in plain Russian.
namespace Files {

// A name as the system spells it, and back. A name that is no valid UTF-8 (a folder unzipped
// from a Windows archive) keeps each stray byte as one code unit U+DC80 ... U+DCFF, so that it
// still reaches its file; Qt's QFile::decodeName would make it U+FFFD for good. Such a path
// reaches the file system only through the functions here.
QString fromNative(QByteArrayView name);
QByteArray toNative(QStringView name);

// The absolute form of path, which failures name: a relative one means nothing to the reader
// of a message box.
QString absolute(const QString& path);

// True when path is a folder, or a link to one.
bool isFolder(const QString& path);

// The folder path as a QDir; PathNotFound when it is not an existing folder. Never creates it.
QDir requireFolder(const QString& path);

// Makes the one folder path, whose parent must exist; an existing folder, or a link to one, is
// left as it is, or with Existing::Refuse is FolderExists. Any other failure is
// MakeFolderFailed with the system's reason.
enum class Existing { Keep, Refuse };
void makeFolder(const QString& path, Existing existing = Existing::Keep);

// True when any directory entry has this name: a file, a folder, or a link, even to nothing.
bool nameTaken(const QString& path);

// The whole content of a regular file, opened so that a FIFO or a device never blocks or
// streams: anything but a regular file is NotAFile, and with Links::Refuse a symbolic link is
// too. A missing folder is PathNotFound, a missing file FileNotFound, a file of more than
// maxSize bytes TooLarge (found before reading it), anything else ReadFailed.
enum class Links { Follow, Refuse };
QByteArray readWholeFile(const QString& path, qint64 maxSize, Links links = Links::Follow);

// Writes bytes to a new file in folder and gives it the first free name, never replacing an
// entry (see nameTaken): nextName gets the path last found taken (empty at first) and returns
// the next path in folder to try, or throws to give up. The bytes are whole and on the disk
// before the file has its name, so the name holds all of them or does not exist, however the
// program ends; what a killed program leaves unnamed, the next write removes. Returns the path
// given. A missing folder is PathNotFound, anything else WriteFailed naming the first path.
QString writeNewFile(const QString& folder, const QByteArray& bytes,
    const std::function<QString(const QString& taken)>& nextName);

// Replaces or creates path with exactly bytes, all at once: the bytes go to a new file beside
// it, reach the disk, and take its name. A symbolic link of that name is itself replaced, never
// written through; on any failure the old file stays whole, and nothing is left beside it. A
// missing folder is PathNotFound, anything else WriteFailed.
void replaceFile(const QString& path, const QByteArray& bytes);

} // namespace Files
