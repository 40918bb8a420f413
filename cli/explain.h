#pragma once

#include "core/generator.h"

#include <QString>

class Session;
class TextWriter;

// How a sentence was made, in one line: template, genders of its noun phrases and the file and
// line of every word, e.g.
//   A  g=1,0,2,2  intro:14 adjF:3 nounF:3 nounM2:40 verbN:7 nounN1:22
// A word loaded by an earlier theme (a window loads a theme over the one before, whose words
// stay in the slots the new theme does not reach) is marked with that theme's folder
// ("00/nounN:5"); a slot no file reached is "(пусто):1234".
QString explainSentence(const Sentence& sentence, const Session& session);

// Writes the text with each sentence explained: the sentence, a line end, its explanation and
// another line end, before the sentence's paragraph break.
class ExplainingOutput final : public TextOutput {
public:
    ExplainingOutput(TextWriter& out, const Session& session)
        : m_out(out)
        , m_session(session)
    {
    }
    void sentence(const Sentence& sentence) override;
    void paragraphBreak() override;
    void runEnded() override;

private:
    TextWriter& m_out;
    const Session& m_session;
};
