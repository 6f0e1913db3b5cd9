// Runs the launcher's VM code against a real VM library, one launch per
// process, and prints what happened on stdout for jvm_tests to check.
//
//   jvm_driver --stack-size
//   jvm_driver [-o OPTION]... [--out FILE] [--err FILE] [--failure-check]
//              [--stop] --main CLASS [ARGUMENT]...
//
// Like the launcher, a VM thread sized with the library's default stack
// size creates the VM and calls main; the main thread then destroys the VM.
#include <dlfcn.h>
#include <pthread.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "vm/JavaVm.h"

namespace {

// Reports through stdout what the launcher would show in message boxes.
class PrintingHost : public VmHost {
public:
    explicit PrintingHost(bool stop) : stop(stop) {}
    void showError(const std::string& text) override { std::printf("MESSAGE: %s", text.c_str()); }
    void closeSplash() override { std::printf("SPLASH CLOSED\n"); }
    bool askStopOnException(JNIEnv*, jthrowable thrown) override {
        std::printf("ASKED %s\n", thrown != nullptr ? "with exception" : "without exception");
        return stop;
    }

private:
    bool stop;
};

struct Launch {
    CreateJavaVmFn createEntry = nullptr;
    ArgumentList options;
    ArgumentList arguments;
    std::string outputFile;
    std::string errorFile;
    std::string mainClass;
    bool failureCheck = false;
    bool stop = false;
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    int threadResult = -1;
};

void* vmThreadMain(void* parameter) {
    Launch& launch = *static_cast<Launch*>(parameter);
    PrintingHost host(launch.stop);
    if (!createVm(launch.createEntry, launch.options, launch.outputFile, launch.errorFile, &launch.vm,
                  &launch.env, host)) {
        launch.threadResult = 1;
        return nullptr;
    }
    launch.threadResult =
        invokeMain(launch.vm, launch.env, launch.mainClass, launch.arguments, launch.failureCheck, host) ? 0 : 1;
    return nullptr;
}

int usage() {
    std::fprintf(stderr, "usage: jvm_driver --stack-size | [-o OPTION]... [--out FILE] [--err FILE] "
                         "[--failure-check] [--stop] --main CLASS [ARGUMENT]...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    Launch launch;
    bool stackSizeOnly = false;
    bool haveMain = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (haveMain) {
            launch.arguments.append(arg);
        } else if (arg == "--stack-size") {
            stackSizeOnly = true;
        } else if (arg == "--failure-check") {
            launch.failureCheck = true;
        } else if (arg == "--stop") {
            launch.stop = true;
        } else if (i + 1 < argc && arg == "-o") {
            launch.options.append(argv[++i]);
        } else if (i + 1 < argc && arg == "--out") {
            launch.outputFile = argv[++i];
        } else if (i + 1 < argc && arg == "--err") {
            launch.errorFile = argv[++i];
        } else if (i + 1 < argc && arg == "--main") {
            launch.mainClass = argv[++i];
            haveMain = true;
        } else {
            return usage();
        }
    }
    if (!stackSizeOnly && !haveMain) {
        return usage();
    }

    const char* libraryPath = std::getenv("QX_JVM_LIBRARY");
    if (libraryPath == nullptr || *libraryPath == '\0') {
        libraryPath = QX_DEFAULT_JVM_LIBRARY;
    }
    void* library = dlopen(libraryPath, RTLD_NOW | RTLD_GLOBAL);
    if (library == nullptr) {
        std::printf("LOAD FAILED %s\n", dlerror());
        return 3;
    }
    launch.createEntry = reinterpret_cast<CreateJavaVmFn>(dlsym(library, "JNI_CreateJavaVM"));
    auto defaultsEntry = reinterpret_cast<GetDefaultJavaVmInitArgsFn>(dlsym(library, "JNI_GetDefaultJavaVMInitArgs"));
    if (launch.createEntry == nullptr || defaultsEntry == nullptr) {
        std::printf("ENTRY MISSING\n");
        return 3;
    }

    const uint32_t stackSize = defaultJavaStackSize(defaultsEntry);
    if (stackSizeOnly) {
        std::printf("STACK %u\n", static_cast<unsigned>(stackSize));
        return 0;
    }

    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    if (stackSize != 0 && pthread_attr_setstacksize(&attributes, stackSize) != 0) {
        std::printf("STACK SIZE REFUSED %u\n", static_cast<unsigned>(stackSize));
    }
    pthread_t thread;
    if (pthread_create(&thread, &attributes, vmThreadMain, &launch) != 0) {
        std::printf("THREAD FAILED\n");
        return 3;
    }
    pthread_attr_destroy(&attributes);
    pthread_join(thread, nullptr);
    std::printf("VM THREAD %d\n", launch.threadResult);

    // The launcher's teardown: DestroyJavaVM from the main thread, which
    // returns once the last non-daemon Java thread has ended.
    if (launch.vm != nullptr) {
        std::printf("DESTROYING\n");
        const jint destroyed = launch.vm->DestroyJavaVM();
        std::printf("DESTROYED %d\n", static_cast<int>(destroyed));
    }
    return launch.threadResult;
}
