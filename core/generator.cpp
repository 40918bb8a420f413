#include "core/generator.h"

#include "core/wordstore.h"
#include "modules/mdlsubs.h"
#include "platform/codepage.h"
#include "platform/failure.h"

#include <algorithm>

using mdlSubs::Chance;
using mdlSubs::RandomBetween;
using WordLayout::Family;

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

// Appends words, each with its separating space, and notes where each came from.
class Chain {
public:
    Chain(Sentence& sentence, const WordStore& words)
        : m_sentence(sentence)
        , m_words(words)
    {
        m_sentence.text.clear(); // keeps the buffer of the sentence before
        m_sentence.wordCount = 0;
    }
    void add(Family family, int form, int block, int entry)
    {
        const int slot = WordLayout::slot(form, block, m_words.count(family), entry);
        const QByteArrayView word = m_words.table(family).at(slot);
        m_sentence.text.append(word.data(), size_t(word.size())).append(1, ' ');
        m_sentence.words[size_t(m_sentence.wordCount++)] = { family, slot };
    }
    void addText(std::string_view text) { m_sentence.text.append(text); }

private:
    Sentence& m_sentence;
    const WordStore& m_words;
};

} // namespace

void FinishSentence(Sentence& sentence)
{
    std::string& text = sentence.text;
    if (!text.empty()) {
        text.front() = char(CodePage::upperAnsiTable()[uchar(text.front())]);
        text.back() = '.';
    }
    text.push_back(' ');
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
    const qint16 hi = mdlSubs::subtract16(count, 1);
    try {
        return mdlSubs::RandomFresh(hi, 0);
    } catch (const Failure& f) {
        if (count <= 0) {
            const auto first = std::find_if(WordLayout::Files.begin(), WordLayout::Files.end(),
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
}

void SentenceGenerator::BuildSentenceA(qint16 turn, Sentence& s) const
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
    Chain chain(s, m_words);
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

void SentenceGenerator::BuildSentenceB(qint16 turn, Sentence& s) const
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
    Chain chain(s, m_words);
    if (turn > 0 && Chance(2))
        chain.add(Family::Intros, 0, 0, opener);
    if (Chance(1))
        chain.add(Family::Adjectives, Nominative, gender, adjective);
    chain.add(Family::Nouns, Nominative, gender, noun);
    chain.add(Family::Adverbs, ShortAdjectives, gender, first);
    if (Chance(1)) {
        chain.addText("\xE8 "); // "и " in Windows-1251
        chain.add(Family::Adverbs, ShortAdjectives, gender, second);
    }
    FinishSentence(s);
}

void SentenceGenerator::GenerateText(TextOutput& out) const
{
    Sentence s;
    s.text.reserve(256);
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
