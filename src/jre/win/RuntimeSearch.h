// Looking for a runtime beside the executable and among the registered ones.
#pragma once
#include <string>
#include <vector>
#include "jre/RuntimeRanking.h"

class Launcher;

// A runtime folder beside the executable (its folder or its jre\ sub-folder,
// recognised by bin\java.dll), or empty. False only when the executable's
// path cannot be read (after its message).
bool findLocalRuntime(const Launcher& launcher, std::string& folder);

// The folder of the best registered runtime within the configured range.
bool searchRegistry(const Launcher& launcher, std::string& folder);

// Appends the acceptable runtimes registered under HKEY_LOCAL_MACHINE\keyPath.
void collectCandidates(const Launcher& launcher, const char* keyPath, bool isDevelopmentKit,
                       std::vector<RuntimeCandidate>& candidates);
