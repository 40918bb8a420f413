#pragma once

#include "core/generator.h"

#include <QString>

class Session;

// The generated text with, after each sentence, one line saying how it was made: template,
// genders of its noun phrases and the file and line of every word, e.g.
//   A  g=1,0,2,2  intro:14 adjF:3 nounF:3 nounM2:40 verbN:7 nounN1:22
// Each line goes in as CR LF + line + CR LF right after its sentence (before the sentence's
// paragraph break, if it has one), so removing every such insertion gives back the plain text.
class ExplainingOutput final : public TextOutput {
public:
    // Passes the text on to out; session is the one generating, for the words' origins.
    ExplainingOutput(TextOutput& out, const Session& session)
        : m_out(out)
        , m_session(session)
    {
    }
    void append(QByteArrayView text) override { m_out.append(text); }
    void sentenceMade(const Sentence& sentence) override;
    void runEnded() override { m_out.runEnded(); }

    // The line for one sentence. A word loaded by an earlier theme (a window loads a theme over
    // the one before, whose words stay in the slots the new theme does not reach) is marked
    // with that theme's folder ("00/nounN:5"); a slot no file reached is "(пусто):1234".
    static QString explain(const Sentence& sentence, const Session& session);

private:
    TextOutput& m_out;
    const Session& m_session;
};
