// Version values: parsing, ordering, preferred matching, printing and the
// requirement sentence.
#include <gtest/gtest.h>
#include <climits>
#include <string>
#include "jre_VersionValues.h"
#include "jre/JavaVersion.h"

namespace {


// A configured bound as the configuration loader makes it: exactly "any" is
// the open bound, everything else is parsed with the bound's fill.
JavaVersion bound(const char* text, int32_t fill) {
    if (std::string(text) == "any") return fill == 0 ? parts(0, 0, 0, 0) : parts(M, M, M, M);
    return parsed(text, fill);
}

struct ParseCase {
    const char* text;
    int32_t fill;
    bool ok;
    int32_t parts[4];
    int32_t partCount;
};

class VersionParse : public testing::TestWithParam<ParseCase> {};

TEST_P(VersionParse, ReadsDigitGroups) {
    const ParseCase& c = GetParam();
    JavaVersion version;
    version.parts[0] = 99;  // stale content must not survive
    version.partCount = 3;
    EXPECT_EQ(parseVersion(c.text, c.fill, version), c.ok);
    EXPECT_EQ(version.parts[0], c.parts[0]);
    EXPECT_EQ(version.parts[1], c.parts[1]);
    EXPECT_EQ(version.parts[2], c.parts[2]);
    EXPECT_EQ(version.parts[3], c.parts[3]);
    EXPECT_EQ(version.partCount, c.partCount);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, VersionParse,
    testing::Values(
        ParseCase{"1.6.0_03", 0, true, {1, 6, 0, 3}, 4},
        ParseCase{"1.6.0-b105", 0, true, {1, 6, 0, 105}, 4},
        ParseCase{"jdk1.5", 0, true, {1, 5, 0, 0}, 2},
        ParseCase{"jdk1.5", M, true, {1, 5, M, M}, 2},
        ParseCase{"1.2.3.4.5", 0, true, {1, 2, 3, 4}, 5},
        ParseCase{"1.2.3.4.5.6", M, true, {1, 2, 3, 4}, 5},
        ParseCase{"1.6", 0, true, {1, 6, 0, 0}, 2},
        ParseCase{"1.6", M, true, {1, 6, M, M}, 2},
        ParseCase{"17", M, true, {17, M, M, M}, 1},
        ParseCase{"1.6.", 0, true, {1, 6, 0, 0}, 2},
        ParseCase{" v1 -- 2 __ 3", 0, true, {1, 2, 3, 0}, 3},
        ParseCase{"007.010", 0, true, {7, 10, 0, 0}, 2},
        // Bytes of 0x80 and above are separators, never digits.
        ParseCase{"1\xb2" "6", 0, true, {1, 6, 0, 0}, 2},
        ParseCase{"2147483647", 0, true, {INT32_MAX, 0, 0, 0}, 1},
        ParseCase{"2147483648.1", 0, true, {INT32_MAX, 1, 0, 0}, 2},
        ParseCase{"99999999999999999999.2", 0, true, {INT32_MAX, 2, 0, 0}, 2},
        ParseCase{"", M, false, {0, 0, 0, 0}, 0},
        ParseCase{"abc", M, false, {0, 0, 0, 0}, 0},
        ParseCase{"any", 0, false, {0, 0, 0, 0}, 0},
        ParseCase{"Any", M, false, {0, 0, 0, 0}, 0}));

TEST(JavaVersionTest, NullTextFailsLikeEmptyText) {
    JavaVersion version = parts(1, 2, 3, 4);
    EXPECT_FALSE(parseVersion(nullptr, 0, version));
    EXPECT_EQ(compareVersions(version, JavaVersion()), 0);
    EXPECT_EQ(version.partCount, 0);
}

TEST(JavaVersionTest, ComparesPartsAsSignedNumbers) {
    const struct {
        JavaVersion a, b;
        int result;
    } cases[] = {
        {parsed("1.6"), parsed("1.6.0"), 0},
        {parsed("1.10"), parsed("1.9"), 1},
        {parsed("1.9"), parsed("1.10"), -1},
        {parsed("1.6.0_03"), parsed("1.6", M), -1},
        {parsed("1.6", M), parsed("1.6.0_03"), 1},
        {parsed("1.5.0_10"), parsed("1.4", M), 1},
        {parsed("1.2.3.4.5"), parsed("1.2.3.4"), 0},
        {parts(0, 0, 0, 1), parts(0, 0, 0, 2), -1},
        {parts(-1, 0, 0, 0), parts(0, 0, 0, 0), -1},
        {parts(INT32_MAX, 0, 0, 0), parts(M, 0, 0, 0), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(formatVersion(c.a) + " vs " + formatVersion(c.b));
        EXPECT_EQ(compareVersions(c.a, c.b), c.result);
        EXPECT_EQ(sameParts(c.a, c.b), c.result == 0);
    }
}

TEST(JavaVersionTest, PreferredMatchesByLeadingParts) {
    const struct {
        const char* installed;
        const char* preferred;
        bool matches;
    } cases[] = {
        {"1.6.0_03", "1.6", true},
        {"1.6", "1.6.0", true},  // equal after filling
        {"1.6", "1.6.0_03", false},
        {"1.5.0_06", "1.6", false},
        {"1.6.0_03", "1", true},
        {"1.6.1", "1.6.0", false},
        {"1.6.0_03", "1.6.0_03", true},
        {"1.6.0_03", "1.6.0_02", false},
        {"1.2.3.4.5", "1.2.3.4", true},
        {"1.2.3.4", "1.2.3.4.5", true},     // all four parts agree
        {"1.2.3.4.9", "1.2.3.4.5", true},   // the fifth group is not kept
        {"1.2.3.5", "1.2.3.4.5", false},
        {"1.6", "", false},       // no digits: only an all-zero version matches
        {"none", "", true},
        {"none", "1.6", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("installed ") + c.installed + ", preferred " + c.preferred);
        EXPECT_EQ(matchesPreferred(parsed(c.installed), parsed(c.preferred)), c.matches);
    }
}

TEST(JavaVersionTest, AnyVersionIsAllZeroOrAllMaximum) {
    const struct {
        JavaVersion version;
        bool any;
    } cases[] = {
        {parts(0, 0, 0, 0), true},   {parts(M, M, M, M), true},  {JavaVersion(), true},
        {parts(0, 0, 0, M), false},  {parts(M, M, M, 0), false}, {parsed("1.6", M), false},
        {parsed("0.0.0.1"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.version.parts[0] << "." << c.version.parts[1] << "."
                                        << c.version.parts[2] << "." << c.version.parts[3]);
        EXPECT_EQ(isAnyVersion(c.version), c.any);
    }
}

TEST(JavaVersionTest, FormatDropsUnsetTrailingParts) {
    const struct {
        JavaVersion version;
        const char* text;
    } cases[] = {
        {parts(1, 5, 0, 0), "1.5"},
        {parts(2, 0, 0, 0), "2.0"},
        {parts(1, M, M, M), "1.65535"},
        {parts(1, 6, 0, 3), "1.6.0.3"},
        {parts(0, 0, 0, 0), "0.0.0.0"},
        {parts(M, M, M, M), "0.0.0.0"},
        {parts(1, 0, M, 2), "1.0.65535.2"},
        {parts(1, 6, 2, M), "1.6.2"},
        {parts(0, 0, 0, 7), "0.0.0.7"},
        {parts(0, 5, 0, 0), "0.5"},
        {parts(17, M, M, M), "17.65535"},
        {parts(-1, 0, 0, 0), "-1.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatVersion(c.version), c.text);
    }
}

TEST(JavaVersionTest, RequirementSentenceNamesTheBounds) {
    const struct {
        const char* minimum;
        const char* maximum;
        const char* sentence;
    } cases[] = {
        {"1.5", "any", "minimum version 1.5"},
        {"any", "any", "latest version"},
        {"any", "1.6", "maximum version 1.6"},
        {"any", "1.6.0.3", "maximum version 1.6.0.3"},
        // The fills differ (1.6.0.0 and 1.6.65535.65535), so this is a range.
        {"1.6", "1.6", "version between 1.6 and 1.6"},
        {"1.6.0.3", "1.6.0.3", "version 1.6.0.3 is required"},
        {"1.5", "1.6.0_10", "version between 1.5 and 1.6.0.10"},
        // Absent keys read as empty and leave both bounds at 0.0.0.0.
        {"", "", "latest version"},
        {"1.5", "", "minimum version 1.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("minimum \"") + c.minimum + "\", maximum \"" + c.maximum + "\"");
        EXPECT_EQ(versionRequirementText(bound(c.minimum, 0), bound(c.maximum, M)), c.sentence);
    }
}

}  // namespace
