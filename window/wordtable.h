#pragma once

#include <QString>

#include <vector>

// Where a slot's text came from: a word file (its stem) and a line (header = line 1).
struct SlotOrigin {
    QString stem; // empty for a slot never filled
    int line = 0;
    QString folder; // the theme folder it was loaded from (WordsPath then)
};

// A fixed table of 3001 text slots, 0 ... 3000. It is never resized or cleared; a slot
// changes only when a word-file line is stored into it.
class WordTable {
public:
    static constexpr int Size = 3001;

    explicit WordTable(QString description = QString());

    // The text of a slot; a slot outside 0 ... 3000 is a SubscriptOutOfRange failure.
    const QString& at(int slot) const
    {
        if (slot < 0 || slot >= Size)
            failOutOfRange(slot);
        return m_words[size_t(slot)];
    }
    const SlotOrigin& origin(int slot) const;
    void store(int slot, QString word, SlotOrigin origin);

    // How the table is named in messages ("существительных").
    const QString& description() const { return m_description; }

    [[noreturn]] void failOutOfRange(int slot) const;

private:
    QString m_description;
    std::vector<QString> m_words;
    std::vector<SlotOrigin> m_origins;
};
