// The runtime-not-found dialog is not available yet: it answers Cancel, so a
// start without a runtime ends quietly.
#include "jre/win/RuntimeNotFound.h"

int askForRuntime(const std::string&, int, HWND, std::string& chosenFolder, std::string& chosenVmLibrary) {
    chosenFolder.clear();
    chosenVmLibrary.clear();
    return IDCANCEL;
}
