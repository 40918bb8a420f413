#include "core/wordfile.h"

#include "core/wordlayout.h"
#include "core/wordtable.h"
#include "modules/mdlsubs.h"
#include "platform/failure.h"
#include "platform/files.h"

#include <cstring>

// The program's design names the word-file reader and its folder in mdlSubs; they live here,
// beside the format they read.
namespace mdlSubs {

QString WordsPath;

qint16 LoadWordFile(const QString& stem, WordTable& table, qint16 start)
{
    return WordFiles::read(WordsPath, stem, table, start);
}

} // namespace mdlSubs

namespace WordFiles {

Lines::Lines(QByteArrayView bytes)
    : m_bytes(bytes)
{
    if (hasHeader())
        nextLine();
}

QByteArrayView Lines::nextLine()
{
    const qsizetype size = m_bytes.size();
    const void* cr = std::memchr(m_bytes.data() + m_pos, '\r', size_t(size - m_pos));
    const qsizetype end = cr ? static_cast<const char*>(cr) - m_bytes.data() : size;
    const QByteArrayView line = m_bytes.sliced(m_pos, end - m_pos);
    m_pos = end;
    if (m_pos < size) {
        ++m_pos;
        if (m_pos < size && m_bytes[m_pos] == '\n')
            ++m_pos;
    }
    ++m_number;
    return line;
}

Lines::Line Lines::next()
{
    Line line;
    line.from = m_pos;
    line.text = nextLine();
    line.number = m_number;
    m_ended = line.endsList();
    return line;
}

QString path(const QString& folder, QStringView stem)
{
    return QString(folder).append(stem).append(u".dat");
}

qint16 read(const QString& folder, QStringView stem, WordTable& table, qint16 start)
{
    return store(Files::readWholeFile(path(folder, stem), MaxSize), folder, stem, table, start);
}

qint16 store(
    QByteArrayView bytes, const QString& folder, QStringView stem, WordTable& table, qint16 start)
{
    const QString file = Files::absolute(path(folder, stem));
    Lines lines(bytes);
    if (!lines.hasHeader())
        throw Failure(FailureKind::InputPastEnd, file, 1, QString());

    const int index = WordLayout::indexOf(stem);
    const WordTable::Source source = table.addSource(bytes, folder);
    int slot = start;
    while (!lines.atEnd()) {
        // The slot is tested before the line is read, as the line that would go there.
        if (slot < 0 || slot >= WordTable::Size) {
            throw Failure(FailureKind::SubscriptOutOfRange, file, lines.next().number,
                QStringLiteral("строка попала бы в ячейку %1 таблицы %2")
                    .arg(slot)
                    .arg(WordLayout::tableName(table.family())));
        }
        const Lines::Line line = lines.next();
        if (line.text.size() > MaxEntryLength) {
            throw Failure(FailureKind::LineTooLong, file, line.number,
                QStringLiteral("В ней %1, а в слове не больше %2")
                    .arg(counted(line.text.size(), u"знак", u"знака", u"знаков"))
                    .arg(MaxEntryLength));
        }
        table.store(slot, source, line.from, line.text.size(), index, line.number);
        if (line.text.isEmpty())
            throw Failure(FailureKind::InvalidArgument, file, line.number, QString());
        if (line.endsList())
            break;
        ++slot;
    }
    return qint16(slot);
}

} // namespace WordFiles
