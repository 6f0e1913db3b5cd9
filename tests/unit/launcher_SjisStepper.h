// A character stepper for code page 932 (Shift-JIS), so that scans can be
// checked against double-byte text whatever the machine's ANSI code page is.
#pragma once
#include "launcher/AnsiText.h"

#ifdef _WIN32
#include <windows.h>

inline const char* nextSjisChar(const char* p) {
    return CharNextExA(932, p, 0);
}
#else
// Lead bytes 0x81-0x9F and 0xE0-0xFC take the following byte with them.
inline const char* nextSjisChar(const char* p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c == 0) return p;
    bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    return lead && p[1] != '\0' ? p + 2 : p + 1;
}
#endif

// Shift-JIS characters whose trail byte is an ASCII separator.
#define SJIS_TRAIL_BACKSLASH "\x95\x5c"  // a kanji whose second byte is '\'
#define SJIS_TRAIL_PIPE "\x83\x7c"       // a katakana whose second byte is '|'
