// Loading the VM library, preparing the environment and the VM options, and
// running the VM thread.
#pragma once
#include <string>

class Launcher;

// Loads vmLibraryPath and resolves both JNI entry points. False after
// message 222, or 202 with 212 when an entry point is missing.
bool loadVmLibrary(Launcher& launcher);

// Sets QX_JVM_PATH, QX_JVM_HOME and Path for the chosen runtime and adds the
// library-path option when "Library Path" is set. Never shows a message.
void prepareEnvironment(Launcher& launcher);

// Adds the class-path option and the VM parameters to vmOptions and reads the
// redirection files. False after message 209 when "Class Path" is empty.
bool addClassPathOptions(Launcher& launcher);

// Replaces %NAME% references; the text stays as it is when expansion fails.
void expandEnvironment(std::string& text);

// Runs VM creation and main on a thread of vmStackSize bytes and returns that
// thread's exit code: 0 on success, 1 on any failure.
unsigned long runVmThread(Launcher& launcher);
