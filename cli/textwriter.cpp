#include "cli/textwriter.h"

#include "cli/explain.h"
#include "platform/codepage.h"

#include <QIODevice>

namespace {

// A press is written as soon as it ends; a longer stretch in pieces of this size.
constexpr qsizetype ChunkSize = 1 << 16;

} // namespace

TextWriter::TextWriter(QIODevice& device, Format format, const Session* explainFrom)
    : m_device(device)
    , m_format(format)
    , m_explainFrom(explainFrom)
{
    m_pending.reserve(ChunkSize + 4096);
}

void TextWriter::put(QByteArrayView ansi)
{
    if (m_format.cp1251)
        m_pending.append(ansi);
    else
        CodePage::appendUtf8(m_pending, ansi);
    if (m_pending.size() >= ChunkSize)
        flush();
}

void TextWriter::put(QStringView text)
{
    m_pending.append(m_format.cp1251 ? CodePage::encodeAnsi(text) : text.toUtf8());
    if (m_pending.size() >= ChunkSize)
        flush();
}

void TextWriter::sentence(const Sentence& s)
{
    put(QByteArrayView(s.text.data(), qsizetype(s.text.size())));
    if (m_explainFrom) {
        lineEnd();
        put(explainSentence(s, *m_explainFrom));
        lineEnd();
    }
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
    for (QStringView line : text.tokenize(u'\n')) {
        put(line);
        lineEnd();
    }
    // tokenize() ends with an empty piece after a final "\n", which wrote one line end too many.
    if (text.endsWith(u'\n'))
        m_pending.chop(m_format.lineEnd.size());
}

bool TextWriter::flush()
{
    if (!m_failed && !m_pending.isEmpty())
        m_failed = m_device.write(m_pending) != m_pending.size();
    m_pending.resize(0);
    return !m_failed;
}
