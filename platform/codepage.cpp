#include "platform/codepage.h"

#include "platform/codepagetables.h"

#include <algorithm>

namespace {

// The per-byte tables of the platform, and what follows from them: the reverse map for
// encoding, upper case, and UTF-8.
struct Tables {
    CodePageTables bytes = buildCodePageTables();
    std::array<unsigned char, 65536> unicodeToAnsi;
    std::array<unsigned char, 256> upper;
    std::array<std::array<char, 4>, 256> utf8; // the sequence, then its length in the last byte

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
            std::copy(sequence.begin(), sequence.end(), utf8[b].begin());
            utf8[b][3] = char(sequence.size());
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

void appendUtf8(QByteArray& out, QByteArrayView bytes)
{
    const auto& utf8 = tables().utf8;
    const qsizetype start = out.size();
    out.resize(start + bytes.size() * 3);
    char* dst = out.data() + start;
    for (const char b : bytes) {
        const auto& sequence = utf8[static_cast<unsigned char>(b)];
        // Copying all three bytes and moving on by the length keeps the loop free of branches.
        std::copy(sequence.begin(), sequence.begin() + 3, dst);
        dst += sequence[3];
    }
    out.truncate(dst - out.constData());
}

} // namespace CodePage
