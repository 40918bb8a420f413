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

// Text edits hand over "\n", pasted text may carry "\r\n" or a lone "\r", and the Unicode
// separators stand for line breaks too; each becomes one lineEnd.
QString withLineEnds(QStringView text, QStringView lineEnd)
{
    QString out;
    out.reserve(text.size() + text.size() / 16 + 1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'\r':
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            [[fallthrough]];
        case u'\n':
        case u'\u2028':
        case u'\u2029':
            out.append(lineEnd);
            break;
        default:
            out.append(c);
        }
    }
    return out;
}

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
    const QByteArray bytes = CodePage::encodeAnsi(withLineEnds(text, u"\r\n"));
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
