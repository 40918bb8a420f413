#pragma once

#include "cli/biguint.h"
#include "core/wordlayout.h"

#include <QString>
#include <QStringList>

// zurevavud-cli --stats: what a word-list author needs to know about a theme folder.
namespace ThemeStats {

// How many different sentences a template can make. A sentence is its shape (which optional
// words appear), the genders that show in it and the entry numbers of its words. Entry numbers
// in one sentence are pairwise different and every range starts at 0, so k words from families
// of c1 <= c2 <= ... <= ck entries have (c1 - 0)(c2 - 1)...(ck - (k - 1)) choices (none when a
// factor is not positive); the totals add this, times the gender choices, over all shapes.
// counts: the entries of the first file of each family, by which every block is laid out.
BigUInt sentencesA(const WordLayout::FamilyCounts& counts);
BigUInt sentencesB(const WordLayout::FamilyCounts& counts);

struct Report {
    QString text; // lines ending in "\n"
    int brokenRules = 0;
};

// Loads theme `theme` from the first of wordsFolders that has it, file by file and as a window
// does, and describes the entry counts, every broken rule and the sentence numbers.
Report examine(const QStringList& wordsFolders, int theme);

} // namespace ThemeStats
