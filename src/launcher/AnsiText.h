// Stepping through narrow text in the ANSI code page.
//
// Every scan for a separator steps character by character, so the trail byte
// of a double-byte character is never taken for '\\', '.', ';' or a quote.
// The Windows build steps with CharNextA; the host build has one byte per
// character. Pure functions take the stepper as a parameter so that tests can
// hand in a stepper for a chosen code page.
#pragma once
#include <string>

// Returns the start of the character after the one at p (p itself at the NUL).
using NextCharFn = const char* (*)(const char* p);

// Classifies the character at p as white space (for command-line trimming).
using IsSpaceFn = bool (*)(const char* p);

// The platform's stepper: CharNextA on Windows, one byte on the host.
const char* nextAnsiChar(const char* p);

// The platform's white-space test: GetStringTypeExA C1_SPACE under the thread
// locale on Windows, isspace on the host.
bool isAnsiSpace(const char* p);

// The platform's case-sensitive equality: lstrcmpA on Windows, strcmp on host.
bool sameText(const char* a, const char* b);

// Length in bytes of the character at offset pos of text (pos < size()),
// stepping with next; at least 1 and never past the end of text.
size_t ansiCharLength(const std::string& text, size_t pos, NextCharFn next = nextAnsiChar);

// Position of the first / last occurrence of c in text, stepping with next;
// std::string::npos when there is none.
size_t findAnsiChar(const std::string& text, char c, size_t from = 0, NextCharFn next = nextAnsiChar);
size_t findLastAnsiChar(const std::string& text, char c, NextCharFn next = nextAnsiChar);
