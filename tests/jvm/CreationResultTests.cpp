// createVm's handling of JNI_CreateJavaVM results the real VM cannot be made
// to return, through a stand-in entry point that records its arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vm/JavaVm.h"

namespace {

struct Recorded {
    jint result = JNI_OK;
    jint version = 0;
    jboolean ignoreUnrecognized = JNI_TRUE;
    std::vector<std::string> options;
    bool extraInfoSet = false;
};
Recorded recorded;

jint JNICALL fakeCreate(JavaVM** vm, void** env, void* args) {
    const auto* initArgs = static_cast<const JavaVMInitArgs*>(args);
    recorded.version = initArgs->version;
    recorded.ignoreUnrecognized = initArgs->ignoreUnrecognized;
    for (jint i = 0; i < initArgs->nOptions; ++i) {
        recorded.options.push_back(initArgs->options[i].optionString);
        recorded.extraInfoSet = recorded.extraInfoSet || initArgs->options[i].extraInfo != nullptr;
    }
    // Some libraries leave garbage behind on failure.
    *vm = reinterpret_cast<JavaVM*>(0x1234);
    *env = reinterpret_cast<JNIEnv*>(0x5678);
    return recorded.result;
}

class RecordingHost : public VmHost {
public:
    void showError(const std::string& text) override { messages.push_back(text); }
    void closeSplash() override {}
    bool askStopOnException(JNIEnv*, jthrowable) override { return false; }
    std::vector<std::string> messages;
};

struct ResultCase {
    jint result;
    const char* reason;
};

class CreationResult : public testing::TestWithParam<ResultCase> {};

TEST_P(CreationResult, FailureShowsReasonAndClearsPointers) {
    recorded = Recorded();
    recorded.result = GetParam().result;
    ArgumentList options;
    options.append("-Djava.class.path=a b;\"c\"");
    options.append("-Xmx64m");
    options.append("-Xqx");
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    RecordingHost host;

    EXPECT_FALSE(createVm(fakeCreate, options, "", "", &vm, &env, host));

    EXPECT_EQ(vm, nullptr);
    EXPECT_EQ(env, nullptr);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0],
              std::string("JNI exception: failed to create the Java VM\nReason: ") + GetParam().reason + ".\n");
    EXPECT_EQ(recorded.version, 0x00010002);
    EXPECT_EQ(recorded.ignoreUnrecognized, JNI_FALSE);
    EXPECT_EQ(recorded.options, (std::vector<std::string>{"-Djava.class.path=a b;\"c\"", "-Xmx64m", "-Xqx"}));
    EXPECT_FALSE(recorded.extraInfoSet);
}

INSTANTIATE_TEST_SUITE_P(Codes, CreationResult,
                         testing::Values(ResultCase{-1, "unknown"}, ResultCase{-2, "thread detached from VM"},
                                         ResultCase{-3, "JNI version error"}, ResultCase{-4, "not enough memory"},
                                         ResultCase{-5, "VM already created"}, ResultCase{-6, "invalid arguments"},
                                         ResultCase{-7, ""}, ResultCase{1, ""}),
                         [](const testing::TestParamInfo<ResultCase>& info) {
                             int code = info.param.result;
                             return (code < 0 ? "minus" : "plus") + std::to_string(code < 0 ? -code : code);
                         });

}  // namespace
