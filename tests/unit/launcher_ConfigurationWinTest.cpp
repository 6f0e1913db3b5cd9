// The configuration glue with the real profile functions: the test program's
// own configuration file (unit_tests.ini beside it) and its per-user copy.
#ifdef _WIN32
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "launcher/win/Configuration.h"
#include "launcher/win/Launcher.h"

namespace {

std::string modulePath() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

std::string appDataFolder() {
    char path[MAX_PATH] = {};
    EXPECT_TRUE(SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, FALSE));
    return path;
}

bool folderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void writeFile(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

// Writes the test program's configuration file and removes it afterwards.
class ConfigurationFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string module = modulePath();
        iniPath = module.substr(0, module.rfind('.')) + ".ini";
    }
    void TearDown() override {
        DeleteFileA(iniPath.c_str());
        if (!userCopy.empty()) {
            DeleteFileA(userCopy.c_str());
            RemoveDirectoryA(userCopy.substr(0, userCopy.rfind('\\')).c_str());
            RemoveDirectoryA(productFolder.c_str());
        }
    }
    // A per-user copy for a product of this test's own.
    void writeUserCopy(Launcher& launcher, const std::string& text) {
        launcher.productName = "Qx Unit: Test";
        launcher.productCode = "{C0DE}";
        productFolder = appDataFolder() + "\\Qx Unit Test";
        userCopy = getUserIniPath(launcher, true);
        writeFile(userCopy, text);
    }

    std::string iniPath;
    std::string userCopy;
    std::string productFolder;
};

TEST_F(ConfigurationFile, PerUserCopyFoldersAreCreatedOnlyWhenAsked) {
    Launcher launcher;
    launcher.productName = "Qx A/B:X*Y";
    launcher.productCode = "{A1B2}";
    std::string product = appDataFolder() + "\\Qx ABXY";
    std::string expected = product + "\\{A1B2}\\unit_tests.ini";

    EXPECT_EQ(getUserIniPath(launcher, false), expected);
    EXPECT_FALSE(folderExists(product));

    EXPECT_EQ(getUserIniPath(launcher, true), expected);
    EXPECT_TRUE(folderExists(product + "\\{A1B2}"));
    RemoveDirectoryA((product + "\\{A1B2}").c_str());
    RemoveDirectoryA(product.c_str());
}

TEST_F(ConfigurationFile, LoadsEveryStartUpSetting) {
    std::string longValue(300, 'x');
    longValue += "-end";
    writeFile(iniPath,
              "[Java Runtime Environment]\r\n"
              "Main Class=com.example.Main\r\n"
              "Minimum Version=1.5\r\n"
              "Maximum Version=any\r\n"
              "Preferred versions=1.6;;1.5\r\n"
              "JRE Path=D:\\Java\\jre\r\n"
              "JVM Type=favor_server\r\n"
              "JVM Source=only_JDK\r\n"
              "System Path=D:\\App\\bin\r\n"
              "Library Path=" + longValue + "\r\n"
              "[Application]\r\n"
              "Failure Check=YES\r\n"
              "Override WorkingDir=no\r\n");
    Launcher launcher;
    ASSERT_TRUE(loadConfiguration(launcher));

    EXPECT_EQ(launcher.mainClass, "com/example/Main");
    EXPECT_EQ(launcher.minimumVersion.parts[1], 5);
    EXPECT_EQ(launcher.minimumVersion.parts[2], 0);
    EXPECT_EQ(launcher.maximumVersion.parts[0], 65535);
    EXPECT_EQ(launcher.maximumVersion.partCount, 4);
    ASSERT_EQ(launcher.preferredVersions.count(), 3);
    EXPECT_EQ(launcher.preferredVersions.element(1), "");
    EXPECT_EQ(launcher.jrePath, "D:\\Java\\jre");
    EXPECT_EQ(launcher.jvmType, 2);
    EXPECT_FALSE(launcher.favorSource);
    EXPECT_TRUE(launcher.wantJdk);
    EXPECT_FALSE(launcher.wantJre);
    EXPECT_EQ(launcher.systemPath, "D:\\App\\bin");
    EXPECT_EQ(launcher.libraryPath, longValue);  // longer than the first 256-character read
    EXPECT_TRUE(launcher.failureCheck);
    EXPECT_FALSE(launcher.overrideWorkingDir);
}

TEST_F(ConfigurationFile, PerUserCopyDecidesTheRuntimePathOnceItExists) {
    writeFile(iniPath,
              "[Java Runtime Environment]\r\nMain Class=App\r\nJRE Path=D:\\Beside\\jre\r\n"
              "[Product Information]\r\nProduct Name=Qx Unit: Test\r\nProduct Code={C0DE}\r\n");
    Launcher before;
    ASSERT_TRUE(loadConfiguration(before));
    EXPECT_EQ(before.jrePath, "D:\\Beside\\jre");

    Launcher picker;
    writeUserCopy(picker, "[Java Runtime Environment]\r\nJRE Path=E:\\Picked\\\r\n");
    Launcher picked;
    ASSERT_TRUE(loadConfiguration(picked));
    EXPECT_EQ(picked.jrePath, "E:\\Picked\\");

    // A copy without the key hides the value beside the executable.
    writeFile(userCopy, "[Java Runtime Environment]\r\nOther=1\r\n");
    Launcher empty;
    ASSERT_TRUE(loadConfiguration(empty));
    EXPECT_EQ(empty.jrePath, "");
}

TEST(WorkingDirectory, BecomesTheExecutablesFolder) {
    char original[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, original);
    SetCurrentDirectoryA("C:\\");

    Launcher launcher;
    applyWorkingDirectory(launcher);
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    std::string module = modulePath();
    EXPECT_STREQ(current, module.substr(0, module.rfind('\\')).c_str());
    SetCurrentDirectoryA(original);
}

}  // namespace
#endif
