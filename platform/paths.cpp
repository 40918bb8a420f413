#include "platform/paths.h"

#include <QCoreApplication>

namespace Paths {

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString WordsFolder()
{
    return ProgramFolder() + QStringLiteral("/words");
}

QString OutputFolder()
{
    return ProgramFolder() + QStringLiteral("/output");
}

} // namespace Paths
