// Host build: single-byte text in the C locale.
#include "launcher/AnsiText.h"
#include <cctype>
#include <cstring>

// One byte per character; stays on the terminating NUL.
const char* nextAnsiChar(const char* p) {
    return *p != '\0' ? p + 1 : p;
}

// The C library's classification of the byte at p.
bool isAnsiSpace(const char* p) {
    return *p != '\0' && std::isspace(static_cast<unsigned char>(*p)) != 0;
}

// Byte-wise equality.
bool sameText(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}
