"""Which runtime the launcher picks: configured folder, runtime beside the
executable, current directory and registered runtimes, end to end under wine64.

Every case lays out its runtime folders under one case folder, registers
runtimes under HKEY_LOCAL_MACHINE\\Software\\JavaSoft (replacing whatever the
previous case registered) and runs app.exe from case/app. The library that was
loaded is the one whose test VM log exists; QX_JVM_PATH in that log must name
it as a full path.
"""
import time

import pytest

from runtimes import (clear_registry, ini_text, library_path, loaded_kinds, log_values, make_runtime,
                      register, runtime_aliases, vm_log)
from winetools import make_app, run_app, winpath

MINUS_ONE = 4294967295
RUNTIME_SECTION = "Java Runtime Environment"
BASE_KEYS = {"Main Class": "com.example.App", "Maximum Version": "any"}


@pytest.fixture(scope="module", autouse=True)
def _registry_left_empty():
    """Leaves no registered runtime behind for the tests that run later."""
    yield
    clear_registry()


def home(case_dir, name):
    """JavaHome for a folder of the case; a trailing backslash in `name` is kept."""
    trailing = "\\" if name.endswith("\\") else ""
    return winpath(case_dir / name.rstrip("\\")) + trailing


def write_app(case_dir, keys):
    """case/app/app.exe with [Java Runtime Environment] = BASE_KEYS updated by keys."""
    runtime_keys = dict(BASE_KEYS, **keys)
    return make_app(case_dir / "app", ini_text=ini_text({
        RUNTIME_SECTION: runtime_keys, "Class Path": {"Class Path": "app.jar"}}))


def crash_lines(lines):
    return [line for line in lines or [] if line.startswith(("unimplemented", "misuse", "destroy blocked"))]


def assert_loaded(result, case_dir, folders, expect):
    """Exactly the library `expect` (folder, kind) was loaded and the run ended well,
    or, with expect None, nothing was loaded and the launch ended quietly with -1."""
    assert not result.timed_out
    loaded = {(folder, kind) for folder in folders for kind in loaded_kinds(case_dir / folder)}
    if expect is None:
        assert loaded == set()
        assert result.windows == []
        assert result.exit == MINUS_ONE
        return
    assert loaded == {expect}
    folder, kind = expect
    lines = vm_log(case_dir / folder, kind)
    assert crash_lines(lines) == []
    assert result.exit == 0, lines
    assert log_values(lines, "env QX_JVM_PATH=") == [library_path(case_dir / folder, kind)]


def case(ini=None, runtimes=None, registry=(), expect=None, cwd=None, jre_path=None, id=None):
    """One search case.

    ini       keys of [Java Runtime Environment] over BASE_KEYS (None drops a key)
    runtimes  folder (relative to the case folder) -> VM kinds; "java" among
              them also creates bin\\java.dll
    registry  (jre|jdk, version, JavaHome folder relative to the case folder)
    expect    (folder, kind) whose library must be loaded; None: no runtime found
    cwd       working directory relative to the case folder (default: the exe folder)
    jre_path  folder for "JRE Path", relative to the case folder
    """
    return pytest.param(ini or {}, runtimes or {}, list(registry), expect, cwd, jre_path, id=id)


J = "jre"
D = "jdk"

SEARCH_CASES = [
    # Version bounds: inclusive, with missing parts filled by 0 (minimum) or 65535 (maximum).
    case({"Minimum Version": "1.6", "Maximum Version": "1.6"}, {"jre16": ["client"], "jre17": ["client"]},
         [(J, "1.6.0_03", "jre16"), (J, "1.7.0", "jre17")], ("jre16", "client"), id="min-max-1.6-admit-1.6.0_03"),
    case({"Minimum Version": "1.6.0_03"}, {"jre16": ["client"]},
         [(J, "1.6", "jre16")], None, id="min-1.6.0_03-rejects-1.6"),
    case({"Minimum Version": "1.5"}, {"jre15": ["client"], "jre14": ["client"]},
         [(J, "1.5.0_10", "jre15"), (J, "1.4.2_19", "jre14")], ("jre15", "client"), id="min-1.5-admits-1.5.0_10"),
    case({"Maximum Version": "1.4"}, {"jre15": ["client"], "jre14": ["client"]},
         [(J, "1.5.0_10", "jre15"), (J, "1.4.2_19", "jre14")], ("jre14", "client"), id="max-1.4-rejects-1.5.0_10"),
    case({"Maximum Version": None}, {"jre16": ["client"]},
         [(J, "1.6.0_05", "jre16")], None, id="no-maximum-admits-nothing"),

    # A development kit is used through the runtime folder inside it.
    case({}, {"jdk16": ["client"], "jdk16/jre": ["client"]},
         [(D, "1.6.0_05", "jdk16")], ("jdk16/jre", "client"), id="jdk-home-without-backslash"),
    case({}, {"jdk16": ["client"], "jdk16/jre": ["client"]},
         [(D, "1.6.0_05", "jdk16\\")], ("jdk16/jre", "client"), id="jdk-home-with-backslash"),

    # Kinds of runtime: "JVM Source".
    case({}, {"jdk15/jre": ["client"], "jre16": ["client"]},
         [(D, "1.5.0_12", "jdk15"), (J, "1.6.0_05", "jre16")], ("jre16", "client"), id="no-source-newest-wins"),
    case({"JVM Source": "favor_JDK"}, {"jre15": ["client"], "jre16": ["client"]},
         [(J, "1.5.0_12", "jre15"), (J, "1.6.0_05", "jre16")], ("jre16", "client"), id="favor-jdk-only-jres"),
    case({"JVM Source": "favor_JDK"}, {"jdk15/jre": ["client"], "jre16": ["client"]},
         [(D, "1.5.0_12", "jdk15"), (J, "1.6.0_05", "jre16")], ("jdk15/jre", "client"), id="favor-jdk-ranks-jdk"),
    case({"JVM Source": "only_JDK"}, {"jre15": ["client"], "jre16": ["client"]},
         [(J, "1.5.0_12", "jre15"), (J, "1.6.0_05", "jre16")], None, id="only-jdk-only-jres"),
    case({"JVM Source": "only_JDK"}, {"jdk15/jre": ["client"], "jre16": ["client"]},
         [(D, "1.5.0_12", "jdk15"), (J, "1.6.0_05", "jre16")], ("jdk15/jre", "client"), id="only-jdk"),
    case({"JVM Source": "favor_JRE"}, {"jdk16/jre": ["client"], "jre15": ["client"]},
         [(D, "1.6.0_05", "jdk16"), (J, "1.5.0_12", "jre15")], ("jre15", "client"), id="favor-jre-ranks-jre"),
    case({"JVM Source": "favor_JRE"}, {"jdk16/jre": ["client"]},
         [(D, "1.6.0_05", "jdk16")], ("jdk16/jre", "client"), id="favor-jre-only-jdk"),
    case({"JVM Source": "only_JRE"}, {"jdk16/jre": ["client"]},
         [(D, "1.6.0_05", "jdk16")], None, id="only-jre-only-jdk"),
    case({"JVM Source": "favor_jdk"}, {"jre16": ["client"], "jdk16/jre": ["client"]},
         [(J, "1.6.0_05", "jre16"), (D, "1.6.0_05", "jdk16")], None, id="unknown-source-searches-nothing"),

    # VM kind: "JVM Type".
    case({"JVM Type": "favor_server"}, {"jdk15/jre": ["server"], "jre16": ["client"]},
         [(D, "1.5.0_12", "jdk15"), (J, "1.6.0_05", "jre16")], ("jdk15/jre", "server"),
         id="favor-server-jdk-server-over-newer-client"),
    case({"JVM Type": "favor_server"}, {"jre16": ["client", "server"]},
         [(J, "1.6.0_05", "jre16")], ("jre16", "server"), id="favor-server-jre-client-and-server"),
    # The runtime environment is ranked as a client VM, so the older kit with a server VM wins.
    case({"JVM Type": "favor_server"}, {"jdk15/jre": ["server"], "jre16": ["client", "server"]},
         [(D, "1.5.0_12", "jdk15"), (J, "1.6.0_05", "jre16")], ("jdk15/jre", "server"),
         id="favor-server-jre-ranked-as-client"),
    case({"JVM Type": "server"}, {"jre16": ["client"], "jre15": ["client", "server"]},
         [(J, "1.6.0_05", "jre16"), (J, "1.5.0_12", "jre15")], ("jre15", "server"), id="server-skips-client-only"),
    case({"JVM Type": "server"}, {"jre16": ["client", "hotspot"]},
         [(J, "1.6.0_05", "jre16")], None, id="server-none-has-server"),

    # Preferred versions outrank the version order; equal versions go to the kit.
    case({"Preferred versions": "1.5;1.6"}, {"a": ["client"], "b": ["client"], "c": ["client"]},
         [(J, "1.6.0_02", "a"), (J, "1.6.0_05", "b"), (J, "1.5.0_12", "c")], ("c", "client"),
         id="preferred-1.5-first"),
    case({"Preferred versions": "1.5;1.6"}, {"a": ["client"], "b": ["client"]},
         [(J, "1.6.0_02", "a"), (J, "1.6.0_05", "b")], ("b", "client"), id="preferred-1.6-newest"),
    case({"Preferred versions": "1.4"}, {"a": ["client"], "b": ["client"]},
         [(J, "1.6.0_05", "b"), (J, "1.6.0_02", "a")], ("b", "client"), id="preferred-none-match"),
    case({}, {"jdk16/jre": ["client"], "jre16": ["client"]},
         [(J, "1.6.0_05", "jre16"), (D, "1.6.0_05", "jdk16")], ("jdk16/jre", "client"), id="equal-versions-jdk"),

    # A runtime beside the executable comes before the registry.
    case({}, {"app": ["java", "client"], "jre16": ["client"]},
         [(J, "1.6.0_05", "jre16")], ("app", "client"), id="local-exe-folder"),
    case({}, {"app/jre": ["java", "client"], "jre16": ["client"]},
         [(J, "1.6.0_05", "jre16")], ("app/jre", "client"), id="local-jre-subfolder"),
    case({}, {"app": ["java", "client"], "app/jre": ["java", "client"]},
         [], ("app", "client"), id="local-exe-folder-before-jre"),
    case({}, {"app": ["client"], "jre16": ["client"]},
         [(J, "1.6.0_05", "jre16")], ("jre16", "client"), cwd="elsewhere", id="local-needs-java-dll"),
    case({}, {"app/jre": ["client"], "jre16": ["client"]},
         [(J, "1.6.0_05", "jre16")], ("jre16", "client"), cwd="elsewhere", id="local-jre-needs-java-dll"),
    # No runtime beside the executable: the library names are tried in the current directory.
    case({}, {"work": ["client"], "jre16": ["client"]},
         [(J, "1.6.0_05", "jre16")], ("work", "client"), cwd="work", id="current-directory"),

    # Configured folder, then local runtime, then registry.
    case({}, {"configured": ["client"], "app": ["java", "client"], "jre16": ["client"]},
         [(J, "1.6.0_05", "jre16")], ("configured", "client"), jre_path="configured", id="jre-path-first"),
    case({}, {"app": ["java", "client"], "jre16": ["client"]},
         [(J, "1.6.0_05", "jre16")], ("app", "client"), jre_path="empty", id="empty-jre-path-then-local"),
    case({}, {"jre16": ["client"]},
         [(J, "1.6.0_05", "jre16")], ("jre16", "client"), jre_path="empty", id="empty-jre-path-then-registry"),
]


@pytest.mark.parametrize("ini, runtimes, registry, expect, cwd, jre_path", SEARCH_CASES)
def test_runtime_search(tmp_path, ini, runtimes, registry, expect, cwd, jre_path):
    for folder, kinds in runtimes.items():
        make_runtime(tmp_path / folder, kinds=[k for k in kinds if k != "java"], java_dll="java" in kinds)
    keys = dict(ini)
    for name in (cwd, jre_path):
        if name:
            (tmp_path / name).mkdir(exist_ok=True)
    if jre_path:
        keys["JRE Path"] = winpath(tmp_path / jre_path)
    exe = write_app(tmp_path, keys)
    register([(kind, version, home(tmp_path, name)) for kind, version, name in registry])
    result = run_app(exe, cwd=tmp_path / cwd if cwd else None)
    assert_loaded(result, tmp_path, runtimes, expect)


# -- registrations that do not fit ------------------------------------------

# Each case registers one odd version 1.6.0_05 beside a sound 1.5.0_01. The odd
# one must either be skipped (the older runtime is used) or, where its data
# still names the newer runtime, be used; nothing may crash either way.
ODD_REGISTRATIONS = [
    pytest.param("1.6.0_05", lambda newer: 0x12345678, "older", id="dword"),
    pytest.param("1.6.0_05", lambda newer: 0, "older", id="dword-zero"),
    pytest.param("1.6.0_05", lambda newer: "", "older", id="empty-string"),
    pytest.param("1.6.0_05", lambda newer: None, "older", id="no-javahome"),
    pytest.param("1.6.0_05", lambda newer: b"\x41" * 300, "older", id="binary-garbage-without-nul"),
    pytest.param("1.6.0_05", lambda newer: winpath(newer).encode(), "newer", id="binary-path-without-nul"),
    pytest.param("1.6.0_05", lambda newer: winpath(newer) + "\\" + "x" * 5000, "older", id="string-of-5000"),
    # The key path and a name this long exceed MAX_PATH together, though the name alone is legal.
    pytest.param("1.6.0_05" + "x" * 247, lambda newer: newer, "newer", id="key-name-of-255"),
]


@pytest.mark.parametrize("name, java_home, expect", ODD_REGISTRATIONS)
def test_odd_registrations_are_skipped_or_used_safely(tmp_path, name, java_home, expect):
    assert len(name) <= 255
    newer = make_runtime(tmp_path / "newer")
    older = make_runtime(tmp_path / "older")
    exe = write_app(tmp_path, {})
    register([("jre", name, java_home(newer)), ("jre", "1.5.0_01", older)])
    result = run_app(exe)
    assert_loaded(result, tmp_path, ["newer", "older"], (expect, "client"))


# Versions 1.6.0_1 .. 1.6.0_1000: the newest, 1.6.0_1000, is not the last by name.
MANY = 1000


@pytest.mark.parametrize("with_library, chosen", [
    pytest.param("all", MANY, id="all-have-a-library"),
    pytest.param({437}, 437, id="one-has-a-library"),
])
def test_a_thousand_registered_versions(tmp_path, with_library, chosen):
    runtime = make_runtime(tmp_path / "runtime")
    numbers = range(1, MANY + 1)
    linked = numbers if with_library == "all" else sorted(with_library)
    runtime_aliases(runtime, tmp_path / "links", linked)
    # Versions without a library point at folders that do not exist.
    register([("jre", "1.6.0_%d" % n, tmp_path / "links" / str(n)) for n in numbers])
    exe = write_app(tmp_path, {})
    started = time.monotonic()
    result = run_app(exe, timeout=30)
    elapsed = time.monotonic() - started
    assert not result.timed_out
    lines = vm_log(runtime)
    assert crash_lines(lines) == []
    assert result.exit == 0
    assert log_values(lines, "env QX_JVM_PATH=") == [library_path(tmp_path / "links" / str(chosen))]
    assert elapsed < 10, elapsed
