// JNI helpers that turn the launcher's narrow strings into Java objects.
#include <cstring>
#include "vm/JavaVm.h"

// A String decoded by the VM's default charset from the bytes of text.
jstring newPlatformString(JNIEnv* env, const char* text) {
    jclass stringClass = env->FindClass("java/lang/String");
    if (stringClass == nullptr) {
        return nullptr;
    }
    jmethodID ctor = env->GetMethodID(stringClass, "<init>", "([B)V");
    if (ctor == nullptr) {
        return nullptr;
    }
    const jsize length = static_cast<jsize>(std::strlen(text));
    jbyteArray bytes = env->NewByteArray(length);
    if (bytes == nullptr) {
        return nullptr;
    }
    env->SetByteArrayRegion(bytes, 0, length, reinterpret_cast<const jbyte*>(text));
    jstring result = nullptr;
    jthrowable pending = env->ExceptionOccurred();
    if (pending != nullptr) {
        env->DeleteLocalRef(pending);
    } else {
        result = static_cast<jstring>(env->NewObject(stringClass, ctor, bytes));
    }
    env->DeleteLocalRef(bytes);
    return result;
}

// A String[] holding the list's elements in order; null as soon as one fails.
jobjectArray newStringArray(JNIEnv* env, const ArgumentList& list) {
    jclass stringClass = env->FindClass("java/lang/String");
    if (stringClass == nullptr) {
        return nullptr;
    }
    jobjectArray array = env->NewObjectArray(list.count(), stringClass, nullptr);
    if (array == nullptr) {
        return nullptr;
    }
    for (int i = 0; i < list.count(); ++i) {
        jstring element = newPlatformString(env, list.element(i).c_str());
        if (element == nullptr) {
            env->DeleteLocalRef(array);
            return nullptr;
        }
        env->SetObjectArrayElement(array, i, element);
        env->DeleteLocalRef(element);
    }
    return array;
}

// new PrintStream(stream) without automatic flushing, or null.
jobject newPrintStream(JNIEnv* env, jobject stream) {
    jclass printStreamClass = env->FindClass("java/io/PrintStream");
    if (printStreamClass == nullptr) {
        return nullptr;
    }
    jmethodID ctor = env->GetMethodID(printStreamClass, "<init>", "(Ljava/io/OutputStream;)V");
    if (ctor == nullptr) {
        return nullptr;
    }
    return env->NewObject(printStreamClass, ctor, stream);
}

// System.exit(-1); a return means the call failed and its exception is printed.
void callSystemExit(JNIEnv* env) {
    jclass systemClass = env->FindClass("java/lang/System");
    if (systemClass == nullptr) {
        return;
    }
    jmethodID exitMethod = env->GetStaticMethodID(systemClass, "exit", "(I)V");
    if (exitMethod == nullptr) {
        return;
    }
    env->CallStaticVoidMethod(systemClass, exitMethod, static_cast<jint>(-1));
    if (env->ExceptionCheck()) {
        env->ExceptionDescribe();
    }
}
