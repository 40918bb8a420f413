#pragma once

#include "core/generator.h"
#include "core/wordstore.h"

#include <QString>
#include <QStringList>

// What one window owns besides its controls: its word tables, the theme they hold and the
// generator over them. The window and the command line both drive one of these, so the
// command line prints what a window shows by construction.
class Session {
public:
    // wordsFolders: where to look for the theme folders, in order; a theme folder is taken whole
    // from the first of them that has it.
    explicit Session(QStringList wordsFolders);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Loads the theme of this number into the tables. A failure (a Failure) keeps the words and
    // the theme the session had.
    void select(int theme);

    // What a fresh window holds once the user has chosen theme: a window opens on theme 00,
    // whose words stay in the slots the chosen theme does not reach. A window opens without
    // words when 00 fails to load, and a choice then still works, so only the chosen theme's
    // failure is a failure here.
    void openOn(int theme);

    // The theme whose words the tables hold, or -1 before one has loaded.
    int theme() const { return m_theme; }
    // The folder that theme was read from, with a trailing separator.
    const QString& themeFolder() const { return m_themeFolder; }
    const WordStore& words() const { return m_words; }

    // One press of "Генерировать"; NoWordsLoaded when no theme has loaded any word.
    void generate(TextOutput& out) const;

    // Sentences in UTF-8 rather than Windows-1251 (see SentenceGenerator::setUtf8).
    void setUtf8(bool utf8) { m_generator.setUtf8(utf8); }

    const QStringList& wordsFolders() const { return m_wordsFolders; }

private:
    QStringList m_wordsFolders;
    WordStore m_words;
    SentenceGenerator m_generator { m_words };
    int m_theme = -1;
    QString m_themeFolder;
};
