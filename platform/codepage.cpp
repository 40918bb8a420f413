#include "platform/codepage.h"

#include "platform/codepagetables.h"

namespace {

// The per-byte tables of the platform, and the reverse map for encoding.
struct Tables {
    CodePageTables bytes = buildCodePageTables();
    std::array<unsigned char, 65536> unicodeToAnsi;

    Tables()
    {
        unicodeToAnsi.fill('?');
        for (int b = 0; b < 256; ++b)
            unicodeToAnsi[bytes.ansiToUnicode[b]] = static_cast<unsigned char>(b);
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

} // namespace CodePage
