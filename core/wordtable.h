#pragma once

#include "core/wordlayout.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// Where a slot's text came from: which of the 26 word files, which line (header = line 1), and
// the theme folder it was read from.
struct SlotOrigin {
    int file = -1; // position in WordLayout::LoadOrder; -1 for a slot never filled
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
        return QByteArrayView(m_bytes.data() + s.offset, s.length);
    }
    // The same as UTF-8, made for the whole table the first time it is asked for after a change.
    QByteArrayView utf8At(int slot) const
    {
        const size_t i = checked(slot);
        if (Q_UNLIKELY(m_utf8Slots.empty()))
            makeUtf8();
        const Utf8Slot& s = m_utf8Slots[i];
        return QByteArrayView(m_utf8.data() + s.offset, s.length);
    }
    QString text(int slot) const;
    SlotOrigin origin(int slot) const;

    // Filling slots from a word file: its bytes join the table whole, and each entry stored is
    // a piece of them, given by its place in those bytes, with the file's position in
    // WordLayout::LoadOrder and the entry's line.
    struct Source {
        quint32 offset; // where the bytes begin in the table's buffer
        quint32 size;
        qint16 folder;
    };
    Source addSource(QByteArrayView bytes, const QString& folder);
    void store(
        int slot, const Source& source, qsizetype from, qsizetype length, int file, int line);

    // Drops the bytes of words that later stores replaced, once they are most of the buffer.
    void compact();

    // Stores from here on can be taken back all at once: a theme load is all or nothing.
    void startUndoable();
    void undo();
    void keep();

private:
    struct Slot {
        quint32 offset = 0;
        quint32 length = 0;
        qint16 file = -1;
        quint16 line = 0;
        qint16 folder = -1; // index into m_folders
    };

    struct Utf8Slot {
        quint32 offset = 0;
        quint32 length = 0;
    };
    void makeUtf8() const;

    size_t checked(int slot) const
    {
        if (slot < 0 || slot >= Size)
            failOutOfRange(slot);
        return size_t(slot);
    }
    [[noreturn]] void failOutOfRange(int slot) const;

    WordLayout::Family m_family;
    std::vector<Slot> m_slots;
    std::string m_bytes;
    size_t m_liveBytes = 0; // the bytes the slots still point to
    mutable std::string m_utf8; // empty m_utf8Slots: not made since the last change
    mutable std::vector<Utf8Slot> m_utf8Slots;
    QStringList m_folders;
    // Since startUndoable(): the slots as they were before each store, and the sizes before.
    struct Undo {
        bool active = false;
        std::vector<std::pair<int, Slot>> saved;
        size_t bytes = 0, liveBytes = 0;
        qsizetype folders = 0;
    } m_undo;
};
