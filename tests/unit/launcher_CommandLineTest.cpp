// Splitting the command line: only blanks separate, quotes open arguments,
// no escapes, program name dropped.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "launcher/CommandLine.h"

namespace {

std::vector<std::string> split(const char* commandLine) {
    ArgumentList list;
    splitCommandLineText(commandLine, list);
    std::vector<std::string> arguments;
    for (int i = 0; i < list.count(); ++i) arguments.push_back(list.element(i));
    return arguments;
}

struct SplitCase {
    const char* commandLine;
    std::vector<std::string> arguments;
};

class CommandLineSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineSplit, GivesTheArgumentsAfterTheProgramName) {
    EXPECT_EQ(split(GetParam().commandLine), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CommandLineSplit,
    testing::Values(
        SplitCase{"\"D:\\Apps\\Viewer\\viewer.exe\" -nosplash file.txt", {"-nosplash", "file.txt"}},
        SplitCase{"viewer.exe a  b", {"a", "b"}},
        SplitCase{"viewer.exe \"two words\"", {"two words"}},
        SplitCase{"viewer.exe \"\"", {""}},
        SplitCase{"viewer.exe \"open end", {"open end"}},
        SplitCase{"viewer.exe \"", {""}},
        SplitCase{"viewer.exe a\"b c\"", {"a\"b", "c\""}},
        SplitCase{"viewer.exe \"a b\"c", {"a b", "c"}},
        SplitCase{"viewer.exe \"D:\\dir\\\" next", {"D:\\dir\\", "next"}},
        SplitCase{"viewer.exe\tx", {}},
        SplitCase{"D:\\My Apps\\viewer.exe x", {"Apps\\viewer.exe", "x"}},
        SplitCase{"   ", {}},
        SplitCase{"", {}},
        // White space around the whole line goes; inside it only blanks split.
        SplitCase{" \t viewer.exe a \t\r\n", {"a"}},
        SplitCase{"viewer.exe \"a\tb\" c\td", {"a\tb", "c\td"}},
        SplitCase{"viewer.exe \"\"\"\"", {"", ""}},
        SplitCase{"viewer.exe a\\\"b", {"a\\\"b"}},
        SplitCase{"\"viewer.exe\"a", {"a"}},
        SplitCase{"viewer.exe", {}}));

TEST(CommandLineTest, NullCommandLineGivesNoArguments) {
    EXPECT_TRUE(split(nullptr).empty());
}

TEST(CommandLineTest, AppendsAfterElementsAlreadyInTheList) {
    ArgumentList list;
    list.append("kept");
    splitCommandLineText("viewer.exe a", list);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.element(0), "kept");
    EXPECT_EQ(list.element(1), "a");
}

TEST(CommandLineTest, FindsSplashSwitchOnlyAsAWholeArgument) {
    const struct {
        const char* commandLine;
        int index;
    } cases[] = {
        {"viewer.exe -nosplash", 0},
        {"viewer.exe file.txt -nosplash", 1},
        {"viewer.exe -NoSplash", -1},
        {"viewer.exe -nosplashx", -1},
        {"viewer.exe \" -nosplash\"", -1},
        {"-nosplash", -1},  // the program name is not an argument
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine);
        ArgumentList list;
        splitCommandLineText(c.commandLine, list);
        EXPECT_EQ(list.findArgument("-nosplash"), c.index);
    }
}

}  // namespace
