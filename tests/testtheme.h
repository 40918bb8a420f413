#pragma once

// Word files made by the tests themselves.

#include "platform/codepage.h"
#include "window/wordstore.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace TestTheme {

// Writes dir/stem.dat: a header line, then the lines, each ended by lineEnd; encoded as
// Windows-1251 like the shipped files.
inline bool writeWordFile(const QString& dir, const QString& stem, const QStringList& lines,
    const QString& lineEnd = QStringLiteral("\r\n"), const QString& header = QStringLiteral("заголовок"))
{
    QFile f(dir + u'/' + stem + QStringLiteral(".dat"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QString text = header + lineEnd;
    for (const QString& l : lines)
        text += l + lineEnd;
    const QByteArray bytes = CodePage::EncodeAnsi(text);
    return f.write(bytes) == bytes.size();
}

// A family's files and how many entries each gets.
struct Sizes {
    int nouns = 30, verbs = 30, adjectives = 30, adverbs = 30, intros = 30;

    // The entry count of a word file of this family.
    int of(const QString& stem) const
    {
        if (stem.startsWith(u"noun"))
            return nouns;
        if (stem.startsWith(u"verb"))
            return verbs;
        if (stem.startsWith(u"adj"))
            return adjectives;
        if (stem.startsWith(u"adv"))
            return adverbs;
        return intros;
    }
};

// A complete theme in which every word names its own file and entry: "nounF2_7" is entry 7
// (from 0) of nounF2.dat. Returns false if a file cannot be written.
inline bool writeLabelledTheme(const QString& dir, Sizes sizes = {})
{
    if (!QDir().mkpath(dir))
        return false;
    for (const QString& stem : WordStore::Stems()) {
        const int n = sizes.of(stem);
        QStringList lines;
        for (int i = 0; i < n; ++i)
            lines << stem + u'_' + QString::number(i);
        if (!writeWordFile(dir, stem, lines))
            return false;
    }
    return true;
}

} // namespace TestTheme
