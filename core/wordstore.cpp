#include "core/wordstore.h"

#include "modules/mdlsubs.h"

#include <utility>

using WordLayout::Family;

namespace {

// The table and count of a family, const or not.
template <class Store> auto& tableIn(Store& store, Family family)
{
    switch (family) {
    case Family::Nouns:
        return store.Nouns;
    case Family::Verbs:
        return store.Verbs;
    case Family::Adjectives:
        return store.Adjectives;
    case Family::Adverbs:
        return store.Adverbs;
    case Family::Intros:
        break;
    }
    return store.Intros;
}

template <class Store> auto& countIn(Store& store, Family family)
{
    switch (family) {
    case Family::Nouns:
        return store.NounCount;
    case Family::Verbs:
        return store.VerbCount;
    case Family::Adjectives:
        return store.AdjectiveCount;
    case Family::Adverbs:
        return store.AdverbCount;
    case Family::Intros:
        break;
    }
    return store.IntroCount;
}

} // namespace

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
    // Load into a copy and take it only when every file has been read.
    WordStore next = *this;
    next.dbLoadNouns();
    next.dbLoadVerbs();
    next.dbLoadAdjectives();
    next.dbLoadAdverbs();
    next.dbLoadIntros();
    for (WordTable* t : { &next.Nouns, &next.Verbs, &next.Adjectives, &next.Adverbs, &next.Intros })
        t->compact();
    *this = std::move(next);
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
    WordTable& target = tableIn(*this, family);
    qint16 next = 0;
    for (const WordLayout::WordFile& file : WordLayout::Files) {
        if (file.family != family)
            continue;
        const qint16 start = file.block == 0 ? qint16(WordLayout::FormSize * file.form) : next;
        next = mdlSubs::LoadWordFile(QLatin1String(file.stem), target, start);
        if (WordLayout::isFirstOfFamily(file))
            countIn(*this, family) = next;
    }
}

bool WordStore::hasWords() const
{
    return NounCount || VerbCount || AdjectiveCount || AdverbCount || IntroCount;
}

const WordTable& WordStore::table(Family family) const
{
    return tableIn(*this, family);
}

qint16 WordStore::count(Family family) const
{
    return countIn(*this, family);
}
