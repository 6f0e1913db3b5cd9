// Loading the runtime's VM library. The library is never freed: the VM lives
// until the process ends.
#include "launcher/StringTable.h"
#include "launcher/win/Launcher.h"
#include "launcher/win/Messages.h"
#include "vm/win/VmHosting.h"

namespace {
// Both entry points are required, though the second is only used when no
// stack size is configured.
bool reportMissingEntry(const Launcher& launcher, DWORD error) {
    showErrorFormat(launcher.ownerWindow, IDS_WINDOWS_EXCEPTION, loadText(IDS_NO_CREATE_JAVA_VM).c_str(),
                    static_cast<int>(error));
    return false;
}
}  // namespace

bool loadVmLibrary(Launcher& launcher) {
    HMODULE library = LoadLibraryA(launcher.vmLibraryPath.c_str());
    if (library == nullptr) {
        DWORD error = GetLastError();
        showErrorFormat(launcher.ownerWindow, IDS_VM_LIBRARY_FAILED, launcher.vmLibraryPath.c_str(),
                        static_cast<int>(error));
        return false;
    }
    FARPROC create = GetProcAddress(library, "JNI_CreateJavaVM");
    if (create == nullptr) return reportMissingEntry(launcher, GetLastError());
    FARPROC defaults = GetProcAddress(library, "JNI_GetDefaultJavaVMInitArgs");
    if (defaults == nullptr) return reportMissingEntry(launcher, GetLastError());
    launcher.createJavaVmEntry = reinterpret_cast<CreateJavaVmFn>(reinterpret_cast<void*>(create));
    launcher.defaultInitArgsEntry = reinterpret_cast<GetDefaultJavaVmInitArgsFn>(reinterpret_cast<void*>(defaults));
    return true;
}
