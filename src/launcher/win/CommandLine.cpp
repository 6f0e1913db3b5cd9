// The process command line as the system holds it.
#include "launcher/CommandLine.h"
#include <windows.h>

// Reads GetCommandLineA and splits it with the platform's stepper.
void splitCommandLine(ArgumentList& list) {
    splitCommandLineText(GetCommandLineA(), list);
}
