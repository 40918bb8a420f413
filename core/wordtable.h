#pragma once

#include "core/wordlayout.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// Where a slot's text came from: which of the 26 word files, which line (header = line 1), and
// the theme folder it was read from.
struct SlotOrigin {
    int file = -1; // index into WordLayout::Files; -1 for a slot never filled
    int line = 0;
    QString folder;
};

// A fixed table of 3001 text slots, 0 ... 3000. It is never resized or cleared; a slot
// changes only when a word-file line is stored into it. Words are kept as the Windows-1251
// bytes of their file, all in one buffer, so that a sentence is a few byte copies.
class WordTable {
public:
    static constexpr int Size = WordLayout::TableSize;

    explicit WordTable(WordLayout::Family family = WordLayout::Family::Nouns);

    WordLayout::Family family() const { return m_family; }

    // The Windows-1251 bytes of a slot; a slot outside 0 ... 3000 is a SubscriptOutOfRange
    // failure.
    QByteArrayView at(int slot) const
    {
        const Slot& s = m_slots[checked(slot)];
        return QByteArrayView(m_bytes.constData() + s.offset, s.length);
    }
    QString text(int slot) const;
    SlotOrigin origin(int slot) const;
    void store(int slot, QByteArrayView word, const SlotOrigin& origin);

    // Drops the bytes of words that later stores replaced.
    void compact();

private:
    struct Slot {
        quint32 offset = 0;
        quint32 length = 0;
        qint16 file = -1;
        quint16 line = 0;
        qint16 folder = -1; // index into m_folders
    };

    size_t checked(int slot) const
    {
        if (slot < 0 || slot >= Size)
            failOutOfRange(slot);
        return size_t(slot);
    }
    [[noreturn]] void failOutOfRange(int slot) const;

    WordLayout::Family m_family;
    std::vector<Slot> m_slots;
    QByteArray m_bytes;
    QStringList m_folders;
};
