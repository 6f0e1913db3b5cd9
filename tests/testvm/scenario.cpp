// Reading testvm.ini with the profile API, as a Windows program would.
#include "scenario.h"

#include <windows.h>

#include <cstdlib>

#include "log.h"

namespace {

// The [vm] value of key, or fallback when the key is absent.
std::string readValue(const std::string& file, const char* key, const char* fallback) {
    std::vector<char> buffer(32768);
    GetPrivateProfileStringA("vm", key, fallback, buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    return buffer.data();
}

// Parses a whole decimal (or 0x hexadecimal) integer; false when text is not one.
bool parseInt(const std::string& text, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 0);
    return *end == '\0';
}

jint readInt(const std::string& file, const char* key, jint fallback) {
    std::string text = readValue(file, key, "");
    long value = 0;
    if (text.empty()) return fallback;
    if (!parseInt(text, value)) {
        logFormat("scenario bad %s=%s", key, text.c_str());
        return fallback;
    }
    return static_cast<jint>(value);
}

bool readBool(const std::string& file, const char* key, bool fallback) {
    std::string text = readValue(file, key, "");
    if (text.empty()) return fallback;
    if (text == "yes" || text == "true" || text == "1") return true;
    if (text == "no" || text == "false" || text == "0") return false;
    logFormat("scenario bad %s=%s", key, text.c_str());
    return fallback;
}

std::string trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> readList(const std::string& file, const char* key, const char* fallback) {
    std::string text = readValue(file, key, fallback);
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        std::string item = trim(text.substr(start, comma - start));
        if (!item.empty()) items.push_back(ansiToUtf8(item));
        start = comma + 1;
    }
    return items;
}

// "name" or "name:N" split into its parts; value stays untouched without ":N".
bool splitAction(const std::string& text, std::string& name, long& value) {
    size_t colon = text.find(':');
    name = text.substr(0, colon);
    return colon == std::string::npos || parseInt(text.substr(colon + 1), value);
}

void readMainAction(const std::string& file, Scenario& result) {
    std::string text = readValue(file, "main_action", "return");
    std::string name;
    long value = 0;
    bool valid = splitAction(text, name, value);
    if (valid && name == "return") {
        result.mainAction = MainAction::Return;
    } else if (valid && name == "throw") {
        result.mainAction = MainAction::Throw;
    } else if (valid && name == "exit" && text.find(':') != std::string::npos) {
        result.mainAction = MainAction::Exit;
    } else if (valid && name == "thread" && text.find(':') != std::string::npos && value >= 0) {
        result.mainAction = MainAction::Thread;
    } else {
        logFormat("scenario bad main_action=%s", text.c_str());
        return;
    }
    result.mainValue = static_cast<int>(value);
}

void readSecondary(const std::string& file, Scenario& result) {
    std::string text = readValue(file, "secondary_main", "none");
    if (text == "none") {
        result.secondaryForm = SecondaryForm::None;
    } else if (text == "void") {
        result.secondaryForm = SecondaryForm::Void;
    } else if (text == "int") {
        result.secondaryForm = SecondaryForm::Int;
    } else {
        logFormat("scenario bad secondary_main=%s", text.c_str());
    }
    result.secondaryResult = readInt(file, "secondary_result", 0);
    std::string action = readValue(file, "secondary_action", "return");
    if (action == "throw") {
        result.secondaryThrows = true;
    } else if (action != "return") {
        logFormat("scenario bad secondary_action=%s", action.c_str());
    }
}

Scenario load() {
    std::string file = moduleFolder() + "testvm.ini";
    Scenario result;
    result.createResult = readInt(file, "create_result", 0);
    result.defaultsResult = readInt(file, "defaults_result", 0);
    result.defaultStackSize = readInt(file, "default_stack_size", 0);
    result.classes = readList(file, "classes", "com/example/App");
    result.mainMissingIn = readList(file, "main_missing_in", "");
    result.pendingOnMissing = readBool(file, "pending_on_missing", true);
    readMainAction(file, result);
    readSecondary(file, result);
    return result;
}

}  // namespace

const Scenario& scenario() {
    static const Scenario loaded = load();
    return loaded;
}

std::string ansiToUtf8(const std::string& text) {
    if (text.empty()) return text;
    int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring buffer(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &buffer[0], wide);
    int narrow = WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(narrow), '\0');
    WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, &result[0], narrow, nullptr, nullptr);
    return result;
}
