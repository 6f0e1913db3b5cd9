// The test VM's object model: heap objects behind checked local references.
#pragma once
#include <jni.h>

#include <string>
#include <vector>

enum class Kind { Class, String, ByteArray, ObjectArray, Throwable, FileStream, ByteStream, PrintStream };

struct Object {
    Kind kind;
    std::string className;          // the instance's class; for Kind::Class the class it stands for
    std::string bytes;              // String, byte[] or ByteArrayOutputStream contents; Throwable message
    std::vector<Object*> elements;  // Object[] contents
    std::string path;               // FileOutputStream: the file; Throwable: the frame it was thrown in
    Object* target = nullptr;       // PrintStream: the stream it writes to
};

// A new object; objects live until the process ends.
Object* newObject(Kind kind, const std::string& className);

// A new local reference to object, null for null. Every reference is its own
// handle, as in a real VM, so that a deleted one can be told apart.
jobject newRef(Object* object);

// The object behind ref (null for null). A handle the test VM never gave out,
// or one already deleted, ends the process as misuse of function.
Object* deref(jobject ref, const char* function);

// Deletes the reference; deleting twice is misuse of function.
void deleteRef(jobject ref, const char* function);

// True for the classes the VM knows: the fixed library classes, the
// throwable classes, the scenario's classes and arrays of any of these.
bool classExists(const std::string& name);

// True for the exception and error classes the test VM can raise.
bool isThrowableClass(const std::string& name);

// The single class object for name (which must exist).
Object* classObject(const std::string& name);

// name with '/' replaced by '.'.
std::string dottedName(const std::string& name);

// "java.lang.X: message" and one "\tat" line per frame, lines ended by CR LF,
// as printStackTrace prints it.
std::string stackTrace(const Object* throwable);

// Writes text to what a PrintStream (or a raw output stream) writes to:
// appended to the file, or to the byte buffer.
void writeToStream(Object* stream, const std::string& text);

// Creates or empties the file; false with a Java-style reason when it cannot
// be opened for writing.
bool createOutputFile(const std::string& path, std::string& reason);
