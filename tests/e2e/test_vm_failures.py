"""A VM start that fails ends the launch with its message and an exit code,
and never hangs: every run here must end within its time-out."""
import re

import pytest

from runtimes import make_runtime, vm_log
from winetools import make_app, run_app, start_app, winpath

MINUS_ONE = 4294967295
MISSING_ENTRY = "Windows exception: cannot find CreateJavaVM JNI (errno = 127).\n"  # ERROR_PROC_NOT_FOUND
CREATE_FAILED = "JNI exception: failed to create the Java VM\nReason: %s.\n"
NO_CLASS_PATH = "Java Class Path was not specified in INI file."


def launcher_ini(runtime, main_class="com.example.App", class_path="app.jar", extra=""):
    """Configuration text for `runtime`; class_path None leaves out the whole section."""
    text = "[Java Runtime Environment]\r\nMain Class=%s\r\nJRE Path=%s\r\n" % (main_class, winpath(runtime))
    if class_path is not None:
        text += "[Class Path]\r\nClass Path=%s\r\n" % class_path
    return text + extra


def start(tmp_path, scenario=None, variant="jvm.dll", **ini):
    """Runtime with the client library and an app.exe configured for it; returns (runtime, exe)."""
    runtime = make_runtime(tmp_path / "jre", variant=variant, scenario=scenario)
    exe = make_app(tmp_path / "app", ini_text=launcher_ini(runtime, **ini))
    return runtime, exe


def run(exe):
    result = run_app(exe, ["-nosplash"], timeout=20)
    assert not result.timed_out, result
    return result


def assert_created_then_left(log):
    """The VM thread detached before the teardown destroyed the VM."""
    assert "detach" in log and "destroy end" in log, log
    assert log.index("detach") < log.index("destroy begin")


# -- the library ------------------------------------------------------------------

@pytest.mark.parametrize("content", [
    pytest.param(b"", id="empty-file"),
    pytest.param(b"not a library\r\n" * 20, id="text-file"),
    pytest.param(b"MZ" + bytes(510), id="truncated-image"),
])
def test_library_that_cannot_be_loaded(tmp_path, content):
    runtime, exe = start(tmp_path)
    library = runtime / "bin" / "client" / "jvm.dll"
    library.write_bytes(content)
    result = run(exe)
    assert result.exit == MINUS_ONE
    [message] = result.messages
    expected = re.escape("Failed to load Java VM library: %s (errno = " % winpath(library)) + r"(\d+)\)\.\n"
    match = re.fullmatch(expected, message)
    assert match and int(match.group(1)) != 0, message


@pytest.mark.parametrize("variant", ["jvm-no-create.dll", "jvm-no-defaults.dll"])
def test_library_without_an_entry_point(tmp_path, variant):
    runtime, exe = start(tmp_path, variant=variant)
    result = run(exe)
    assert result.messages == [MISSING_ENTRY]
    assert result.exit == MINUS_ONE
    assert vm_log(runtime) is None  # neither entry point was called


# -- creating the VM ------------------------------------------------------------

@pytest.mark.parametrize("code, reason", [
    (-1, "unknown"),
    (-2, "thread detached from VM"),
    (-3, "JNI version error"),
    (-4, "not enough memory"),
    (-5, "VM already created"),
    (-6, "invalid arguments"),
    (-7, ""),
])
def test_creation_failure_names_the_reason(tmp_path, code, reason):
    runtime, exe = start(tmp_path, scenario={"create_result": code})
    result = run(exe)
    assert result.messages == [CREATE_FAILED % reason]
    assert result.exit == MINUS_ONE
    log = vm_log(runtime)
    assert log[-1] == "create result=%d" % code  # nothing asked of a VM that does not exist


@pytest.mark.parametrize("class_path", [
    pytest.param("", id="empty-value"),
    pytest.param(None, id="no-section"),
])
def test_without_class_path_no_vm_is_created(tmp_path, class_path):
    runtime, exe = start(tmp_path, class_path=class_path)
    result = run(exe)
    assert result.messages == [NO_CLASS_PATH]
    assert result.exit == MINUS_ONE
    log = vm_log(runtime) or []
    assert not any(line.startswith("create") for line in log), log


# -- main class and main method ------------------------------------------------------

def run_reading_log_at_boxes(wine, exe, runtime):
    """Runs exe; answers each message box with OK after noting the log as it
    stood while the box was up. Returns (result, [log at each box])."""
    app = start_app(exe, ["-nosplash"], timeout=20)
    logs = []
    try:
        while True:
            event = app.next_event()
            if event is None or "exit" in event or "timeout" in event:
                break
            if "window" in event:
                logs.append(vm_log(runtime))
                assert wine.press(event["window"]["hwnd"], 1)["ok"]
        result = app.finish()
    finally:
        app.kill()
    assert not result.timed_out, result
    return result, logs


# (main class, scenario, message, exception line the VM prints or None)
LOOKUP_FAILURES = [
    pytest.param("com.example.Missing", {}, "Could not find the main class com/example/Missing.\n",
                 'Exception in thread "main" java.lang.NoClassDefFoundError: com/example/Missing',
                 id="class-missing"),
    pytest.param("com.example.Missing", {"pending_on_missing": "no"},
                 "Could not find the main class com/example/Missing.\n", None, id="class-missing-nothing-pending"),
    pytest.param("com.example.App", {"main_missing_in": "com/example/App"}, None,
                 'Exception in thread "main" java.lang.NoSuchMethodError: main', id="main-missing"),
    pytest.param("com.example.App", {"main_missing_in": "com/example/App", "pending_on_missing": "no"},
                 "No main method found in specified class.\n", None, id="main-missing-nothing-pending"),
]


@pytest.mark.parametrize("main_class, scenario, message, exception", LOOKUP_FAILURES)
def test_main_lookup_failure(wine, tmp_path, main_class, scenario, message, exception):
    runtime, exe = start(tmp_path, scenario=scenario, main_class=main_class)
    result, logs_at_boxes = run_reading_log_at_boxes(wine, exe, runtime)
    assert result.messages == ([message] if message else [])
    assert result.exit == MINUS_ONE
    log = vm_log(runtime)
    assert not any(line.startswith("main ") for line in log)
    if exception is not None:
        assert log[log.index("exception describe") + 1] == exception
    else:
        assert "exception describe" not in log
    for at_box in logs_at_boxes:
        # The exception is printed before the box, and the thread leaves the VM after it.
        assert ("exception describe" in at_box) == (exception is not None)
        assert "detach" not in at_box
    assert_created_then_left(log)


@pytest.mark.parametrize("action, extra, exit_code, exception", [
    pytest.param("exit:3", "", 3, None, id="system-exit"),
    pytest.param("throw", "", 0, 'Exception in thread "main" java.lang.RuntimeException: thrown by main',
                 id="throws-failure-check-absent"),
    pytest.param("throw", "[Application]\r\nFailure Check=No\r\n", 0,
                 'Exception in thread "main" java.lang.RuntimeException: thrown by main',
                 id="throws-failure-check-off"),
])
def test_how_main_ends_gives_the_exit_code(tmp_path, action, extra, exit_code, exception):
    runtime, exe = start(tmp_path, scenario={"main_action": action}, extra=extra)
    result = run(exe)
    assert result.windows == []
    assert result.exit == exit_code
    log = vm_log(runtime)
    assert "main argc=1" in log
    if exception is None:
        assert log[-1] == "exit %d" % exit_code  # the VM ended the process inside main
    else:
        assert log[log.index("exception describe") + 1] == exception
        assert_created_then_left(log)
