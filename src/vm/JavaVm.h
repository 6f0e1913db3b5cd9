// The launcher's use of the JNI invocation interface and the JNI helpers.
// Portable: no Win32 call here. The platform half hands in the entry points
// and a VmHost for messages, the splash and the exception dialog.
#pragma once
#include <jni.h>
#include <string>
#include "launcher/ArgumentList.h"

// The JDK 1.1 initialisation record of the JNI 1.1 standard, no longer in
// jni.h. Only javaStackSize is read after JNI_GetDefaultJavaVMInitArgs.
struct JDK1_1InitArgs {
    jint version;
    char** properties;
    jint checkSource;
    jint nativeStackSize;
    jint javaStackSize;
    jint minHeapSize;
    jint maxHeapSize;
    jint verifyMode;
    char* classpath;
    jint(JNICALL* vfprintf)(void* fp, const char* format, void* args);
    void(JNICALL* exit)(jint code);
    void(JNICALL* abort)(void);
    jint enableClassGC;
    jint enableVerboseGC;
    jint disableAsyncGC;
    jint verbose;
    jboolean debugging;
    jint debugPort;
};

using CreateJavaVmFn = jint(JNICALL*)(JavaVM** vm, void** env, void* args);
using GetDefaultJavaVmInitArgsFn = jint(JNICALL*)(void* args);

// What the VM thread needs from the platform.
class VmHost {
public:
    // Shows an error message box with text (already formatted).
    virtual void showError(const std::string& text) = 0;
    // Closes the splash screen and waits for its thread.
    virtual void closeSplash() = 0;
    // Shows the uncaught-exception dialog; true means Stop.
    virtual bool askStopOnException(JNIEnv* env, jthrowable thrown) = 0;

protected:
    ~VmHost() = default;
};

// The VM library's default Java stack size in bytes (javaStackSize of the
// JDK 1.1 record), or 0 when it reports 0 or less. The call's result code is
// ignored.
uint32_t defaultJavaStackSize(GetDefaultJavaVmInitArgsFn entry);

// Reason text number (225..230) for a JNI_CreateJavaVM result, 0 for none.
int creationReasonId(jint result);

// Creates the VM from options (JNI 1.2, unrecognised options not ignored) on
// the calling thread, then redirects System.out / System.err to the files
// when they are not empty. False after message 203 with 213 and the reason.
bool createVm(CreateJavaVmFn entry, const ArgumentList& options, const std::string& outputFile,
              const std::string& errorFile, JavaVM** vm, JNIEnv** env, VmHost& host);

// Looks up mainClass (slashed form), calls its static main(String[]) with
// arguments and detaches the thread. An uncaught exception is printed, the
// splash closed and, with failureCheck, the dialog asked; Stop calls
// System.exit(-1). False after its own message on every failure; the thread
// is detached on those paths as well, so that DestroyJavaVM cannot wait for it.
bool invokeMain(JavaVM* vm, JNIEnv* env, const std::string& mainClass, const ArgumentList& arguments,
                bool failureCheck, VmHost& host);

// A java.lang.String decoded from the narrow text with the VM's default
// charset (String(byte[])), or null with any exception left pending.
jstring newPlatformString(JNIEnv* env, const char* text);

// A String[] of the list's elements, or null.
jobjectArray newStringArray(JNIEnv* env, const ArgumentList& list);

// new java.io.PrintStream(stream), or null.
jobject newPrintStream(JNIEnv* env, jobject stream);

// System.exit(-1); returns only when the call failed (a pending exception
// is then printed).
void callSystemExit(JNIEnv* env);

// System.setOut / setErr to a PrintStream on a new FileOutputStream(path).
// False when any step fails; a pending exception is left for the caller.
bool redirectStream(JNIEnv* env, const char* path, bool errorStream);
