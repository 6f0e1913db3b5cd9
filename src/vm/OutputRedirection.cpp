// Sends System.out or System.err to a file for applications without a console.
#include "vm/JavaVm.h"

// System.setOut / setErr(new PrintStream(new FileOutputStream(path))).
bool redirectStream(JNIEnv* env, const char* path, bool errorStream) {
    jstring name = newPlatformString(env, path);
    if (name == nullptr) {
        return false;
    }
    jclass fileClass = env->FindClass("java/io/FileOutputStream");
    if (fileClass == nullptr) {
        return false;
    }
    jmethodID fileCtor = env->GetMethodID(fileClass, "<init>", "(Ljava/lang/String;)V");
    if (fileCtor == nullptr) {
        return false;
    }
    // Opening truncates an existing file; a path that cannot be opened
    // leaves FileNotFoundException pending for the caller to print.
    jobject file = env->NewObject(fileClass, fileCtor, name);
    if (file == nullptr) {
        return false;
    }
    jobject stream = newPrintStream(env, file);
    if (stream == nullptr) {
        return false;
    }
    jclass systemClass = env->FindClass("java/lang/System");
    if (systemClass == nullptr) {
        return false;
    }
    jmethodID setter = env->GetStaticMethodID(systemClass, errorStream ? "setErr" : "setOut",
                                              "(Ljava/io/PrintStream;)V");
    if (setter == nullptr) {
        return false;
    }
    env->CallStaticVoidMethod(systemClass, setter, stream);
    if (env->ExceptionCheck()) {
        env->ExceptionDescribe();
        return false;
    }
    return true;
}
