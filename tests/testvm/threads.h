// Threads attached to the test VM, their JNIEnv and pending exception.
#pragma once
#include <windows.h>
#include <jni.h>

#include <string>

#include "launcher/win/Handles.h"
#include "objects.h"

// One attached thread. The JNIEnv is its first member, so a JNIEnv* is the
// address of the state.
struct ThreadState {
    JNIEnv env;
    DWORD threadId = 0;
    KernelHandle thread;  // SYNCHRONIZE access, to see whether it ended
    std::string name;
    bool daemon = false;
    bool attached = true;
    Object* pending = nullptr;  // the pending exception

    ThreadState();
};

// The JavaVM of this library.
JavaVM* theVm();

// The calling thread's state, or null when it is not attached.
ThreadState* currentThread();

// The state behind env after checking that env belongs to the calling thread
// (misuse otherwise). Unless function may run with an exception pending, a
// pending exception is logged as "warning <function> with pending exception",
// as a checking VM would report it.
ThreadState& enter(JNIEnv* env, const char* function, bool allowedWhilePending = false);

// Attaches the calling thread under name; the creating thread is "main".
ThreadState& attachCurrent(const std::string& name, bool daemon);

// Makes a new className exception with message pending on thread; frame is the
// "\tat" line's method, empty for exceptions raised by the VM itself.
void throwNew(ThreadState& thread, const char* className, const std::string& message,
              const std::string& frame = std::string());

// Starts a non-daemon Java thread that sleeps milliseconds and logs "thread end".
void startJavaThread(int milliseconds);

// The JNIEnv function table.
const JNINativeInterface_& envTable();

// Marks the VM created (JNI_CreateJavaVM). False when it already was.
bool markCreated();

// 0 before creation, 1 while the VM runs, 2 after DestroyJavaVM.
int vmState();
