// Methods of the test VM: lookup, argument reading and what each one does.
#pragma once
#include <jni.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "objects.h"
#include "threads.h"

struct Method {
    unsigned magic;
    std::string className;
    std::string name;
    std::string signature;
    bool isStatic;
};

// The method of the class object, or null with NoSuchMethodError pending
// (message: the name), as the real lookups do.
jmethodID lookupMethod(ThreadState& thread, Object* classObject, const char* name, const char* signature,
                       bool isStatic);

// The method behind id; a null or foreign id is misuse of function.
const Method& methodOf(jmethodID id, const char* function);

// The call's arguments read by the method's signature.
std::vector<jvalue> readArguments(const Method& method, va_list args);
std::vector<jvalue> readArguments(const Method& method, const jvalue* args);

// Runs a constructor on the class; the new object, or null with an exception
// pending.
Object* construct(ThreadState& thread, const Method& method, const std::vector<jvalue>& args);

// Runs a static method (self null) or an instance method on self; the result,
// zero for void methods and when an exception is left pending.
jvalue invoke(ThreadState& thread, const Method& method, Object* self, const std::vector<jvalue>& args);

// Prints the pending exception the way the VM's ExceptionDescribe does and
// clears it: "Exception in thread "<name>" <trace>" on System.err (the
// redirected file when System.setErr was called, the process's standard error
// otherwise), and its first line in the log.
void describePending(ThreadState& thread);
