#pragma once

#include <QString>

// Where the program lives. Every path the program uses is this folder plus a fixed part.
namespace Paths {

// The folder that holds the running executable, without a trailing separator.
QString programFolder();

// Tests run the program's commands in a folder of their own; an empty folder restores the
// executable's.
void overrideProgramFolder(const QString& folder);

// programFolder() + "/words", the parent of the theme folders 00 ... 03.
QString wordsFolder();

// programFolder() + "/output"; the build creates it, the program never does.
QString outputFolder();

} // namespace Paths
