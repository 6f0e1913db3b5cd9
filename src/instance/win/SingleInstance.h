// The channel through which a second start hands its arguments to the first.
#pragma once

class Launcher;

// Sets singleInstance and isFirstInstance. False only when a second instance
// cannot hand its request over, or the configuration path is unknown.
bool setUpSingleInstance(Launcher& launcher);
// A second instance's exit code: the first instance's answer.
int waitForFirstInstance(Launcher& launcher);
// Stops the listener of a first instance and releases the shared block.
void closeSingleInstance(Launcher& launcher);
