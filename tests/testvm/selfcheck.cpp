// Drives the test VM the way the launcher does, so that the test VM's own
// behaviour can be checked: testvm_selfcheck <dll> <mode> [class] [error file]
//   exports        prints which entry points the library exports
//   run            defaults, creation on a thread of that stack size, an
//                  optional System.err redirection, main with two arguments,
//                  detach, DestroyJavaVM; exit code 0, or the failed step
//   run-leave-attached  the same, without detaching after a failed step
//   stop           run; when main throws, capture its stack trace and call
//                  System.exit(-1), as the uncaught-exception dialog's Stop does
//   secondary      run, then secondaryMain from the main thread, attached
//   use-deleted    creates the VM and uses a deleted local reference
//   unimplemented  creates the VM and calls a slot the test VM leaves out
#include <windows.h>
#include <jni.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>

#include "vm/JavaVm.h"  // the JDK 1.1 initialisation record

namespace {


using CreateFn = jint(JNICALL*)(JavaVM**, void**, void*);
using DefaultsFn = jint(JNICALL*)(void*);

enum Step { kOk = 0, kLoad = 2, kCreate = 3, kClass = 4, kMain = 5, kArguments = 6, kRedirect = 7 };

CreateFn createEntry = nullptr;
const char* mainClass = "com/example/App";
const char* errorFile = nullptr;
bool leaveAttached = false;
bool stopOnThrow = false;
JavaVM* vm = nullptr;

jstring platformString(JNIEnv* env, const char* text) {
    jclass type = env->FindClass("java/lang/String");
    jmethodID init = type ? env->GetMethodID(type, "<init>", "([B)V") : nullptr;
    jsize length = static_cast<jsize>(strlen(text));
    jbyteArray bytes = init ? env->NewByteArray(length) : nullptr;
    if (bytes == nullptr) return nullptr;
    env->SetByteArrayRegion(bytes, 0, length, reinterpret_cast<const jbyte*>(text));
    jstring result = env->ExceptionOccurred() ? nullptr : static_cast<jstring>(env->NewObject(type, init, bytes));
    env->DeleteLocalRef(bytes);
    return result;
}

bool redirectErrors(JNIEnv* env, const char* path) {
    jclass fileClass = env->FindClass("java/io/FileOutputStream");
    jmethodID fileInit = env->GetMethodID(fileClass, "<init>", "(Ljava/lang/String;)V");
    jobject file = env->NewObject(fileClass, fileInit, platformString(env, path));
    if (file == nullptr) return false;
    jclass printClass = env->FindClass("java/io/PrintStream");
    jmethodID printInit = env->GetMethodID(printClass, "<init>", "(Ljava/io/OutputStream;)V");
    jobject stream = env->NewObject(printClass, printInit, file);
    jclass system = env->FindClass("java/lang/System");
    jmethodID setErr = env->GetStaticMethodID(system, "setErr", "(Ljava/io/PrintStream;)V");
    env->CallStaticVoidMethod(system, setErr, stream);
    return env->ExceptionCheck() == JNI_FALSE;
}

// What the uncaught-exception dialog's Stop does: capture the stack trace
// through a ByteArrayOutputStream, print it, then System.exit(-1).
void stop(JNIEnv* env, jthrowable thrown) {
    jclass bufferClass = env->FindClass("java/io/ByteArrayOutputStream");
    jobject buffer = env->NewObject(bufferClass, env->GetMethodID(bufferClass, "<init>", "()V"));
    jclass printClass = env->FindClass("java/io/PrintStream");
    jobject stream = env->NewObject(printClass, env->GetMethodID(printClass, "<init>", "(Ljava/io/OutputStream;)V"), buffer);
    jmethodID print = env->GetMethodID(env->GetObjectClass(thrown), "printStackTrace", "(Ljava/io/PrintStream;)V");
    env->CallObjectMethod(thrown, print, stream);
    jmethodID toString = env->GetMethodID(env->GetObjectClass(buffer), "toString", "()Ljava/lang/String;");
    jstring text = static_cast<jstring>(env->CallObjectMethod(buffer, toString));
    const char* utf = env->GetStringUTFChars(text, nullptr);
    printf("captured [%s]\n", utf);
    env->ReleaseStringUTFChars(text, utf);
    jclass system = env->FindClass("java/lang/System");
    env->CallStaticVoidMethod(system, env->GetStaticMethodID(system, "exit", "(I)V"), -1);
    printf("System.exit returned\n");
}

// Looks up the main class and runs main; the failed step otherwise.
Step invokeMain(JNIEnv* env) {
    if (errorFile != nullptr && !redirectErrors(env, errorFile)) {
        printf("redirect failed\n");
        env->ExceptionDescribe();
        return kRedirect;
    }
    jstring name = platformString(env, mainClass);
    const char* utf = env->GetStringUTFChars(name, nullptr);
    jclass type = env->FindClass(utf);
    env->ReleaseStringUTFChars(name, utf);
    if (type == nullptr) {
        printf(env->ExceptionOccurred() ? "class missing, pending\n" : "class missing, nothing pending\n");
        env->ExceptionDescribe();
        return kClass;
    }
    jmethodID main = env->GetStaticMethodID(type, "main", "([Ljava/lang/String;)V");
    if (main == nullptr) {
        printf(env->ExceptionOccurred() ? "main missing, pending\n" : "main missing, nothing pending\n");
        env->ExceptionDescribe();
        return kMain;
    }
    const char* values[2] = {"first", "second \xE4"};
    jobjectArray array = env->NewObjectArray(2, env->FindClass("java/lang/String"), nullptr);
    for (int i = 0; array != nullptr && i < 2; ++i) {
        jstring element = platformString(env, values[i]);
        if (element == nullptr) return kArguments;
        env->SetObjectArrayElement(array, i, element);
        env->DeleteLocalRef(element);
    }
    if (array == nullptr) return kArguments;
    env->CallStaticVoidMethod(type, main, array);
    jthrowable thrown = env->ExceptionOccurred();
    if (thrown != nullptr) {
        printf("main threw\n");
        env->ExceptionDescribe();
        if (stopOnThrow) stop(env, thrown);
    }
    return kOk;
}

// The VM thread: creation, main, and detaching (also after a failed step,
// unless the mode leaves the thread attached on purpose).
DWORD WINAPI vmThread(void*) {
    JavaVMOption options[2] = {{const_cast<char*>("-Djava.class.path=app.jar"), nullptr},
                               {const_cast<char*>("-Xmx64m"), nullptr}};
    JavaVMInitArgs args = {JNI_VERSION_1_2, 2, options, JNI_FALSE};
    JNIEnv* env = nullptr;
    jint created = createEntry(&vm, reinterpret_cast<void**>(&env), &args);
    if (created != 0) {
        printf("create failed %d\n", static_cast<int>(created));
        return kCreate;
    }
    Step step = invokeMain(env);
    if (step != kOk && leaveAttached) return step;
    return vm->DetachCurrentThread() == 0 ? step : kMain;
}

// Calls secondaryMain of the main class from the calling thread, attached
// for it, the way a second start reaches the first instance: the void form
// first, then the int form.
void callSecondary() {
    JNIEnv* env = nullptr;
    if (vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) < 0) {
        printf("attach failed\n");
        return;
    }
    jclass type = env->FindClass(mainClass);
    jmethodID method = type ? env->GetStaticMethodID(type, "secondaryMain", "([Ljava/lang/String;)V") : nullptr;
    bool intForm = false;
    if (type != nullptr && method == nullptr) {
        env->ExceptionClear();
        method = env->GetStaticMethodID(type, "secondaryMain", "([Ljava/lang/String;)I");
        intForm = true;
    }
    jobjectArray array = method ? env->NewObjectArray(1, env->FindClass("java/lang/String"), nullptr) : nullptr;
    if (array != nullptr) env->SetObjectArrayElement(array, 0, platformString(env, "again"));
    if (array != nullptr && intForm) printf("secondary returned %d\n", static_cast<int>(env->CallStaticIntMethod(type, method, array)));
    if (array != nullptr && !intForm) env->CallStaticVoidMethod(type, method, array);
    if (env->ExceptionOccurred()) env->ExceptionDescribe();
    vm->DetachCurrentThread();
}

// Uses a class reference after deleting it, which a real VM does not survive.
int useDeleted() {
    JavaVMInitArgs args = {JNI_VERSION_1_2, 0, nullptr, JNI_FALSE};
    JNIEnv* env = nullptr;
    if (createEntry(&vm, reinterpret_cast<void**>(&env), &args) != 0) return kCreate;
    jclass type = env->FindClass("java/lang/String");
    env->DeleteLocalRef(type);
    env->GetMethodID(type, "<init>", "([B)V");
    printf("returned after using a deleted reference\n");
    return 0;
}

int unimplemented() {
    JavaVMInitArgs args = {JNI_VERSION_1_2, 0, nullptr, JNI_FALSE};
    JNIEnv* env = nullptr;
    if (createEntry(&vm, reinterpret_cast<void**>(&env), &args) != 0) return kCreate;
    jclass type = env->FindClass("java/lang/String");
    env->GetArrayLength(static_cast<jarray>(static_cast<jobject>(type)));
    printf("returned from an unimplemented slot\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    _setmode(_fileno(stdout), _O_BINARY);  // captured text is printed byte for byte
    if (argc < 3) {
        printf("usage: testvm_selfcheck <dll> exports|run|run-leave-attached|stop|secondary|use-deleted|unimplemented [class] [error file]\n");
        return 1;
    }
    if (argc > 3) mainClass = argv[3];
    if (argc > 4) errorFile = argv[4];
    HMODULE library = LoadLibraryA(argv[1]);
    if (library == nullptr) {
        printf("load failed %lu\n", GetLastError());
        return kLoad;
    }
    createEntry = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(library, "JNI_CreateJavaVM")));
    DefaultsFn defaults = reinterpret_cast<DefaultsFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "JNI_GetDefaultJavaVMInitArgs")));
    if (strcmp(argv[2], "exports") == 0) {
        printf("create=%s defaults=%s\n", createEntry ? "yes" : "no", defaults ? "yes" : "no");
        return kOk;
    }
    if (createEntry == nullptr || defaults == nullptr) return kLoad;
    if (strcmp(argv[2], "unimplemented") == 0) return unimplemented();
    if (strcmp(argv[2], "use-deleted") == 0) return useDeleted();
    leaveAttached = strcmp(argv[2], "run-leave-attached") == 0;
    stopOnThrow = strcmp(argv[2], "stop") == 0;

    JDK1_1InitArgs record = {};
    record.version = JNI_VERSION_1_1;
    jint result = defaults(&record);
    printf("defaults result=%d version=0x%08X stack=%d\n", static_cast<int>(result),
           static_cast<unsigned>(record.version), static_cast<int>(record.javaStackSize));
    SIZE_T stack = record.javaStackSize > 0 ? static_cast<SIZE_T>(record.javaStackSize) : 0;
    HANDLE thread = CreateThread(nullptr, stack, vmThread, nullptr, 0, nullptr);
    if (thread == nullptr) return kCreate;
    WaitForSingleObject(thread, INFINITE);
    DWORD code = kCreate;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    if (vm != nullptr && strcmp(argv[2], "secondary") == 0) callSecondary();
    if (vm != nullptr) {
        jint destroyed = vm->DestroyJavaVM();
        printf("destroyed %d\n", static_cast<int>(destroyed));
    }
    return static_cast<int>(code);
}
