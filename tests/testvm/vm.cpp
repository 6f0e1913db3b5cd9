// The invocation interface: attaching, detaching and destroying.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "log.h"
#include "threads.h"

namespace {

std::mutex threadMutex;
std::condition_variable threadDetached;
std::vector<ThreadState*> attachedThreads;
int state = 0;
int nextThreadNumber = 0;
const DWORD tlsSlot = TlsAlloc();

// Registers thread as attached; the caller holds threadMutex.
void registerLocked(ThreadState* thread) {
    attachedThreads.push_back(thread);
}

// Detaches the calling thread; false when it was not attached.
bool detachCurrent() {
    ThreadState* thread = currentThread();
    if (thread == nullptr) return false;
    std::lock_guard<std::mutex> lock(threadMutex);
    attachedThreads.erase(std::find(attachedThreads.begin(), attachedThreads.end(), thread));
    thread->attached = false;
    TlsSetValue(tlsSlot, nullptr);
    threadDetached.notify_all();
    return true;
}

bool supportedVersion(jint version) {
    return version == JNI_VERSION_1_1 || version == JNI_VERSION_1_2 || version == JNI_VERSION_1_4 ||
           version == JNI_VERSION_1_6 || version == JNI_VERSION_1_8 || version == JNI_VERSION_9 ||
           version == JNI_VERSION_10;
}

// The name of the attaching thread: the one in args, or "Thread-N".
std::string attachName(void* args) {
    const JavaVMAttachArgs* attach = static_cast<const JavaVMAttachArgs*>(args);
    if (attach != nullptr && attach->name != nullptr) return attach->name;
    std::lock_guard<std::mutex> lock(threadMutex);
    return "Thread-" + std::to_string(nextThreadNumber++);
}

jint attach(void** penv, void* args, bool daemon) {
    if (penv == nullptr) abortLoudly(kExitMisuse, "misuse", "AttachCurrentThread: null env pointer");
    if (vmState() != 1) {
        logLine("attach refused");
        *penv = nullptr;
        return JNI_ERR;
    }
    ThreadState* thread = currentThread();
    if (thread == nullptr) {
        thread = &attachCurrent(attachName(args), daemon);
        logLine(std::string(daemon ? "attach daemon " : "attach ") + thread->name);
    }
    *penv = &thread->env;
    return JNI_OK;
}

jint JNICALL destroyJavaVm(JavaVM*) {
    logLine("destroy begin");
    std::unique_lock<std::mutex> lock(threadMutex);
    if (state != 1) {
        lock.unlock();
        logLine("destroy refused");
        return JNI_ERR;
    }
    // A real VM returns only once every other non-daemon thread has detached
    // or ended its run; one that ended its native life still attached is never
    // counted off, and the wait would last forever.
    DWORD self = GetCurrentThreadId();
    for (;;) {
        bool waiting = false;
        for (ThreadState* thread : attachedThreads) {
            if (thread->daemon || thread->threadId == self) continue;
            if (thread->thread && WaitForSingleObject(thread->thread.get(), 0) == WAIT_OBJECT_0) {
                lock.unlock();
                abortLoudly(kExitDestroyBlocked, "destroy blocked by ended thread", thread->name);
            }
            waiting = true;
        }
        if (!waiting) break;
        threadDetached.wait_for(lock, std::chrono::milliseconds(50));
    }
    state = 2;
    lock.unlock();
    detachCurrent();
    logLine("destroy end");
    return JNI_OK;
}

jint JNICALL attachCurrentThread(JavaVM*, void** penv, void* args) {
    return attach(penv, args, false);
}

jint JNICALL attachCurrentThreadAsDaemon(JavaVM*, void** penv, void* args) {
    return attach(penv, args, true);
}

jint JNICALL detachCurrentThread(JavaVM*) {
    ThreadState* thread = currentThread();
    if (thread == nullptr) {
        logLine("detach not attached");
        return JNI_OK;
    }
    logLine("detach");
    detachCurrent();
    return JNI_OK;
}

jint JNICALL getEnv(JavaVM*, void** penv, jint version) {
    if (penv == nullptr) abortLoudly(kExitMisuse, "misuse", "GetEnv: null env pointer");
    ThreadState* thread = currentThread();
    *penv = nullptr;
    if (thread == nullptr || vmState() != 1) return JNI_EDETACHED;
    if (!supportedVersion(version)) return JNI_EVERSION;
    *penv = &thread->env;
    return JNI_OK;
}

const JNIInvokeInterface_ invokeTable = {
    nullptr, nullptr, nullptr, destroyJavaVm, attachCurrentThread, detachCurrentThread, getEnv,
    attachCurrentThreadAsDaemon,
};

JavaVM vm = {&invokeTable};

struct SleeperArgs {
    ThreadState* thread;
    int milliseconds;
};

DWORD WINAPI sleeperThread(void* param) {
    SleeperArgs* args = static_cast<SleeperArgs*>(param);
    TlsSetValue(tlsSlot, args->thread);
    Sleep(static_cast<DWORD>(args->milliseconds));
    logLine("thread end");
    delete args;
    detachCurrent();
    return 0;
}

}  // namespace

ThreadState::ThreadState() {
    env.functions = &envTable();
}

JavaVM* theVm() {
    return &vm;
}

ThreadState* currentThread() {
    return static_cast<ThreadState*>(TlsGetValue(tlsSlot));
}

ThreadState& enter(JNIEnv* env, const char* function, bool allowedWhilePending) {
    ThreadState* thread = currentThread();
    if (env == nullptr || thread == nullptr || &thread->env != env) {
        abortLoudly(kExitMisuse, "misuse",
                    std::string(function) + ": JNIEnv used on a thread it does not belong to");
    }
    if (!allowedWhilePending && thread->pending != nullptr) {
        logFormat("warning %s with pending exception", function);
    }
    return *thread;
}

ThreadState& attachCurrent(const std::string& name, bool daemon) {
    ThreadState* thread = new ThreadState();
    thread->threadId = GetCurrentThreadId();
    thread->thread.reset(OpenThread(SYNCHRONIZE, FALSE, thread->threadId));
    thread->name = name;
    thread->daemon = daemon;
    TlsSetValue(tlsSlot, thread);
    std::lock_guard<std::mutex> lock(threadMutex);
    registerLocked(thread);
    return *thread;
}

void throwNew(ThreadState& thread, const char* className, const std::string& message, const std::string& frame) {
    Object* throwable = newObject(Kind::Throwable, className);
    throwable->bytes = message;
    throwable->path = frame;
    thread.pending = throwable;
}

void startJavaThread(int milliseconds) {
    // The thread counts as alive from its start on, before it runs a single
    // instruction, so DestroyJavaVM cannot miss it.
    std::lock_guard<std::mutex> lock(threadMutex);
    ThreadState* thread = new ThreadState();
    thread->name = "Thread-" + std::to_string(nextThreadNumber++);
    SleeperArgs* args = new SleeperArgs{thread, milliseconds};
    HANDLE handle = CreateThread(nullptr, 0, sleeperThread, args, CREATE_SUSPENDED, &thread->threadId);
    if (handle == nullptr) {
        logLine("thread start failed");
        delete args;
        delete thread;
        return;
    }
    thread->thread.reset(handle);
    registerLocked(thread);
    ResumeThread(handle);
}

bool markCreated() {
    std::lock_guard<std::mutex> lock(threadMutex);
    if (state != 0) return false;
    state = 1;
    return true;
}

int vmState() {
    std::lock_guard<std::mutex> lock(threadMutex);
    return state;
}
