// What the test VM's Java methods do. Only the library members a launcher
// uses exist, plus main/secondaryMain of the scenario's classes.
#include "calls.h"

#include <windows.h>

#include <algorithm>
#include <deque>
#include <mutex>

#include "log.h"
#include "scenario.h"

namespace {

constexpr unsigned kMethodMagic = 0x4D544844;  // "MTHD"

std::mutex methodMutex;
std::deque<Method> methods;  // interned; a deque keeps their addresses stable

std::mutex streamMutex;
Object* systemErr = nullptr;  // the PrintStream set by System.setErr, if any

struct LibraryMethod {
    const char* className;
    const char* name;
    const char* signature;
    bool isStatic;
};

const LibraryMethod kLibraryMethods[] = {
    {"java/lang/String", "<init>", "([B)V", false},
    {"java/io/PrintStream", "<init>", "(Ljava/io/OutputStream;)V", false},
    {"java/io/FileOutputStream", "<init>", "(Ljava/lang/String;)V", false},
    {"java/io/ByteArrayOutputStream", "<init>", "()V", false},
    {"java/io/ByteArrayOutputStream", "toString", "()Ljava/lang/String;", false},
    {"java/lang/System", "exit", "(I)V", true},
    {"java/lang/System", "setOut", "(Ljava/io/PrintStream;)V", true},
    {"java/lang/System", "setErr", "(Ljava/io/PrintStream;)V", true},
};

const LibraryMethod kThrowableMethods[] = {
    {"", "printStackTrace", "(Ljava/io/PrintStream;)V", false},
    {"", "toString", "()Ljava/lang/String;", false},
    {"", "getMessage", "()Ljava/lang/String;", false},
};

const char kMainSignature[] = "([Ljava/lang/String;)V";

bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

bool isScenarioClass(const std::string& name) {
    return contains(scenario().classes, name);
}

bool methodExists(const std::string& className, const std::string& name, const std::string& signature,
                  bool isStatic) {
    auto matches = [&](const LibraryMethod& method) {
        return name == method.name && signature == method.signature && isStatic == method.isStatic;
    };
    for (const LibraryMethod& method : kLibraryMethods) {
        if (className == method.className && matches(method)) return true;
    }
    if (isThrowableClass(className)) {
        return std::any_of(std::begin(kThrowableMethods), std::end(kThrowableMethods), matches);
    }
    if (!isScenarioClass(className) || !isStatic) return false;
    const Scenario& config = scenario();
    if (name == "main") return signature == kMainSignature && !contains(config.mainMissingIn, className);
    if (name != "secondaryMain") return false;
    if (config.secondaryForm == SecondaryForm::Void) return signature == kMainSignature;
    if (config.secondaryForm == SecondaryForm::Int) return signature == "([Ljava/lang/String;)I";
    return false;
}

// Reads one argument per parameter of signature, next(type letter) giving it.
template <typename Next>
std::vector<jvalue> readParameters(const std::string& signature, Next next) {
    std::vector<jvalue> values;
    size_t i = 1;
    while (i < signature.size() && signature[i] != ')') {
        char type = signature[i];
        if (type == '[' || type == 'L') {
            while (signature[i] == '[') ++i;
            if (signature[i] == 'L') i = signature.find(';', i);
            if (i == std::string::npos) break;
            type = 'L';
        }
        ++i;
        values.push_back(next(type));
    }
    return values;
}

std::string elementText(const Object* element) {
    return element == nullptr ? std::string("<null>") : element->bytes;
}

// Logs "<label> argc=N" and "arg[i]=<bytes>" for a String[] argument.
void logArguments(const char* label, Object* array) {
    if (array == nullptr) {
        logFormat("%s args=null", label);
        return;
    }
    logFormat("%s argc=%u", label, static_cast<unsigned>(array->elements.size()));
    for (size_t i = 0; i < array->elements.size(); ++i) {
        logLine("arg[" + std::to_string(i) + "]=" + elementText(array->elements[i]));
    }
}

void runMain(ThreadState& thread, const Method& method, Object* args) {
    logArguments("main", args);
    const Scenario& config = scenario();
    switch (config.mainAction) {
    case MainAction::Return:
        break;
    case MainAction::Throw:
        throwNew(thread, "java/lang/RuntimeException", "thrown by main", dottedName(method.className) + ".main");
        break;
    case MainAction::Exit:
        logFormat("exit %d", config.mainValue);
        ExitProcess(static_cast<UINT>(config.mainValue));
    case MainAction::Thread:
        startJavaThread(config.mainValue);
        break;
    }
}

jint runSecondary(ThreadState& thread, const Method& method, Object* args) {
    logArguments("secondary", args);
    const Scenario& config = scenario();
    if (config.secondaryThrows) {
        throwNew(thread, "java/lang/RuntimeException", "thrown by secondaryMain",
                 dottedName(method.className) + ".secondaryMain");
        return 0;
    }
    return config.secondaryResult;
}

// The object argument, which must be of kind (or null); anything else is misuse.
Object* objectArgument(const jvalue& value, Kind kind, const char* what) {
    Object* object = deref(value.l, what);
    if (object != nullptr && object->kind != kind) {
        abortLoudly(kExitMisuse, "misuse", std::string(what) + ": argument of the wrong type");
    }
    return object;
}

void setStream(const Method& method, Object* printStream) {
    std::string where = "null";
    if (printStream != nullptr && printStream->target != nullptr) {
        where = printStream->target->kind == Kind::FileStream ? printStream->target->path : "<buffer>";
    }
    logLine(method.name + " " + where);
    if (method.name == "setErr") {
        std::lock_guard<std::mutex> lock(streamMutex);
        systemErr = printStream;
    }
}

Object* newString(const std::string& bytes) {
    Object* text = newObject(Kind::String, "java/lang/String");
    text->bytes = bytes;
    return text;
}

}  // namespace

jmethodID lookupMethod(ThreadState& thread, Object* classObject, const char* name, const char* signature,
                       bool isStatic) {
    const std::string& className = classObject->className;
    if (!methodExists(className, name, signature, isStatic)) {
        if (scenario().pendingOnMissing) throwNew(thread, "java/lang/NoSuchMethodError", name);
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(methodMutex);
    for (Method& method : methods) {
        if (method.className == className && method.name == name && method.signature == signature &&
            method.isStatic == isStatic) {
            return reinterpret_cast<jmethodID>(&method);
        }
    }
    methods.push_back(Method{kMethodMagic, className, name, signature, isStatic});
    return reinterpret_cast<jmethodID>(&methods.back());
}

const Method& methodOf(jmethodID id, const char* function) {
    const Method* method = reinterpret_cast<const Method*>(id);
    if (method == nullptr || IsBadReadPtr(method, sizeof(Method)) || method->magic != kMethodMagic) {
        abortLoudly(kExitMisuse, "misuse", std::string(function) + ": not a method ID");
    }
    return *method;
}

std::vector<jvalue> readArguments(const Method& method, va_list args) {
    return readParameters(method.signature, [&](char type) {
        jvalue value{};
        switch (type) {
        case 'J': value.j = va_arg(args, jlong); break;
        case 'F': value.f = static_cast<jfloat>(va_arg(args, double)); break;
        case 'D': value.d = va_arg(args, double); break;
        case 'L': value.l = va_arg(args, jobject); break;
        case 'Z': value.z = static_cast<jboolean>(va_arg(args, int)); break;
        case 'B': value.b = static_cast<jbyte>(va_arg(args, int)); break;
        case 'C': value.c = static_cast<jchar>(va_arg(args, int)); break;
        case 'S': value.s = static_cast<jshort>(va_arg(args, int)); break;
        default: value.i = va_arg(args, jint); break;
        }
        return value;
    });
}

std::vector<jvalue> readArguments(const Method& method, const jvalue* args) {
    size_t index = 0;
    return readParameters(method.signature, [&](char) {
        if (args == nullptr) abortLoudly(kExitMisuse, "misuse", "null argument array");
        return args[index++];
    });
}

Object* construct(ThreadState& thread, const Method& method, const std::vector<jvalue>& args) {
    const std::string& className = method.className;
    if (className == "java/io/ByteArrayOutputStream") return newObject(Kind::ByteStream, className);
    if (className == "java/lang/String") {
        Object* bytes = objectArgument(args[0], Kind::ByteArray, "String(byte[])");
        if (bytes == nullptr) {
            throwNew(thread, "java/lang/NullPointerException", "", "java.lang.String.<init>");
            return nullptr;
        }
        return newString(bytes->bytes);
    }
    if (className == "java/io/FileOutputStream") {
        Object* name = objectArgument(args[0], Kind::String, "FileOutputStream(String)");
        std::string reason;
        if (name == nullptr) {
            throwNew(thread, "java/lang/NullPointerException", "", "java.io.FileOutputStream.<init>");
            return nullptr;
        }
        if (!createOutputFile(name->bytes, reason)) {
            throwNew(thread, "java/io/FileNotFoundException", reason, "java.io.FileOutputStream.<init>");
            return nullptr;
        }
        Object* stream = newObject(Kind::FileStream, className);
        stream->path = name->bytes;
        return stream;
    }
    if (className == "java/io/PrintStream") {
        Object* target = deref(args[0].l, "PrintStream(OutputStream)");
        if (target == nullptr) {
            throwNew(thread, "java/lang/NullPointerException", "", "java.io.PrintStream.<init>");
            return nullptr;
        }
        if (target->kind != Kind::FileStream && target->kind != Kind::ByteStream) {
            abortLoudly(kExitMisuse, "misuse", "PrintStream(OutputStream): argument of the wrong type");
        }
        Object* stream = newObject(Kind::PrintStream, className);
        stream->target = target;
        return stream;
    }
    abortLoudly(kExitMisuse, "misuse", "no constructor of " + className);
}

jvalue invoke(ThreadState& thread, const Method& method, Object* self, const std::vector<jvalue>& args) {
    jvalue result{};
    const std::string& name = method.name;
    if (method.className == "java/lang/System") {
        if (name == "exit") {
            logFormat("exit %d", static_cast<int>(args[0].i));
            ExitProcess(static_cast<UINT>(args[0].i));
        }
        setStream(method, objectArgument(args[0], Kind::PrintStream, name.c_str()));
    } else if (name == "main") {
        runMain(thread, method, objectArgument(args[0], Kind::ObjectArray, "main"));
    } else if (name == "secondaryMain") {
        result.i = runSecondary(thread, method, objectArgument(args[0], Kind::ObjectArray, "secondaryMain"));
    } else if (name == "toString" && self->kind == Kind::ByteStream) {
        result.l = newRef(newString(self->bytes));
    } else if (name == "toString") {
        std::string trace = stackTrace(self);
        result.l = newRef(newString(trace.substr(0, trace.find('\r'))));
    } else if (name == "getMessage") {
        result.l = newRef(newString(self->bytes));
    } else if (name == "printStackTrace") {
        Object* stream = objectArgument(args[0], Kind::PrintStream, "printStackTrace");
        if (stream == nullptr) {
            throwNew(thread, "java/lang/NullPointerException", "", "java.lang.Throwable.printStackTrace");
        } else {
            writeToStream(stream, stackTrace(self));
        }
    }
    return result;
}

void describePending(ThreadState& thread) {
    Object* pending = thread.pending;
    if (pending == nullptr) {
        logLine("exception describe none");
        return;
    }
    thread.pending = nullptr;
    std::string text = "Exception in thread \"" + thread.name + "\" " + stackTrace(pending);
    logLine("exception describe");
    logLine(text.substr(0, text.find('\r')));
    Object* err = nullptr;
    {
        std::lock_guard<std::mutex> lock(streamMutex);
        err = systemErr;
    }
    if (err != nullptr) {
        writeToStream(err, text);
        return;
    }
    HANDLE standardError = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    if (standardError != nullptr && standardError != INVALID_HANDLE_VALUE) {
        WriteFile(standardError, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}
