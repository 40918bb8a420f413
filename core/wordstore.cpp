#include "core/wordstore.h"

#include "modules/mdlsubs.h"

#include <utility>

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
    WordTable* const tables[] = { &Nouns, &Verbs, &Adjectives, &Adverbs, &Intros };
    const qint16 counts[] = { NounCount, VerbCount, AdjectiveCount, AdverbCount, IntroCount };
    for (WordTable* t : tables)
        t->startUndoable();
    try {
        dbLoadNouns();
        dbLoadVerbs();
        dbLoadAdjectives();
        dbLoadAdverbs();
        dbLoadIntros();
    } catch (...) {
        for (int f = 0; f < WordLayout::FamilyCount; ++f) {
            tables[f]->undo();
            count(Family(f)) = counts[f];
        }
        throw;
    }
    for (WordTable* t : tables) {
        t->keep();
        t->compact();
    }
}

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
    WordTable& target = this->*TableOfFamily[size_t(family)];
    qint16 next = 0;
    for (const WordLayout::WordFile& file : WordLayout::Files) {
        if (file.family != family)
            continue;
        const qint16 start = file.block == 0 ? qint16(WordLayout::FormSize * file.form) : next;
        next = mdlSubs::LoadWordFile(QLatin1String(file.stem), target, start);
        if (WordLayout::isFirstOfFamily(file))
            count(family) = next;
    }
}

bool WordStore::hasWords() const
{
    return NounCount || VerbCount || AdjectiveCount || AdverbCount || IntroCount;
}
