// The code-page tables from Qt's ICU converters.
#include "platform/codepagetables.h"

#include "platform/failure.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

void require(bool valid, const char* name)
{
    if (!valid)
        throw Failure(FailureKind::NoCodePage, QString::fromLatin1(name));
}

} // namespace

CodePageTables buildCodePageTables()
{
    CodePageTables t;
    QStringDecoder ansi("windows-1251");
    require(ansi.isValid(), "windows-1251");
    require(QStringEncoder("IBM866").isValid(), "IBM866");
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        const QString ch = ansi.decode(QByteArrayView(&byte, 1));
        // Windows-1251 leaves 0x98 undefined; ICU gives U+0098 for it, and that keeps the
        // byte's identity through a round trip.
        t.ansiToUnicode[b] = ch.size() == 1 ? ch.at(0).unicode() : char16_t(b);

        // A converter per character: ICU's own substitute (0x7F) is no byte a reader expects.
        QStringEncoder oem("IBM866");
        const QByteArray o = oem.encode(QStringView(&t.ansiToUnicode[b], 1));
        t.ansiToOem[b]
            = (oem.hasError() || o.size() != 1) ? '?' : static_cast<unsigned char>(o.at(0));
        // ICU's IBM866 exchanges the controls 1A, 1C and 7F; both code pages are ASCII below 0x80.
        if (b < 0x80)
            t.ansiToOem[b] = static_cast<unsigned char>(b);
    }
    return t;
}
