#pragma once

#include "window/wordtable.h"

#include <QStringList>
#include <QtGlobal>

// The word tables of one window and their block counts, filled from the 26 word files of a
// theme. Gendered families lie in form blocks from slots 0, 1000 and 2000, each holding the
// M, F and N blocks one after another, every block taken to be count entries long.
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
    // table and count as it was; a success overwrites only the slots the files reach.
    void dbLoad();

    // The single families, in the order dbLoad reads them. Each writes straight into this
    // store, so a failure leaves the files before it stored.
    void dbLoadNouns();
    void dbLoadVerbs();
    void dbLoadAdjectives();
    void dbLoadAdverbs();
    void dbLoadIntros();

    // True once any family has a count (a theme has loaded).
    bool hasWords() const;

    // The 26 stems in load order.
    static const QStringList& Stems();

private:
    void loadGendered(WordTable& table, qint16& count, const QString& family);
};
