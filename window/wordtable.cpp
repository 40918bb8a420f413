#include "window/wordtable.h"

#include "platform/failure.h"

WordTable::WordTable(QString description)
    : m_description(std::move(description))
    , m_words(Size)
    , m_origins(Size)
{
}

const SlotOrigin& WordTable::origin(int slot) const
{
    if (slot < 0 || slot >= Size)
        failOutOfRange(slot);
    return m_origins[size_t(slot)];
}

void WordTable::store(int slot, QString word, SlotOrigin origin)
{
    if (slot < 0 || slot >= Size)
        failOutOfRange(slot);
    m_words[size_t(slot)] = std::move(word);
    m_origins[size_t(slot)] = std::move(origin);
}

void WordTable::failOutOfRange(int slot) const
{
    throw Failure(FailureKind::SubscriptOutOfRange,
        QStringLiteral("обращение к ячейке %1 таблицы %2").arg(slot).arg(m_description));
}
