// Windows build: text in the ANSI code page, which may be double-byte.
#include "launcher/AnsiText.h"
#include <windows.h>

// CharNextA knows the lead bytes of the ANSI code page.
const char* nextAnsiChar(const char* p) {
    return CharNextA(p);
}

// Classifies the whole character at p (one or two bytes) under the thread
// locale, so that a double-byte space counts as white space too.
bool isAnsiSpace(const char* p) {
    int length = static_cast<int>(CharNextA(p) - p);
    if (length <= 0) return false;
    WORD types[2] = {0, 0};
    if (!GetStringTypeExA(GetThreadLocale(), CT_CTYPE1, p, length, types)) return false;
    return (types[0] & C1_SPACE) != 0;
}

// The system's case-sensitive comparison.
bool sameText(const char* a, const char* b) {
    return lstrcmpA(a, b) == 0;
}
