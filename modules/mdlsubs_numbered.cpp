// Numbered saves: 000.txt ... 999.txt in the output folder.
#include "modules/mdlsubs.h"

#include "platform/codepage.h"
#include "platform/failure.h"
#include "platform/files.h"

#include <QDir>

namespace mdlSubs {

namespace {

constexpr int NumberCount = 1000;

QString threeDigits(int n)
{
    return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}

QString numberedName(const QString& number)
{
    return number + QStringLiteral(".txt");
}

} // namespace

namespace {

// The text in Windows-1251, in one pass. A paragraph break of the text box (U+2029), and a
// CR LF, lone CR or lone LF of pasted or given text, is a CR LF; a line break inside a
// paragraph (U+2028), which is how the box shows a line feed inside a word, stays that LF.
// A character the code page lacks is "?", a surrogate pair one "?".
QByteArray savedBytes(QStringView text)
{
    const auto& ansi = CodePage::unicodeToAnsiTable();
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    char* dst = out.data();
    const char16_t* src = text.utf16();
    const char16_t* end = src + text.size();
    for (; src != end; ++src) {
        const char16_t c = *src;
        switch (c) {
        case u'\r':
            if (src + 1 != end && src[1] == u'\n')
                ++src;
            [[fallthrough]];
        case u'\n':
        case QChar::ParagraphSeparator:
            *dst++ = '\r';
            *dst++ = '\n';
            break;
        case QChar::LineSeparator:
            *dst++ = '\n';
            break;
        default:
            if (QChar::isHighSurrogate(c) && src + 1 != end && QChar::isLowSurrogate(src[1]))
                ++src;
            *dst++ = char(ansi[c]);
        }
    }
    out.truncate(dst - out.constData());
    return out;
}

} // namespace

QString NextFreeNumber(const QString& outputFolder, int from)
{
    const QDir folder = Files::requireFolder(outputFolder);
    for (int n = from; n < NumberCount; ++n) {
        const QString number = threeDigits(n);
        if (!Files::nameTaken(folder.filePath(numberedName(number))))
            return number;
    }
    throw Failure(FailureKind::NoFreeNumber, folder.absolutePath(), 0,
        QStringLiteral("Удалите или перенесите старые файлы"));
}

QString saveNumbered(const QString& text, const QString& outputFolder)
{
    const QDir folder = Files::requireFolder(outputFolder);
    const QByteArray bytes = savedBytes(text);
    // Another program may take the free name between the search and the write; then the next
    // one is tried. Searching on from there, not from 000, bounds the loop at 1000 names.
    for (QString n = NextFreeNumber(outputFolder);;
         n = NextFreeNumber(outputFolder, n.toInt() + 1)) {
        const QString path = folder.absoluteFilePath(numberedName(n));
        if (Files::writeNewFile(path, bytes) == Files::NewFile::Written)
            return path;
    }
}

} // namespace mdlSubs
