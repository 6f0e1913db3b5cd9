// Path texts derived from the VM library for the process environment.
#include "vm/EnvironmentPaths.h"

namespace {

// True when the last character of text (stepped with next, so a trail byte
// never counts) is c.
bool endsWithChar(const std::string& text, char c, NextCharFn next) {
    if (text.empty()) return false;
    size_t last = 0;
    for (size_t pos = 0; pos < text.size();) {
        last = pos;
        const char* here = text.c_str() + pos;
        const char* after = next(here);
        pos += after > here ? static_cast<size_t>(after - here) : 1;
    }
    return text[last] == c;
}

}  // namespace

std::string stripPathLevels(const std::string& path, int n, NextCharFn next) {
    std::string result = path;
    for (int level = 0; level < n; ++level) {
        size_t cut = findLastAnsiChar(result, '\\', next);
        if (cut == std::string::npos) break;
        result.erase(cut);
    }
    return result;
}

// A separator goes in only where the text so far lacks one, so a configured
// value with or without its own trailing ';' gives the same list.
std::string joinPathList(const std::vector<std::string>& pieces, NextCharFn next) {
    std::string result;
    for (const std::string& piece : pieces) {
        if (piece.empty()) continue;
        if (!result.empty() && !endsWithChar(result, ';', next)) result += ';';
        result += piece;
    }
    return result;
}

// Configured entries first, then the inherited search path, the runtime's
// own bin folder last.
std::string searchPathTemplate(const std::string& systemPath, const std::string& runtimeBin, NextCharFn next) {
    std::string result;
    if (!systemPath.empty()) {
        result = systemPath;
        if (!endsWithChar(result, ';', next)) result += ';';
    }
    result += "%Path%;";
    result += runtimeBin;
    return result;
}
