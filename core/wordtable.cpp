#include "core/wordtable.h"

#include "platform/codepage.h"
#include "platform/failure.h"

WordTable::WordTable(WordLayout::Family family)
    : m_family(family)
    , m_slots(Size)
{
}

QString WordTable::text(int slot) const
{
    return CodePage::decodeAnsi(at(slot));
}

SlotOrigin WordTable::origin(int slot) const
{
    const Slot& s = m_slots[checked(slot)];
    return { s.file, s.line, s.folder < 0 ? QString() : m_folders.at(s.folder) };
}

void WordTable::store(int slot, QByteArrayView word, const SlotOrigin& origin)
{
    Slot& s = m_slots[checked(slot)];
    qsizetype folder = m_folders.indexOf(origin.folder);
    if (folder < 0) {
        folder = m_folders.size();
        m_folders.append(origin.folder);
    }
    s = { quint32(m_bytes.size()), quint32(word.size()), qint16(origin.file), quint16(origin.line),
        qint16(folder) };
    m_bytes.append(word);
}

void WordTable::compact()
{
    QByteArray bytes;
    bytes.reserve(m_bytes.size());
    for (Slot& s : m_slots) {
        const quint32 offset = quint32(bytes.size());
        bytes.append(m_bytes.constData() + s.offset, s.length);
        s.offset = offset;
    }
    m_bytes = bytes;
}

void WordTable::failOutOfRange(int slot) const
{
    throw Failure(FailureKind::SubscriptOutOfRange,
        QStringLiteral("обращение к ячейке %1 таблицы %2, в которой ячейки 0…%3")
            .arg(slot)
            .arg(WordLayout::tableName(m_family))
            .arg(Size - 1));
}
