// The VM thread: creates the VM, runs main and reports the outcome as its
// exit code.
#include "launcher/win/Handles.h"
#include "launcher/win/Launcher.h"
#include "launcher/win/Messages.h"
#include "splash/win/Splash.h"
#include "vm/win/VmHosting.h"

namespace {
// The platform side of the VM thread: message boxes owned by the splash,
// the splash itself and the exception dialog.
class LauncherVmHost final : public VmHost {
public:
    explicit LauncherVmHost(Launcher& launcher) : launcher(launcher) {}
    void showError(const std::string& text) override { ::showError(text, launcher.ownerWindow); }
    void closeSplash() override { stopSplash(launcher); }
    // The exception dialog is not available yet: the exception is ignored.
    bool askStopOnException(JNIEnv*, jthrowable) override { return false; }

private:
    Launcher& launcher;
};

DWORD vmThreadMain(Launcher* launcher) {
    if (launcher == nullptr) return 1;
    LauncherVmHost host(*launcher);
    if (!createVm(launcher->createJavaVmEntry, launcher->vmOptions, launcher->outputFile, launcher->errorFile,
                  &launcher->javaVm, &launcher->jniEnv, host))
        return 1;
    return invokeMain(launcher->javaVm, launcher->jniEnv, launcher->mainClass, launcher->arguments,
                      launcher->failureCheck, host)
               ? 0
               : 1;
}

DWORD WINAPI vmThreadStart(LPVOID parameter) { return vmThreadMain(static_cast<Launcher*>(parameter)); }
}  // namespace

unsigned long runVmThread(Launcher& launcher) {
    // main and everything it calls directly runs on this thread's stack, so
    // size it like a Java thread: the configured -Xss or the VM's default.
    if (launcher.vmStackSize == 0) launcher.vmStackSize = defaultJavaStackSize(launcher.defaultInitArgsEntry);

    KernelHandle thread(CreateThread(nullptr, launcher.vmStackSize, vmThreadStart, &launcher, 0, nullptr));
    if (!thread) return vmThreadMain(&launcher);  // no thread: run on the main thread's stack instead
    WaitForSingleObject(thread.get(), INFINITE);
    DWORD exitCode = 1;
    if (!GetExitCodeThread(thread.get(), &exitCode)) exitCode = 1;
    return exitCode;
}
