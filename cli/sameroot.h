#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <utility>

// Whether two word-list entries share a Russian root, so that zurevavud-cli --stats can warn
// where one sentence may say «ушастое ухо». A heuristic that needs no dictionary.
//
// Every word of an entry (lower case, ё as е, function words left out) loses its ending, as
// its part of speech has them. Then, step by step, a suffix is cut off its end, one prefix off
// its start (без-, вз-, за-, пере-, раз-…), or it is split into the parts of a compound joined
// by о, or by е after ж, ч, ш, щ, ц (пар-о-воз, пуч-е-глазый). A fleeting е may drop (ядер-ный,
// ядр-о), й comes back between vowels (змея, змей) and the last consonant may alternate: к/ч,
// г/ж, х/ш, ц/ч always, с/ш, з/ж, т/ч, д/ж and ст/щ in stems of six letters or more. Every stem
// of three letters or more on the way is a candidate root, and one of two letters (ух, ум)
// reached in at most one step. Two entries share a root when they have a candidate in common
// that took few steps on both sides together: two for roots of up to three letters, three for
// four letters, any number for longer ones; or when a stem of one ends in the whole stem of the
// other, five letters or more (оргстекло, стекло).
namespace SameRoot {

// The part of speech of an entry, for its endings and suffixes.
enum class Kind { Noun, Adjective, ShortAdjective, Adverb, Verb, Opener };

// What an entry offers for comparison; made once per entry.
struct Roots {
    QHash<QString, int> candidates; // candidate root: the fewest steps that reach it
    QSet<QString> heads; // stems as they stand, and the first parts of compounds
    QSet<QString> tails; // the last five letters or more of stems, after a start with a vowel
};

Roots rootsOf(const QString& entry, Kind kind);

// A root two entries share, or an empty string.
QString shared(const Roots& a, const Roots& b);

// Every pair of entries (i < j) that share a root, in order.
QList<std::pair<int, int>> sharingPairs(const QList<Roots>& entries);

} // namespace SameRoot
