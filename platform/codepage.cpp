#include "platform/codepage.h"

#include "platform/codepagetables.h"

#include <array>
#include <memory>

namespace {

// The per-byte tables of the platform, and the reverse map for encoding.
struct Tables {
    CodePageTables bytes = BuildCodePageTables();
    std::unique_ptr<std::array<unsigned char, 65536>> unicodeToAnsi
        = std::make_unique<std::array<unsigned char, 65536>>();

    Tables()
    {
        unicodeToAnsi->fill('?');
        for (int b = 0; b < 256; ++b)
            (*unicodeToAnsi)[bytes.ansiToUnicode[b]] = static_cast<unsigned char>(b);
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

} // namespace

namespace CodePage {

QString DecodeAnsi(QByteArrayView bytes)
{
    const auto& t = tables();
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = t.bytes.ansiToUnicode[static_cast<unsigned char>(bytes[i])];
    return out;
}

QByteArray EncodeAnsi(QStringView text)
{
    const auto& map = *tables().unicodeToAnsi;
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

QByteArray AnsiToOem(QByteArrayView bytes)
{
    const auto& t = tables();
    QByteArray out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = char(t.bytes.ansiToOem[static_cast<unsigned char>(bytes[i])]);
    return out;
}

} // namespace CodePage
