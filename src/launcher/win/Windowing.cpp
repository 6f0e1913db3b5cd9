// The main thread's windowing layer and the application module that keeps
// the instance handle for resources.
#include <windows.h>
#include <commctrl.h>

#include "launcher/StringTable.h"
#include "launcher/win/Launcher.h"
#include "launcher/win/Messages.h"

namespace {
// Written once on the main thread before any other thread exists.
HINSTANCE moduleInstance = nullptr;

HRESULT initApplicationModule(HINSTANCE instance) {
    moduleInstance = instance;
    return S_OK;
}
}  // namespace

bool initWindowing(HINSTANCE instance) {
    // Character typing for the command-line trim follows the thread locale.
    (void)SetThreadLocale(GetSystemDefaultLCID());
    // The first window-system call gives the main thread a message queue, on
    // which a second instance later receives its answer.
    (void)DefWindowProcA(nullptr, WM_NULL, 0, 0);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    (void)InitCommonControlsEx(&controls);

    HRESULT result = initApplicationModule(instance);
    if (FAILED(result)) {
        showErrorFormat(nullptr, IDS_COM_ERROR, loadText(IDS_MODULE_INIT_FAILED).c_str(), static_cast<int>(result));
        return false;
    }
    return true;
}

void shutdownWindowing() { moduleInstance = nullptr; }
