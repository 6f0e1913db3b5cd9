// The scenario a test sets up in testvm.ini beside the DLL (section [vm]).
#pragma once
#include <jni.h>

#include <string>
#include <vector>

enum class MainAction { Return, Throw, Exit, Thread };
enum class SecondaryForm { None, Void, Int };

struct Scenario {
    jint createResult = 0;
    jint defaultsResult = 0;
    jint defaultStackSize = 0;
    std::vector<std::string> classes;        // in UTF-8, as FindClass receives them
    std::vector<std::string> mainMissingIn;  // in UTF-8
    MainAction mainAction = MainAction::Return;
    int mainValue = 0;  // exit status or thread milliseconds
    bool pendingOnMissing = true;
    SecondaryForm secondaryForm = SecondaryForm::None;
    jint secondaryResult = 0;
    bool secondaryThrows = false;
};

// The scenario, read from the file on first use. A missing file gives the
// defaults; a malformed value is logged as "scenario bad <key>=<value>" and
// its default used, so that a typo in a test shows up in the log.
const Scenario& scenario();

// The text converted from the ANSI code page to UTF-8.
std::string ansiToUtf8(const std::string& text);
