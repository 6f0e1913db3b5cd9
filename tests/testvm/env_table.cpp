// The JNIEnv function table. Functions a launcher has no business calling
// end the process with "unimplemented <slot>" so that a test notices.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <utility>

#include "calls.h"
#include "log.h"
#include "scenario.h"
#include "threads.h"

namespace {

std::mutex utfMutex;
std::set<const char*> utfCopies;  // handed out by GetStringUTFChars, not yet released

// The class object behind ref; anything else is misuse of function.
Object* classArgument(jobject ref, const char* function) {
    Object* object = deref(ref, function);
    if (object == nullptr || object->kind != Kind::Class) {
        abortLoudly(kExitMisuse, "misuse", std::string(function) + ": not a class");
    }
    return object;
}

// The receiver of an instance call; null or a class it does not belong to is misuse.
Object* receiver(jobject ref, const Method& method, const char* function) {
    Object* self = deref(ref, function);
    if (method.isStatic || self == nullptr || self->className != method.className) {
        abortLoudly(kExitMisuse, "misuse", std::string(function) + ": receiver does not fit the method");
    }
    return self;
}

const Method& staticMethod(jmethodID id, const char* function) {
    const Method& method = methodOf(id, function);
    if (!method.isStatic) abortLoudly(kExitMisuse, "misuse", std::string(function) + ": not a static method");
    return method;
}

jint JNICALL getVersion(JNIEnv* env) {
    enter(env, "GetVersion");
    return JNI_VERSION_1_8;
}

jclass JNICALL findClass(JNIEnv* env, const char* name) {
    ThreadState& thread = enter(env, "FindClass");
    if (name == nullptr) abortLoudly(kExitMisuse, "misuse", "FindClass: null name");
    logLine(std::string("findclass ") + name);
    if (!classExists(name)) {
        if (scenario().pendingOnMissing) throwNew(thread, "java/lang/NoClassDefFoundError", name);
        return nullptr;
    }
    return static_cast<jclass>(newRef(classObject(name)));
}

jclass JNICALL getObjectClass(JNIEnv* env, jobject ref) {
    enter(env, "GetObjectClass");
    Object* object = deref(ref, "GetObjectClass");
    if (object == nullptr) abortLoudly(kExitMisuse, "misuse", "GetObjectClass: null object");
    return static_cast<jclass>(newRef(classObject(object->kind == Kind::Class ? "java/lang/Class" : object->className)));
}

jmethodID lookup(JNIEnv* env, jclass ref, const char* name, const char* signature, bool isStatic) {
    const char* function = isStatic ? "GetStaticMethodID" : "GetMethodID";
    ThreadState& thread = enter(env, function);
    Object* type = classArgument(ref, function);
    if (name == nullptr || signature == nullptr) abortLoudly(kExitMisuse, "misuse", std::string(function) + ": null name");
    logLine(std::string(isStatic ? "getstaticmethod " : "getmethod ") + type->className + " " + name + " " + signature);
    return lookupMethod(thread, type, name, signature, isStatic);
}

jmethodID JNICALL getMethodId(JNIEnv* env, jclass type, const char* name, const char* signature) {
    return lookup(env, type, name, signature, false);
}

jmethodID JNICALL getStaticMethodId(JNIEnv* env, jclass type, const char* name, const char* signature) {
    return lookup(env, type, name, signature, true);
}

jobject newObjectWith(JNIEnv* env, jclass type, jmethodID id, const std::vector<jvalue>& args) {
    ThreadState& thread = enter(env, "NewObject");
    Object* classObject = classArgument(type, "NewObject");
    const Method& method = methodOf(id, "NewObject");
    if (method.name != "<init>" || method.className != classObject->className) {
        abortLoudly(kExitMisuse, "misuse", "NewObject: not a constructor of " + classObject->className);
    }
    return newRef(construct(thread, method, args));
}

jobject JNICALL newObjectV(JNIEnv* env, jclass type, jmethodID id, va_list args) {
    return newObjectWith(env, type, id, readArguments(methodOf(id, "NewObjectV"), args));
}

jobject JNICALL newObject(JNIEnv* env, jclass type, jmethodID id, ...) {
    va_list args;
    va_start(args, id);
    jobject result = newObjectV(env, type, id, args);
    va_end(args);
    return result;
}

jobject JNICALL newObjectA(JNIEnv* env, jclass type, jmethodID id, const jvalue* args) {
    return newObjectWith(env, type, id, readArguments(methodOf(id, "NewObjectA"), args));
}

jobjectArray JNICALL newObjectArray(JNIEnv* env, jsize length, jclass elementType, jobject initial) {
    ThreadState& thread = enter(env, "NewObjectArray");
    Object* element = classArgument(elementType, "NewObjectArray");
    Object* fill = deref(initial, "NewObjectArray");
    if (length < 0) {
        throwNew(thread, "java/lang/NegativeArraySizeException", std::to_string(length));
        return nullptr;
    }
    const std::string& elementName = element->className;
    Object* array = newObject(Kind::ObjectArray, elementName[0] == '[' ? "[" + elementName : "[L" + elementName + ";");
    array->elements.assign(static_cast<size_t>(length), fill);
    return static_cast<jobjectArray>(newRef(array));
}

// The object array behind ref; anything else is misuse of function.
Object* objectArray(jobject ref, const char* function) {
    Object* array = deref(ref, function);
    if (array == nullptr || array->kind != Kind::ObjectArray) {
        abortLoudly(kExitMisuse, "misuse", std::string(function) + ": not an object array");
    }
    return array;
}

void JNICALL setObjectArrayElement(JNIEnv* env, jobjectArray ref, jsize index, jobject value) {
    ThreadState& thread = enter(env, "SetObjectArrayElement");
    Object* array = objectArray(ref, "SetObjectArrayElement");
    Object* element = deref(value, "SetObjectArrayElement");
    if (index < 0 || static_cast<size_t>(index) >= array->elements.size()) {
        throwNew(thread, "java/lang/ArrayIndexOutOfBoundsException", std::to_string(index));
        return;
    }
    std::string elementName = array->className.substr(1);
    bool fits = element == nullptr || elementName == "Ljava/lang/Object;" ||
                (elementName[0] == 'L' ? "L" + element->className + ";" : element->className) == elementName;
    if (!fits) {
        throwNew(thread, "java/lang/ArrayStoreException", dottedName(element->className));
        return;
    }
    array->elements[static_cast<size_t>(index)] = element;
}

jbyteArray JNICALL newByteArray(JNIEnv* env, jsize length) {
    ThreadState& thread = enter(env, "NewByteArray");
    if (length < 0) {
        throwNew(thread, "java/lang/NegativeArraySizeException", std::to_string(length));
        return nullptr;
    }
    Object* array = newObject(Kind::ByteArray, "[B");
    array->bytes.assign(static_cast<size_t>(length), '\0');
    return static_cast<jbyteArray>(newRef(array));
}

void JNICALL setByteArrayRegion(JNIEnv* env, jbyteArray ref, jsize start, jsize length, const jbyte* buffer) {
    ThreadState& thread = enter(env, "SetByteArrayRegion");
    Object* array = deref(ref, "SetByteArrayRegion");
    if (array == nullptr || array->kind != Kind::ByteArray) {
        abortLoudly(kExitMisuse, "misuse", "SetByteArrayRegion: not a byte array");
    }
    long long size = static_cast<long long>(array->bytes.size());
    if (start < 0 || length < 0 || static_cast<long long>(start) + length > size) {
        throwNew(thread, "java/lang/ArrayIndexOutOfBoundsException",
                 "Array region " + std::to_string(start) + ".." + std::to_string(static_cast<long long>(start) + length) +
                     " out of bounds for length " + std::to_string(size));
        return;
    }
    if (length > 0 && buffer == nullptr) abortLoudly(kExitMisuse, "misuse", "SetByteArrayRegion: null buffer");
    if (length > 0) std::memcpy(&array->bytes[static_cast<size_t>(start)], buffer, static_cast<size_t>(length));
}

void JNICALL deleteLocalRef(JNIEnv* env, jobject ref) {
    enter(env, "DeleteLocalRef", true);
    deleteRef(ref, "DeleteLocalRef");
}

// Instance calls of every result type.
jvalue callInstance(JNIEnv* env, jobject ref, jmethodID id, const std::vector<jvalue>& args, const char* function) {
    ThreadState& thread = enter(env, function);
    const Method& method = methodOf(id, function);
    Object* self = receiver(ref, method, function);
    return invoke(thread, method, self, args);
}

jvalue callStatic(JNIEnv* env, jclass type, jmethodID id, const std::vector<jvalue>& args, const char* function) {
    ThreadState& thread = enter(env, function);
    classArgument(type, function);
    const Method& method = staticMethod(id, function);
    return invoke(thread, method, nullptr, args);
}

jobject JNICALL callObjectMethodV(JNIEnv* env, jobject self, jmethodID id, va_list args) {
    return callInstance(env, self, id, readArguments(methodOf(id, "CallObjectMethod"), args), "CallObjectMethod").l;
}

jobject JNICALL callObjectMethod(JNIEnv* env, jobject self, jmethodID id, ...) {
    va_list args;
    va_start(args, id);
    jobject result = callObjectMethodV(env, self, id, args);
    va_end(args);
    return result;
}

jobject JNICALL callObjectMethodA(JNIEnv* env, jobject self, jmethodID id, const jvalue* args) {
    return callInstance(env, self, id, readArguments(methodOf(id, "CallObjectMethodA"), args), "CallObjectMethodA").l;
}

void JNICALL callVoidMethodV(JNIEnv* env, jobject self, jmethodID id, va_list args) {
    callInstance(env, self, id, readArguments(methodOf(id, "CallVoidMethod"), args), "CallVoidMethod");
}

void JNICALL callVoidMethod(JNIEnv* env, jobject self, jmethodID id, ...) {
    va_list args;
    va_start(args, id);
    callVoidMethodV(env, self, id, args);
    va_end(args);
}

void JNICALL callVoidMethodA(JNIEnv* env, jobject self, jmethodID id, const jvalue* args) {
    callInstance(env, self, id, readArguments(methodOf(id, "CallVoidMethodA"), args), "CallVoidMethodA");
}

void JNICALL callStaticVoidMethodV(JNIEnv* env, jclass type, jmethodID id, va_list args) {
    callStatic(env, type, id, readArguments(methodOf(id, "CallStaticVoidMethod"), args), "CallStaticVoidMethod");
}

void JNICALL callStaticVoidMethod(JNIEnv* env, jclass type, jmethodID id, ...) {
    va_list args;
    va_start(args, id);
    callStaticVoidMethodV(env, type, id, args);
    va_end(args);
}

void JNICALL callStaticVoidMethodA(JNIEnv* env, jclass type, jmethodID id, const jvalue* args) {
    callStatic(env, type, id, readArguments(methodOf(id, "CallStaticVoidMethodA"), args), "CallStaticVoidMethodA");
}

jint JNICALL callStaticIntMethodV(JNIEnv* env, jclass type, jmethodID id, va_list args) {
    return callStatic(env, type, id, readArguments(methodOf(id, "CallStaticIntMethod"), args), "CallStaticIntMethod").i;
}

jint JNICALL callStaticIntMethod(JNIEnv* env, jclass type, jmethodID id, ...) {
    va_list args;
    va_start(args, id);
    jint result = callStaticIntMethodV(env, type, id, args);
    va_end(args);
    return result;
}

jint JNICALL callStaticIntMethodA(JNIEnv* env, jclass type, jmethodID id, const jvalue* args) {
    return callStatic(env, type, id, readArguments(methodOf(id, "CallStaticIntMethodA"), args), "CallStaticIntMethodA").i;
}

// Modified UTF-8 of the string: its bytes are held as the String(byte[])
// constructor received them, in the ANSI code page.
const char* JNICALL getStringUtfChars(JNIEnv* env, jstring ref, jboolean* isCopy) {
    enter(env, "GetStringUTFChars");
    Object* text = deref(ref, "GetStringUTFChars");
    if (text == nullptr || text->kind != Kind::String) {
        abortLoudly(kExitMisuse, "misuse", "GetStringUTFChars: not a string");
    }
    std::string utf = ansiToUtf8(text->bytes);
    char* copy = static_cast<char*>(std::malloc(utf.size() + 1));
    std::memcpy(copy, utf.c_str(), utf.size() + 1);
    if (isCopy != nullptr) *isCopy = JNI_TRUE;
    std::lock_guard<std::mutex> lock(utfMutex);
    utfCopies.insert(copy);
    return copy;
}

void JNICALL releaseStringUtfChars(JNIEnv* env, jstring ref, const char* chars) {
    enter(env, "ReleaseStringUTFChars", true);
    deref(ref, "ReleaseStringUTFChars");
    std::lock_guard<std::mutex> lock(utfMutex);
    if (utfCopies.erase(chars) == 0) {
        abortLoudly(kExitMisuse, "misuse", "ReleaseStringUTFChars: characters not from GetStringUTFChars");
    }
    std::free(const_cast<char*>(chars));
}

jthrowable JNICALL exceptionOccurred(JNIEnv* env) {
    ThreadState& thread = enter(env, "ExceptionOccurred", true);
    return static_cast<jthrowable>(newRef(thread.pending));
}

void JNICALL exceptionDescribe(JNIEnv* env) {
    describePending(enter(env, "ExceptionDescribe", true));
}

void JNICALL exceptionClear(JNIEnv* env) {
    enter(env, "ExceptionClear", true).pending = nullptr;
}

jboolean JNICALL exceptionCheck(JNIEnv* env) {
    return enter(env, "ExceptionCheck", true).pending != nullptr ? JNI_TRUE : JNI_FALSE;
}

using Slot = void(JNICALL*)();
constexpr size_t kSlotCount = sizeof(JNINativeInterface_) / sizeof(Slot);

template <size_t Index>
void JNICALL unimplemented() {
    abortLoudly(kExitUnimplemented, "unimplemented", std::to_string(Index));
}

template <size_t... Indexes>
void fillWithTraps(JNINativeInterface_& table, std::index_sequence<Indexes...>) {
    static const Slot traps[] = {&unimplemented<Indexes>...};
    static_assert(sizeof traps == sizeof table, "the table holds only function pointers");
    std::memcpy(&table, traps, sizeof table);
}

JNINativeInterface_ buildTable() {
    JNINativeInterface_ table;
    fillWithTraps(table, std::make_index_sequence<kSlotCount>());
    table.GetVersion = getVersion;
    table.FindClass = findClass;
    table.GetObjectClass = getObjectClass;
    table.GetMethodID = getMethodId;
    table.GetStaticMethodID = getStaticMethodId;
    table.NewObject = newObject;
    table.NewObjectV = newObjectV;
    table.NewObjectA = newObjectA;
    table.NewObjectArray = newObjectArray;
    table.SetObjectArrayElement = setObjectArrayElement;
    table.NewByteArray = newByteArray;
    table.SetByteArrayRegion = setByteArrayRegion;
    table.DeleteLocalRef = deleteLocalRef;
    table.CallObjectMethod = callObjectMethod;
    table.CallObjectMethodV = callObjectMethodV;
    table.CallObjectMethodA = callObjectMethodA;
    table.CallVoidMethod = callVoidMethod;
    table.CallVoidMethodV = callVoidMethodV;
    table.CallVoidMethodA = callVoidMethodA;
    table.CallStaticVoidMethod = callStaticVoidMethod;
    table.CallStaticVoidMethodV = callStaticVoidMethodV;
    table.CallStaticVoidMethodA = callStaticVoidMethodA;
    table.CallStaticIntMethod = callStaticIntMethod;
    table.CallStaticIntMethodV = callStaticIntMethodV;
    table.CallStaticIntMethodA = callStaticIntMethodA;
    table.GetStringUTFChars = getStringUtfChars;
    table.ReleaseStringUTFChars = releaseStringUtfChars;
    table.ExceptionOccurred = exceptionOccurred;
    table.ExceptionDescribe = exceptionDescribe;
    table.ExceptionClear = exceptionClear;
    table.ExceptionCheck = exceptionCheck;
    return table;
}

}  // namespace

const JNINativeInterface_& envTable() {
    static const JNINativeInterface_ table = buildTable();
    return table;
}
