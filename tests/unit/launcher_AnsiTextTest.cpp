// Character-wise scans over single-byte and Shift-JIS text.
#include <gtest/gtest.h>
#include <string>
#include "launcher/AnsiText.h"
#include "launcher_SjisStepper.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

const size_t npos = std::string::npos;

struct FindCase {
    const char* name;
    std::string text;
    char c;
    NextCharFn next;
    size_t first;  // findAnsiChar from 0
    size_t last;   // findLastAnsiChar
};

TEST(AnsiTextTest, FindsFirstAndLastCharacter) {
    const FindCase cases[] = {
        {"two dots", "a.b.c", '.', nextAnsiChar, 1, 3},
        {"absent", "abc", '.', nextAnsiChar, npos, npos},
        {"empty text", "", '.', nextAnsiChar, npos, npos},
        {"at both ends", "\\a\\", '\\', nextAnsiChar, 0, 2},
        {"beyond an embedded NUL", std::string("a\0\\b", 4), '\\', nextAnsiChar, 2, 2},
        // The trail byte of the kanji is 0x5C and must not be found.
        {"trail byte only", "D" SJIS_TRAIL_BACKSLASH "x", '\\', nextSjisChar, npos, npos},
        {"trail byte before a real one", "D:" SJIS_TRAIL_BACKSLASH "\\x", '\\', nextSjisChar, 4, 4},
        {"real one before a trail byte", "D:\\" SJIS_TRAIL_BACKSLASH "x", '\\', nextSjisChar, 2, 2},
        {"trail byte '|'", "a" SJIS_TRAIL_PIPE "|", '|', nextSjisChar, 3, 3},
        // A lead byte as the last byte must not carry the scan past the end.
        {"lead byte at the end", "\\\x95", '\\', nextSjisChar, 0, 0},
        {"lead byte before an embedded NUL", std::string("\x95\0\\", 3), '\\', nextSjisChar, 2, 2},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(findAnsiChar(c.text, c.c, 0, c.next), c.first);
        EXPECT_EQ(findLastAnsiChar(c.text, c.c, c.next), c.last);
    }
}

TEST(AnsiTextTest, FindStartsAtTheGivenOffset) {
    const std::string text = "a;b;c";
    EXPECT_EQ(findAnsiChar(text, ';', 1), 1u);
    EXPECT_EQ(findAnsiChar(text, ';', 2), 3u);
    EXPECT_EQ(findAnsiChar(text, ';', 4), npos);
    EXPECT_EQ(findAnsiChar(text, ';', 5), npos);
    EXPECT_EQ(findAnsiChar(text, ';', 99), npos);
}

TEST(AnsiTextTest, CharacterLengthFollowsTheStepper) {
    const std::string text = "a" SJIS_TRAIL_BACKSLASH "\x95";
    EXPECT_EQ(ansiCharLength(text, 0, nextSjisChar), 1u);
    EXPECT_EQ(ansiCharLength(text, 1, nextSjisChar), 2u);
    EXPECT_EQ(ansiCharLength(text, 3, nextSjisChar), 1u);  // lone lead byte at the end
}

TEST(AnsiTextTest, ClassifiesWhiteSpace) {
    const struct {
        const char* text;
        bool space;
    } cases[] = {
        {" ", true}, {"\t", true}, {"\r", true}, {"\n", true}, {"\v", true}, {"\f", true},
        {"a", false}, {"\"", false}, {"0", false}, {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        EXPECT_EQ(isAnsiSpace(c.text), c.space);
    }
}

TEST(AnsiTextTest, ComparesCaseSensitively) {
    const struct {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"-nosplash", "-nosplash", true},
        {"", "", true},
        {"-nosplash", "-NoSplash", false},
        {"-nosplash", "-nosplash ", false},
        {"-nosplash", "-nospla", false},
        {"", " ", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(sameText(c.a, c.b), c.same);
    }
}

#ifdef _WIN32
// The platform stepper itself under a double-byte ANSI code page; the CI
// runs these tests once more under a Japanese locale to reach this.
TEST(AnsiTextTest, PlatformStepperKeepsDoubleByteCharactersTogether) {
    if (GetACP() != 932) GTEST_SKIP() << "ANSI code page is " << GetACP() << ", not 932";
    const char text[] = SJIS_TRAIL_BACKSLASH "x";
    EXPECT_EQ(nextAnsiChar(text), text + 2);
    EXPECT_EQ(findLastAnsiChar("D:\\" SJIS_TRAIL_BACKSLASH, '\\'), 2u);
    EXPECT_EQ(findAnsiChar("a" SJIS_TRAIL_PIPE "|", '|'), 3u);
    EXPECT_TRUE(isAnsiSpace("\x81\x40"));  // ideographic space
}
#endif

}  // namespace
