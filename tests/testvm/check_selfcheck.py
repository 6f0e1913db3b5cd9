#!/usr/bin/env python3
"""Runs testvm_selfcheck under wine64 against the test VM, one scenario per
case, and checks the exit code, the output and the test VM's log."""
import argparse
import os
import re
import shutil
import subprocess
import sys

GREET = [
    "defaults version=0x00010001 javaStackSize=0 result=0",
    "create version=0x00010002 nOptions=2 ignoreUnrecognized=0",
    "option[0]=-Djava.class.path=app.jar",
    "option[1]=-Xmx64m",
    "env QX_JVM_HOME=C:\\rt",
    "env QX_JVM_PATH unset",
    re.compile(r"env Path=.+"),
    re.compile(r"stack reserved=\d+"),
]
MAIN_CALL = [
    "findclass com/example/App",
    "getstaticmethod com/example/App main ([Ljava/lang/String;)V",
    "main argc=2",
    "arg[0]=first",
    "arg[1]=second \xe4",
]

# name, library, ini, selfcheck arguments, exit code, stdout parts,
# log lines in this order, lines that must not appear, file -> text it holds
CASES = [
    ("main returns", "jvm.dll", "", ["run"], 0, ["destroyed 0"],
     GREET + MAIN_CALL + ["detach", "destroy begin", "destroy end"], ["warning", "misuse", "exception"], {}),
    ("main throws", "jvm.dll", "main_action=throw", ["run"], 0, ["main threw", "destroyed 0"],
     MAIN_CALL + ["exception describe",
                  'Exception in thread "main" java.lang.RuntimeException: thrown by main', "detach", "destroy end"],
     ["warning"], {}),
    ("exception printed on redirected System.err", "jvm.dll", "main_action=throw",
     ["run", "com/example/App", "err.txt"], 0, ["main threw"],
     ["setErr err.txt", "main argc=2", "exception describe"], ["warning"],
     {"err.txt": 'Exception in thread "main" java.lang.RuntimeException: thrown by main\r\n'
                 "\tat com.example.App.main\r\n"}),
    ("redirection to a folder that does not exist", "jvm.dll", "", ["run", "com/example/App", "no\\such\\err.txt"],
     7, ["redirect failed"],
     ["exception describe", re.compile(r'Exception in thread "main" java\.io\.FileNotFoundException: no\\such\\err\.txt .*')],
     ["setErr", "main argc"], {}),
    ("System.exit in main", "jvm.dll", "main_action=exit:7", ["run"], 7, [],
     MAIN_CALL + ["exit 7"], ["detach", "destroy begin"], {}),
    ("Stop: stack trace captured, then System.exit(-1)", "jvm.dll", "main_action=throw", ["stop"], 255,
     ["captured [java.lang.RuntimeException: thrown by main\r\n\tat com.example.App.main\r\n]"],
     ["exception describe", "getmethod java/lang/RuntimeException printStackTrace (Ljava/io/PrintStream;)V",
      "getmethod java/io/ByteArrayOutputStream toString ()Ljava/lang/String;",
      "getstaticmethod java/lang/System exit (I)V", "exit -1"],
     ["warning", "detach", "destroy"], {}),
    ("DestroyJavaVM waits for a non-daemon thread", "jvm.dll", "main_action=thread:400", ["run"], 0, ["destroyed 0"],
     ["main argc=2", "detach", "destroy begin", "thread end", "destroy end"], [], {}),
    ("main class missing", "jvm.dll", "", ["run", "com/example/Other"], 4, ["class missing, pending"],
     ["findclass com/example/Other", "exception describe",
      'Exception in thread "main" java.lang.NoClassDefFoundError: com/example/Other'], ["getstaticmethod"], {}),
    ("missing class without a pending exception", "jvm.dll", "pending_on_missing=no",
     ["run", "com/example/Other"], 4, ["class missing, nothing pending"],
     ["findclass com/example/Other", "exception describe none"], [], {}),
    ("a dotted class name is not found", "jvm.dll", "", ["run", "com.example.App"], 4, ["class missing, pending"],
     ["findclass com.example.App"], [], {}),
    ("class without a static main", "jvm.dll", "classes=com/example/App, com/example/Lib\nmain_missing_in=com/example/Lib",
     ["run", "com/example/Lib"], 5, ["main missing, pending"],
     ["getstaticmethod com/example/Lib main ([Ljava/lang/String;)V",
      'Exception in thread "main" java.lang.NoSuchMethodError: main'], ["main argc"], {}),
    ("creation fails", "jvm.dll", "create_result=-6", ["run"], 3, ["create failed -6"],
     ["option[1]=-Xmx64m", "create result=-6"], ["findclass", "destroy"], {}),
    ("default stack size", "jvm.dll", "default_stack_size=4194304\ndefaults_result=-1", ["run"], 0,
     ["defaults result=-1 version=0x00010002 stack=4194304"],
     ["defaults version=0x00010001 javaStackSize=4194304 result=-1", re.compile(r"stack reserved=(\d+)")], [], {}),
    ("a thread that ends attached blocks DestroyJavaVM", "jvm.dll", "", ["run-leave-attached", "com/example/Other"],
     97, [], ["findclass com/example/Other", "destroy begin", "destroy blocked by ended thread main"],
     ["detach", "destroy end"], {}),
    ("secondaryMain, void form", "jvm.dll", "secondary_main=void", ["secondary"], 0, ["destroyed 0"],
     ["detach", "attach Thread-0", "getstaticmethod com/example/App secondaryMain ([Ljava/lang/String;)V",
      "secondary argc=1", "arg[0]=again", "detach", "destroy begin", "destroy end"],
     ["warning", "exception describe"], {}),
    ("secondaryMain, int form", "jvm.dll", "secondary_main=int\nsecondary_result=42", ["secondary"], 0,
     ["secondary returned 42"],
     ["attach Thread-0", "getstaticmethod com/example/App secondaryMain ([Ljava/lang/String;)V",
      "getstaticmethod com/example/App secondaryMain ([Ljava/lang/String;)I", "secondary argc=1", "detach"],
     ["warning", "exception describe"], {}),
    ("secondaryMain throws", "jvm.dll", "secondary_main=void\nsecondary_action=throw", ["secondary"], 0, [],
     ["secondary argc=1", "exception describe",
      'Exception in thread "Thread-0" java.lang.RuntimeException: thrown by secondaryMain', "detach"], [], {}),
    ("no secondaryMain: both lookups fail", "jvm.dll", "", ["secondary"], 0, ["destroyed 0"],
     ["getstaticmethod com/example/App secondaryMain ([Ljava/lang/String;)I",
      'Exception in thread "Thread-0" java.lang.NoSuchMethodError: secondaryMain', "detach"], ["secondary argc"], {}),
    ("a deleted reference ends the process", "jvm.dll", "", ["use-deleted"], 98, [],
     ["misuse GetMethodID: deleted reference"], [], {}),
    ("unimplemented slot ends the process", "jvm.dll", "", ["unimplemented"], 99, [],
     ["findclass java/lang/String", "unimplemented 171"], [], {}),
    ("complete exports", "jvm.dll", "", ["exports"], 0, ["create=yes defaults=yes"], [], [], {}),
    ("library without JNI_CreateJavaVM", "jvm-no-create.dll", "", ["exports"], 0, ["create=no defaults=yes"],
     [], [], {}),
    ("library without JNI_GetDefaultJavaVMInitArgs", "jvm-no-defaults.dll", "", ["exports"], 0,
     ["create=yes defaults=no"], [], [], {}),
]


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def matches(expected, line):
    return expected.fullmatch(line) if isinstance(expected, re.Pattern) else expected == line


def check_case(case, options):
    name, library, ini, arguments, want_code, want_output, want_lines, absent, files = case
    folder = os.path.join(options.work, re.sub(r"\W+", "_", name))
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copy(os.path.join(options.dll_dir, library), os.path.join(folder, "jvm.dll"))
    with open(os.path.join(folder, "testvm.ini"), "w", newline="\r\n") as out:
        out.write("[vm]\n" + ini + "\n")
    environment = dict(os.environ, QX_JVM_HOME="C:\\rt")
    environment.pop("QX_JVM_PATH", None)
    # Output goes to a file, not a pipe: Wine's background processes inherit
    # the descriptors and would hold a pipe open for seconds after the run.
    output_path = os.path.join(folder, "selfcheck.out")
    with open(output_path, "wb") as output_file:
        run = subprocess.run([options.wine_run, options.selfcheck, windows_path(os.path.join(folder, "jvm.dll"))]
                             + arguments, cwd=folder, env=environment, stdout=output_file,
                             stderr=subprocess.STDOUT, timeout=120)
    output = open(output_path, "rb").read().decode("latin-1")
    log_path = os.path.join(folder, "testvm.log")
    log = open(log_path, encoding="latin-1").read().splitlines() if os.path.exists(log_path) else []
    faults = []
    if run.returncode != want_code:
        faults.append("exit code %d, expected %d" % (run.returncode, want_code))
    faults += ["output lacks %r" % part for part in want_output if part not in output]
    position = 0
    for expected in want_lines:
        while position < len(log) and not matches(expected, log[position]):
            position += 1
        if position == len(log):
            faults.append("log lacks %r in its order" % (expected,))
            break
        position += 1
    faults += ["log holds %r" % word for word in absent if any(line.startswith(word) for line in log)]
    for file_name, text in files.items():
        path = os.path.join(folder, file_name)
        content = open(path, "rb").read().decode("latin-1") if os.path.exists(path) else None
        if content != text:
            faults.append("%s holds %r, expected %r" % (file_name, content, text))
    if name == "default stack size":
        reserved = [int(line.split("=")[1]) for line in log if line.startswith("stack reserved=")]
        if not reserved or reserved[0] < 4194304:
            faults.append("reserved stack %s is below the requested 4194304" % reserved)
    if faults:
        print("FAIL %s\n  %s\n  output: %r\n  log:\n    %s" % (name, "\n  ".join(faults), output,
                                                              "\n    ".join(log)))
    else:
        print("ok   %s" % name)
    return not faults


def keep_wine_server(options):
    """Starting Wine's server costs seconds per run; one that stays up a few
    seconds after its last client serves all cases. Without it (or when one
    already runs) the cases still run, only slower."""
    if not os.path.exists(options.wineserver):
        return
    repository = os.path.dirname(os.path.dirname(os.path.abspath(options.wine_run)))
    prefix = os.environ.get("WINEPREFIX") or os.path.join(repository, "build", "wine", "prefix")
    os.makedirs(prefix, exist_ok=True)
    subprocess.run([options.wineserver, "-p3"], env=dict(os.environ, WINEPREFIX=prefix),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def main():
    parser = argparse.ArgumentParser()
    for option in ("--wine-run", "--selfcheck", "--dll-dir", "--work"):
        parser.add_argument(option, required=True)
    parser.add_argument("--wineserver", default="/usr/lib/wine/wineserver64")
    options = parser.parse_args()
    keep_wine_server(options)
    results = [check_case(case, options) for case in CASES]
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
