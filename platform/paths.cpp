#include "platform/paths.h"

#include <QCoreApplication>

namespace Paths {

namespace {
QString& overridden()
{
    static QString folder;
    return folder;
}
} // namespace

QString ProgramFolder()
{
    return overridden().isEmpty() ? QCoreApplication::applicationDirPath() : overridden();
}

void OverrideProgramFolder(const QString& folder)
{
    overridden() = folder;
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
