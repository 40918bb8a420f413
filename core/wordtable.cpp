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

WordTable::Source WordTable::addSource(QByteArrayView bytes, const QString& folder)
{
    qsizetype index = m_folders.indexOf(folder);
    if (index < 0) {
        index = m_folders.size();
        m_folders.append(folder);
    }
    const auto offset = quint32(m_bytes.size());
    m_bytes.append(bytes.data(), size_t(bytes.size()));
    return { offset, quint32(bytes.size()), qint16(index) };
}

void WordTable::makeUtf8() const
{
    m_utf8.resize(3 * m_liveBytes + 1);
    m_utf8Slots.resize(m_slots.size());
    char* end = m_utf8.data();
    for (size_t i = 0; i < m_slots.size(); ++i) {
        const Slot& s = m_slots[i];
        char* start = end;
        end = CodePage::toUtf8(QByteArrayView(m_bytes.data() + s.offset, s.length), start);
        m_utf8Slots[i] = { quint32(start - m_utf8.data()), quint32(end - start) };
    }
}

void WordTable::startUndoable()
{
    m_undo.active = true;
    m_undo.saved.clear();
    m_undo.bytes = m_bytes.size();
    m_undo.liveBytes = m_liveBytes;
    m_undo.folders = m_folders.size();
}

void WordTable::undo()
{
    for (auto it = m_undo.saved.rbegin(); it != m_undo.saved.rend(); ++it)
        m_slots[size_t(it->first)] = it->second;
    m_bytes.resize(m_undo.bytes);
    m_liveBytes = m_undo.liveBytes;
    m_folders.resize(m_undo.folders);
    m_utf8Slots.clear();
    keep();
}

void WordTable::keep()
{
    m_undo.active = false;
    m_undo.saved = {}; // its room too: a window keeps its tables long after a load
}

void WordTable::store(
    int slot, const Source& source, qsizetype from, qsizetype length, int file, int line)
{
    Q_ASSERT(from >= 0 && length >= 0 && quint64(from + length) <= source.size);
    Slot& s = m_slots[checked(slot)];
    if (m_undo.active)
        m_undo.saved.emplace_back(slot, s);
    m_utf8Slots.clear();
    m_liveBytes += size_t(length) - s.length;
    s = { source.offset + quint32(from), quint32(length), qint16(file), quint16(line),
        source.folder };
}

void WordTable::compact()
{
    if (m_bytes.size() < 2 * m_liveBytes + 65536)
        return;
    std::string bytes;
    bytes.reserve(m_bytes.size());
    for (Slot& s : m_slots) {
        const auto offset = quint32(bytes.size());
        bytes.append(m_bytes, s.offset, s.length);
        s.offset = offset;
    }
    m_bytes = std::move(bytes);
}

void WordTable::failOutOfRange(int slot) const
{
    throw Failure(FailureKind::SubscriptOutOfRange,
        QStringLiteral("обращение к ячейке %1 таблицы %2, в которой ячейки 0…%3")
            .arg(slot)
            .arg(WordLayout::tableName(m_family))
            .arg(Size - 1));
}
