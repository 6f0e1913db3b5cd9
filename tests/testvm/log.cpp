// Log file writing: one append-mode handle for the life of the process.
#include "log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "launcher/win/Handles.h"

namespace {

std::mutex logMutex;
KernelHandle logFile;

}  // namespace

const std::string& moduleFolder() {
    static const std::string folder = [] {
        HMODULE self = nullptr;
        char path[MAX_PATH] = {};
        if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               reinterpret_cast<LPCSTR>(&moduleFolder), &self)) {
            GetModuleFileNameA(self, path, MAX_PATH);
        }
        std::string result(path);
        size_t slash = result.find_last_of("\\/");
        return slash == std::string::npos ? std::string() : result.substr(0, slash + 1);
    }();
    return folder;
}

void logLine(const std::string& line) {
    std::lock_guard<std::mutex> lock(logMutex);
    if (!logFile) {
        // Other processes (the test) may read, rename or delete the log meanwhile.
        logFile.reset(CreateFileA((moduleFolder() + "testvm.log").c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (logFile.get() == INVALID_HANDLE_VALUE) logFile.release();
        if (!logFile) return;
    }
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(logFile.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void logFormat(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    logLine(buffer);
}

void abortLoudly(unsigned code, const char* prefix, const std::string& what) {
    logLine(std::string(prefix) + " " + what);
    ExitProcess(code);
}
