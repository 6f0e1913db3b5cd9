// The one object that holds all launcher state, and its fixed sequence:
// initialize, run, teardown.
#pragma once
#include <windows.h>
#include <jni.h>
#include <cstdint>
#include <string>
#include "jre/JavaVersion.h"
#include "launcher/ArgumentList.h"
#include "vm/JavaVm.h"

class SplashWindow;
struct SingleInstanceBlock;

class Launcher {
public:
    Launcher() = default;
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;
    // The teardown: splash, VM, single-instance channel, in that order.
    ~Launcher();

    // Command line, single-instance channel, configuration, working
    // directory and the runtime search. False ends the launch with -1.
    bool initialize();
    // Everything up to the end of the VM thread; returns the exit code.
    int run();

    HANDLE splashThreadHandle = nullptr;  // the splash thread
    DWORD splashThreadId = 0;             // target of the splash thread's quit message
    std::string splashPicture;            // [Display] "Splash Screen"; empty: no splash
    std::string splashShadow;             // [Display] "Splash Screen Shadow"
    int32_t jvmType = 0;                  // 0 default, 1 server only, 2 server preferred
    std::string vmLibraryPath;            // full path of the chosen jvm.dll; empty until found
    JavaVM* javaVm = nullptr;             // written by the VM thread
    JNIEnv* jniEnv = nullptr;             // the VM thread's environment, used there only
    std::string mainClass;                // "Main Class" with '.' replaced by '/'
    JavaVersion minimumVersion;           // inclusive lower bound
    JavaVersion maximumVersion;           // inclusive upper bound
    ArgumentList arguments;               // command-line arguments without the program name
    SplashWindow* splashWindow = nullptr; // owned; null when no splash is shown
    HWND ownerWindow = nullptr;           // owner of every message box; set once by the splash thread
    bool wantJdk = false;                 // "JVM Source" names the development kit
    bool wantJre = false;                 // "JVM Source" names the runtime environment
    bool favorSource = true;              // favor_ value (true) or only_ value (false)
    std::string productName;              // [Product Information] "Product Name"
    std::string productCode;              // [Product Information] "Product Code"
    ArgumentList vmOptions;               // option strings in the order handed to the VM
    ArgumentList preferredVersions;       // "Preferred versions" split at ';'
    std::string jrePath;                  // "JRE Path" from the file or its per-user copy
    std::string libraryPath;              // "Library Path"; the composed text after prepareEnvironment
    SingleInstanceBlock* instanceBlock = nullptr;  // mapped view of the shared block
    HANDLE instanceMapping = nullptr;     // the shared block's file mapping
    HANDLE listenerThreadHandle = nullptr;// first instance's listener thread
    bool isFirstInstance = false;         // this process created the shared block
    bool singleInstance = false;          // single-instance mode is on
    std::string outputFile;               // [Application] "Output File"
    std::string errorFile;                // [Application] "Error File"
    std::string systemPath;               // "System Path"
    bool failureCheck = false;            // [Application] "Failure Check" is Yes
    bool overrideWorkingDir = false;      // [Application] "Override WorkingDir" is Yes
    uint32_t vmStackSize = 0;             // VM thread stack in bytes; 0: not set
    CreateJavaVmFn createJavaVmEntry = nullptr;              // JNI_CreateJavaVM of the loaded library
    GetDefaultJavaVmInitArgsFn defaultInitArgsEntry = nullptr; // JNI_GetDefaultJavaVMInitArgs

private:
    bool findRuntime();
    bool askUserForRuntime();
};

// Prepares the windowing layer of the main thread. False after its message.
bool initWindowing(HINSTANCE instance);
// Releases what initWindowing set up.
void shutdownWindowing();
