// A stand-in for a Java runtime's jvm.dll, for the launcher's tests under
// Wine. It exports the two invocation entry points, hosts a VM that knows a
// handful of classes and records every step the launcher takes in a log.
//
// Scenario: testvm.ini beside the DLL, section [vm] (ANSI code page):
//   create_result=N        JNI_CreateJavaVM returns N without creating a VM
//                          when N is not 0 (default 0)
//   defaults_result=N      what JNI_GetDefaultJavaVMInitArgs returns (default 0)
//   default_stack_size=N   javaStackSize it writes into a JDK 1.1 record (default 0)
//   classes=a/B,c/D        classes that exist besides the library classes
//                          (default com/example/App)
//   main_missing_in=a/B    classes without a static main(String[])
//   main_action=return|throw|exit:N|thread:MS
//                          what main does: return; leave a RuntimeException
//                          pending; System.exit(N); start a non-daemon thread
//                          that lives MS milliseconds (default return)
//   pending_on_missing=yes|no  FindClass of a missing class leaves a
//                          NoClassDefFoundError pending, a missing method a
//                          NoSuchMethodError (default yes)
//   secondary_main=none|void|int  the form of static secondaryMain(String[])
//                          the scenario classes have (default none)
//   secondary_result=N     what the int form returns (default 0)
//   secondary_action=return|throw  (default return)
//
// Log: testvm.log beside the DLL, appended, one line per event:
//   defaults version=0x00010001 javaStackSize=N result=N
//   create version=0x00010002 nOptions=N ignoreUnrecognized=0
//   option[i]=<text>
//   env QX_JVM_HOME=<value>   env QX_JVM_PATH=<value>   env Path=<value>
//                             ("env NAME unset" when the variable does not exist)
//   stack reserved=<bytes>    the creating thread's reserved stack
//   create result=N           only when the scenario makes creation fail
//   findclass <name>
//   getmethod <class> <name> <signature>
//   getstaticmethod <class> <name> <signature>
//   main argc=N / secondary argc=N, then arg[i]=<bytes as given>
//   setOut <path> / setErr <path>
//   exception describe        then: Exception in thread "<thread>" <class>: <message>
//   exception describe none   (nothing was pending)
//   attach <thread> / attach daemon <thread> / attach refused
//   detach / detach not attached
//   destroy begin / destroy end / destroy refused
//   exit N                    System.exit(N): the process ends with N at once
//   thread end                the thread of main_action=thread ended
//   warning <function> with pending exception
//   scenario bad <key>=<value>
// Loud ends, each after its line:
//   unimplemented <slot>      exit code 99: a JNIEnv slot the VM leaves out
//   misuse <what>             exit code 98: a call a real VM would crash on
//   destroy blocked by ended thread <thread>
//                             exit code 97: a thread ended without detaching,
//                             so a real DestroyJavaVM would wait forever
//
// Built three times: jvm.dll with both entry points, jvm-no-create.dll
// without JNI_CreateJavaVM and jvm-no-defaults.dll without
// JNI_GetDefaultJavaVMInitArgs.
#include <windows.h>
#include <jni.h>

#include <cstdio>
#include <cstring>

#include "log.h"
#include "vm/JavaVm.h"  // the JDK 1.1 initialisation record
#include "scenario.h"
#include "threads.h"

namespace {


// Read through the wide form and converted to the ANSI code page here:
// Wine's GetEnvironmentVariableA cuts double-byte values short.
[[maybe_unused]] void logEnvironment(const char* name) {
    wchar_t wideName[64];
    MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, 64);
    DWORD size = GetEnvironmentVariableW(wideName, nullptr, 0);
    if (size == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
        logFormat("env %s unset", name);
        return;
    }
    std::wstring wide(size + 1, L'\0');
    DWORD length = GetEnvironmentVariableW(wideName, &wide[0], size + 1);
    wide.resize(length <= size ? length : 0);
    std::string value;
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (bytes > 0) {
        value.resize(bytes);
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &value[0], bytes, nullptr, nullptr);
    }
    logLine(std::string("env ") + name + "=" + value);
}

using StackLimitsFn = void(WINAPI*)(PULONG_PTR low, PULONG_PTR high);

// Bytes reserved for the calling thread's stack.
[[maybe_unused]] unsigned long long reservedStack() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "GetCurrentThreadStackLimits") : nullptr;
    if (found != nullptr) {
        ULONG_PTR low = 0;
        ULONG_PTR high = 0;
        reinterpret_cast<StackLimitsFn>(reinterpret_cast<void*>(found))(&low, &high);
        return high - low;
    }
    // Older systems: walk the regions of the stack's reservation to its top.
    MEMORY_BASIC_INFORMATION region = {};
    int local = 0;
    if (VirtualQuery(&local, &region, sizeof region) == 0) return 0;
    char* base = static_cast<char*>(region.AllocationBase);
    char* next = base;
    while (VirtualQuery(next, &region, sizeof region) != 0 && region.AllocationBase == base) {
        next = static_cast<char*>(region.BaseAddress) + region.RegionSize;
    }
    return static_cast<unsigned long long>(next - base);
}

}  // namespace

#ifndef TESTVM_NO_DEFAULTS
jint JNICALL JNI_GetDefaultJavaVMInitArgs(void* args) {
    const Scenario& config = scenario();
    if (args == nullptr) abortLoudly(kExitMisuse, "misuse", "JNI_GetDefaultJavaVMInitArgs: null record");
    // Only a JDK 1.1 record has a stack size member; the VM answers it and
    // marks the record as read by raising its version.
    JDK1_1InitArgs* record = static_cast<JDK1_1InitArgs*>(args);
    jint version = record->version;
    if (version == JNI_VERSION_1_1) {
        record->javaStackSize = config.defaultStackSize;
        record->version = JNI_VERSION_1_2;
    }
    logFormat("defaults version=0x%08X javaStackSize=%d result=%d", static_cast<unsigned>(version),
              version == JNI_VERSION_1_1 ? static_cast<int>(config.defaultStackSize) : 0,
              static_cast<int>(config.defaultsResult));
    return config.defaultsResult;
}
#endif

#ifndef TESTVM_NO_CREATE
jint JNICALL JNI_CreateJavaVM(JavaVM** pvm, void** penv, void* args) {
    const Scenario& config = scenario();
    if (pvm == nullptr || penv == nullptr) abortLoudly(kExitMisuse, "misuse", "JNI_CreateJavaVM: null out pointer");
    if (args == nullptr) abortLoudly(kExitMisuse, "misuse", "JNI_CreateJavaVM: null arguments");
    const JavaVMInitArgs* init = static_cast<const JavaVMInitArgs*>(args);
    logFormat("create version=0x%08X nOptions=%d ignoreUnrecognized=%d", static_cast<unsigned>(init->version),
              static_cast<int>(init->nOptions), static_cast<int>(init->ignoreUnrecognized));
    if (init->nOptions > 0 && init->options == nullptr) abortLoudly(kExitMisuse, "misuse", "JNI_CreateJavaVM: null options");
    for (jint i = 0; i < init->nOptions; ++i) {
        const char* text = init->options[i].optionString;
        if (text == nullptr) abortLoudly(kExitMisuse, "misuse", "JNI_CreateJavaVM: null option string");
        logLine("option[" + std::to_string(i) + "]=" + text);
    }
    logEnvironment("QX_JVM_HOME");
    logEnvironment("QX_JVM_PATH");
    logEnvironment("Path");
    logFormat("stack reserved=%llu", reservedStack());
    *pvm = nullptr;
    *penv = nullptr;
    jint result = config.createResult;
    if (result == 0 && init->version != JNI_VERSION_1_2 && init->version != JNI_VERSION_1_4 &&
        init->version != JNI_VERSION_1_6 && init->version != JNI_VERSION_1_8 && init->version != JNI_VERSION_9 &&
        init->version != JNI_VERSION_10) {
        result = JNI_EVERSION;
    }
    if (result == 0 && vmState() != 0) result = vmState() == 1 ? JNI_EEXIST : JNI_ERR;
    if (result == 0 && !markCreated()) result = JNI_EEXIST;
    if (result != 0) {
        logFormat("create result=%d", static_cast<int>(result));
        return result;
    }
    *penv = &attachCurrent("main", false).env;
    *pvm = theVm();
    return JNI_OK;
}

jint JNICALL JNI_GetCreatedJavaVMs(JavaVM** vms, jsize capacity, jsize* count) {
    bool running = vmState() == 1;
    if (count != nullptr) *count = running ? 1 : 0;
    if (running && vms != nullptr && capacity > 0) vms[0] = theVm();
    return JNI_OK;
}
#endif
