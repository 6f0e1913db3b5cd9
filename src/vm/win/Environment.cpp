// The process environment and the VM options for the chosen runtime.
#include <vector>

#include "launcher/ConfigRules.h"
#include "launcher/StringTable.h"
#include "launcher/win/Configuration.h"
#include "launcher/win/Launcher.h"
#include "launcher/win/Messages.h"
#include "vm/EnvironmentPaths.h"
#include "vm/VmParameters.h"
#include "vm/win/VmHosting.h"

void expandEnvironment(std::string& text) {
    DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (size == 0) return;
    std::vector<char> buffer(size);
    DWORD written = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), size);
    // The environment may have grown between the two calls; a result that no
    // longer fits leaves the text as it was.
    if (written == 0 || written > size) return;
    text.assign(buffer.data());
}

void prepareEnvironment(Launcher& launcher) {
    std::string runtimeHome = stripPathLevels(launcher.vmLibraryPath, 3);
    (void)SetEnvironmentVariableA("QX_JVM_PATH", launcher.vmLibraryPath.c_str());
    (void)SetEnvironmentVariableA("QX_JVM_HOME", runtimeHome.c_str());

    if (!launcher.libraryPath.empty()) {
        std::string moduleFolder;
        std::string modulePath;
        if (getModulePath(launcher, modulePath)) moduleFolder = moduleFolderOf(modulePath);
        // The pieces are expanded one by one so that a ';' can be put between
        // two of them where the earlier one does not already end with it.
        std::string configured = launcher.libraryPath;
        expandEnvironment(configured);
        std::string oldPath = "%Path%";
        expandEnvironment(oldPath);
        launcher.libraryPath = joinPathList({configured, moduleFolder, ".", oldPath, runtimeHome + "\\lib"});
        launcher.vmOptions.append("-Djava.library.path=" + launcher.libraryPath);
    }

    std::string searchPath = searchPathTemplate(launcher.systemPath, stripPathLevels(launcher.vmLibraryPath, 2));
    expandEnvironment(searchPath);
    (void)SetEnvironmentVariableA("Path", searchPath.c_str());
}

bool addClassPathOptions(Launcher& launcher) {
    std::string ini;
    if (!getIniPath(launcher, ini)) return false;
    std::string classPath = readIniString(ini, "Class Path", "Class Path");
    if (classPath.empty()) {
        showError(loadText(IDS_NO_CLASS_PATH), launcher.ownerWindow);
        return false;
    }
    ArgumentList options;
    options.append("-Djava.class.path=" + classPath);

    MEMORYSTATUS memory = {};
    memory.dwLength = sizeof(memory);
    GlobalMemoryStatus(&memory);
    parseVmParameters(readIniString(ini, "Java Runtime Environment", "Virtual Machine Parameters"),
                      memory.dwTotalPhys, launcher.vmStackSize, options);

    for (int i = 0; i < options.count(); ++i) {
        std::string option = options.element(i);
        expandEnvironment(option);
        launcher.vmOptions.append(option);
    }
    launcher.outputFile = readIniString(ini, "Application", "Output File");
    launcher.errorFile = readIniString(ini, "Application", "Error File");
    return true;
}
