// Reading the configuration file (Windows profile format).
//
// Syntax: [section] lines open a section, key=value lines inside it give
// values; names match without regard to case, and a missing file, section
// or key reads as the empty string. Values are read from the file each time
// they are needed: there is no cache.
#include "launcher/win/Configuration.h"

#include <shlobj.h>
#include <vector>

#include "launcher/ConfigRules.h"
#include "launcher/StringTable.h"
#include "launcher/win/Handles.h"
#include "launcher/win/Launcher.h"
#include "launcher/win/Messages.h"

namespace {
const char kRuntimeSection[] = "Java Runtime Environment";
const char kApplicationSection[] = "Application";
const char kProductSection[] = "Product Information";

// "any" as a bound, or a version text with the bound's fill value.
JavaVersion readBound(const std::string& value, int32_t fill) {
    JavaVersion version;
    if (value == "any") {
        for (int32_t& part : version.parts) part = fill;
        version.partCount = 4;
    } else {
        (void)parseVersion(value.c_str(), fill, version);  // no digits: no bound, not reported
    }
    return version;
}

// The user's application-data folder, or empty when the shell cannot say.
std::string applicationDataFolder() {
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &items)) || items == nullptr) return {};
    char path[MAX_PATH] = {};
    bool ok = SHGetPathFromIDListA(items, path) != FALSE;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator != nullptr) {
        allocator->Free(items);
        allocator->Release();
    }
    return ok ? std::string(path) : std::string();
}
}  // namespace

bool getModulePath(const Launcher& launcher, std::string& path) {
    char buffer[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    DWORD error = GetLastError();
    // A full buffer means the path was cut: longer paths are not supported,
    // and a cut path would name the wrong configuration file.
    if (length == 0 || length >= MAX_PATH) {
        if (length != 0 && error == ERROR_SUCCESS) error = ERROR_INSUFFICIENT_BUFFER;
        showErrorFormat(launcher.ownerWindow, IDS_WINDOWS_EXCEPTION, loadText(IDS_MODULE_PATH_FAILED).c_str(),
                        static_cast<int>(error));
        return false;
    }
    path.assign(buffer, length);
    return true;
}

bool getIniPath(const Launcher& launcher, std::string& path) {
    std::string modulePath;
    if (!getModulePath(launcher, modulePath)) return false;
    return deriveIniPath(modulePath, path);
}

std::string readIniString(const std::string& file, const char* section, const char* key) {
    std::vector<char> buffer(256);
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        DWORD length = GetPrivateProfileStringA(section, key, "", buffer.data(), size, file.c_str());
        if (length < size - 1) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);  // may have been cut: read again with room to spare
    }
}

bool isNtPlatform() {
    OSVERSIONINFOEXA extended = {};
    extended.dwOSVersionInfoSize = sizeof(extended);
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended)))
        return extended.dwPlatformId == VER_PLATFORM_WIN32_NT;
    OSVERSIONINFOA basic = {};
    basic.dwOSVersionInfoSize = sizeof(basic);
    if (GetVersionExA(&basic)) return basic.dwPlatformId == VER_PLATFORM_WIN32_NT;
    return false;
}

std::string getUserIniPath(const Launcher& launcher, bool createFolders) {
    std::string modulePath;
    if (!getModulePath(launcher, modulePath)) return {};
    std::string fileName = userIniFileName(modulePath);
    std::string path = applicationDataFolder() + "\\" + cleanProductName(launcher.productName);
    if (createFolders) (void)CreateDirectoryA(path.c_str(), nullptr);  // an existing folder is fine
    path += "\\" + launcher.productCode;
    if (createFolders) (void)CreateDirectoryA(path.c_str(), nullptr);
    return path + "\\" + fileName;
}

bool loadConfiguration(Launcher& launcher) {
    std::string ini;
    if (!getIniPath(launcher, ini)) return false;

    launcher.minimumVersion = readBound(readIniString(ini, kRuntimeSection, "Minimum Version"), 0);
    launcher.maximumVersion = readBound(readIniString(ini, kRuntimeSection, "Maximum Version"), 65535);
    launcher.preferredVersions.clear();
    splitPreferredVersions(readIniString(ini, kRuntimeSection, "Preferred versions"), launcher.preferredVersions);
    launcher.productCode = readIniString(ini, kProductSection, "Product Code");
    launcher.productName = readIniString(ini, kProductSection, "Product Name");

    // On NT-family systems the runtime the user picked lives in a per-user
    // copy; once that file exists it alone decides, even without the key.
    std::string jrePathFile = ini;
    if (isNtPlatform()) {
        std::string userIni = getUserIniPath(launcher, false);
        if (!userIni.empty() && fileExists(userIni.c_str())) jrePathFile = userIni;
    }
    launcher.jrePath = readIniString(jrePathFile, kRuntimeSection, "JRE Path");

    launcher.jvmType = parseJvmType(readIniString(ini, kRuntimeSection, "JVM Type"));
    applyJvmSource(readIniString(ini, kRuntimeSection, "JVM Source"), launcher.favorSource, launcher.wantJdk,
                   launcher.wantJre);

    std::string mainClass = readIniString(ini, kRuntimeSection, "Main Class");
    if (mainClass.empty()) {
        showError(loadText(IDS_NO_MAIN_CLASS), launcher.ownerWindow);
        return false;
    }
    launcher.mainClass = slashedClassName(mainClass);

    launcher.failureCheck = isYesIgnoringCase(readIniString(ini, kApplicationSection, "Failure Check"));
    launcher.overrideWorkingDir = isYesIgnoringCase(readIniString(ini, kApplicationSection, "Override WorkingDir"));
    launcher.systemPath = readIniString(ini, kRuntimeSection, "System Path");
    launcher.libraryPath = readIniString(ini, kRuntimeSection, "Library Path");
    return true;
}

void applyWorkingDirectory(const Launcher& launcher) {
    std::string modulePath;
    if (!getModulePath(launcher, modulePath)) return;
    std::string folder;
    if (!workingDirectoryOf(modulePath, folder)) return;
    (void)SetCurrentDirectoryA(folder.c_str());  // a failure leaves the inherited directory
}
