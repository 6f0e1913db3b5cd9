// Version values for test tables.
#pragma once
#include <cstdint>
#include "jre/JavaVersion.h"

const int32_t M = 65535;

// The text parsed with fill; the parse result is not needed by the tables.
inline JavaVersion parsed(const char* text, int32_t fill = 0) {
    JavaVersion version;
    parseVersion(text, fill, version);
    return version;
}

// Four parts spelled out, part count 4.
inline JavaVersion parts(int32_t a, int32_t b, int32_t c, int32_t d) {
    JavaVersion version;
    version.parts[0] = a;
    version.parts[1] = b;
    version.parts[2] = c;
    version.parts[3] = d;
    version.partCount = 4;
    return version;
}
