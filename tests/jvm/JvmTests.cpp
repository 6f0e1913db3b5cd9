// Launches against the host JDK's real VM: each case runs jvm_driver in its
// own process (one VM per process) and checks its stdout, stderr, exit
// status and files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kClassPath = std::string("-Djava.class.path=") + QX_FIXTURE_CLASSES;

// A driver run hanging (for instance in DestroyJavaVM) ends with this status.
constexpr int kTimedOut = 124;

struct FileCheck {
    std::string name;  // inside the case's directory
    std::string has;
    std::string lacks;
};

struct VmCase {
    const char* name;
    // Driver arguments; "{dir}" stands for the case's own directory.
    std::vector<std::string> driverArgs;
    int exitStatus;
    std::vector<std::string> stdoutInOrder;
    std::vector<std::string> stdoutLacks;
    std::vector<std::string> stderrHas;
    std::vector<std::pair<std::string, std::string>> filesBefore;
    std::vector<FileCheck> filesAfter;
};

// Names the case in test output instead of a byte dump.
void PrintTo(const VmCase& c, std::ostream* out) { *out << c.name; }

std::string quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct DriverRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the driver in dir with a UTF-8 locale, so that the VM's default
// charset decodes the narrow arguments as they were encoded.
DriverRun runDriver(const fs::path& dir, const std::vector<std::string>& args) {
    std::string command = "cd " + quote(dir.string()) + " && LC_ALL=C.UTF-8 timeout -k 5 30 " + quote(QX_JVM_DRIVER);
    for (const std::string& arg : args) {
        command += " " + quote(replaceAll(arg, "{dir}", dir.string()));
    }
    command += " >" + quote((dir / "driver.out").string()) + " 2>" + quote((dir / "driver.err").string());
    DriverRun run;
    const int raw = std::system(command.c_str());
    run.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readFile(dir / "driver.out");
    run.err = readFile(dir / "driver.err");
    return run;
}

class CaseDirectory {
public:
    CaseDirectory() {
        std::string pattern = (fs::temp_directory_path() / "qx-jvm-XXXXXX").string();
        path = mkdtemp(&pattern[0]) != nullptr ? fs::path(pattern) : fs::path();
    }
    ~CaseDirectory() {
        std::error_code ignored;
        if (!path.empty()) fs::remove_all(path, ignored);
    }
    fs::path path;
};

class RealVm : public testing::TestWithParam<VmCase> {};

TEST_P(RealVm, Launch) {
    const VmCase& c = GetParam();
    CaseDirectory dir;
    ASSERT_FALSE(dir.path.empty());
    for (const auto& file : c.filesBefore) {
        writeFile(dir.path / file.first, file.second);
    }

    const DriverRun run = runDriver(dir.path, c.driverArgs);
    const std::string shown = "\n--- stdout\n" + run.out + "--- stderr\n" + run.err;
    ASSERT_NE(run.status, kTimedOut) << "the driver hung" << shown;
    EXPECT_EQ(run.status, c.exitStatus) << shown;

    size_t from = 0;
    for (const std::string& expected : c.stdoutInOrder) {
        const size_t at = run.out.find(expected, from);
        EXPECT_NE(at, std::string::npos) << "missing, or out of order: " << expected << shown;
        if (at != std::string::npos) from = at + expected.size();
    }
    for (const std::string& unexpected : c.stdoutLacks) {
        EXPECT_EQ(run.out.find(unexpected), std::string::npos) << "unexpected: " << unexpected << shown;
    }
    for (const std::string& expected : c.stderrHas) {
        EXPECT_NE(run.err.find(expected), std::string::npos) << "missing on stderr: " << expected << shown;
    }
    for (const FileCheck& check : c.filesAfter) {
        const fs::path file = dir.path / check.name;
        ASSERT_TRUE(fs::exists(file)) << check.name << shown;
        const std::string text = readFile(file);
        if (!check.has.empty()) EXPECT_NE(text.find(check.has), std::string::npos) << check.name << ": " << text;
        if (!check.lacks.empty()) EXPECT_EQ(text.find(check.lacks), std::string::npos) << check.name << ": " << text;
    }
}

const char kCreateFailed[] = "MESSAGE: JNI exception: failed to create the Java VM\nReason: ";

const VmCase kCases[] = {
    {"options_reach_vm_in_order",
     {"-o", kClassPath, "-o", "-Dqx.first=one", "-o", "-Dqx.text=a \"b\" c", "-o", "-Dqx.dup=early", "-o",
      "-Dqx.dup=late", "-o", "-Xss2m", "--main", "ShowVm", "qx.first", "qx.text", "qx.dup"},
     0,
     {"OPTION <-Dqx.first=one>", "OPTION <-Dqx.text=a \"b\" c>", "OPTION <-Dqx.dup=early>",
      "OPTION <-Dqx.dup=late>", "OPTION <-Xss2m>", std::string("CLASSPATH <") + QX_FIXTURE_CLASSES + ">",
      "PROPERTY qx.first=<one>", "PROPERTY qx.text=<a \"b\" c>", "PROPERTY qx.dup=<late>", "VM THREAD 0",
      "DESTROYED 0"},
     {"MESSAGE"},
     {},
     {},
     {}},
    // HotSpot answers an unknown option with JNI_ERR and an unknown -XX
    // flag with JNI_EINVAL; neither may be ignored.
    {"unrecognised_option_fails_creation",
     {"-o", kClassPath, "-o", "-Xqx-bogus", "--main", "ShowArgs"},
     1,
     {std::string(kCreateFailed) + "unknown.\n", "VM THREAD 1"},
     {"COUNT", "DESTROYING"},
     {"Unrecognized option: -Xqx-bogus"},
     {},
     {}},
    {"unknown_vm_flag_fails_creation",
     {"-o", kClassPath, "-o", "-XX:+QxNoSuchFlag", "--main", "ShowArgs"},
     1,
     {std::string(kCreateFailed) + "invalid arguments.\n", "VM THREAD 1"},
     {"COUNT", "DESTROYING"},
     {"QxNoSuchFlag"},
     {},
     {}},
    {"no_arguments_give_empty_array",
     {"-o", kClassPath, "--main", "ShowArgs"},
     0,
     {"COUNT 0\n", "VM THREAD 0", "DESTROYED 0"},
     {"ARG "},
     {},
     {},
     {}},
    {"arguments_arrive_intact",
     {"-o", kClassPath, "--main", "ShowArgs", "a", "-nosplash", "with inner space", "Gr\xC3\xBC\xC3\x9F" "e", ""},
     0,
     {"COUNT 5\n", "ARG 0 <a>\n", "ARG 1 <-nosplash>\n", "ARG 2 <with inner space>\n",
      "ARG 3 <Gr\\u00fc\\u00dfe>\n", "ARG 4 <>\n", "VM THREAD 0"},
     {},
     {},
     {},
     {}},
    // The failed start must detach the VM thread, or DestroyJavaVM waits
    // for it forever and the driver times out.
    {"missing_class_reported_and_process_ends",
     {"-o", kClassPath, "--main", "no/such/Missing"},
     1,
     {"MESSAGE: Could not find the main class no/such/Missing.\n", "VM THREAD 1", "DESTROYING", "DESTROYED 0"},
     {},
     {"java.lang.NoClassDefFoundError: no/such/Missing"},
     {},
     {}},
    {"instance_main_prints_lookup_error_only",
     {"-o", kClassPath, "--main", "InstanceMain"},
     1,
     {"VM THREAD 1", "DESTROYED 0"},
     {"MESSAGE", "MUST NOT RUN"},
     {"java.lang.NoSuchMethodError"},
     {},
     {}},
    {"main_throws_without_failure_check",
     {"-o", kClassPath, "--main", "Throws"},
     0,
     {"MAIN STARTED", "SPLASH CLOSED", "VM THREAD 0", "DESTROYED 0"},
     {"ASKED", "MESSAGE"},
     {"java.lang.IllegalStateException: thrown by the fixture", "at Throws.main"},
     {},
     {}},
    {"main_throws_and_user_ignores",
     {"-o", kClassPath, "--failure-check", "--main", "Throws"},
     0,
     {"MAIN STARTED", "SPLASH CLOSED", "ASKED with exception", "VM THREAD 0", "DESTROYED 0"},
     {},
     {"java.lang.IllegalStateException: thrown by the fixture"},
     {},
     {}},
    // Stop calls System.exit(-1): the VM ends the process with status 255
    // and nothing after the call runs.
    {"main_throws_and_user_stops",
     {"-o", kClassPath, "--failure-check", "--stop", "--main", "Throws"},
     255,
     {"SPLASH CLOSED", "ASKED with exception"},
     {"VM THREAD"},
     {"java.lang.IllegalStateException: thrown by the fixture"},
     {},
     {}},
    {"destroy_waits_for_non_daemon_thread",
     {"-o", kClassPath, "--main", "LateWorker"},
     0,
     {"MAIN RETURNS", "VM THREAD 0", "DESTROYING", "WORKER DONE", "DESTROYED 0"},
     {},
     {},
     {},
     {}},
    {"streams_redirected_to_files",
     {"-o", kClassPath, "--out", "{dir}/out.txt", "--err", "{dir}/err.txt", "--main", "Greeter"},
     0,
     {"VM THREAD 0", "DESTROYED 0"},
     {"TO OUT"},
     {},
     {{"out.txt", "stale text\n"}},
     {{"out.txt", "TO OUT\n", "stale"}, {"err.txt", "TO ERR\n", ""}}},
    {"unopenable_output_file_does_not_stop_launch",
     {"-o", kClassPath, "--out", "{dir}/missing/out.txt", "--err", "{dir}/err.txt", "--main", "Greeter"},
     0,
     {"TO OUT\n", "VM THREAD 0", "DESTROYED 0"},
     {"MESSAGE"},
     {"java.io.FileNotFoundException"},
     {},
     {{"err.txt", "TO ERR\n", ""}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, RealVm, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<VmCase>& info) { return std::string(info.param.name); });

// The library refuses the JNI 1.1 version in its result code but still
// fills javaStackSize, which the VM thread's stack is sized from.
TEST(RealVmDefaults, JavaStackSizeFromJdk11Record) {
    CaseDirectory dir;
    ASSERT_FALSE(dir.path.empty());
    const DriverRun run = runDriver(dir.path, {"--stack-size"});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    unsigned long size = 0;
    ASSERT_EQ(std::sscanf(run.out.c_str(), "STACK %lu", &size), 1) << run.out;
    EXPECT_GT(size, 0u);
}

}  // namespace
