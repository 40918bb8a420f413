#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// The themes: four shipped with the program, in a fixed order, and the user's own. A theme is a
// folder named by its two-digit number, 00 ... 99, in one of the places words are looked for;
// the first place that has a number gives that theme. Own themes are 04 ... 99 and carry their
// name in name.txt.
namespace Themes {

// "Всё одной кучей", "Философия", "Зверюшки", "Техника": themes 00 ... 03, in list order.
inline constexpr std::array<const char16_t*, 4> ShippedNames
    = { u"Всё одной кучей", u"Философия", u"Зверюшки", u"Техника" };
inline constexpr int ShippedCount = int(ShippedNames.size());
inline constexpr int LastNumber = 99;
// The longest name the list shows; a longer one is cut there.
inline constexpr qsizetype MaxNameLength = 40;

// The folder of a theme, written with two digits: 0 gives "00".
QString folderName(int number);

// A theme's name in its name.txt (UTF-8, the first line, trimmed and without control
// characters), and what was wrong with the file, in words; a name that cannot be used is empty,
// and the list says «Тема NN» instead.
struct Name {
    QString text;
    QString problem; // empty when the file was as it should be
};
Name readName(const QString& themeFolder);
// The same for a name given as text.
Name cleanName(const QString& text);

struct Theme {
    int number = 0;
    QString name; // as the list shows it
    QString folder; // with a trailing separator; empty when no place has the theme
    QStringList hidden; // folders further down with the same number, which this one hides
    QString nameProblem; // see Name
};

// The themes in list order: the four shipped ones, each from the first place that has it, then
// own themes 04 ... 99 in number order. Folders named otherwise (one or three digits, a name)
// are no theme.
QList<Theme> list(const QStringList& wordsFolders);

// The folder of theme number, with a trailing separator, in the first of wordsFolders that has
// it; PathNotFound naming every place looked at when none has.
QString locate(const QStringList& wordsFolders, int number);

// The name of theme number that the list shows, its words being in themeFolder.
QString nameOf(int number, const QString& themeFolder);

// Makes own theme `number` in userWordsFolder: a copy of the word files of theme `from` (found
// in wordsFolders) and a name.txt holding name. A number already taken there, or one of the
// shipped themes, is refused; what a failure leaves half made is removed. Returns the folder.
QString create(int number, int from, const QString& name, const QStringList& wordsFolders,
    const QString& userWordsFolder);

} // namespace Themes
