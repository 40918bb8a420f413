#pragma once

// What the system-specific halves of platform/files share.

#include <QString>

class Failure;

namespace Files {

// The system's error number said in Russian: "на диске нет места".
QString systemReason(int error);

// PathNotFound when the folder of path is missing; returns otherwise.
void requireFolderOf(const QString& path);

Failure tooLarge(const QString& path, qint64 size, qint64 maxSize);

// The hidden name a file takes on its way to its own, and by which a later write knows what a
// killed program left: "." + the name the file is to have (NNN.txt, 000.exe) + "." + six
// letters or digits.
bool isTemporaryName(QByteArrayView name);

} // namespace Files
