// Process entry: one Launcher, its two steps and its teardown. The value of
// run is the process exit code.
#include "launcher/win/Launcher.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int result = -1;
    {
        Launcher launcher;
        if (initWindowing(instance) && launcher.initialize()) result = launcher.run();
    }  // teardown
    shutdownWindowing();
    return result;
}
