#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

// The command line of zurevavud-cli: its options, their values, and its --help.
namespace CliOptions {

// What the program is asked to do.
enum class Mode { Text, One, Fortune, Stats, ListThemes, NewTheme, Help, Version };

struct Options {
    Mode mode = Mode::Text;
    QStringList wordsFolders; // --words, or the window's places
    int theme = 0;
    bool themeGiven = false;
    int runs = 1;
    int fortunes = 0;
    bool cp1251 = false;
    QByteArrayView lineEnd = "\n";
    bool explain = false;
    std::optional<quint32> seed; // none: the window's fixed start
    bool wordsGiven = false;
    int newTheme = 0; // --new-theme: its number, made from theme `from` with `name`
    int from = 0;
    QString name;
};

// The options, or why the arguments are wrong.
struct Parsed {
    Options options;
    QString error; // empty when the arguments are right
};

// args as QCoreApplication::arguments() gives them, the program's name first. Only the first
// wrong thing is reported, and a wrong value before a conflict or a stray argument: a value that
// went missing takes the next argument for it, which then is the clearer thing to name.
Parsed parse(const QStringList& args);

QString helpText();

} // namespace CliOptions
