#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <memory>

class WordTable;

// Program-wide state and stateless helpers: the random draws, the word-file reader and the
// theme folder being loaded. Everything here runs on the one user-interface thread.
namespace mdlSubs {

// A source of single-precision values in [0, 1).
class UniformSource {
public:
    virtual ~UniformSource() = default;
    virtual float next() = 0;
};

// The 19 most recent accepted fresh draws, oldest first; all 0 at program start.
inline constexpr int RecentDrawCount = 19;
extern std::array<qint16, RecentDrawCount> RecentDraws;

// The folder of the theme being loaded, with a trailing separator; read only by LoadWordFile.
extern QString WordsPath;

// The program's uniform source. It starts from one fixed state and is never seeded, so the
// same commands always give the same text.
UniformSource& Uniform();
// Replaces the uniform source (tests drive the templates with scripted values).
void SetUniformSource(std::unique_ptr<UniformSource> source);
// Back to the state of a fresh program start: the fixed-state source, history all 0.
void ResetRandomState();
// A source started from a state derived from seed instead of the fixed one.
std::unique_ptr<UniformSource> SeededSource(quint32 seed);

// lo + floor(n * r) with n = hi - lo + 1, from one value r of the source; 16-bit overflow
// of n or of the result is an Overflow failure.
qint16 RandomBetween(qint16 hi, qint16 lo);
// Like RandomBetween, but draws again until the value is not in RecentDraws, then records it.
// The 32768th rejection in one call is a NoFreshValue failure, leaving RecentDraws unchanged.
qint16 RandomFresh(qint16 hi, qint16 lo);
// True with probability 1 / (n + 1).
bool Chance(qint16 n);

// 16-bit signed subtraction, with the Overflow failure the counts rely on.
qint16 Subtract16(qint16 a, qint16 b);

// Reads WordsPath + stem + ".dat" (Windows-1251, lines ending at CR or CR LF, line 1 a header)
// into table from slot start. Returns start + the number of entries; a "#" line ends the list
// and is stored in the slot it returns. Failures name the file's full path and line.
qint16 LoadWordFile(const QString& stem, WordTable& table, qint16 start);
// The reading half of LoadWordFile, on the file's bytes; path only names the file in failures.
qint16 StoreWordLines(const QByteArray& bytes, const QString& path, const QString& stem,
    WordTable& table, qint16 start);

// The first number "000" ... "999" whose name NNN.txt no directory entry in outputFolder has:
// a file, a folder and a symbolic link (even one to nothing) all take the name. A missing
// folder is PathNotFound; all 1000 names taken is NoFreeNumber.
QString NextFreeNumber(const QString& outputFolder);
// Saves text as outputFolder/NNN.txt under the next free number, never replacing a file:
// Windows-1251 ("?" for characters it lacks), every line break one CR LF, no byte order mark,
// nothing added. Returns the absolute path written, with "/" separators. The folder is never
// created: a missing one is PathNotFound.
QString SaveNumbered(const QString& text, const QString& outputFolder);

} // namespace mdlSubs
