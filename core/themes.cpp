#include "core/themes.h"

namespace Themes {

QStringList names()
{
    return { QStringLiteral("Всё одной кучей"), QStringLiteral("Философия"),
        QStringLiteral("Зверюшки"), QStringLiteral("Техника") };
}

QString folderName(int position)
{
    return QStringLiteral("%1").arg(position, 2, 10, QLatin1Char('0'));
}

} // namespace Themes
