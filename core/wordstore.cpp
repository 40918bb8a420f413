#include "core/wordstore.h"

#include "modules/mdlsubs.h"

using WordLayout::Family;

WordStore::WordStore()
    : Nouns(Family::Nouns)
    , Verbs(Family::Verbs)
    , Adjectives(Family::Adjectives)
    , Adverbs(Family::Adverbs)
    , Intros(Family::Intros)
{
}

void WordStore::dbLoad()
{
    // Every store can be taken back until every file has been read.
    WordLayout::FamilyCounts before {};
    for (int f = 0; f < WordLayout::FamilyCount; ++f) {
        before[size_t(f)] = count(Family(f));
        table(Family(f)).startUndoable();
    }
    try {
        dbLoadNouns();
        dbLoadVerbs();
        dbLoadAdjectives();
        dbLoadAdverbs();
        dbLoadIntros();
    } catch (...) {
        for (int f = 0; f < WordLayout::FamilyCount; ++f) {
            table(Family(f)).undo();
            count(Family(f)) = qint16(before[size_t(f)]);
        }
        throw;
    }
    for (int f = 0; f < WordLayout::FamilyCount; ++f) {
        table(Family(f)).keep();
        table(Family(f)).compact();
    }
}

// The five loads the program's design names, one family each.
void WordStore::dbLoadNouns()
{
    loadFamily(Family::Nouns);
}

void WordStore::dbLoadVerbs()
{
    loadFamily(Family::Verbs);
}

void WordStore::dbLoadAdjectives()
{
    loadFamily(Family::Adjectives);
}

void WordStore::dbLoadAdverbs()
{
    loadFamily(Family::Adverbs);
}

void WordStore::dbLoadIntros()
{
    loadFamily(Family::Intros);
}

void WordStore::loadFamily(Family family)
{
    qint16 next = 0;
    for (const WordLayout::WordFile& file : WordLayout::LoadOrder) {
        if (file.family != family)
            continue;
        next = mdlSubs::LoadWordFile(
            QLatin1StringView(file.stem), table(family), qint16(WordLayout::startOf(file, next)));
        if (WordLayout::isFirstOfFamily(file))
            count(family) = next;
    }
}

bool WordStore::hasWords() const
{
    return NounCount || VerbCount || AdjectiveCount || AdverbCount || IntroCount;
}
