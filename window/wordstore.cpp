#include "window/wordstore.h"

#include "modules/mdlsubs.h"

using mdlSubs::LoadWordFile;

WordStore::WordStore()
    : Nouns(QStringLiteral("существительных"))
    , Verbs(QStringLiteral("глаголов"))
    , Adjectives(QStringLiteral("прилагательных"))
    , Adverbs(QStringLiteral("наречий"))
    , Intros(QStringLiteral("вводных слов"))
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
    *this = std::move(next);
}

void WordStore::loadGendered(WordTable& table, qint16& count, const QString& family)
{
    static const QString suffixes[] = { QString(), QStringLiteral("1"), QStringLiteral("2") };
    for (int form = 0; form < 3; ++form) {
        const QString& digit = suffixes[form];
        qint16 next = LoadWordFile(family + u'M' + digit, table, qint16(1000 * form));
        if (form == 0)
            count = next;
        next = LoadWordFile(family + u'F' + digit, table, next);
        LoadWordFile(family + u'N' + digit, table, next);
    }
}

void WordStore::dbLoadNouns()
{
    loadGendered(Nouns, NounCount, QStringLiteral("noun"));
}

void WordStore::dbLoadVerbs()
{
    VerbCount = LoadWordFile(QStringLiteral("verbP"), Verbs, 0);
    const qint16 next = LoadWordFile(QStringLiteral("verbN"), Verbs, VerbCount);
    LoadWordFile(QStringLiteral("verbF"), Verbs, next);
}

void WordStore::dbLoadAdjectives()
{
    loadGendered(Adjectives, AdjectiveCount, QStringLiteral("adj"));
}

void WordStore::dbLoadAdverbs()
{
    AdverbCount = LoadWordFile(QStringLiteral("adverb"), Adverbs, 0);
    qint16 next = LoadWordFile(QStringLiteral("advM"), Adverbs, 1000);
    next = LoadWordFile(QStringLiteral("advF"), Adverbs, next);
    LoadWordFile(QStringLiteral("advN"), Adverbs, next);
}

void WordStore::dbLoadIntros()
{
    IntroCount = LoadWordFile(QStringLiteral("intro"), Intros, 0);
}

bool WordStore::hasWords() const
{
    return NounCount || VerbCount || AdjectiveCount || AdverbCount || IntroCount;
}

const QStringList& WordStore::Stems()
{
    static const QStringList stems = {
        QStringLiteral("nounM"), QStringLiteral("nounF"), QStringLiteral("nounN"),
        QStringLiteral("nounM1"), QStringLiteral("nounF1"), QStringLiteral("nounN1"),
        QStringLiteral("nounM2"), QStringLiteral("nounF2"), QStringLiteral("nounN2"),
        QStringLiteral("verbP"), QStringLiteral("verbN"), QStringLiteral("verbF"),
        QStringLiteral("adjM"), QStringLiteral("adjF"), QStringLiteral("adjN"),
        QStringLiteral("adjM1"), QStringLiteral("adjF1"), QStringLiteral("adjN1"),
        QStringLiteral("adjM2"), QStringLiteral("adjF2"), QStringLiteral("adjN2"),
        QStringLiteral("adverb"), QStringLiteral("advM"), QStringLiteral("advF"),
        QStringLiteral("advN"), QStringLiteral("intro"),
    };
    return stems;
}
