#pragma once

// What the system-specific halves of platform/paths give the shared one.

#include <QString>
#include <QStringList>

namespace Paths {

// The folder of the running executable; empty when it cannot be found.
QString executableFolder();

// The user's own data folder ($XDG_DATA_HOME, else ~/.local/share); empty when there is none.
QString userDataFolder();

// The other data folders ($XDG_DATA_DIRS), in order.
QStringList dataFolders();

// The user's documents folder and home folder; an empty folder when none can be named, and
// then problem says why.
struct Documents {
    QString folder;
    QString home;
    QString problem;
};
Documents documents();

} // namespace Paths
