// Numbered saves: 000.txt ... 999.txt in the output folder.
#include "modules/mdlsubs.h"

#include "platform/codepage.h"
#include "platform/failure.h"
#include "platform/files.h"

#include <QDir>
#include <QFileInfo>

#include <array>

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

// Windows-1251 for every UTF-16 unit, with 0 for the units a save treats apart: the line
// breaks, the surrogates, NUL itself and the characters the code page lacks.
const std::array<unsigned char, 65536>& savedByteTable()
{
    static const auto table = [] {
        std::array<unsigned char, 65536> t = CodePage::unicodeToAnsiTable();
        for (size_t c = 0; c < t.size(); ++c) {
            if (t[c] == '?' && c != u'?')
                t[c] = 0;
        }
        for (char16_t c : { u'\0', u'\r', u'\n', char16_t(QChar::LineSeparator),
                 char16_t(QChar::ParagraphSeparator) })
            t[c] = 0;
        for (char32_t c = 0xD800; c <= 0xDFFF; ++c)
            t[c] = 0;
        return t;
    }();
    return table;
}

} // namespace

QString NextFreeNumber(const QString& outputFolder, int from)
{
    const QDir folder = Files::requireFolder(outputFolder);
    for (int n = from; n < NumberCount; ++n) {
        QString number = threeDigits(n);
        if (!Files::nameTaken(folder.filePath(numberedName(number))))
            return number;
    }
    throw Failure(FailureKind::NoFreeNumber, folder.absolutePath(), 0,
        QStringLiteral("Удалите или перенесите старые файлы"));
}

SavedText::SavedText(qsizetype expectedSize)
{
    // One byte a character, and room for some line breaks that take two; more when needed.
    m_bytes.resize(expectedSize + expectedSize / 8 + 16);
}

void SavedText::append(QStringView text)
{
    const auto& ansi = savedByteTable();
    const char16_t* src = text.utf16();
    const char16_t* end = src + text.size();
    char* dst = m_bytes.data() + m_size;
    for (; src != end; ++src) {
        if (Q_UNLIKELY(m_bytes.constData() + m_bytes.size() - dst < 2)) {
            m_size = dst - m_bytes.constData();
            m_bytes.resize(m_size + (end - src) * 2 + 2);
            dst = m_bytes.data() + m_size;
        }
        const char16_t c = *src;
        if (const unsigned char b = ansi[c]; Q_LIKELY(b != 0)) {
            *dst++ = char(b);
            continue;
        }
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
        case u'\0':
            *dst++ = '\0';
            break;
        default:
            if (QChar::isHighSurrogate(c) && src + 1 != end && QChar::isLowSurrogate(src[1])) {
                lack(QChar::surrogateToUcs4(c, src[1]));
                ++src;
            } else {
                lack(c);
            }
            *dst++ = '?';
        }
    }
    m_size = dst - m_bytes.constData();
}

void SavedText::lack(char32_t c)
{
    ++m_lacking;
    if (m_firstLacking.contains(c))
        return;
    if (m_firstLacking.size() < LackingShown)
        m_firstLacking.append(c);
    else
        m_moreLacking = true;
}

void SavedText::paragraphBreak()
{
    append(u"\r\n");
}

QByteArray SavedText::take()
{
    m_bytes.truncate(m_size);
    m_size = 0;
    return std::move(m_bytes);
}

QString saveNumbered(QStringView text, const QString& outputFolder)
{
    SavedText saved(text.size());
    saved.append(text);
    return saveNumbered(std::move(saved), outputFolder);
}

QString saveNumbered(SavedText&& text, const QString& outputFolder)
{
    const QDir folder = Files::requireFolder(outputFolder);
    // Another program may take the free name meanwhile; then the next one is tried. Searching
    // on from there, not from 000, bounds the loop at 1000 names.
    return Files::writeNewFile(folder.absolutePath(), text.take(), [&](const QString& taken) {
        const int from = taken.isEmpty() ? 0 : QFileInfo(taken).baseName().toInt() + 1;
        return folder.absoluteFilePath(numberedName(NextFreeNumber(outputFolder, from)));
    });
}

} // namespace mdlSubs
