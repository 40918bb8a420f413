#include "core/generator.h"

#include "core/wordstore.h"
#include "modules/mdlsubs.h"
#include "platform/codepage.h"
#include "platform/failure.h"

#include <algorithm>
#include <cstring>

using mdlSubs::Chance;
using mdlSubs::RandomBetween;
using WordLayout::Family;

// The templates are where the time goes: every draw and word copy is inlined into them.
#if defined(__GNUC__)
#define ZUREVAVUD_FLATTEN [[gnu::flatten]]
#else
#define ZUREVAVUD_FLATTEN
#endif

namespace {

// The forms of the gendered families: template A's subject, object and genitive attributes.
constexpr int Nominative = 0;
constexpr int Accusative = 1;
constexpr int Genitive = 2;
// The verb block the templates read: verbN.
constexpr int PresentTense = 1;
// The forms of the adverb family: the plain adverbs (template A), the short adjectives (B).
constexpr int PlainAdverbs = 0;
constexpr int ShortAdjectives = 1;

// The failure of a fresh draw, said of the table it drew for; apart from the draw, which then
// stays small enough to inline.
[[noreturn]] Q_DECL_COLD_FUNCTION Q_NEVER_INLINE void failFreshEntry(
    const Failure& f, Family family, qint16 count)
{
    if (count <= 0) {
        const auto first = std::find_if(WordLayout::LoadOrder.begin(), WordLayout::LoadOrder.end(),
            [family](const WordLayout::WordFile& file) { return file.family == family; });
        throw Failure(f.kind(),
            QStringLiteral("в таблице %1 нет ни одного слова: их число задаёт файл %2.dat, а в "
                           "нём слов нет")
                .arg(WordLayout::tableName(family), QLatin1String(first->stem)));
    }
    throw Failure(f.kind(),
        QStringLiteral("в таблице %1 %2, и все их номера — среди %3 последних выбранных")
            .arg(WordLayout::tableName(family), counted(count, u"слово", u"слова", u"слов"))
            .arg(mdlSubs::RecentDrawCount));
}

// Appends bytes to a sentence, in the room it keeps; room for one byte more is always left, for
// the space that finishing appends.
void append(Sentence& s, QByteArrayView bytes)
{
    const size_t needed = size_t(s.length + bytes.size()) + 1;
    if (Q_UNLIKELY(needed > s.buffer.size()))
        s.buffer.resize(std::max<size_t>(2 * needed, 256));
    std::memcpy(s.buffer.data() + s.length, bytes.data(), size_t(bytes.size()));
    s.length += bytes.size();
}

// Appends words, each with its separating space, and notes where each came from.
class Chain {
public:
    Chain(Sentence& sentence, const WordStore& words, bool utf8)
        : m_sentence(sentence)
        , m_words(words)
    {
        m_sentence.length = 0;
        m_sentence.wordCount = 0;
        m_sentence.utf8 = utf8;
    }
    void add(Family family, int form, int block, int entry)
    {
        const int slot = WordLayout::slot(form, block, m_words.count(family), entry);
        const WordTable& table = m_words.table(family);
        append(m_sentence, m_sentence.utf8 ? table.utf8At(slot) : table.at(slot));
        m_sentence.buffer[size_t(m_sentence.length++)] = ' ';
        m_sentence.words[size_t(m_sentence.wordCount++)] = { family, slot };
    }
    // "и " between two short adjectives.
    void addAnd() { append(m_sentence, m_sentence.utf8 ? "\xD0\xB8 " : "\xE8 "); }

private:
    Sentence& m_sentence;
    const WordStore& m_words;
};

} // namespace

void FinishSentence(Sentence& sentence)
{
    append(sentence, " ");
    char* text = sentence.buffer.data();
    if (sentence.length > 1) {
        if (sentence.utf8)
            CodePage::upperFirstUtf8(text, sentence.length);
        else
            text[0] = char(CodePage::upperAnsiTable()[uchar(text[0])]);
        text[sentence.length - 2] = '.';
    }
    sentence.paragraphBreak = Chance(7);
}

bool SentenceGenerator::reads(const WordLayout::WordFile& file)
{
    switch (file.family) {
    case Family::Verbs:
        return file.block == PresentTense;
    case Family::Adjectives:
        // A masculine object never takes an adjective.
        return !(file.form == Accusative && file.block == WordLayout::Masculine);
    default:
        return true;
    }
}

// A fresh entry number of a family's table; a failure names the table.
qint16 SentenceGenerator::freshEntry(Family family) const
{
    const qint16 count = m_words.count(family);
    try {
        return mdlSubs::RandomFresh(mdlSubs::subtract16(count, 1), 0);
    } catch (const Failure& f) {
        failFreshEntry(f, family, count);
    }
}

ZUREVAVUD_FLATTEN void SentenceGenerator::BuildSentenceA(qint16 turn, Sentence& s) const
{
    const qint16 opener = freshEntry(Family::Intros);
    qint16 gender[4], adjective[4], noun[4];
    for (int k = 0; k < 4; ++k) {
        gender[k] = RandomBetween(2, 0);
        adjective[k] = freshEntry(Family::Adjectives);
        noun[k] = freshEntry(Family::Nouns);
    }
    const qint16 verb = freshEntry(Family::Verbs);
    const qint16 adverb = freshEntry(Family::Adverbs);

    s.kind = Sentence::Template::A;
    s.genders = { gender[0], gender[1], gender[2], gender[3] };
    s.genderCount = 4;
    Chain chain(s, m_words, m_utf8);
    auto addAdjective
        = [&](int form, int k) { chain.add(Family::Adjectives, form, gender[k], adjective[k]); };
    auto addNoun = [&](int form, int k) { chain.add(Family::Nouns, form, gender[k], noun[k]); };
    auto genitivePhrase = [&](int k) {
        if (Chance(1)) {
            if (Chance(1))
                addAdjective(Genitive, k);
            addNoun(Genitive, k);
        }
    };

    if (turn > 0 && Chance(2))
        chain.add(Family::Intros, 0, 0, opener);
    if (Chance(1))
        addAdjective(Nominative, 0);
    addNoun(Nominative, 0);
    genitivePhrase(1);
    if (Chance(1))
        chain.add(Family::Adverbs, PlainAdverbs, 0, adverb);
    chain.add(Family::Verbs, 0, PresentTense, verb);
    // The test is drawn whatever the gender; a masculine object never takes an adjective.
    if (Chance(1) && gender[2] > WordLayout::Masculine)
        addAdjective(Accusative, 2);
    addNoun(Accusative, 2);
    genitivePhrase(3);
    FinishSentence(s);
}

ZUREVAVUD_FLATTEN void SentenceGenerator::BuildSentenceB(qint16 turn, Sentence& s) const
{
    const qint16 opener = freshEntry(Family::Intros);
    const qint16 gender = RandomBetween(2, 0);
    const qint16 adjective = freshEntry(Family::Adjectives);
    const qint16 noun = freshEntry(Family::Nouns);
    const qint16 first = freshEntry(Family::Adverbs);
    const qint16 second = freshEntry(Family::Adverbs);

    s.kind = Sentence::Template::B;
    s.genders[0] = gender;
    s.genderCount = 1;
    Chain chain(s, m_words, m_utf8);
    if (turn > 0 && Chance(2))
        chain.add(Family::Intros, 0, 0, opener);
    if (Chance(1))
        chain.add(Family::Adjectives, Nominative, gender, adjective);
    chain.add(Family::Nouns, Nominative, gender, noun);
    chain.add(Family::Adverbs, ShortAdjectives, gender, first);
    if (Chance(1)) {
        chain.addAnd();
        chain.add(Family::Adverbs, ShortAdjectives, gender, second);
    }
    FinishSentence(s);
}

void SentenceGenerator::GenerateText(TextOutput& out) const
{
    Sentence s;

    auto put = [&out, &s] {
        out.sentence(s);
        if (s.paragraphBreak)
            out.paragraphBreak();
    };
    for (qint16 turn = 0; turn <= 20; ++turn) {
        if (Chance(2)) {
            BuildSentenceA(turn, s);
            put();
        }
        if (Chance(1)) {
            BuildSentenceB(turn, s);
            put();
        }
    }
    out.paragraphBreak();
    out.runEnded();
}
