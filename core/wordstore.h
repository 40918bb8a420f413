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
    WordTable& table(WordLayout::Family family);
    qint16 count(WordLayout::Family family) const;
    qint16& count(WordLayout::Family family);

private:
    // The families in the order dbLoad reads them; each writes straight into this store.
    void dbLoadNouns();
    void dbLoadVerbs();
    void dbLoadAdjectives();
    void dbLoadAdverbs();
    void dbLoadIntros();
    void loadFamily(WordLayout::Family family);
};

// The table and count of each family, in the order of WordLayout::Family.
inline constexpr WordTable WordStore::*const TableOfFamily[WordLayout::FamilyCount]
    = { &WordStore::Nouns, &WordStore::Verbs, &WordStore::Adjectives, &WordStore::Adverbs,
          &WordStore::Intros };
inline constexpr qint16 WordStore::*const CountOfFamily[WordLayout::FamilyCount]
    = { &WordStore::NounCount, &WordStore::VerbCount, &WordStore::AdjectiveCount,
          &WordStore::AdverbCount, &WordStore::IntroCount };

inline const WordTable& WordStore::table(WordLayout::Family family) const
{
    return this->*TableOfFamily[size_t(family)];
}

inline WordTable& WordStore::table(WordLayout::Family family)
{
    return this->*TableOfFamily[size_t(family)];
}

inline qint16 WordStore::count(WordLayout::Family family) const
{
    return this->*CountOfFamily[size_t(family)];
}

inline qint16& WordStore::count(WordLayout::Family family)
{
    return this->*CountOfFamily[size_t(family)];
}
