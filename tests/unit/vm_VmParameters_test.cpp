// VM parameter line: splitting, quotes, memory shares and the stack size.
#include <gtest/gtest.h>
#include <cstdint>
#include <string>
#include <vector>
#include "vm/VmParameters.h"

namespace {

constexpr uint64_t kOneGiB = 1073741824ull;
constexpr uint64_t kTwoGiB = 2147483648ull;
constexpr uint32_t kUntouched = 12345;  // vmStackSize before the line is applied

std::vector<std::string> elements(const ArgumentList& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.count(); ++i) out.push_back(list.element(i));
    return out;
}

struct NumberCase {
    const char* text;
    std::vector<uint32_t> numbers;
    size_t firstDigit;
};

TEST(VmNumberList, ReadsNumbersBeforeTheLastCharacter) {
    const NumberCase cases[] = {
        {"-Xmx40:256:1024p", {40, 256, 1024}, 4},
        {"-Xmx50::1024p", {50, 0, 1024}, 4},
        {"-Xmxp", {}, 5},
        {"512k", {512}, 0},
        {"7", {0}, 0},  // the last character is never part of a number
        {":512k", {0, 512}, 0},
        {"-Xmx1x2p", {12}, 4},  // other characters are skipped
        {"-Xmx4294967295p", {4294967295u}, 4},
        // Too many digits for 32 bits stay at UINT32_MAX instead of wrapping.
        {"-Xmx4294967296p", {4294967295u}, 4},
        {"-Xmx99999999999999999999:3p", {4294967295u, 3}, 4},
    };
    for (const NumberCase& c : cases) {
        NumberList list = parseNumberList(c.text);
        EXPECT_EQ(list.numbers, c.numbers) << c.text;
        EXPECT_EQ(list.firstDigit, c.firstDigit) << c.text;
    }
}

TEST(VmQuotes, RemovesPairsAndKeepsLoneQuotes) {
    const struct {
        const char* token;
        const char* expected;
    } cases[] = {
        {"-Dtitle=\"My App\"", "-Dtitle=My App"},
        {"\"abc\"\"", "abc\""},  // a doubled closing quote leaves one quote
        {"-Da=\"b", "-Da=\"b"},
        {"\"x\"y\"z\"", "xyz"},
        {"\"a\"\"b\"", "a\"b\""},  // the search goes on after the kept text
        {"\"\"", ""},
        {"plain", "plain"},
    };
    for (const auto& c : cases) {
        std::string token = c.token;
        removeQuotes(token);
        EXPECT_EQ(token, c.expected) << c.token;
    }
}

struct OptionCase {
    uint64_t memory;
    const char* token;
    const char* expected;
};

TEST(VmPercent, ResolvesShareOfPhysicalMemory) {
    const OptionCase cases[] = {
        {kTwoGiB, "-Xmx50p", "-Xmx1048576K"},
        {kTwoGiB, "-Xms25P", "-Xms524288K"},
        {kOneGiB, "-Xmx80:0:256p", "-Xmx262144K"},   // the maximum applies
        {kOneGiB, "-Xmx5:512p", "-Xmx524288K"},      // the minimum applies
        {kOneGiB, "-Xmx80:600:256p", "-Xmx614400K"}, // the minimum wins over the maximum
        {kOneGiB, "-Xmx50::1024p", "-Xmx524288K"},
        {kOneGiB, "-Xmxp", "-Xmxp0K"},
        {kOneGiB + 1023, "-Xmx100p", "-Xmx1048576K"},  // kilobytes are truncated
        // Not percentages: passed on as written.
        {kOneGiB, "-xmx50p", "-xmx50p"},
        {kOneGiB, "-Xmx512m", "-Xmx512m"},
        {kOneGiB, "-Dsize=50p", "-Dsize=50p"},
        // 60 % of 4 TiB is above INT32_MAX kilobytes: printed unsigned.
        {4398046511104ull, "-Xmx60p", "-Xmx2576980377K"},
        // Sizes beyond 32 bits saturate at 4294967295 K instead of wrapping:
        // a share of 8 TiB, a saturated percent, and a minimum of 5000000 MB.
        {8796093022208ull, "-Xmx100p", "-Xmx4294967295K"},
        {kOneGiB, "-Xmx99999999999p", "-Xmx4294967295K"},
        {kOneGiB, "-Xmx1:5000000p", "-Xmx4294967295K"},
        // A maximum of 5000000 MB saturates too and so bounds nothing here.
        {kOneGiB, "-Xmx100:0:5000000p", "-Xmx1048576K"},
        {kOneGiB, "-Xmx99999999999:0:256p", "-Xmx262144K"},
    };
    for (const OptionCase& c : cases) {
        ArgumentList list;
        uint32_t stack = kUntouched;
        applyVmParameter(c.token, c.memory, stack, list);
        ASSERT_EQ(list.count(), 1) << c.token;
        EXPECT_EQ(list.element(0), c.expected) << c.token;
        EXPECT_EQ(stack, kUntouched) << c.token;
    }
}

struct StackCase {
    const char* token;
    const char* passedOn;
    uint32_t stack;
};

TEST(VmStackSize, TakesUsableXssValues) {
    const StackCase cases[] = {
        {"-Xss512k", "-Xss512k", 524288},
        {"-Xss2M", "-Xss2M", 2097152},
        {"-Xss1g", "-Xss1g", 1073741824},
        {"-Xss1:0:8p", "-Xss8192K", 8388608},  // 1 % of 1 GiB is above the 8 MB maximum
        // Without a unit letter the whole number is bytes, last digit included.
        {"-Xss65536", "-Xss65536", 65536},
        {"-Xss7", "-Xss7", 7},
        // Unusable values leave the stack size alone.
        {"-Xss", "-Xss", kUntouched},
        {"-Xss:512k", "-Xss:512k", kUntouched},
        {"-Xssk", "-Xssk", kUntouched},
        {"-Xss:", "-Xss:", kUntouched},
        {"-Xss64:1k", "-Xss64:1k", kUntouched},
        {"-Xssx512k", "-Xssx512k", kUntouched},
        {"-xss512k", "-xss512k", kUntouched},
        // Products beyond 32 bits saturate at 4294967295 bytes.
        {"-Xss4g", "-Xss4g", 4294967295u},
        {"-Xss99999999999k", "-Xss99999999999k", 4294967295u},
        {"-Xss99999999999", "-Xss99999999999", 4294967295u},
    };
    for (const StackCase& c : cases) {
        ArgumentList list;
        uint32_t stack = kUntouched;
        applyVmParameter(c.token, kOneGiB, stack, list);
        ASSERT_EQ(list.count(), 1) << c.token;
        EXPECT_EQ(list.element(0), c.passedOn) << c.token;
        EXPECT_EQ(stack, c.stack) << c.token;
    }
}

struct LineCase {
    const char* line;
    std::vector<std::string> options;
    uint32_t stack;
};

TEST(VmParameterLine, SplitsAtSpacesOutsideQuotes) {
    const LineCase cases[] = {
        {"-Dtitle=\"My App\" -Xmx256m  -Dx=1", {"-Dtitle=My App", "-Xmx256m", "-Dx=1"}, kUntouched},
        {"-Da=\"b c", {"-Da=\"b", "c"}, kUntouched},  // a lone quote protects nothing
        {"\"abc\"\" x", {"abc\"", "x"}, kUntouched},
        {"-Dp=\"a b\"c\" d", {"-Dp=a bc\"", "d"}, kUntouched},
        {"-Da\t-Db", {"-Da\t-Db"}, kUntouched},  // only the space separates
        {"-Dx=1   ", {"-Dx=1"}, kUntouched},
        {"", {}, kUntouched},
        // Leading spaces never produce an empty option for the VM to refuse.
        {"   ", {}, kUntouched},
        {"  -Xmx1g", {"-Xmx1g"}, kUntouched},
        {"-Xmx50p -Xss1:0:8p", {"-Xmx524288K", "-Xss8192K"}, 8388608},
        {"-Xss512k -Xss2m -Xssk", {"-Xss512k", "-Xss2m", "-Xssk"}, 2097152},  // last usable wins
    };
    for (const LineCase& c : cases) {
        ArgumentList list;
        uint32_t stack = kUntouched;
        parseVmParameters(c.line, kOneGiB, stack, list);
        EXPECT_EQ(elements(list), c.options) << '[' << c.line << ']';
        EXPECT_EQ(stack, c.stack) << '[' << c.line << ']';
    }
}

}  // namespace
