#pragma once

#include <QString>
#include <QStringList>

// Where the program finds its words and puts what it makes. A build tree or an unzipped
// folder keeps both beside the program; an installed program reads its words from the data
// folders and saves into the user's documents.
namespace Paths {

// The folder that holds the running executable, without a trailing separator; empty when its
// name cannot be read (no valid UTF-8), and then no place is looked for beside the program.
QString programFolder();

// Tests run the program's commands in a folder of their own; an empty folder restores the
// executable's.
void overrideProgramFolder(const QString& folder);

// The folders that may hold the theme folders 00 ... 99, in the order a theme is looked for:
// "words" beside the program; the user's own $XDG_DATA_HOME/zurevavud/words; the installed
// data folder, found relative to the program (../share/zurevavud/words); the other XDG data
// folders. Clean absolute paths, each once.
QStringList wordsFolders();

// The user's own words folder, $XDG_DATA_HOME/zurevavud/words, where own themes are made.
QString userWordsFolder();

// Where saves and the DOS program go: the "output" folder beside the program when there is
// one, else the folder Zurevavud in the user's documents, which may not exist yet.
QString outputFolder();

// outputFolder(), with the user's folder made first when it is missing: the one folder the
// program ever creates. A failure to make it is a Failure naming it.
QString makeOutputFolder();

} // namespace Paths
