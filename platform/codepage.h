#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// The two single-byte code pages of the program: Windows-1251 (ANSI: word files and saved
// text) and code page 866 (OEM: the text inside the DOS program). Each byte is one character.
// The tables come from the platform (platform/codepagetables_*.cpp); where a code page is
// missing, the first use is a NoCodePage failure, never a silent fallback.
namespace CodePage {

// Windows-1251 bytes to text; always one character per byte.
QString decodeAnsi(QByteArrayView bytes);

// Text to Windows-1251, one byte per character (a surrogate pair is one character);
// characters the code page cannot hold become "?".
QByteArray encodeAnsi(QStringView text);

// Per UTF-16 code unit, its Windows-1251 byte, "?" where the code page lacks it.
const std::array<unsigned char, 65536>& unicodeToAnsiTable();

// Per Windows-1251 byte, the code-page-866 byte ("?" where code page 866 lacks the character).
const std::array<unsigned char, 256>& ansiToOemTable();

// Per Windows-1251 byte, the byte of its upper case; the byte itself where the character has
// none, or one that Windows-1251 lacks (µ, whose upper case is Greek).
const std::array<unsigned char, 256>& upperAnsiTable();

// Upper-cases the first character of UTF-8 text of a Windows-1251 word as upperAnsiTable() does,
// in place: the upper case of such a character always has as many UTF-8 bytes.
void upperFirstUtf8(char* text, qsizetype length);

// Writes Windows-1251 bytes as UTF-8 to out, which has room for 3 * bytes.size() + 1 bytes;
// returns the end of what it wrote.
char* toUtf8(QByteArrayView bytes, char* out);

} // namespace CodePage
