#pragma once

#include "core/wordtable.h"

#include <QtGlobal>

// The word tables of one window and their block counts, filled from the 26 word files of a
// theme as core/wordlayout.h lays them out.
class WordStore {
public:
    WordStore();

    WordTable Nouns;
    WordTable Verbs;
    WordTable Adjectives;
    WordTable Adverbs;
    WordTable Intros;
    qint16 NounCount = 0;
    qint16 VerbCount = 0;
    qint16 AdjectiveCount = 0;
    qint16 AdverbCount = 0;
    qint16 IntroCount = 0;

    // Loads all five families from mdlSubs::WordsPath. All or nothing: a failure leaves every
    // table and count as it was; a success overwrites only the slots the files reach, so words
    // of an earlier theme stay in the slots past the new data.
    void dbLoad();

    // True once any family has a count (a theme has loaded).
    bool hasWords() const;

    const WordTable& table(WordLayout::Family family) const;
    qint16 count(WordLayout::Family family) const;

private:
    // The families in the order dbLoad reads them; each writes straight into this store.
    void dbLoadNouns();
    void dbLoadVerbs();
    void dbLoadAdjectives();
    void dbLoadAdverbs();
    void dbLoadIntros();
    void loadFamily(WordLayout::Family family);
};
