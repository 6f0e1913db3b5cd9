// The dialog that asks the user for a runtime folder when none was found.
#pragma once
#include <windows.h>
#include <string>

// Shows the dialog modally. 1 (OK) with chosenFolder (ending in '\') and
// chosenVmLibrary (not empty); 2 when cancelled; anything else when the
// dialog could not be shown.
int askForRuntime(const std::string& messageText, int jvmType, HWND owner, std::string& chosenFolder,
                  std::string& chosenVmLibrary);
