#include "core/session.h"

#include "core/themes.h"
#include "modules/mdlsubs.h"
#include "platform/failure.h"
#include "platform/files.h"

#include <QDir>

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

QString Session::locate(const QStringList& wordsFolders, int theme)
{
    const QString name = Themes::folderName(theme);
    QStringList tried;
    for (const QString& folder : wordsFolders) {
        // Files::absolute keeps a folder name that is no UTF-8, which Qt's absolute paths lose.
        const QString candidate = Files::absolute(QDir(folder).filePath(name));
        if (Files::isFolder(candidate))
            return candidate + u'/';
        tried << QDir::toNativeSeparators(candidate);
    }
    if (tried.size() == 1)
        throw Failure(FailureKind::PathNotFound, tried.first(), 0, QString());
    throw Failure(FailureKind::PathNotFound, QString(), 0,
        QStringLiteral("Папки темы %1 нет ни в одном из мест: %2")
            .arg(name, tried.join(QStringLiteral("; "))));
}

void Session::select(int theme)
{
    const QString folder = locate(m_wordsFolders, theme);
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
