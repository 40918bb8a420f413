#include "core/session.h"

#include "core/themes.h"
#include "modules/mdlsubs.h"
#include "platform/failure.h"

Session::Session(QStringList wordsFolders)
    : m_wordsFolders(std::move(wordsFolders))
{
}

void Session::openOn(int theme)
{
    if (theme != 0) {
        try {
            select(0);
        } catch (const Failure&) {
            // The window would say so, and open all the same.
        }
    }
    select(theme);
}

void Session::select(int theme)
{
    const QString folder = Themes::locate(m_wordsFolders, theme);
    mdlSubs::WordsPath = folder;
    m_words.dbLoad();
    m_theme = theme;
    m_themeFolder = folder;
}

void Session::generate(TextOutput& out) const
{
    if (!m_words.hasWords()) {
        throw Failure(FailureKind::NoWordsLoaded,
            m_theme < 0
                ? QStringLiteral(
                    "Ни одна тема не загрузилась: выберите тему, слова которой на месте")
                : QStringLiteral("В теме %1 нет ни одного слова: в каждом её файле только строка "
                                 "заголовка. Если строки в файлах кончаются одним LF, а не CR LF, "
                                 "программа видит весь файл как одну строку; zurevavud-cli --stats "
                                 "покажет, что с файлами")
                      .arg(Themes::folderName(m_theme)));
    }
    m_generator.GenerateText(out);
}
