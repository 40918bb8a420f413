#pragma once

#include <QString>
#include <QtGlobal>

// Turns the first saved text, output/000.txt, into a tiny DOS program that prints it.
namespace mdlMakeexe {

// The longest text the program can hold: its length travels as a signed 16-bit count.
inline constexpr int MaxTextSize = 32767;

// The low byte of n: n & 0xFF.
int LowByte(qint16 n);
// The high byte of n as n / 256 truncated toward zero, & 0xFF (so HighByte(-1) is 0).
int HighByte(qint16 n);

// Reads outputFolder/000.txt (N bytes, Windows-1251) and writes outputFolder/000.exe: a
// 15-byte program that prints N bytes and ends, then the text in code page 866. The file is
// replaced all at once, or not at all. Returns its absolute path, with "/" separators.
// Failures, each leaving the folder as it was: PathNotFound (no folder), FileNotFound (no
// 000.txt), NothingToMake (000.txt empty), TooLarge (over MaxTextSize bytes), ReadFailed,
// WriteFailed.
QString MakeExe(const QString& outputFolder);

} // namespace mdlMakeexe
