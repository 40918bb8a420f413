#include "window/themes.h"

namespace Themes {

QStringList Names()
{
    return { QStringLiteral("Всё одной кучей"), QStringLiteral("Философия"),
        QStringLiteral("Зверюшки"), QStringLiteral("Техника") };
}

QString FolderName(int position)
{
    return QStringLiteral("%1").arg(position, 2, 10, QLatin1Char('0'));
}

QString ThemePath(const QString& wordsFolder, int position)
{
    return wordsFolder + u'/' + FolderName(position) + u'/';
}

} // namespace Themes
