// Which VM library of a runtime folder serves each requested VM kind.
#include <gtest/gtest.h>
#include <set>
#include <string>
#include "vm/VmLibraryChoice.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

const char kClient[] = "bin\\client\\jvm.dll";
const char kServer[] = "bin\\server\\jvm.dll";
const char kClassic[] = "bin\\classic\\jvm.dll";
const char kHotspot[] = "bin\\hotspot\\jvm.dll";

// The files a fake runtime folder holds; FileExistsFn takes no context.
std::set<std::string> presentFiles;

bool fakeExists(const std::string& path) {
    return presentFiles.count(path) != 0;
}

struct ChoiceCase {
    std::set<std::string> files;  // relative to the runtime folder
    int jvmType;
    const char* expected;         // relative name, or "" for none
    bool isServer;
};

class VmLibraryChoiceTest : public ::testing::TestWithParam<const char*> {
protected:
    void TearDown() override { presentFiles.clear(); }
};

TEST_P(VmLibraryChoiceTest, PrefersTheRequestedKind) {
    const std::string folder = GetParam();
    const ChoiceCase cases[] = {
        {{kClient, kServer}, 0, kClient, false},
        {{kClient, kServer}, 1, kServer, true},
        {{kClient, kServer}, 2, kServer, true},
        {{kServer}, 0, kServer, true},
        {{kServer}, 1, kServer, true},
        {{kServer}, 2, kServer, true},
        {{kClient}, 0, kClient, false},
        {{kClient}, 1, "", false},  // a server request accepts nothing else
        {{kClient}, 2, kClient, false},
        {{}, 0, "", false},
        {{}, 1, "", false},
        {{}, 2, "", false},
        {{kHotspot, kClassic, kServer}, 0, kClassic, false},
        {{kHotspot, kServer}, 0, kHotspot, false},
        {{kHotspot}, 2, kHotspot, false},
    };
    for (const ChoiceCase& c : cases) {
        presentFiles.clear();
        for (const std::string& file : c.files) presentFiles.insert(folder + file);
        VmLibraryChoice choice = chooseVmLibrary(folder, c.jvmType, fakeExists);
        const std::string expected = *c.expected ? folder + c.expected : std::string();
        EXPECT_EQ(choice.libraryPath, expected) << "type " << c.jvmType << ", " << c.files.size() << " files";
        EXPECT_EQ(choice.isServer, c.isServer) << "type " << c.jvmType << ", " << c.files.size() << " files";
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, VmLibraryChoiceTest, ::testing::Values("", "D:\\Java\\jre\\"));

#ifdef _WIN32
// A real runtime folder holding only the server VM.
class VmSelectLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
        root = std::string(temp) + "qxvm" + std::to_string(GetCurrentProcessId()) + "\\";
        ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((root + "bin").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((root + "bin\\server").c_str(), nullptr));
        HANDLE file = CreateFileA((root + kServer).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }
    void TearDown() override {
        DeleteFileA((root + kServer).c_str());
        RemoveDirectoryA((root + "bin\\server").c_str());
        RemoveDirectoryA((root + "bin").c_str());
        RemoveDirectoryA(root.c_str());
    }
    std::string root;
};

TEST_F(VmSelectLibraryTest, FindsTheFileOnDisk) {
    for (int type : {0, 1, 2}) {
        VmLibraryChoice choice = selectVmLibrary(root, type);
        EXPECT_EQ(choice.libraryPath, root + kServer) << "type " << type;
        EXPECT_TRUE(choice.isServer) << "type " << type;
    }
    EXPECT_EQ(selectVmLibrary(root + "bin\\", 0).libraryPath, "");
}

TEST_F(VmSelectLibraryTest, TreatsOverlongPathsAsAbsent) {
    // The same folder spelled with enough ".\" to reach MAX_PATH.
    std::string longFolder = root;
    while (longFolder.size() + sizeof kServer - 1 < MAX_PATH) longFolder += ".\\";
    EXPECT_EQ(selectVmLibrary(longFolder, 1).libraryPath, "");
    // One step short of the limit it is still found.
    std::string shortFolder = longFolder.substr(0, longFolder.size() - 2);
    if (shortFolder.size() + sizeof kServer - 1 >= MAX_PATH) shortFolder.resize(shortFolder.size() - 2);
    EXPECT_EQ(selectVmLibrary(shortFolder, 1).libraryPath, shortFolder + kServer);
}
#endif

}  // namespace
