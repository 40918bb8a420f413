// The word-file reader.
#include "modules/mdlsubs.h"

#include "core/wordtable.h"
#include "platform/failure.h"
#include "platform/files.h"

#include <cstring>
#include <utility>

namespace mdlSubs {

QString WordsPath;

namespace {

int fileIndex(const QString& stem)
{
    for (size_t i = 0; i < WordLayout::Files.size(); ++i) {
        if (stem == QLatin1String(WordLayout::Files[i].stem))
            return int(i);
    }
    return -1;
}

} // namespace

qint16 LoadWordFile(const QString& stem, WordTable& table, qint16 start)
{
    return readWordFile(WordsPath, stem, table, start);
}

qint16 readWordFile(const QString& folder, const QString& stem, WordTable& table, qint16 start)
{
    const QString path = folder + stem + QStringLiteral(".dat");
    const QByteArray bytes = Files::readWholeFile(path, MaxWordFileSize);
    return storeWordLines(
        bytes, Files::absolute(path), SlotOrigin { fileIndex(stem), 0, folder }, table, start);
}

qint16 storeWordLines(QByteArrayView bytes, const QString& path, const SlotOrigin& origin,
    WordTable& table, qint16 start)
{
    const qsizetype size = bytes.size();
    qsizetype pos = 0;
    // The next line, ending at CR or CR LF; a bare LF belongs to the line.
    auto readLine = [&]() {
        const void* cr = std::memchr(bytes.data() + pos, '\r', size_t(size - pos));
        const qsizetype end = cr ? static_cast<const char*>(cr) - bytes.data() : size;
        const QByteArrayView line = bytes.sliced(pos, end - pos);
        pos = end;
        if (pos < size) {
            ++pos;
            if (pos < size && bytes[pos] == '\n')
                ++pos;
        }
        return line;
    };

    if (size == 0)
        throw Failure(FailureKind::InputPastEnd, path, 1, QString());
    readLine(); // the header

    int slot = start;
    SlotOrigin where = origin;
    where.line = 1;
    const WordTable::Source source = table.addSource(bytes, origin.folder);
    while (pos < size) {
        ++where.line;
        if (slot < 0 || slot >= WordTable::Size) {
            throw Failure(FailureKind::SubscriptOutOfRange, path, where.line,
                QStringLiteral("строка попала бы в ячейку %1 таблицы %2")
                    .arg(slot)
                    .arg(WordLayout::tableName(table.family())));
        }
        const QByteArrayView line = readLine();
        if (line.size() > MaxEntryLength) {
            throw Failure(FailureKind::LineTooLong, path, where.line,
                QStringLiteral("В ней %1, а в слове не больше %2")
                    .arg(counted(line.size(), u"знак", u"знака", u"знаков"))
                    .arg(MaxEntryLength));
        }
        const bool empty = line.isEmpty();
        const bool endMark = !empty && line[0] == '#';
        table.store(slot, source, line, where.file, where.line);
        if (empty)
            throw Failure(FailureKind::InvalidArgument, path, where.line, QString());
        if (endMark)
            break;
        ++slot;
    }
    return qint16(slot);
}

} // namespace mdlSubs
