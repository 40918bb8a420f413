#pragma once

#include "window/generator.h"

#include <QHash>
#include <QString>

class WordStore;
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
    // new theme does not reach. current is the new theme loaded on its own into a fresh store;
    // words from slots it leaves empty are marked with the earlier theme's folder ("00/nounN:5").
    void setEarlierTheme(const WordStore& window, const WordStore& current, const QString& folder);

    const QString& text() const { return m_text; }

private:
    QString item(const WordTable& table, int slot) const;

    QString m_text;
    QHash<const WordTable*, const WordTable*> m_current;
    QString m_earlierFolder;
};

// The explanation line of one sentence, as ExplainingOutput writes it without an earlier theme.
QString ExplainSentence(const SentenceTrace& trace);
