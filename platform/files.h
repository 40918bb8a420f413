#pragma once

#include <QByteArray>
#include <QString>

// The file system, narrowed to the three ways the program touches files. Every failure is a
// Failure naming the full path and the reason.
namespace Files {

// The whole content of path. A missing folder is PathNotFound, a missing file FileNotFound,
// a file of more than maxSize bytes TooLarge, anything else ReadFailed.
QByteArray ReadWholeFile(const QString& path, qint64 maxSize);

// Creates path with exactly bytes, but only if no directory entry of that name exists: returns
// false, touching nothing, when the name is taken (a file, a folder, a symbolic link even to
// nothing). A missing folder is PathNotFound; a failed write is WriteFailed and leaves no file.
[[nodiscard]] bool WriteNewFile(const QString& path, const QByteArray& bytes);

// Replaces or creates path with exactly bytes, all at once: on any failure the old file, if
// any, stays as it was. A missing folder is PathNotFound, anything else WriteFailed.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace Files
