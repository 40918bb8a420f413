#include "platform/codepage.h"

#include "platform/codepagetables.h"

#include <QtEndian>

#include <cstring>

namespace {

// The per-byte tables of the platform, and what follows from them: the reverse map for
// encoding, upper case, and UTF-8.
struct Tables {
    CodePageTables bytes = buildCodePageTables();
    std::array<unsigned char, 65536> unicodeToAnsi;
    std::array<unsigned char, 256> upper;
    // The UTF-8 sequence of each byte in the low bytes, its length in the top one.
    std::array<quint32, 256> utf8;

    Tables()
    {
        unicodeToAnsi.fill('?');
        for (int b = 0; b < 256; ++b)
            unicodeToAnsi[bytes.ansiToUnicode[b]] = static_cast<unsigned char>(b);
        for (int b = 0; b < 256; ++b) {
            const QChar c(bytes.ansiToUnicode[b]);
            const char16_t u = c.toUpper().unicode();
            const bool held = unicodeToAnsi[u] != '?' || u == u'?';
            upper[b] = held ? unicodeToAnsi[u] : static_cast<unsigned char>(b);
            const QByteArray sequence = QString(c).toUtf8();
            quint32 packed = quint32(sequence.size()) << 24;
            for (qsizetype i = 0; i < sequence.size(); ++i)
                packed |= quint32(uchar(sequence[i])) << (8 * i);
            utf8[b] = packed;
        }
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

} // namespace

namespace CodePage {

QString decodeAnsi(QByteArrayView bytes)
{
    const auto& t = tables();
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = t.bytes.ansiToUnicode[static_cast<unsigned char>(bytes[i])];
    return out;
}

const std::array<unsigned char, 65536>& unicodeToAnsiTable()
{
    return tables().unicodeToAnsi;
}

QByteArray encodeAnsi(QStringView text)
{
    const auto& map = tables().unicodeToAnsi;
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out.append('?');
            ++i;
            continue;
        }
        out.append(char(map[c.unicode()]));
    }
    return out;
}

const std::array<unsigned char, 256>& ansiToOemTable()
{
    return tables().bytes.ansiToOem;
}

const std::array<unsigned char, 256>& upperAnsiTable()
{
    return tables().upper;
}

void upperFirstUtf8(char* text, qsizetype length)
{
    const auto& t = tables();
    const uchar lead = uchar(text[0]);
    const int size = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 0;
    if (size == 0 || size > length)
        return;
    char32_t c = size == 1 ? lead : lead & (size == 2 ? 0x1F : 0x0F);
    for (int i = 1; i < size; ++i)
        c = (c << 6) | (uchar(text[i]) & 0x3F);
    const uchar byte = t.unicodeToAnsi[c];
    const quint32 upper = t.utf8[t.upper[byte]];
    if (t.bytes.ansiToUnicode[byte] != c || int(upper >> 24) != size)
        return;
    for (int i = 0; i < size; ++i)
        text[i] = char(upper >> (8 * i));
}

char* toUtf8(QByteArrayView bytes, char* out)
{
    const auto& utf8 = tables().utf8;
    char* dst = out;
    for (const char b : bytes) {
        // Storing all four bytes and moving on by the length keeps the loop free of branches;
        // the fourth lands where the next sequence starts, or in the byte of room at the end.
        const quint32 entry = utf8[static_cast<unsigned char>(b)];
        const quint32 inOrder = qToLittleEndian(entry);
        std::memcpy(dst, &inOrder, 4);
        dst += entry >> 24;
    }
    return dst;
}

} // namespace CodePage
