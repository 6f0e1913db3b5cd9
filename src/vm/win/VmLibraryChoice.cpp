// VM library selection against the file system.
#include "vm/VmLibraryChoice.h"
#include "launcher/win/Handles.h"

namespace {

// fileExists opens a find handle on the exact path and closes it at once;
// paths of MAX_PATH characters or more count as absent.
bool libraryFileExists(const std::string& path) {
    return fileExists(path.c_str());
}

}  // namespace

VmLibraryChoice selectVmLibrary(const std::string& runtimeFolder, int jvmType) {
    return chooseVmLibrary(runtimeFolder, jvmType, libraryFileExists);
}
