#pragma once

#include <QString>
#include <QStringList>

// The fixed theme catalogue: position in the list = theme folder number.
namespace Themes {

inline constexpr int Count = 4;

// "Всё одной кучей", "Философия", "Зверюшки", "Техника", in list order.
QStringList names();

// The theme folder of a list position, written with two digits: 0 gives "00".
QString folderName(int position);

} // namespace Themes
