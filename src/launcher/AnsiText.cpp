// Character-wise scans shared by every separator search.
#include "launcher/AnsiText.h"

// At least 1, so an embedded NUL (where a stepper stays put) cannot stall a
// scan, and clipped so that a lead byte at the end cannot carry it past size().
size_t ansiCharLength(const std::string& text, size_t pos, NextCharFn next) {
    const char* here = text.c_str() + pos;
    const char* after = next(here);
    size_t length = after > here ? static_cast<size_t>(after - here) : 1;
    return length < text.size() - pos ? length : text.size() - pos;
}

// Steps from from to the end and stops at the first character equal to c.
size_t findAnsiChar(const std::string& text, char c, size_t from, NextCharFn next) {
    for (size_t pos = from; pos < text.size(); pos += ansiCharLength(text, pos, next)) {
        if (text[pos] == c) return pos;
    }
    return std::string::npos;
}

// Steps over the whole text, remembering the last character equal to c.
size_t findLastAnsiChar(const std::string& text, char c, NextCharFn next) {
    size_t found = std::string::npos;
    for (size_t pos = 0; pos < text.size(); pos += ansiCharLength(text, pos, next)) {
        if (text[pos] == c) found = pos;
    }
    return found;
}
