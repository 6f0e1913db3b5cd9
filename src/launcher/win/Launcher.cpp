// The launch sequence: initialize, run and the teardown, each step one call.
#include "launcher/win/Launcher.h"

#include "instance/win/SingleInstance.h"
#include "jre/win/RuntimeNotFound.h"
#include "jre/win/RuntimeSearch.h"
#include "launcher/CommandLine.h"
#include "launcher/StringTable.h"
#include "launcher/TextFormat.h"
#include "launcher/win/Configuration.h"
#include "splash/win/Splash.h"
#include "vm/VmLibraryChoice.h"
#include "vm/win/VmHosting.h"

namespace {
// The library that was found, as a full path. LoadLibraryA resolves a
// relative path through the DLL search order rather than the current
// directory, so a relative hit could load another file than the one checked
// (and the runtime home derived from it would be wrong).
std::string libraryIn(const std::string& folder, int jvmType) {
    std::string library = selectVmLibrary(folder, jvmType).libraryPath;
    if (library.empty()) return library;
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(library.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return library;
    // The count is not a byte count everywhere for double-byte text: take
    // the terminated string as it stands.
    return std::string(full);
}

// A configured folder with the '\' that the library names are appended to.
std::string withTrailingBackslash(const std::string& folder) {
    size_t last = findLastAnsiChar(folder, '\\');
    if (last != std::string::npos && last + 1 == folder.size()) return folder;
    return folder + "\\";
}
}  // namespace

bool Launcher::initialize() {
    splitCommandLine(arguments);
    if (!setUpSingleInstance(*this)) return false;
    if (singleInstance && !isFirstInstance) return true;  // a second start only forwards its arguments
    if (!loadConfiguration(*this)) return false;
    // Before the search, so that a relative "JRE Path" means the executable's folder.
    if (overrideWorkingDir) applyWorkingDirectory(*this);
    if (findRuntime()) return true;
    return askUserForRuntime();
}

// Configured folder, then a runtime beside the executable, then the
// registered runtimes; the first that holds a VM library wins.
bool Launcher::findRuntime() {
    if (!jrePath.empty()) {
        vmLibraryPath = libraryIn(withTrailingBackslash(jrePath), jvmType);
        if (!vmLibraryPath.empty()) return true;
    }
    std::string folder;
    if (findLocalRuntime(*this, folder)) {
        vmLibraryPath = libraryIn(folder, jvmType);
        if (!vmLibraryPath.empty()) return true;
    }
    if (searchRegistry(*this, folder)) {
        vmLibraryPath = libraryIn(folder, jvmType);
        if (!vmLibraryPath.empty()) return true;
    }
    return false;
}

// The runtime-not-found dialog; the picked folder is written back as
// "JRE Path" so that later starts find it directly.
bool Launcher::askUserForRuntime() {
    int messageId = jvmType == 1 ? IDS_JRE_NOT_FOUND_SERVER : IDS_JRE_NOT_FOUND;
    std::string message =
        formatText(loadText(messageId).c_str(), versionRequirementText(minimumVersion, maximumVersion).c_str());
    std::string chosenFolder;
    std::string chosenVmLibrary;
    if (askForRuntime(message, jvmType, GetActiveWindow(), chosenFolder, chosenVmLibrary) != IDOK) return false;

    vmLibraryPath = chosenVmLibrary;
    std::string ini;
    if (getIniPath(*this, ini)) {
        std::string target = isNtPlatform() ? getUserIniPath(*this, true) : ini;
        // Not reported when it fails: this start goes on, the next one asks again.
        (void)WritePrivateProfileStringA("Java Runtime Environment", "JRE Path", chosenFolder.c_str(),
                                         target.c_str());
    }
    return true;
}

int Launcher::run() {
    if (singleInstance && !isFirstInstance) return waitForFirstInstance(*this);

    bool showSplash = arguments.findArgument("-nosplash") < 0 && arguments.findArgument("/nosplash") < 0;
    if (showSplash && !startSplash(*this)) return 0;

    prepareEnvironment(*this);
    if (!loadVmLibrary(*this)) return -1;
    if (!addClassPathOptions(*this)) return -1;
    return runVmThread(*this) == 0 ? 0 : -1;
}

Launcher::~Launcher() {
    stopSplash(*this);
    // Returns only when the application's last non-daemon thread has ended:
    // the launcher process lives as long as the Java application.
    if (javaVm != nullptr) (void)javaVm->DestroyJavaVM();
    // After the VM, so that second starts are served for the whole run.
    closeSingleInstance(*this);
}
