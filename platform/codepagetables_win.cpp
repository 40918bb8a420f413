// The code-page tables from Windows' own conversions, which CharToOemA also uses.
#include "platform/codepagetables.h"

#include <windows.h>

CodePageTables buildCodePageTables()
{
    CodePageTables t;
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        wchar_t wide = 0;
        if (MultiByteToWideChar(1251, 0, &byte, 1, &wide, 1) != 1)
            wide = wchar_t(b);
        t.ansiToUnicode[b] = char16_t(wide);

        char oem = '?';
        BOOL lossy = FALSE;
        if (WideCharToMultiByte(866, WC_NO_BEST_FIT_CHARS, &wide, 1, &oem, 1, "?", &lossy) != 1
            || lossy)
            oem = '?';
        t.ansiToOem[b] = b < 0x80 ? static_cast<unsigned char>(b) : static_cast<unsigned char>(oem);
    }
    return t;
}
