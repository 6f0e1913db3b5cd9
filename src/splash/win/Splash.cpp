// The splash screen is not available yet: starting it shows nothing.
#include "splash/win/Splash.h"
#include "launcher/win/Launcher.h"

bool startSplash(Launcher&) { return true; }

void stopSplash(Launcher&) {}
