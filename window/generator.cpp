#include "window/generator.h"

#include "modules/mdlsubs.h"
#include "platform/failure.h"
#include "window/wordstore.h"

using mdlSubs::Chance;
using mdlSubs::RandomBetween;

namespace {

const QString ParagraphBreak = QStringLiteral("\r\n\r\n");

// A fresh entry number of a table with count entries; a failure names the table.
qint16 freshEntry(qint16 count, const WordTable& table)
{
    const qint16 hi = mdlSubs::Subtract16(count, 1);
    try {
        return mdlSubs::RandomFresh(hi, 0);
    } catch (const Failure& f) {
        throw Failure(f.kind(),
            f.detail() + QStringLiteral(" (выбор слова из таблицы %1, в ней %2 слов)")
                             .arg(table.description())
                             .arg(count));
    }
}

// Appends a word and its separating space.
class Chain {
public:
    explicit Chain(SentenceTrace* trace)
        : m_trace(trace)
    {
        m_text.reserve(192);
    }
    void add(const WordTable& table, int slot)
    {
        m_text += table.at(slot);
        m_text += u' ';
        if (m_trace)
            m_trace->words.append({ &table, slot });
    }
    void addText(QStringView text) { m_text += text; }
    QString take() { return std::move(m_text); }

private:
    QString m_text;
    SentenceTrace* m_trace;
};

} // namespace

QString FinishSentence(QString text)
{
    if (!text.isEmpty()) {
        text[0] = text.at(0).toUpper();
        text[text.size() - 1] = u'.';
    }
    text += u' ';
    if (Chance(7))
        text += ParagraphBreak;
    return text;
}

QString SentenceGenerator::BuildSentenceA(qint16 turn, SentenceTrace* trace) const
{
    const WordStore& w = m_words;
    const qint16 o = freshEntry(w.IntroCount, w.Intros);
    qint16 g[4], a[4], n[4];
    for (int k = 0; k < 4; ++k) {
        g[k] = RandomBetween(2, 0);
        a[k] = freshEntry(w.AdjectiveCount, w.Adjectives);
        n[k] = freshEntry(w.NounCount, w.Nouns);
    }
    const qint16 v = freshEntry(w.VerbCount, w.Verbs);
    const int verbBlock = 1; // verbN, the present tense
    const qint16 d = freshEntry(w.AdverbCount, w.Adverbs);

    if (trace) {
        trace->templateName = 'A';
        trace->genders = { g[0], g[1], g[2], g[3] };
        trace->words.clear();
    }
    const int ac = w.AdjectiveCount;
    const int nc = w.NounCount;
    auto adjective = [&](int form, int k) { return 1000 * form + g[k] * ac + a[k]; };
    auto noun = [&](int form, int k) { return 1000 * form + g[k] * nc + n[k]; };

    Chain s(trace);
    if (turn > 0 && Chance(2))
        s.add(w.Intros, o);
    if (Chance(1))
        s.add(w.Adjectives, adjective(0, 0));
    s.add(w.Nouns, noun(0, 0));
    if (Chance(1)) {
        if (Chance(1))
            s.add(w.Adjectives, adjective(2, 1));
        s.add(w.Nouns, noun(2, 1));
    }
    if (Chance(1))
        s.add(w.Adverbs, d);
    s.add(w.Verbs, verbBlock * w.VerbCount + v);
    // The test is drawn whatever the gender; a masculine object never takes an adjective.
    if (Chance(1) && g[2] > 0)
        s.add(w.Adjectives, adjective(1, 2));
    s.add(w.Nouns, noun(1, 2));
    if (Chance(1)) {
        if (Chance(1))
            s.add(w.Adjectives, adjective(2, 3));
        s.add(w.Nouns, noun(2, 3));
    }
    return FinishSentence(s.take());
}

QString SentenceGenerator::BuildSentenceB(qint16 turn, SentenceTrace* trace) const
{
    const WordStore& w = m_words;
    const qint16 o = freshEntry(w.IntroCount, w.Intros);
    const qint16 g = RandomBetween(2, 0);
    const qint16 a = freshEntry(w.AdjectiveCount, w.Adjectives);
    const qint16 n = freshEntry(w.NounCount, w.Nouns);
    const qint16 d1 = freshEntry(w.AdverbCount, w.Adverbs);
    const qint16 d2 = freshEntry(w.AdverbCount, w.Adverbs);

    if (trace) {
        trace->templateName = 'B';
        trace->genders = { g };
        trace->words.clear();
    }
    const int adverbBlock = 1000 + g * int(w.AdverbCount);

    Chain s(trace);
    if (turn > 0 && Chance(2))
        s.add(w.Intros, o);
    if (Chance(1))
        s.add(w.Adjectives, g * int(w.AdjectiveCount) + a);
    s.add(w.Nouns, g * int(w.NounCount) + n);
    s.add(w.Adverbs, adverbBlock + d1);
    if (Chance(1)) {
        s.addText(u"и ");
        s.add(w.Adverbs, adverbBlock + d2);
    }
    return FinishSentence(s.take());
}

void SentenceGenerator::GenerateText(TextOutput& out, bool trace) const
{
    SentenceTrace t;
    SentenceTrace* tp = trace ? &t : nullptr;
    for (qint16 turn = 0; turn <= 20; ++turn) {
        if (Chance(2)) {
            out.append(BuildSentenceA(turn, tp));
            if (tp)
                out.traced(t);
        }
        if (Chance(1)) {
            out.append(BuildSentenceB(turn, tp));
            if (tp)
                out.traced(t);
        }
    }
    out.append(ParagraphBreak);
    out.finished();
}
