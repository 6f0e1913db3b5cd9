// Path derivations and value meanings of the configuration file.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "launcher/ConfigRules.h"
#include "launcher_SjisStepper.h"

namespace {

TEST(ConfigRulesTest, IniPathReplacesTheFileNameExtension) {
    const struct {
        const char* modulePath;
        bool ok;
        const char* iniPath;
    } cases[] = {
        {"D:\\Apps\\tool.exe", true, "D:\\Apps\\tool.ini"},
        {"D:\\Apps\\Viewer\\viewer.exe", true, "D:\\Apps\\Viewer\\viewer.ini"},
        {"D:\\My.Apps\\run.me.exe", true, "D:\\My.Apps\\run.me.ini"},
        // The last '.' of the whole path counts, also one in a folder name.
        {"D:\\My.Apps\\run", true, "D:\\My.ini"},
        {"D:\\Apps\\run", false, ""},
        {"run.exe", true, "run.ini"},
        {"D:\\Apps\\run.", true, "D:\\Apps\\run.ini"},
        {"", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.modulePath);
        std::string iniPath;
        EXPECT_EQ(deriveIniPath(c.modulePath, iniPath), c.ok);
        if (c.ok) EXPECT_EQ(iniPath, c.iniPath);
    }
}

TEST(ConfigRulesTest, UserCopyIsNamedAfterTheExecutable) {
    const struct {
        const char* modulePath;
        const char* fileName;
    } cases[] = {
        {"D:\\My.Apps\\run.me.exe", "run.me.ini"},
        {"D:\\My.Apps\\run", "run.ini"},
        {"D:\\Apps\\tool.exe", "tool.ini"},
        {"tool.exe", "tool.ini"},
        {"tool", "tool.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.modulePath);
        EXPECT_EQ(userIniFileName(c.modulePath), c.fileName);
    }
}

TEST(ConfigRulesTest, ProductNameLosesTheNineForbiddenCharacters) {
    const struct {
        const char* productName;
        const char* cleaned;
    } cases[] = {
        {"A/B:X*Y", "ABXY"},
        {"My App: Pro", "My App Pro"},
        {"\\?\"|><:/*", ""},
        {"a\\b?c\"d|e>f<g", "abcdefg"},
        {"{Plain-Name_1.0}", "{Plain-Name_1.0}"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.productName);
        EXPECT_EQ(cleanProductName(c.productName), c.cleaned);
    }
}

TEST(ConfigRulesTest, UserCopyPathJoinsItsFourPieces) {
    EXPECT_EQ(joinUserIniPath("E:\\Users\\u\\AppData\\Roaming", cleanProductName("My App: Pro"), "{A1B2}",
                              userIniFileName("D:\\Apps\\run.me.exe")),
              "E:\\Users\\u\\AppData\\Roaming\\My App Pro\\{A1B2}\\run.me.ini");
    // The product code is used exactly as written.
    EXPECT_EQ(joinUserIniPath("C:\\D", "P", "a:b*c", "x.ini"), "C:\\D\\P\\a:b*c\\x.ini");
}

TEST(ConfigRulesTest, PreferredVersionsAreCutAtEverySemicolon) {
    const struct {
        const char* text;
        std::vector<std::string> entries;
    } cases[] = {
        {"1.6;1.5", {"1.6", "1.5"}},
        {"1.6;", {"1.6", ""}},
        {";1.6", {"", "1.6"}},
        {"", {""}},
        {"1.6", {"1.6"}},
        {"1.6;;1.5", {"1.6", "", "1.5"}},
        {";", {"", ""}},
        {" 1.6 ; 1.5", {" 1.6 ", " 1.5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ArgumentList list;
        splitPreferredVersions(c.text, list);
        std::vector<std::string> entries;
        for (int i = 0; i < list.count(); ++i) entries.push_back(list.element(i));
        EXPECT_EQ(entries, c.entries);
    }
}

TEST(ConfigRulesTest, JvmTypeNeedsTheExactWord) {
    const struct {
        const char* value;
        int jvmType;
    } cases[] = {
        {"server", 1}, {"favor_server", 2}, {"", 0},          {"Server", 0},
        {"SERVER", 0}, {"server ", 0},      {"client", 0},    {"Favor_Server", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(parseJvmType(c.value), c.jvmType);
    }
}

TEST(ConfigRulesTest, JvmSourceSetsTheThreeFlags) {
    const struct {
        const char* value;
        bool favorBefore;
        bool favorSource, wantJdk, wantJre;
    } cases[] = {
        {"", true, true, false, false},
        {"", false, false, false, false},  // an empty value leaves favorSource alone
        {"favor_JRE", false, true, false, true},
        {"favor_JDK", false, true, true, false},
        {"only_JRE", true, false, false, true},
        {"only_JDK", true, false, true, false},
        {"favor_jre", true, false, false, false},
        {"both", true, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.value << "\" favorSource before " << c.favorBefore);
        bool favorSource = c.favorBefore, wantJdk = true, wantJre = true;
        applyJvmSource(c.value, favorSource, wantJdk, wantJre);
        EXPECT_EQ(favorSource, c.favorSource);
        EXPECT_EQ(wantJdk, c.wantJdk);
        EXPECT_EQ(wantJre, c.wantJre);
    }
}

TEST(ConfigRulesTest, YesIsAcceptedInAnyLetterCase) {
    const struct {
        const char* value;
        bool yes;
    } cases[] = {
        {"Yes", true}, {"YES", true}, {"yes", true},  {"yEs", true}, {"", false},
        {"Y", false},  {"Ye", false}, {"yes ", false}, {"no", false}, {"Yess", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(isYesIgnoringCase(c.value), c.yes);
    }
}

TEST(ConfigRulesTest, MainClassGetsSlashes) {
    const struct {
        const char* value;
        const char* slashed;
    } cases[] = {
        {"com.example.Main", "com/example/Main"},
        {"com/example/Main", "com/example/Main"},
        {"Main", "Main"},
        {"a..b.", "a//b/"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(slashedClassName(c.value), c.slashed);
    }
}

TEST(ConfigRulesTest, WorkingDirectoryIsTheExecutablesFolder) {
    const struct {
        const char* modulePath;
        bool ok;
        const char* folder;
    } cases[] = {
        {"D:\\Apps\\run.exe", true, "D:\\Apps"},
        {"D:\\My.Apps\\sub\\run.exe", true, "D:\\My.Apps\\sub"},
        // "E:" alone would name the drive's current directory, not its root.
        {"E:\\run.exe", true, "E:\\"},
        {"\\\\server\\share\\run.exe", true, "\\\\server\\share"},
        {"\\run.exe", false, ""},
        {"run.exe", false, ""},
        {"", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.modulePath);
        std::string folder = "unchanged";
        EXPECT_EQ(workingDirectoryOf(c.modulePath, folder), c.ok);
        EXPECT_EQ(folder, c.ok ? c.folder : "unchanged");
    }
}

TEST(ConfigRulesTest, ModuleFolderKeepsItsBackslash) {
    const struct {
        const char* modulePath;
        const char* folder;
    } cases[] = {
        {"D:\\Apps\\run.exe", "D:\\Apps\\"},
        {"E:\\run.exe", "E:\\"},
        {"run.exe", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.modulePath);
        EXPECT_EQ(moduleFolderOf(c.modulePath), c.folder);
    }
}

// In Shift-JIS the kanji 0x95 0x5C ends in the byte of '\' and the katakana
// 0x83 0x7C in that of '|'; neither may be taken for the separator.
TEST(ConfigRulesTest, DoubleByteTrailBytesAreNotSeparators) {
    const std::string exe = "D:\\Apps\\" SJIS_TRAIL_BACKSLASH "run.exe";
    const std::string folderExe = "D:\\" SJIS_TRAIL_BACKSLASH "\\run.exe";

    EXPECT_EQ(userIniFileName(exe, nextSjisChar), SJIS_TRAIL_BACKSLASH "run.ini");
    EXPECT_EQ(moduleFolderOf(exe, nextSjisChar), "D:\\Apps\\");
    EXPECT_EQ(moduleFolderOf(folderExe, nextSjisChar), "D:\\" SJIS_TRAIL_BACKSLASH "\\");

    std::string folder;
    ASSERT_TRUE(workingDirectoryOf(exe, folder, nextSjisChar));
    EXPECT_EQ(folder, "D:\\Apps");
    ASSERT_TRUE(workingDirectoryOf("D:\\" SJIS_TRAIL_BACKSLASH "run.exe", folder, nextSjisChar));
    EXPECT_EQ(folder, "D:\\");

    // Removing a trail byte would leave a lone lead byte that swallows the
    // '\' joined after the name.
    EXPECT_EQ(cleanProductName("A" SJIS_TRAIL_BACKSLASH "|" SJIS_TRAIL_PIPE ":", nextSjisChar),
              "A" SJIS_TRAIL_BACKSLASH SJIS_TRAIL_PIPE);
}

}  // namespace
