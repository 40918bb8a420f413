#pragma once

#include <QString>

#include <array>

// Where every word file of a theme lies in a window's five word tables. Loaders, templates,
// --stats and tests all read this one description.
//
// A table has 3001 slots. A family is divided into form blocks that start at slots 0, 1000 and
// 2000; a form block holds its blocks (genders, or verb tenses) one after another, and every
// block is taken to be the family's count long, the count being the length of the family's
// first file.
namespace WordLayout {

enum class Family { Nouns, Verbs, Adjectives, Adverbs, Intros };
inline constexpr int FamilyCount = 5;
// One number per family, in the order of Family: its count, or the entries of its files.
using FamilyCounts = std::array<int, FamilyCount>;

inline constexpr int TableSize = 3001;
inline constexpr int FormSize = 1000;

// Blocks of a gendered family.
enum Gender { Masculine, Feminine, Neuter };

struct WordFile {
    const char* stem;
    Family family;
    int form; // the form block: its first block starts at slot FormSize * form
    int block; // gender, or 0 verbP, 1 verbN, 2 verbF
};

// The 26 files in the order a theme loads them.
inline constexpr std::array<WordFile, 26> LoadOrder { {
    { "nounM", Family::Nouns, 0, Masculine },
    { "nounF", Family::Nouns, 0, Feminine },
    { "nounN", Family::Nouns, 0, Neuter },
    { "nounM1", Family::Nouns, 1, Masculine },
    { "nounF1", Family::Nouns, 1, Feminine },
    { "nounN1", Family::Nouns, 1, Neuter },
    { "nounM2", Family::Nouns, 2, Masculine },
    { "nounF2", Family::Nouns, 2, Feminine },
    { "nounN2", Family::Nouns, 2, Neuter },
    { "verbP", Family::Verbs, 0, 0 },
    { "verbN", Family::Verbs, 0, 1 },
    { "verbF", Family::Verbs, 0, 2 },
    { "adjM", Family::Adjectives, 0, Masculine },
    { "adjF", Family::Adjectives, 0, Feminine },
    { "adjN", Family::Adjectives, 0, Neuter },
    { "adjM1", Family::Adjectives, 1, Masculine },
    { "adjF1", Family::Adjectives, 1, Feminine },
    { "adjN1", Family::Adjectives, 1, Neuter },
    { "adjM2", Family::Adjectives, 2, Masculine },
    { "adjF2", Family::Adjectives, 2, Feminine },
    { "adjN2", Family::Adjectives, 2, Neuter },
    { "adverb", Family::Adverbs, 0, 0 },
    { "advM", Family::Adverbs, 1, Masculine },
    { "advF", Family::Adverbs, 1, Feminine },
    { "advN", Family::Adverbs, 1, Neuter },
    { "intro", Family::Intros, 0, 0 },
} };

// The slot of entry `entry` of a block, every block of the family being count entries long.
constexpr int slot(int form, int block, int count, int entry)
{
    return FormSize * form + block * count + entry;
}

// Where a file's first entry goes when every file before it has count entries: where the
// sentences read its block.
constexpr int expectedStart(const WordFile& file, int count)
{
    return slot(file.form, file.block, count, 0);
}

// Where a file's first entry really goes: the first block of a form at the form's first slot,
// every other block right after the file before it, at previousEnd, the slot its load returned
// (-1 when that is not known, which gives -1).
constexpr int startOf(const WordFile& file, int previousEnd)
{
    return file.block == 0 ? FormSize * file.form : previousEnd;
}

// The position in LoadOrder of the file with this stem, or -1.
int indexOf(QStringView stem);

// True for the first file of a family, whose length sets the family's count.
constexpr bool isFirstOfFamily(const WordFile& file)
{
    return file.form == 0 && file.block == 0;
}

// The largest count with which every file of the family, at that length, ends before the next
// form block and within the table: 333 nouns and adjectives, 1000 verbs, 667 adverbs and 3001
// openers. An end-of-list "#" line takes one slot more.
constexpr int maxCount(Family family)
{
    int limit = TableSize;
    for (int form = 0; form < 3; ++form) {
        int blocks = 0;
        for (const WordFile& f : LoadOrder)
            blocks += f.family == family && f.form == form;
        if (blocks == 0)
            continue;
        int end = TableSize; // the first slot of the next form block of this family, if any
        for (const WordFile& f : LoadOrder) {
            if (f.family == family && f.form > form && FormSize * f.form < end)
                end = FormSize * f.form;
        }
        const int fits = (end - FormSize * form) / blocks;
        limit = fits < limit ? fits : limit;
    }
    return limit;
}

// How a family is named in messages: "существительные", and "таблица существительных".
QString familyName(Family family);
QString tableName(Family family);

} // namespace WordLayout
