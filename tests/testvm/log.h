// The test VM's log file, testvm.log beside the DLL, and its loud exits.
#pragma once
#include <string>

// Exit codes of the loud exits, chosen apart from anything a launcher returns.
enum : unsigned {
    kExitUnimplemented = 99,  // a JNI function the test VM does not provide
    kExitMisuse = 98,         // a call no real VM would survive (bad handle, wrong thread)
    kExitDestroyBlocked = 97  // DestroyJavaVM would wait forever for a thread that ended attached
};

// The folder holding this DLL, with a trailing backslash.
const std::string& moduleFolder();

// Appends one line (a newline is added) and hands it to the system at once,
// so that a test reads everything logged before the process ended.
void logLine(const std::string& line);

// printf-style logLine.
void logFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Logs "<prefix> <what>" and ends the process with code.
[[noreturn]] void abortLoudly(unsigned code, const char* prefix, const std::string& what);
