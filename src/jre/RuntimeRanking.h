// Ranking and choosing among registered runtimes: memory-only work.
#pragma once
#include <string>
#include <vector>
#include "jre/JavaVersion.h"
#include "launcher/AnsiText.h"
#include "launcher/ArgumentList.h"

struct RuntimeCandidate {
    JavaVersion version;   // parsed from the registry sub-key name, fill 0
    std::string folder;    // runtime folder, ends in '\'
    bool isServerVm = false;       // the library found while collecting was the server VM
    bool isPreferredKind = false;  // wantJdk for a development kit, wantJre for a runtime environment
};

// Both bounds inclusive.
bool versionInRange(const JavaVersion& version, const JavaVersion& minimum, const JavaVersion& maximum);

// The runtime folder of a registered "JavaHome" value: the data up to its
// first NUL or its end, a '\' appended unless it ends with one, and "jre\"
// appended for a development kit. Never reads past size bytes. Whether the
// text ends with '\' is decided by stepping with next.
std::string runtimeFolderFromJavaHome(const char* data, size_t size, bool isDevelopmentKit,
                                      NextCharFn next = nextAnsiChar);

// Stable order: preferred kind first (only when favorSource), server VM
// first (only when jvmType is 2), then higher version first.
void rankCandidates(std::vector<RuntimeCandidate>& candidates, bool favorSource, int jvmType);

// The first ranked candidate that matches the first matching preferred
// entry (entries parsed with fill 0), or else the first ranked candidate.
// candidates must not be empty.
const RuntimeCandidate& chooseCandidate(const std::vector<RuntimeCandidate>& candidates,
                                        const ArgumentList& preferredVersions);
