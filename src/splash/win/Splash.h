// The splash picture shown while the VM starts.
#pragma once

class Launcher;

// Starts the splash thread when a picture is configured. False only when the
// configuration path cannot be derived.
bool startSplash(Launcher& launcher);
// Ends the splash thread and deletes the splash window; nothing when none.
void stopSplash(Launcher& launcher);
