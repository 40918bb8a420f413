#include "core/wordtable.h"

#include "platform/failure.h"

#include <utility>

WordTable::WordTable(WordLayout::Family family)
    : m_family(family)
    , m_words(Size)
    , m_origins(Size)
{
}

void WordTable::store(int slot, QString word, SlotOrigin origin)
{
    check(slot);
    m_words[size_t(slot)] = std::move(word);
    m_origins[size_t(slot)] = std::move(origin);
}

void WordTable::failOutOfRange(int slot) const
{
    throw Failure(FailureKind::SubscriptOutOfRange,
        QStringLiteral("обращение к ячейке %1 таблицы %2, в которой ячейки 0…%3")
            .arg(slot)
            .arg(WordLayout::tableName(m_family))
            .arg(Size - 1));
}
