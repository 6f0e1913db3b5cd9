// The configuration file beside the executable and its per-user copy.
#pragma once
#include <string>

class Launcher;

// The executable's full path. False after message 202 with 208.
bool getModulePath(const Launcher& launcher, std::string& path);
// The configuration file: the executable's path up to its last '.', then
// "ini". False (without a message) when the path holds no '.'.
bool getIniPath(const Launcher& launcher, std::string& path);
// One value; empty when the file, section or key is absent. Never cut.
std::string readIniString(const std::string& file, const char* section, const char* key);
bool isNtPlatform();
// The per-user copy of the configuration under the application-data folder;
// with createFolders the product folders are created on the way.
std::string getUserIniPath(const Launcher& launcher, bool createFolders);
// Fills the launcher's configuration fields. False after message 210 when
// "Main Class" is empty, or when the path cannot be derived.
bool loadConfiguration(Launcher& launcher);
// Makes the executable's folder the current directory.
void applyWorkingDirectory(const Launcher& launcher);
