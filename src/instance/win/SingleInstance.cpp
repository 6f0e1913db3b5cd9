// Single-instance mode is not available yet: every start runs on its own.
#include "instance/win/SingleInstance.h"
#include "launcher/win/Launcher.h"

bool setUpSingleInstance(Launcher& launcher) {
    launcher.singleInstance = false;
    launcher.isFirstInstance = false;
    return true;
}

int waitForFirstInstance(Launcher&) { return -1; }

void closeSingleInstance(Launcher&) {}
