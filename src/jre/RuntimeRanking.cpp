// Ranking and choosing among the collected runtimes.
#include "jre/RuntimeRanking.h"
#include <algorithm>
#include <cstring>

bool versionInRange(const JavaVersion& version, const JavaVersion& minimum, const JavaVersion& maximum) {
    return compareVersions(version, maximum) <= 0 && compareVersions(version, minimum) >= 0;
}

// Registry data need not be NUL-terminated, so the text ends at the first NUL
// within size bytes or at size itself. The last '\' is found by stepping so
// that the trail byte of a double-byte character is not taken for it.
std::string runtimeFolderFromJavaHome(const char* data, size_t size, bool isDevelopmentKit, NextCharFn next) {
    std::string folder;
    if (data != nullptr && size > 0) {
        const void* nul = std::memchr(data, '\0', size);
        size_t length = nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - data) : size;
        folder.assign(data, length);
    }
    if (folder.empty() || findLastAnsiChar(folder, '\\', next) != folder.size() - 1) folder += '\\';
    if (isDevelopmentKit) folder += "jre\\";
    return folder;
}

// A strict ordering by the keys in turn; std::stable_sort then keeps the
// collection order among equals, as an adjacent-exchange sort would.
void rankCandidates(std::vector<RuntimeCandidate>& candidates, bool favorSource, int jvmType) {
    auto comesFirst = [favorSource, jvmType](const RuntimeCandidate& a, const RuntimeCandidate& b) {
        if (favorSource && a.isPreferredKind != b.isPreferredKind) return a.isPreferredKind;
        if (jvmType == 2 && a.isServerVm != b.isServerVm) return a.isServerVm;
        return compareVersions(a.version, b.version) > 0;
    };
    std::stable_sort(candidates.begin(), candidates.end(), comesFirst);
}

// Preferred entries in order of preference, each against the ranked list.
const RuntimeCandidate& chooseCandidate(const std::vector<RuntimeCandidate>& candidates,
                                        const ArgumentList& preferredVersions) {
    for (int i = 0; i < preferredVersions.count(); ++i) {
        JavaVersion preferred;
        parseVersion(preferredVersions.element(i).c_str(), 0, preferred);
        for (const RuntimeCandidate& candidate : candidates) {
            if (matchesPreferred(candidate.version, preferred)) return candidate;
        }
    }
    return candidates.front();
}
