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

QString programFolder()
{
    return overridden().isEmpty() ? QCoreApplication::applicationDirPath() : overridden();
}

void overrideProgramFolder(const QString& folder)
{
    overridden() = folder;
}

QString wordsFolder()
{
    return programFolder() + QStringLiteral("/words");
}

QString outputFolder()
{
    return programFolder() + QStringLiteral("/output");
}

} // namespace Paths
