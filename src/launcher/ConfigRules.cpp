// Path derivations and value meanings of the configuration file.
#include "launcher/ConfigRules.h"
#include <cstring>

namespace {

// Offset of the file name within path: just after its last '\'.
size_t fileNameStart(const std::string& path, NextCharFn next) {
    size_t slash = findLastAnsiChar(path, '\\', next);
    return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

// The last '.' of the whole path, as the configuration files that vendors
// ship are named: an executable without an extension in a folder with a dot
// reads the file named after that folder part, and a path without any '.'
// has no configuration file at all.
bool deriveIniPath(const std::string& modulePath, std::string& iniPath, NextCharFn next) {
    size_t dot = findLastAnsiChar(modulePath, '.', next);
    if (dot == std::string::npos) return false;
    iniPath = modulePath.substr(0, dot + 1) + "ini";
    return true;
}

// The file name with its extension replaced by ".ini".
std::string userIniFileName(const std::string& modulePath, NextCharFn next) {
    std::string name = modulePath.substr(fileNameStart(modulePath, next));
    size_t dot = findLastAnsiChar(name, '.', next);
    if (dot != std::string::npos) name.erase(dot);
    return name + ".ini";
}

// Steps character by character so that the trail byte of a double-byte
// character (which may equal '\' or '|') stays with its lead byte.
std::string cleanProductName(const std::string& productName, NextCharFn next) {
    static const char forbidden[] = "\\?\"|><:/*";
    std::string cleaned;
    for (size_t pos = 0; pos < productName.size();) {
        size_t length = ansiCharLength(productName, pos, next);
        char c = productName[pos];
        bool drop = length == 1 && c != '\0' && std::strchr(forbidden, c) != nullptr;
        if (!drop) cleaned.append(productName, pos, length);
        pos += length;
    }
    return cleaned;
}

std::string joinUserIniPath(const std::string& appDataFolder, const std::string& cleanedProductName,
                            const std::string& productCode, const std::string& fileName) {
    return appDataFolder + '\\' + cleanedProductName + '\\' + productCode + '\\' + fileName;
}

// Every ';' ends a piece; the piece after the last one is always kept.
void splitPreferredVersions(const std::string& text, ArgumentList& list, NextCharFn next) {
    size_t start = 0;
    for (size_t semicolon = findAnsiChar(text, ';', 0, next); semicolon != std::string::npos;
         semicolon = findAnsiChar(text, ';', start, next)) {
        list.append(text.substr(start, semicolon - start));
        start = semicolon + 1;
    }
    list.append(text.substr(start));
}

int parseJvmType(const std::string& value) {
    if (value == "server") return 1;
    if (value == "favor_server") return 2;
    return 0;
}

// An empty value keeps the default of searching both kinds without preference.
void applyJvmSource(const std::string& value, bool& favorSource, bool& wantJdk, bool& wantJre) {
    if (value.empty()) {
        wantJdk = false;
        wantJre = false;
        return;
    }
    favorSource = value == "favor_JRE" || value == "favor_JDK";
    wantJdk = value == "favor_JDK" || value == "only_JDK";
    wantJre = value == "favor_JRE" || value == "only_JRE";
}

// ASCII letter case only, so the result does not depend on the user's locale.
bool isYesIgnoringCase(const std::string& value) {
    static const char yes[] = "yes";
    if (value.size() != 3) return false;
    for (size_t i = 0; i < 3; ++i) {
        char c = value[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != yes[i]) return false;
    }
    return true;
}

std::string slashedClassName(const std::string& value, NextCharFn next) {
    std::string result = value;
    for (size_t dot = findAnsiChar(result, '.', 0, next); dot != std::string::npos;
         dot = findAnsiChar(result, '.', dot + 1, next)) {
        result[dot] = '/';
    }
    return result;
}

// A drive's root keeps its '\': the drive name alone ("E:") would name the
// drive's current directory, which need not be its root.
bool workingDirectoryOf(const std::string& modulePath, std::string& folder, NextCharFn next) {
    size_t slash = findLastAnsiChar(modulePath, '\\', next);
    if (slash == std::string::npos || slash == 0) return false;
    bool driveRoot = slash == 2 && modulePath[1] == ':';
    folder = modulePath.substr(0, driveRoot ? slash + 1 : slash);
    return true;
}

std::string moduleFolderOf(const std::string& modulePath, NextCharFn next) {
    size_t slash = findLastAnsiChar(modulePath, '\\', next);
    return slash == std::string::npos ? std::string() : modulePath.substr(0, slash + 1);
}
