// The VM library of a runtime folder for the requested VM kind.
#include "vm/VmLibraryChoice.h"

namespace {

const char kServer[] = "bin\\server\\jvm.dll";
// Tried in this order for the default kind, before the server VM.
const char* const kClientLike[] = {"bin\\client\\jvm.dll", "bin\\classic\\jvm.dll", "bin\\hotspot\\jvm.dll"};

}  // namespace

// A server request accepts only the server VM; favor_server merely tries it
// first; the default kind keeps it as the last resort.
VmLibraryChoice chooseVmLibrary(const std::string& runtimeFolder, int jvmType, FileExistsFn exists) {
    VmLibraryChoice choice;
    const std::string server = runtimeFolder + kServer;
    if (jvmType == 1 || jvmType == 2) {
        if (exists(server)) {
            choice.libraryPath = server;
            choice.isServer = true;
            return choice;
        }
        if (jvmType == 1) return choice;
    }
    for (const char* name : kClientLike) {
        std::string path = runtimeFolder + name;
        if (exists(path)) {
            choice.libraryPath = path;
            return choice;
        }
    }
    if (exists(server)) {
        choice.libraryPath = server;
        choice.isServer = true;
    }
    return choice;
}
