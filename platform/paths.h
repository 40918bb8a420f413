#pragma once

#include <QString>
#include <QStringList>

// Where the program finds its words and puts what it makes. A build tree or an unzipped
// folder keeps both beside the program; an installed program reads its words from the data
// folders and saves into the user's documents. Only absolute folders count: an empty or
// relative HOME or XDG variable names no place, as the freedesktop.org rules say.
namespace Paths {

// The folder that holds the running executable, without a trailing separator, as the system
// names it (see Files::fromNative); empty when it cannot be found.
QString programFolder();

// Tests run the program's commands in a folder of their own; an empty folder restores the
// executable's.
void overrideProgramFolder(const QString& folder);

// The folders that may hold the theme folders 00 ... 99, in the order a theme is looked for:
// "words" beside the program; the user's own $XDG_DATA_HOME/zurevavud/words; the installed
// data folder, found relative to the program (../share/zurevavud/words); the other XDG data
// folders. Clean absolute paths, each once.
QStringList wordsFolders();

// The user's own words folder, $XDG_DATA_HOME/zurevavud/words, where own themes are made;
// empty when the user has no usable data folder.
QString userWordsFolder();

// Where saves and the DOS program go: the "output" folder beside the program when there is
// one, else the folder Zurevavud in the user's documents, which may not exist yet.
// NoSaveFolder, saying why, when no documents folder can be named.
QString outputFolder();

// outputFolder(), made first when it is missing: the folder Zurevavud, and the documents
// folder itself only when that lies directly in the home folder; nothing above. A failure is a
// Failure naming the folder.
QString makeOutputFolder();

// The program's arguments as the system gives them, so that a folder name that is no UTF-8
// still reaches its folder.
QStringList arguments(int argc, char** argv);

} // namespace Paths
