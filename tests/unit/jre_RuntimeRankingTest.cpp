// Range filter, "JavaHome" folders, ranking and choice among registered
// runtimes.
#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "jre_VersionValues.h"
#include "jre/RuntimeRanking.h"
#include "launcher_SjisStepper.h"

namespace {

// Candidates are labelled through their folder so that orders read easily.
RuntimeCandidate candidate(const char* label, const char* version, bool server = false, bool preferredKind = false) {
    RuntimeCandidate c;
    c.version = parsed(version);
    c.folder = label;
    c.isServerVm = server;
    c.isPreferredKind = preferredKind;
    return c;
}

std::vector<std::string> labels(const std::vector<RuntimeCandidate>& candidates) {
    std::vector<std::string> result;
    for (const RuntimeCandidate& c : candidates) result.push_back(c.folder);
    return result;
}

ArgumentList entries(const std::vector<std::string>& texts) {
    ArgumentList list;
    for (const std::string& text : texts) list.append(text);
    return list;
}

TEST(RuntimeRankingTest, VersionRangeIncludesBothBounds) {
    const struct {
        const char* version;
        const char* minimum;  // parsed with fill 0
        const char* maximum;  // parsed with fill 65535
        bool inRange;
    } cases[] = {
        {"1.6.0_03", "1.6", "1.6", true},
        {"1.6", "1.6.0_03", "1.7", false},
        {"1.5.0_10", "1.5", "1.7", true},
        {"1.5.0_10", "1.5", "1.4", false},
        {"1.5", "1.5", "1.5.0.0", true},         // equal to both bounds
        {"1.5.0_01", "1.5", "1.5.0.0", false},
        {"1.6.0_05", "1.6.0_05", "1.6.0_05", true},
        {"1.6", "", "", false},                  // no maximum configured
        {"1.6", "", "Any", false},            // not the word "any": no runtime
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.version) + " in [" + c.minimum + ", " + c.maximum + "]");
        EXPECT_EQ(versionInRange(parsed(c.version), parsed(c.minimum, 0), parsed(c.maximum, M)), c.inRange);
    }
}

TEST(RuntimeRankingTest, FolderFromJavaHomeData) {
    const struct {
        const char* name;
        std::string data;  // exactly the bytes the registry returned
        bool developmentKit;
        const char* folder;
    } cases[] = {
        {"runtime", std::string("C:\\Java\\jre6\0", 13), false, "C:\\Java\\jre6\\"},
        {"runtime with backslash", std::string("C:\\Java\\jre6\\\0", 14), false, "C:\\Java\\jre6\\"},
        {"kit", std::string("C:\\Java\\jdk6\0", 13), true, "C:\\Java\\jdk6\\jre\\"},
        {"kit with backslash", std::string("C:\\Java\\jdk6\\\0", 14), true, "C:\\Java\\jdk6\\jre\\"},
        {"no NUL", "C:\\Java\\jre6", false, "C:\\Java\\jre6\\"},
        {"embedded NUL", std::string("C:\\A\0C:\\B", 9), false, "C:\\A\\"},
        {"double NUL (REG_MULTI_SZ)", std::string("C:\\A\0\0", 6), true, "C:\\A\\jre\\"},
        {"empty value", std::string("\0", 1), false, "\\"},
        {"empty kit value", std::string("\0", 1), true, "\\jre\\"},
        {"no data", "", false, "\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A heap block of exactly the data's size, so that a read past it is
        // a read outside the allocation.
        std::unique_ptr<char[]> block(new char[c.data.size() + (c.data.empty() ? 1 : 0)]);
        std::memcpy(block.get(), c.data.data(), c.data.size());
        EXPECT_EQ(runtimeFolderFromJavaHome(block.get(), c.data.size(), c.developmentKit), c.folder);
    }
}

TEST(RuntimeRankingTest, FolderFromJavaHomeReadsNoFurtherThanSize) {
    const char data[] = "C:\\Java\\jre6XYZ";
    EXPECT_EQ(runtimeFolderFromJavaHome(data, 12, false), "C:\\Java\\jre6\\");
    EXPECT_EQ(runtimeFolderFromJavaHome(data, 0, true), "\\jre\\");
    EXPECT_EQ(runtimeFolderFromJavaHome(nullptr, 0, false), "\\");
}

// A folder whose name ends in the kanji 0x95 0x5C does not end with '\'.
TEST(RuntimeRankingTest, FolderEndingInATrailByteGetsItsBackslash) {
    const std::string data = "C:\\" SJIS_TRAIL_BACKSLASH;
    EXPECT_EQ(runtimeFolderFromJavaHome(data.data(), data.size(), false, nextSjisChar),
              "C:\\" SJIS_TRAIL_BACKSLASH "\\");
    EXPECT_EQ(runtimeFolderFromJavaHome(data.data(), data.size(), true, nextSjisChar),
              "C:\\" SJIS_TRAIL_BACKSLASH "\\jre\\");
}

struct RankCase {
    const char* name;
    bool favorSource;
    int jvmType;
    std::vector<RuntimeCandidate> collected;
    std::vector<std::string> ranked;
};

TEST(RuntimeRankingTest, RanksByKindThenServerThenVersion) {
    const RankCase cases[] = {
        {"newest first", true, 0,
         {candidate("1.5", "1.5.0_12"), candidate("1.6.0_02", "1.6.0_02"), candidate("1.6.0_05", "1.6.0_05")},
         {"1.6.0_05", "1.6.0_02", "1.5"}},
        {"favor_JRE puts runtime environments first", true, 0,
         {candidate("jdk1.6", "1.6", false, false), candidate("jre1.5", "1.5", false, true),
          candidate("jre1.4", "1.4", false, true)},
         {"jre1.5", "jre1.4", "jdk1.6"}},
        {"only_JRE ignores the kind flag", false, 0,
         {candidate("jdk1.6", "1.6", false, false), candidate("jre1.5", "1.5", false, true)},
         {"jdk1.6", "jre1.5"}},
        {"favor_server puts a server kit above a newer client runtime", true, 2,
         {candidate("jdk1.5-server", "1.5", true), candidate("jre1.6-client", "1.6", false)},
         {"jdk1.5-server", "jre1.6-client"}},
        {"server flag counts only for favor_server", true, 1,
         {candidate("jdk1.5-server", "1.5", true), candidate("jre1.6-client", "1.6", false)},
         {"jre1.6-client", "jdk1.5-server"}},
        {"kind outranks server", true, 2,
         {candidate("jdk-server", "1.6", true, false), candidate("jre-client", "1.5", false, true)},
         {"jre-client", "jdk-server"}},
        {"equal versions keep collection order", true, 0,
         {candidate("jdk", "1.6.0_03"), candidate("old", "1.4"), candidate("jre", "1.6.0_03"),
          candidate("jre-b", "1.6.0_03")},
         {"jdk", "jre", "jre-b", "old"}},
        {"1.6 and 1.6.0 are equal", true, 0,
         {candidate("a", "1.6"), candidate("b", "1.6.0"), candidate("c", "1.6.0.0")},
         {"a", "b", "c"}},
        {"single candidate", false, 2, {candidate("only", "1.6")}, {"only"}},
        {"no candidates", true, 2, {}, {}},
    };
    for (const RankCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<RuntimeCandidate> candidates = c.collected;
        rankCandidates(candidates, c.favorSource, c.jvmType);
        EXPECT_EQ(labels(candidates), c.ranked);
    }
}

// The ranking is defined by an exchange sort of neighbours with as many
// passes as elements, swapping only when the later one must come first.
void exchangeSort(std::vector<RuntimeCandidate>& list, bool favorSource, int jvmType) {
    auto mustPrecede = [&](const RuntimeCandidate& later, const RuntimeCandidate& earlier) {
        if (favorSource && later.isPreferredKind != earlier.isPreferredKind) return later.isPreferredKind;
        if (jvmType == 2 && later.isServerVm != earlier.isServerVm) return later.isServerVm;
        return compareVersions(later.version, earlier.version) > 0;
    };
    for (size_t pass = 0; pass < list.size(); ++pass) {
        for (size_t i = 0; i + 1 < list.size(); ++i) {
            if (mustPrecede(list[i + 1], list[i])) std::swap(list[i], list[i + 1]);
        }
    }
}

TEST(RuntimeRankingTest, RankingEqualsTheExchangeSort) {
    uint32_t seed = 12345;
    auto random = [&seed](uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % range;
    };
    const char* versions[] = {"1.4.2", "1.5", "1.5.0_12", "1.6", "1.6.0", "1.6.0_05", "1.7"};
    for (int round = 0; round < 300; ++round) {
        std::vector<RuntimeCandidate> list;
        size_t size = random(40);
        for (size_t i = 0; i < size; ++i) {
            list.push_back(candidate(std::to_string(i).c_str(), versions[random(7)], random(2) == 1, random(2) == 1));
        }
        bool favorSource = random(2) == 1;
        int jvmType = static_cast<int>(random(3));
        std::vector<RuntimeCandidate> expected = list;
        exchangeSort(expected, favorSource, jvmType);
        rankCandidates(list, favorSource, jvmType);
        ASSERT_EQ(labels(list), labels(expected)) << "round " << round;
    }
}

TEST(RuntimeRankingTest, ChoosesByPreferredVersionsThenRanking) {
    const struct {
        const char* name;
        std::vector<RuntimeCandidate> collected;
        bool favorSource;
        std::vector<std::string> preferred;
        const char* chosen;
    } cases[] = {
        {"first preferred entry wins over newer",
         {candidate("1.6.0_02", "1.6.0_02"), candidate("1.6.0_05", "1.6.0_05"), candidate("1.5.0_12", "1.5.0_12")},
         true, {"1.5", "1.6"}, "1.5.0_12"},
        {"second entry picks the newest match",
         {candidate("1.6.0_02", "1.6.0_02"), candidate("1.6.0_05", "1.6.0_05")}, true, {"1.5", "1.6"}, "1.6.0_05"},
        {"no match gives the first ranked",
         {candidate("1.5.0_12", "1.5.0_12"), candidate("1.6.0_05", "1.6.0_05")}, true, {"1.4"}, "1.6.0_05"},
        {"empty entry of an absent key",
         {candidate("1.5.0_12", "1.5.0_12"), candidate("1.6.0_05", "1.6.0_05")}, true, {""}, "1.6.0_05"},
        {"no entries", {candidate("1.5", "1.5"), candidate("1.6", "1.6")}, true, {}, "1.6"},
        {"preferred entry outranks the kind",
         {candidate("jdk1.6", "1.6", false, true), candidate("jre1.5", "1.5", false, false)}, true, {"1.5"},
         "jre1.5"},
        {"same version as kit and runtime resolves to the kit",
         {candidate("jdk", "1.6.0_03"), candidate("jre", "1.6.0_03")}, true, {"1.6"}, "jdk"},
        {"same version without preferred entries",
         {candidate("jdk", "1.6.0_03"), candidate("jre", "1.6.0_03")}, true, {}, "jdk"},
        {"later entries are only tried when earlier ones match nothing",
         {candidate("1.6.0_05", "1.6.0_05"), candidate("1.5.0_12", "1.5.0_12")}, true, {"1.4", "1.6", "1.5"},
         "1.6.0_05"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<RuntimeCandidate> candidates = c.collected;
        rankCandidates(candidates, c.favorSource, 0);
        EXPECT_EQ(chooseCandidate(candidates, entries(c.preferred)).folder, c.chosen);
    }
}

}  // namespace
