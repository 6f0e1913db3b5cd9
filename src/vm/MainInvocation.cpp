// Runs the application's static main(String[]) on the VM thread.
#include "launcher/StringTable.h"
#include "launcher/TextFormat.h"
#include "vm/JavaVm.h"

namespace {

// Ends a failed start. The thread must leave the VM before it ends: the
// teardown's DestroyJavaVM waits for every attached non-daemon thread and
// would otherwise wait for this one forever.
bool failDetached(JavaVM* vm) {
    vm->DetachCurrentThread();
    return false;
}

// Prints the pending exception, if any; true when there was one.
bool describePending(JNIEnv* env) {
    jthrowable pending = env->ExceptionOccurred();
    if (pending == nullptr) {
        return false;
    }
    env->ExceptionDescribe();
    env->DeleteLocalRef(pending);
    return true;
}

}  // namespace

// Finds mainClass, calls main(arguments), handles an uncaught exception and
// detaches; true when main was called and the thread detached.
bool invokeMain(JavaVM* vm, JNIEnv* env, const std::string& mainClass, const ArgumentList& arguments,
                bool failureCheck, VmHost& host) {
    // Through String(byte[]) and back to modified UTF-8, so that a name in
    // the ANSI code page reaches FindClass in the form the VM expects.
    jstring name = newPlatformString(env, mainClass.c_str());
    if (name == nullptr) {
        host.showError(formatText(loadText(IDS_MAIN_CLASS_FAILED).c_str(), mainClass.c_str()));
        return failDetached(vm);
    }
    const char* utf = env->GetStringUTFChars(name, nullptr);
    if (utf == nullptr) {
        describePending(env);
        return failDetached(vm);
    }
    jclass mainType = env->FindClass(utf);
    if (mainType == nullptr) {
        describePending(env);
        host.showError(formatText(loadText(IDS_MAIN_CLASS_NOT_FOUND).c_str(), utf));
        env->ReleaseStringUTFChars(name, utf);
        return failDetached(vm);
    }
    env->ReleaseStringUTFChars(name, utf);

    jmethodID mainMethod = env->GetStaticMethodID(mainType, "main", "([Ljava/lang/String;)V");
    if (mainMethod == nullptr) {
        // The VM explains a missing method with NoSuchMethodError; the
        // generic text is only for a VM that gives no reason.
        if (!describePending(env)) {
            host.showError(loadText(IDS_NO_MAIN_METHOD));
        }
        return failDetached(vm);
    }
    jobjectArray mainArguments = newStringArray(env, arguments);
    if (mainArguments == nullptr) {
        describePending(env);
        return failDetached(vm);
    }

    env->CallStaticVoidMethod(mainType, mainMethod, mainArguments);

    jthrowable thrown = env->ExceptionOccurred();
    if (thrown != nullptr) {
        env->ExceptionDescribe();
        host.closeSplash();
        if (failureCheck && host.askStopOnException(env, thrown)) {
            callSystemExit(env);
        }
        env->DeleteLocalRef(thrown);
    }
    return vm->DetachCurrentThread() == JNI_OK;
}
