#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>

// The one door to the file system: every read and write of the program goes through here.
// Every failure is a Failure naming the full path and the reason in plain Russian.
namespace Files {

// The absolute form of path, which failures name: a relative one means nothing to the reader
// of a message box.
QString absolute(const QString& path);

// The folder path as a QDir; PathNotFound when it is not an existing folder. Never creates it.
QDir requireFolder(const QString& path);

// Makes the folder path and any missing folder above it; an existing folder is left as it is.
// A failure is MakeFolderFailed with the system's reason.
void makeFolder(const QString& path);

// Makes the folder path, whose parent must exist; FolderExists when the name is taken by
// anything, MakeFolderFailed with the system's reason on any other failure.
void makeNewFolder(const QString& path);

// True when any directory entry has this name: a file, a folder, or a link, even to nothing.
bool nameTaken(const QString& path);

// The whole content of a regular file, opened so that a FIFO or a device never blocks or
// streams: anything but a regular file is NotAFile, and with Links::Refuse a symbolic link is
// too. A missing folder is PathNotFound, a missing file FileNotFound, a file of more than
// maxSize bytes TooLarge (found before reading it), anything else ReadFailed.
enum class Links { Follow, Refuse };
QByteArray readWholeFile(const QString& path, qint64 maxSize, Links links = Links::Follow);

// Creates path with exactly bytes, but only if the name is not taken (see nameTaken);
// a taken name touches nothing. A missing folder is PathNotFound; a failed write is WriteFailed
// and leaves no file.
enum class NewFile { Written, NameTaken };
[[nodiscard]] NewFile writeNewFile(const QString& path, const QByteArray& bytes);

// Replaces or creates path with exactly bytes, all at once: the bytes go to a new file beside
// it, reach the disk, and take its name. A symbolic link of that name is itself replaced, never
// written through; on any failure the old file stays whole. A missing folder is PathNotFound,
// anything else WriteFailed.
void replaceFile(const QString& path, const QByteArray& bytes);

} // namespace Files
