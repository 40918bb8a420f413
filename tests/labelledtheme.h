#pragma once

// Word files made on the spot, for the tests, the fuzzers and the benchmarks: QtCore only.

#include "core/wordlayout.h"
#include "platform/codepage.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

namespace TestKit {

inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Entries per file of each family, in the order of WordLayout::Family.
using Sizes = WordLayout::FamilyCounts;

// A word file of n entries that name their file and entry: "nounF2_7" is entry 7 (from 0) of
// nounF2.dat; with a prefix "00/", "00/nounF2_7". Entry `at`, if any, is `text` instead.
inline QByteArray labelled(
    const char* stem, int n, const QString& prefix = QString(), int at = -1, const char* text = "")
{
    QString lines = QStringLiteral("заголовок\r\n");
    for (int i = 0; i < n; ++i)
        lines += (i == at ? QString::fromUtf8(text)
                          : prefix + QLatin1String(stem) + u'_' + QString::number(i))
            + QStringLiteral("\r\n");
    return CodePage::encodeAnsi(lines);
}

// A complete theme of labelled files.
inline bool writeLabelledTheme(
    const QString& dir, Sizes sizes = { 30, 30, 30, 30, 30 }, const QString& prefix = QString())
{
    if (!QDir().mkpath(dir))
        return false;
    for (const WordLayout::WordFile& file : WordLayout::LoadOrder) {
        if (!writeBytes(dir + u'/' + QLatin1String(file.stem) + QStringLiteral(".dat"),
                labelled(file.stem, sizes[size_t(file.family)], prefix)))
            return false;
    }
    return true;
}

} // namespace TestKit
