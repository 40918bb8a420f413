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

// Appends Windows-1251 bytes to out as UTF-8.
void appendUtf8(QByteArray& out, QByteArrayView bytes);

} // namespace CodePage
