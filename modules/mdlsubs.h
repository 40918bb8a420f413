#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <memory>

class WordTable;

// Program-wide state and stateless helpers: the random draws (mdlsubs_random.cpp), the
// word-file reader (core/wordfile.cpp) and the numbered saves (mdlsubs_numbered.cpp).
// Everything here runs on the one user-interface thread.
namespace mdlSubs {

// ---- Random draws

// A source of uniform values in [0, 1) of 24 bits: each value is k / 2^24 for a whole number
// k, given as k. Draws take values from a buffer that refill fills, many at a time.
class UniformSource {
public:
    virtual ~UniformSource() = default;
    // Writes the next values (at least one, at most capacity) and returns how many.
    virtual int refill(quint32* values, int capacity) = 0;
};

// The 19 most recent accepted fresh draws, oldest first; all 0 at program start.
inline constexpr int RecentDrawCount = 19;
class RecentDrawList {
public:
    RecentDrawList() { *this = std::array<qint16, RecentDrawCount> {}; }
    RecentDrawList& operator=(const std::array<qint16, RecentDrawCount>& draws);
    std::array<qint16, RecentDrawCount> toArray() const;
    bool contains(qint16 v) const { return m_held[quint16(v)] != 0; }
    // Drops the oldest and keeps v as the newest.
    void push(qint16 v)
    {
        --m_held[quint16(m_ring[m_oldest])];
        ++m_held[quint16(v)];
        m_ring[m_oldest] = v;
        m_oldest = m_oldest + 1 == RecentDrawCount ? 0 : m_oldest + 1;
    }

private:
    // A ring, and how often each value is in it, so a look-up is one read.
    std::array<qint16, RecentDrawCount> m_ring {};
    size_t m_oldest = 0;
    std::array<quint8, 65536> m_held {};
};
extern RecentDrawList RecentDraws;

// The next value k of the program's uniform source, the value being k / 2^24. The source is
// the top 24 bits of the standard Mersenne Twister (mt19937) from its default state, never
// seeded, so the same commands always give the same text.
quint32 nextUniform();
// Replaces the uniform source (tests drive the templates with scripted values); null restores
// the fixed-state one.
void setUniformSource(std::unique_ptr<UniformSource> source);
// Back to the state of a fresh program start: the fixed-state source, history all 0.
void resetRandomState();
// A source started from a state derived from seed instead of the fixed one.
std::unique_ptr<UniformSource> seededSource(quint32 seed);

// lo + floor(n * r) with n = hi - lo + 1, from one value r of the source (computed exactly,
// in whole numbers); 16-bit overflow of n or of the result is an Overflow failure.
qint16 RandomBetween(qint16 hi, qint16 lo);
// Like RandomBetween, but draws again until the value is not in RecentDraws, then records it.
// The 32768th rejection in one call is a NoFreshValue failure, leaving RecentDraws unchanged.
qint16 RandomFresh(qint16 hi, qint16 lo);
// True with probability 1 / (n + 1).
bool Chance(qint16 n);

// 16-bit signed subtraction, with the Overflow failure the counts rely on.
qint16 subtract16(qint16 a, qint16 b);

// ---- Word files

// The folder of the theme being loaded, with a trailing separator; read only by LoadWordFile.
extern QString WordsPath;

// Reads WordsPath + stem + ".dat" into table from slot start, as core/wordfile.h reads a word
// file, and returns start + the number of entries. Defined in core/wordfile.cpp, beside the
// format; only its name is here, so this header needs nothing of the core.
qint16 LoadWordFile(const QString& stem, WordTable& table, qint16 start);

// ---- Numbered saves

// The first number "000" ... "999", from `from` on, whose name NNN.txt no directory entry in
// outputFolder has (a file, a folder, a link even to nothing): NoFreeNumber when none is left.
QString NextFreeNumber(const QString& outputFolder, int from = 0);

// What a save writes: text in Windows-1251, a CR LF for every paragraph break (U+2029) and
// for every line break of given text (CR LF, a lone CR or LF), an LF for a line break inside a
// paragraph (U+2028, how the window shows a line feed inside a word); a character the code page
// lacks is "?", and counted. Made a piece at a time, in one pass, for text that lives in
// paragraphs.
class SavedText {
public:
    explicit SavedText(qsizetype expectedSize = 0);
    void append(QStringView text);
    void paragraphBreak();
    QByteArray take();

    // The characters written as "?" because the code page lacks them: how many, the first few
    // different ones in the order met (a surrogate pair is one character), and whether there
    // are other different ones.
    static constexpr int LackingShown = 5;
    qsizetype lackingCount() const { return m_lacking; }
    const QList<char32_t>& firstLacking() const { return m_firstLacking; }
    bool moreLacking() const { return m_moreLacking; }

private:
    void lack(char32_t c);

    QByteArray m_bytes;
    qsizetype m_size = 0;
    qsizetype m_lacking = 0;
    QList<char32_t> m_firstLacking;
    bool m_moreLacking = false;
};

// Writes the text to the first free NNN.txt of outputFolder, never over an existing name, and
// whole or not at all: a save the program does not live to finish leaves no file. Returns the
// absolute path written, with "/" separators. The folder is never created: a missing one is
// PathNotFound.
QString saveNumbered(SavedText&& text, const QString& outputFolder);
QString saveNumbered(QStringView text, const QString& outputFolder);

} // namespace mdlSubs
