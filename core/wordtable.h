#pragma once

#include "core/wordlayout.h"

#include <QString>

#include <vector>

// Where a slot's text came from: which of the 26 word files, which line (header = line 1), and
// the theme folder it was read from.
struct SlotOrigin {
    int file = -1; // index into WordLayout::Files; -1 for a slot never filled
    int line = 0;
    QString folder;
};

// A fixed table of 3001 text slots, 0 ... 3000. It is never resized or cleared; a slot
// changes only when a word-file line is stored into it.
class WordTable {
public:
    static constexpr int Size = WordLayout::TableSize;

    explicit WordTable(WordLayout::Family family = WordLayout::Family::Nouns);

    WordLayout::Family family() const { return m_family; }

    // The text of a slot; a slot outside 0 ... 3000 is a SubscriptOutOfRange failure.
    const QString& at(int slot) const
    {
        check(slot);
        return m_words[size_t(slot)];
    }
    const SlotOrigin& origin(int slot) const
    {
        check(slot);
        return m_origins[size_t(slot)];
    }
    void store(int slot, QString word, SlotOrigin origin);

private:
    void check(int slot) const
    {
        if (slot < 0 || slot >= Size)
            failOutOfRange(slot);
    }
    [[noreturn]] void failOutOfRange(int slot) const;

    WordLayout::Family m_family;
    std::vector<QString> m_words;
    std::vector<SlotOrigin> m_origins;
};
