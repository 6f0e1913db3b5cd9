// Paths derived from the VM library: runtime folders, library path, search path.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "launcher_SjisStepper.h"
#include "vm/EnvironmentPaths.h"

namespace {

TEST(VmEnvStripPathLevels, RemovesTrailingComponents) {
    const struct {
        const char* path;
        int levels;
        const char* expected;
    } cases[] = {
        {"D:\\Java\\jre\\bin\\client\\jvm.dll", 3, "D:\\Java\\jre"},
        {"D:\\Java\\jre\\bin\\client\\jvm.dll", 2, "D:\\Java\\jre\\bin"},
        {"D:\\Java\\jre\\bin\\server\\jvm.dll", 3, "D:\\Java\\jre"},
        {"D:\\Java\\jre\\bin\\client\\jvm.dll", 0, "D:\\Java\\jre\\bin\\client\\jvm.dll"},
        {"bin\\client\\jvm.dll", 3, "bin"},  // stops once no '\' is left
        {"jvm.dll", 3, "jvm.dll"},
        {"", 2, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(stripPathLevels(c.path, c.levels), c.expected) << c.path << " -" << c.levels;
    }
}

TEST(VmEnvStripPathLevels, SkipsTrailBytesThatLookLikeBackslashes) {
    const std::string folder = "D:\\Java\\" SJIS_TRAIL_BACKSLASH;
    EXPECT_EQ(stripPathLevels(folder, 1, nextSjisChar), "D:\\Java");
    EXPECT_EQ(stripPathLevels(folder + "\\bin\\client\\jvm.dll", 3, nextSjisChar), folder);
}

TEST(VmEnvJoinPathList, AddsSeparatorsOnlyWhereMissing) {
    const struct {
        std::vector<std::string> pieces;
        const char* expected;
    } cases[] = {
        {{"D:\\Native;", "D:\\App\\", ".", "D:\\Windows", "D:\\Java\\jre\\lib"},
         "D:\\Native;D:\\App\\;.;D:\\Windows;D:\\Java\\jre\\lib"},
        {{"D:\\Native", "D:\\App\\", ".", "D:\\Windows;", "D:\\Java\\jre\\lib"},
         "D:\\Native;D:\\App\\;.;D:\\Windows;D:\\Java\\jre\\lib"},
        {{"D:\\Native;;", "D:\\App\\"}, "D:\\Native;;D:\\App\\"},  // existing separators are kept
        {{"", "D:\\App\\", "", "."}, "D:\\App\\;."},
        {{"D:\\App\\"}, "D:\\App\\"},
        {{}, ""},
        {{"", ""}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(joinPathList(c.pieces), c.expected);
    }
}

TEST(VmEnvJoinPathList, StepsOverDoubleByteEndings) {
    const std::string native = "D:\\" SJIS_TRAIL_BACKSLASH;
    EXPECT_EQ(joinPathList({native, "D:\\App\\"}, nextSjisChar), native + ";D:\\App\\");
    EXPECT_EQ(joinPathList({native + ";", "D:\\App\\"}, nextSjisChar), native + ";D:\\App\\");
}

TEST(VmEnvSearchPath, PutsConfiguredEntriesFirstAndRuntimeBinLast) {
    const char* bin = "D:\\Java\\jre\\bin";
    const struct {
        const char* systemPath;
        const char* expected;
    } cases[] = {
        {"", "%Path%;D:\\Java\\jre\\bin"},
        {"D:\\App\\bin", "D:\\App\\bin;%Path%;D:\\Java\\jre\\bin"},
        {"D:\\App\\bin;", "D:\\App\\bin;%Path%;D:\\Java\\jre\\bin"},  // no doubled ';'
        {"D:\\App\\" SJIS_TRAIL_BACKSLASH, "D:\\App\\" SJIS_TRAIL_BACKSLASH ";%Path%;D:\\Java\\jre\\bin"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(searchPathTemplate(c.systemPath, bin, nextSjisChar), c.expected) << c.systemPath;
    }
}

}  // namespace
