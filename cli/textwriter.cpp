#include "cli/textwriter.h"

#include "platform/codepage.h"

#include <QIODevice>

#include <cstring>

namespace {

// A press is written as soon as it ends; a longer stretch in pieces of this size.
constexpr qsizetype ChunkSize = 1 << 16;

} // namespace

TextWriter::TextWriter(QIODevice& device, Format format)
    : m_device(device)
    , m_format(format)
{
    m_pending.resize(2 * ChunkSize);
}

char* TextWriter::room(qsizetype n)
{
    if (Q_UNLIKELY(size_t(m_length + n) > m_pending.size()))
        m_pending.resize(size_t(m_length + n));
    return m_pending.data() + m_length;
}

void TextWriter::append(QByteArrayView bytes)
{
    std::memcpy(room(bytes.size()), bytes.data(), size_t(bytes.size()));
    m_length += bytes.size();
}

void TextWriter::put(QByteArrayView ansi)
{
    if (m_format.cp1251) {
        append(ansi);
    } else {
        char* start = room(3 * ansi.size() + 1);
        m_length += CodePage::toUtf8(ansi, start) - start;
    }
    if (m_length >= ChunkSize)
        flush();
}

void TextWriter::put(QStringView text)
{
    append(m_format.cp1251 ? CodePage::encodeAnsi(text) : text.toUtf8());
    if (m_length >= ChunkSize)
        flush();
}

void TextWriter::sentence(const Sentence& s)
{
    // A sentence made in the output's encoding goes out as it is.
    if (s.utf8 == !m_format.cp1251)
        append(s.text());
    else
        put(s.text());
    if (m_length >= ChunkSize)
        flush();
}

void TextWriter::paragraphBreak()
{
    lineEnd();
    lineEnd();
}

void TextWriter::writeLine(QByteArrayView ansi)
{
    put(ansi);
    lineEnd();
}

void TextWriter::write(QStringView text)
{
    qsizetype start = 0;
    for (qsizetype end; (end = text.indexOf(u'\n', start)) >= 0; start = end + 1) {
        put(text.sliced(start, end - start));
        lineEnd();
    }
    put(text.sliced(start));
}

bool TextWriter::flush()
{
    if (!m_failed && m_length > 0)
        m_failed = m_device.write(m_pending.data(), m_length) != m_length;
    m_length = 0;
    return !m_failed;
}
