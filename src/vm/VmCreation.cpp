// Creation of the VM through JNI_CreateJavaVM and its default stack size.
#include <cstring>
#include <vector>
#include "launcher/StringTable.h"
#include "launcher/TextFormat.h"
#include "vm/JavaVm.h"

// The 32-bit product hands this record to 32-bit VM libraries that expect the
// JDK 1.1 layout; a changed member type would shift javaStackSize.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(JDK1_1InitArgs) == 72, "JDK1_1InitArgs must keep the JDK 1.1 layout");
#endif

namespace {

// Prints a pending exception left by a failed redirection; creation goes on.
void redirectOrReport(JNIEnv* env, const std::string& path, bool errorStream) {
    if (path.empty()) {
        return;
    }
    if (!redirectStream(env, path.c_str(), errorStream)) {
        jthrowable pending = env->ExceptionOccurred();
        if (pending != nullptr) {
            env->ExceptionDescribe();
            env->DeleteLocalRef(pending);
        }
    }
}

}  // namespace

// The library's javaStackSize for a JNI 1.1 request; 0 when not positive.
uint32_t defaultJavaStackSize(GetDefaultJavaVmInitArgsFn entry) {
    JDK1_1InitArgs args;
    std::memset(&args, 0, sizeof(args));
    args.version = JNI_VERSION_1_1;
    // Current VMs fill javaStackSize but refuse the 1.1 version in the
    // result code, so the result code says nothing about the member.
    entry(&args);
    return args.javaStackSize > 0 ? static_cast<uint32_t>(args.javaStackSize) : 0;
}

// Reason text id for JNI_ERR .. JNI_EINVAL, 0 for any other result.
int creationReasonId(jint result) {
    if (result <= JNI_ERR && result >= JNI_EINVAL) {
        return IDS_REASON_UNKNOWN + (JNI_ERR - result);
    }
    return 0;
}

// JNI_CreateJavaVM with the options in list order, then stream redirection.
bool createVm(CreateJavaVmFn entry, const ArgumentList& options, const std::string& outputFile,
              const std::string& errorFile, JavaVM** vm, JNIEnv** env, VmHost& host) {
    // The VM keeps no pointer into the option strings after the call, so the
    // list's own buffers can be handed over for its duration.
    std::vector<JavaVMOption> vmOptions(static_cast<size_t>(options.count()));
    for (int i = 0; i < options.count(); ++i) {
        vmOptions[static_cast<size_t>(i)].optionString = const_cast<char*>(options.element(i).c_str());
        vmOptions[static_cast<size_t>(i)].extraInfo = nullptr;
    }
    JavaVMInitArgs args;
    std::memset(&args, 0, sizeof(args));
    args.version = JNI_VERSION_1_2;
    args.nOptions = options.count();
    args.options = vmOptions.empty() ? nullptr : vmOptions.data();
    args.ignoreUnrecognized = JNI_FALSE;

    const jint result = entry(vm, reinterpret_cast<void**>(env), &args);
    if (result != JNI_OK) {
        // The teardown destroys a VM whose pointer is set; a failed call must
        // not leave one behind whatever the library wrote there.
        *vm = nullptr;
        *env = nullptr;
        const int reasonId = creationReasonId(result);
        const std::string reason = reasonId != 0 ? loadText(reasonId) : std::string();
        host.showError(formatText(loadText(IDS_JNI_EXCEPTION).c_str(),
                                  loadText(IDS_CREATE_VM_FAILED).c_str(), reason.c_str()));
        return false;
    }
    redirectOrReport(*env, outputFile, false);
    redirectOrReport(*env, errorFile, true);
    return true;
}
