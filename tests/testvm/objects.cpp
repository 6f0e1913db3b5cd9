// Objects, references and classes of the test VM.
#include "objects.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>

#include "launcher/win/Handles.h"
#include "log.h"
#include "scenario.h"

namespace {

constexpr uint32_t kRefMagic = 0x52454631;  // "REF1"

struct Ref {
    uint32_t magic = kRefMagic;
    bool deleted = false;
    Object* object = nullptr;
};

std::mutex objectMutex;
std::map<std::string, Object*> classObjects;

const char* const kLibraryClasses[] = {
    "java/lang/Object", "java/lang/Class", "java/lang/String", "java/lang/System",
    "java/io/OutputStream", "java/io/PrintStream", "java/io/FileOutputStream", "java/io/ByteArrayOutputStream",
};

const char* const kThrowableClasses[] = {
    "java/lang/Throwable",
    "java/lang/RuntimeException",
    "java/lang/NoClassDefFoundError",
    "java/lang/NoSuchMethodError",
    "java/lang/NullPointerException",
    "java/lang/ArrayIndexOutOfBoundsException",
    "java/lang/ArrayStoreException",
    "java/lang/NegativeArraySizeException",
    "java/io/FileNotFoundException",
};

bool listed(const char* const* first, const char* const* last, const std::string& name) {
    return std::any_of(first, last, [&](const char* entry) { return name == entry; });
}

}  // namespace

Object* newObject(Kind kind, const std::string& className) {
    Object* object = new Object();
    object->kind = kind;
    object->className = className;
    return object;
}

jobject newRef(Object* object) {
    if (object == nullptr) return nullptr;
    Ref* ref = new Ref();
    ref->object = object;
    return reinterpret_cast<jobject>(ref);
}

Object* deref(jobject handle, const char* function) {
    if (handle == nullptr) return nullptr;
    Ref* ref = reinterpret_cast<Ref*>(handle);
    if (IsBadReadPtr(ref, sizeof(Ref)) || ref->magic != kRefMagic) {
        abortLoudly(kExitMisuse, "misuse", std::string(function) + ": not a reference");
    }
    if (ref->deleted) abortLoudly(kExitMisuse, "misuse", std::string(function) + ": deleted reference");
    return ref->object;
}

void deleteRef(jobject handle, const char* function) {
    if (handle == nullptr) return;
    deref(handle, function);
    reinterpret_cast<Ref*>(handle)->deleted = true;
}

bool isThrowableClass(const std::string& name) {
    return listed(std::begin(kThrowableClasses), std::end(kThrowableClasses), name);
}

bool classExists(const std::string& name) {
    if (name.size() > 1 && name[0] == '[') {
        if (name[1] == '[') return classExists(name.substr(1));
        if (name.size() > 3 && name[1] == 'L' && name.back() == ';') return classExists(name.substr(2, name.size() - 3));
        return name.size() == 2 && std::string("ZBCSIJFD").find(name[1]) != std::string::npos;
    }
    const std::vector<std::string>& classes = scenario().classes;
    return listed(std::begin(kLibraryClasses), std::end(kLibraryClasses), name) || isThrowableClass(name) ||
           std::find(classes.begin(), classes.end(), name) != classes.end();
}

Object* classObject(const std::string& name) {
    std::lock_guard<std::mutex> lock(objectMutex);
    Object*& object = classObjects[name];
    if (object == nullptr) object = newObject(Kind::Class, name);
    return object;
}

std::string dottedName(const std::string& name) {
    std::string result = name;
    std::replace(result.begin(), result.end(), '/', '.');
    return result;
}

std::string stackTrace(const Object* throwable) {
    std::string text = dottedName(throwable->className);
    if (!throwable->bytes.empty()) text += ": " + throwable->bytes;
    text += "\r\n";
    if (!throwable->path.empty()) text += "\tat " + throwable->path + "\r\n";
    return text;
}

namespace {

// Appends text to the file, creating it when it vanished meanwhile.
void appendToFile(const std::string& path, const std::string& text) {
    KernelHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return;
    }
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

void writeToStream(Object* stream, const std::string& text) {
    if (stream != nullptr && stream->kind == Kind::PrintStream) stream = stream->target;
    if (stream == nullptr) return;
    if (stream->kind == Kind::FileStream) appendToFile(stream->path, text);
    if (stream->kind == Kind::ByteStream) stream->bytes += text;
}

bool createOutputFile(const std::string& path, std::string& reason) {
    KernelHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() != INVALID_HANDLE_VALUE) return true;
    DWORD error = GetLastError();
    file.release();
    char text[64];
    snprintf(text, sizeof text, " (Windows error %lu)", static_cast<unsigned long>(error));
    reason = path + text;
    return false;
}
