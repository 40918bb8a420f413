#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

class WordStore;
class WordTable;

// Which template made a sentence, with what genders and from which slots: what a word-list
// author needs to trace a wrong form back to its file and line.
struct SentenceTrace {
    struct Word {
        const WordTable* table;
        int slot;
    };
    char templateName = 'A';
    QList<qint16> genders; // per noun phrase (A: four; B: one for the whole sentence)
    QList<Word> words; // in sentence order; the conjunction "и" is not a table word
};

// Where a generation run puts its text: the window's text box, or a string.
class TextOutput {
public:
    virtual ~TextOutput() = default;
    // Called once per finished sentence, then once with the closing CR LF CR LF.
    virtual void append(const QString& text) = 0;
    // Called with the trace of each sentence right after it was appended, when tracing.
    virtual void traced(const SentenceTrace&) { }
    // The run has ended normally.
    virtual void finished() { }
};

class StringOutput : public TextOutput {
public:
    void append(const QString& text) override { m_text += text; }
    const QString& text() const { return m_text; }

private:
    QString m_text;
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
    void GenerateText(TextOutput& out, bool trace = false) const;

    // "[opener] [adj] noun [[adj] noun.gen] [adverb] verb [adj] noun.acc [[adj] noun.gen]".
    QString BuildSentenceA(qint16 turn, SentenceTrace* trace = nullptr) const;
    // "[opener] [adj] noun short-adj [и short-adj]", one gender throughout.
    QString BuildSentenceB(qint16 turn, SentenceTrace* trace = nullptr) const;

private:
    const WordStore& m_words;
};

// Upper-cases the first character, turns the final space into ".", appends " " and, on
// Chance(7), CR LF CR LF.
QString FinishSentence(QString text);
