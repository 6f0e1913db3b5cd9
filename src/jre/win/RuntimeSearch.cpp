// Runtime search beside the executable and in the registry.
//
// Registered runtimes: HKEY_LOCAL_MACHINE\Software\JavaSoft\<kind>\<version>
// with a "JavaHome" value. Only the sub-key names and "JavaHome" are read,
// with no registry-view flag, so each build sees the view of its own bitness.
#include "jre/win/RuntimeSearch.h"

#include <vector>

#include "launcher/ConfigRules.h"
#include "launcher/win/Configuration.h"
#include "launcher/win/Handles.h"
#include "launcher/win/Launcher.h"
#include "vm/VmLibraryChoice.h"

namespace {
const char kDevelopmentKitKey[] = "Software\\JavaSoft\\Java Development Kit\\";
const char kRuntimeEnvironmentKey[] = "Software\\JavaSoft\\Java Runtime Environment\\";

// Sub-key names in enumeration order, up to the first enumeration error.
std::vector<std::string> subKeyNames(HKEY key) {
    std::vector<std::string> names;
    char name[MAX_PATH];
    for (DWORD index = 0;; ++index) {
        DWORD length = MAX_PATH;
        if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

// The raw "JavaHome" data of a registered version; false when absent or empty.
// The version key is opened below its parent: a name may be 255 characters
// long, and the whole path from the hive would then be too long to open.
bool readJavaHome(HKEY parent, const std::string& name, std::vector<char>& data) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegistryKey key(opened);
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), "JavaHome", nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS || size == 0)
        return false;
    data.assign(size, '\0');
    // The value may change between the two calls; whatever is read is
    // bounded by the returned size.
    if (RegQueryValueExA(key.get(), "JavaHome", nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    data.resize(size);
    return true;
}
}  // namespace

bool findLocalRuntime(const Launcher& launcher, std::string& folder) {
    folder.clear();
    std::string modulePath;
    if (!getModulePath(launcher, modulePath)) return false;
    std::string moduleFolder = moduleFolderOf(modulePath);
    if (fileExists((moduleFolder + "bin\\java.dll").c_str())) {
        folder = moduleFolder;
    } else if (fileExists((moduleFolder + "jre\\bin\\java.dll").c_str())) {
        folder = moduleFolder + "jre\\";
    }
    return true;
}

void collectCandidates(const Launcher& launcher, const char* keyPath, bool isDevelopmentKit,
                       std::vector<RuntimeCandidate>& candidates) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &opened) != ERROR_SUCCESS) return;
    RegistryKey key(opened);

    // With favor_server a runtime environment is probed client first, so its
    // candidate ranks as a client VM; the final selection still prefers the
    // server library of the chosen folder.
    int probeType = (!isDevelopmentKit && launcher.jvmType == 2) ? 0 : launcher.jvmType;
    std::vector<char> javaHome;
    for (const std::string& name : subKeyNames(key.get())) {
        RuntimeCandidate candidate;
        (void)parseVersion(name.c_str(), 0, candidate.version);  // no digits: 0.0.0.0
        if (!versionInRange(candidate.version, launcher.minimumVersion, launcher.maximumVersion)) continue;
        if (!readJavaHome(key.get(), name, javaHome)) continue;
        candidate.folder = runtimeFolderFromJavaHome(javaHome.data(), javaHome.size(), isDevelopmentKit);
        VmLibraryChoice library = selectVmLibrary(candidate.folder, probeType);
        if (library.libraryPath.empty()) continue;
        candidate.isServerVm = library.isServer;
        candidate.isPreferredKind = isDevelopmentKit ? launcher.wantJdk : launcher.wantJre;
        candidates.push_back(std::move(candidate));
    }
}

bool searchRegistry(const Launcher& launcher, std::string& folder) {
    std::vector<RuntimeCandidate> candidates;
    if (launcher.favorSource || launcher.wantJdk) collectCandidates(launcher, kDevelopmentKitKey, true, candidates);
    if (launcher.favorSource || launcher.wantJre) collectCandidates(launcher, kRuntimeEnvironmentKey, false, candidates);
    if (candidates.empty()) return false;
    rankCandidates(candidates, launcher.favorSource, launcher.jvmType);
    folder = chooseCandidate(candidates, launcher.preferredVersions).folder;
    return true;
}
