#pragma once

#include "window/generator.h"

#include <QString>

class WordTable;

// The generated text with, after each sentence, one line saying how it was made: template,
// genders of its noun phrases and the file and line of every word, e.g.
//   A  g=1,0,2,2  intro:14 adjF:3 nounF:3 nounM2:40 verbN:7 nounN1:22
// Each line goes in as CR LF + line + CR LF right after its sentence (before the sentence's
// paragraph break, if it has one), so removing every such insertion gives back the plain text.
class ExplainingOutput final : public TextOutput {
public:
    void append(const QString& text) override { m_text += text; }
    void traced(const SentenceTrace& trace) override;

    // In the window a theme is loaded over the one before it, whose words stay in the slots the
    // new theme does not reach; words loaded from another folder than this one are marked with
    // that folder's name ("00/nounN:5").
    void setThemeFolder(const QString& folder) { m_folder = folder; }

    const QString& text() const { return m_text; }

private:
    QString item(const WordTable& table, int slot) const;

    QString m_text;
    QString m_folder;
};
