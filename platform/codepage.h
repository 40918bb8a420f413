#pragma once

#include <QByteArray>
#include <QString>

// The two single-byte code pages of the program: Windows-1251 (ANSI: word files and saved
// text) and code page 866 (OEM: the text inside the DOS program). Each byte is one character.
namespace CodePage {

// Windows-1251 bytes to text; always one character per byte.
QString DecodeAnsi(QByteArrayView bytes);

// Text to Windows-1251, one byte per character (a surrogate pair is one character);
// characters the code page cannot hold become "?".
QByteArray EncodeAnsi(QStringView text);

// Maps every byte from Windows-1251 to code page 866; the length stays the same.
// Characters without a code-page-866 form become "?".
QByteArray AnsiToOem(QByteArrayView bytes);

} // namespace CodePage
