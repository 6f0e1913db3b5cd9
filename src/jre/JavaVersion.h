// Version values of Java runtimes and version requirements.
#pragma once
#include <cstdint>
#include <string>

struct JavaVersion {
    int32_t parts[4] = {0, 0, 0, 0};  // most significant first: 1.6.0_03 is 1, 6, 0, 3
    int32_t partCount = 0;            // digit groups found, 0..5 (5: a fifth group followed)
};

// Parses a version text; parts not spelled out take fill. On failure (no
// digit) the value is all zero with partCount 0 and the result is false.
// Digit runs too long for 32 bits saturate at INT32_MAX.
bool parseVersion(const char* text, int32_t fill, JavaVersion& version);

// -1, 0 or 1 by the four parts as signed numbers; partCount plays no part.
int compareVersions(const JavaVersion& a, const JavaVersion& b);

bool sameParts(const JavaVersion& a, const JavaVersion& b);

// True when installed begins with the parts that preferred spells out, or
// when both agree in all four parts.
bool matchesPreferred(const JavaVersion& installed, const JavaVersion& preferred);

// All four parts 0, or all four 65535: a bound that is not set.
bool isAnyVersion(const JavaVersion& version);

// 1.5.0.0 prints as 1.5, 1.6.0.3 as 1.6.0.3; all 0 or all 65535 as 0.0.0.0.
std::string formatVersion(const JavaVersion& version);

// The phrase that tells the user which versions are acceptable (strings 217-221).
std::string versionRequirementText(const JavaVersion& minimum, const JavaVersion& maximum);
