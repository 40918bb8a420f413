#pragma once

#include <array>

// What each platform knows about its two code pages, per byte: the Windows-1251 character and
// the code-page-866 byte ("?" where code page 866 lacks the character). Built once; a platform
// without one of the code pages throws a NoCodePage failure.
struct CodePageTables {
    std::array<char16_t, 256> ansiToUnicode {};
    std::array<unsigned char, 256> ansiToOem {};
};

CodePageTables buildCodePageTables();
