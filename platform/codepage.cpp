#include "platform/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <memory>

namespace {

// Built once from Qt's ICU converters, then used as plain lookup tables: the converters'
// own substitution bytes (0x1A, 0x7F) are not what a reader expects, and the tables keep
// every mapping exactly one byte to one character.
struct Tables {
    std::array<char16_t, 256> ansiToUnicode {};
    std::unique_ptr<std::array<unsigned char, 65536>> unicodeToAnsi;
    std::array<unsigned char, 256> ansiToOem {};

    Tables()
        : unicodeToAnsi(std::make_unique<std::array<unsigned char, 65536>>())
    {
        QStringDecoder ansi("windows-1251");
        QStringEncoder oem("IBM866");
        Q_ASSERT(ansi.isValid() && oem.isValid());
        unicodeToAnsi->fill('?');
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString ch = ansi.decode(QByteArrayView(&byte, 1));
            // Windows-1251 leaves 0x98 undefined; ICU gives U+0098 for it, and that keeps the
            // byte's identity through a round trip.
            ansiToUnicode[b] = ch.size() == 1 ? ch.at(0).unicode() : char16_t(b);
            (*unicodeToAnsi)[ansiToUnicode[b]] = static_cast<unsigned char>(b);

            QStringEncoder one("IBM866");
            const QByteArray o = one.encode(QStringView(&ansiToUnicode[b], 1));
            ansiToOem[b] = (one.hasError() || o.size() != 1) ? '?' : static_cast<unsigned char>(o.at(0));
            // ICU's IBM866 swaps the control bytes 1A, 1C and 7F; both code pages are ASCII below 0x80.
            if (b < 0x80)
                ansiToOem[b] = static_cast<unsigned char>(b);
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

QString DecodeAnsi(QByteArrayView bytes)
{
    const auto& t = tables();
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = t.ansiToUnicode[static_cast<unsigned char>(bytes[i])];
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
        out[i] = char(t.ansiToOem[static_cast<unsigned char>(bytes[i])]);
    return out;
}

} // namespace CodePage
