#pragma once

#include "core/wordlayout.h"

#include <QByteArray>
#include <QtGlobal>

#include <array>
#include <vector>

class WordStore;

// One finished sentence, and how it was made: what a word-list author needs to trace a wrong
// form back to its file and line.
struct Sentence {
    enum class Template { A, B };
    struct Word {
        WordLayout::Family family;
        int slot;
    };

    // Capitalised, ending in a full stop and one space; in Windows-1251, or in UTF-8 when utf8.
    QByteArrayView text() const { return QByteArrayView(buffer.data(), length); }
    bool utf8 = false;
    // The text is the first length bytes; the room after them is kept from one sentence to
    // the next, so that making one allocates nothing.
    std::vector<char> buffer;
    qsizetype length = 0;
    bool paragraphBreak = false; // CR LF CR LF follows it

    Template kind = Template::A;
    std::array<qint16, 4> genders {}; // per noun phrase: A four, B one for the whole sentence
    int genderCount = 0;
    std::array<Word, 11> words {}; // in sentence order; the conjunction "и" is no table word
    int wordCount = 0;
};

// Where a generation run puts its text: the window's text box, or the command line's output.
class TextOutput {
public:
    virtual ~TextOutput() = default;
    // Each sentence as soon as it is made.
    virtual void sentence(const Sentence& sentence) = 0;
    // A paragraph break, CR LF CR LF: after a sentence that takes one, and at the end of a run.
    virtual void paragraphBreak() = 0;
    // After the closing paragraph break of a run that ended normally.
    virtual void runEnded() { }
};

// The two sentence templates and the generation run, over one window's word tables. All
// randomness comes from mdlSubs, in a fixed order of draws.
class SentenceGenerator {
public:
    explicit SentenceGenerator(const WordStore& words)
        : m_words(words)
    {
    }

    // One press of "Генерировать": 21 turns, each maybe a sentence of A, then maybe one of B,
    // each appended as soon as it is made; then CR LF CR LF. A failure stops the run with the
    // sentences already appended kept.
    void GenerateText(TextOutput& out) const;

    // "[opener] [adj] noun [[adj] noun.gen] [adverb] verb [adj] noun.acc [[adj] noun.gen]".
    // Makes the sentence in place, reusing its buffer.
    void BuildSentenceA(qint16 turn, Sentence& sentence) const;
    // "[opener] [adj] noun short-adj [и short-adj]", one gender throughout.
    void BuildSentenceB(qint16 turn, Sentence& sentence) const;

    // Whether some sentence reads the blocks of this word file.
    static bool reads(const WordLayout::WordFile& file);

    // Makes sentences in UTF-8 rather than Windows-1251: from words kept in UTF-8 too, for
    // output that wants it, which then needs no conversion.
    void setUtf8(bool utf8) { m_utf8 = utf8; }

private:
    qint16 freshEntry(WordLayout::Family family) const;

    const WordStore& m_words;
    bool m_utf8 = false;
};

// Finishes the chain of words (each followed by a space) in sentence.text(): upper-cases the
// first character (where Windows-1251 has its upper case, in either encoding), turns the final
// space into ".", appends " " and draws Chance(7) for the paragraph break.
void FinishSentence(Sentence& sentence);
