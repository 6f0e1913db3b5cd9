// Which VM library of a runtime folder is used for a requested VM kind.
#pragma once
#include <string>

struct VmLibraryChoice {
    std::string libraryPath;  // folder + relative name of the chosen library; empty when none
    bool isServer = false;    // the chosen library is bin\server\jvm.dll
};

using FileExistsFn = bool (*)(const std::string& path);

// jvmType 0: client, classic, hotspot, then server; 1: server only;
// 2: server first, then as 0. runtimeFolder ends in '\' or is empty.
VmLibraryChoice chooseVmLibrary(const std::string& runtimeFolder, int jvmType, FileExistsFn exists);

// The same with the platform's file test (FindFirstFileA). Windows only.
VmLibraryChoice selectVmLibrary(const std::string& runtimeFolder, int jvmType);
