// Version values: parsing, ordering, matching and printing.
#include "jre/JavaVersion.h"
#include <climits>
#include "StringIds.h"
#include "launcher/StringTable.h"
#include "launcher/TextFormat.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The next decimal digit at or after p, or the terminating NUL.
const char* skipToDigit(const char* p) {
    while (*p != '\0' && !isDigit(*p)) ++p;
    return p;
}

// Accumulates the digit run at p into value, saturating at INT32_MAX;
// returns the first byte after the run.
const char* readDigits(const char* p, int32_t& value) {
    for (; isDigit(*p); ++p) {
        int32_t digit = *p - '0';
        value = value > (INT32_MAX - digit) / 10 ? INT32_MAX : value * 10 + digit;
    }
    return p;
}

bool allPartsEqual(const JavaVersion& version, int32_t value) {
    for (int32_t part : version.parts) {
        if (part != value) return false;
    }
    return true;
}

}  // namespace

// Digit groups are read into the parts in order; any run of other bytes
// separates them, and a fifth group is only counted.
bool parseVersion(const char* text, int32_t fill, JavaVersion& version) {
    version = JavaVersion();
    if (text == nullptr) return false;
    const char* p = skipToDigit(text);
    if (*p == '\0') return false;
    int32_t count = 0;
    while (true) {
        p = skipToDigit(readDigits(p, version.parts[count]));
        ++count;
        if (*p == '\0') break;
        if (count == 4) {
            version.partCount = 5;
            return true;
        }
    }
    version.partCount = count;
    for (int32_t i = count; i < 4; ++i) version.parts[i] = fill;
    return true;
}

int compareVersions(const JavaVersion& a, const JavaVersion& b) {
    for (int i = 0; i < 4; ++i) {
        if (a.parts[i] != b.parts[i]) return a.parts[i] < b.parts[i] ? -1 : 1;
    }
    return 0;
}

bool sameParts(const JavaVersion& a, const JavaVersion& b) {
    return compareVersions(a, b) == 0;
}

// The parts that preferred spells out must lead installed; a preferred
// value without digits matches only through equal parts.
bool matchesPreferred(const JavaVersion& installed, const JavaVersion& preferred) {
    if (sameParts(installed, preferred)) return true;
    if (preferred.partCount == 0 || preferred.partCount > installed.partCount) return false;
    int32_t spelled = preferred.partCount < 4 ? preferred.partCount : 4;
    for (int32_t i = 0; i < spelled; ++i) {
        if (installed.parts[i] != preferred.parts[i]) return false;
    }
    return true;
}

bool isAnyVersion(const JavaVersion& version) {
    return allPartsEqual(version, 0) || allPartsEqual(version, 65535);
}

// Trailing parts that are 0 or the 65535 fill are left out, but at least two
// parts are printed.
std::string formatVersion(const JavaVersion& version) {
    int last = 3;
    while (last >= 0 && (version.parts[last] == 0 || version.parts[last] == 65535)) --last;
    if (last < 0) return "0.0.0.0";
    if (last == 0) last = 1;
    std::string text;
    for (int i = 0; i <= last; ++i) {
        if (i > 0) text += '.';
        text += std::to_string(version.parts[i]);
    }
    return text;
}

std::string versionRequirementText(const JavaVersion& minimum, const JavaVersion& maximum) {
    bool anyMinimum = isAnyVersion(minimum);
    bool anyMaximum = isAnyVersion(maximum);
    if (anyMinimum && anyMaximum) return loadText(IDS_LATEST_VERSION);
    if (anyMinimum) return formatText(loadText(IDS_MAXIMUM_VERSION).c_str(), formatVersion(maximum).c_str());
    if (anyMaximum) return formatText(loadText(IDS_MINIMUM_VERSION).c_str(), formatVersion(minimum).c_str());
    if (sameParts(minimum, maximum)) {
        return formatText(loadText(IDS_EXACT_VERSION).c_str(), formatVersion(minimum).c_str());
    }
    return formatText(loadText(IDS_VERSION_BETWEEN).c_str(), formatVersion(minimum).c_str(),
                      formatVersion(maximum).c_str());
}
