"""Starting the VM: which library is loaded, what it is handed, and a whole run of main."""
import pytest

import winetools
from runtimes import loaded_kinds, log_values, main_arguments, make_runtime, options, vm_log
from winetools import WINE64, make_app, run_app, winpath

ONE_MB = 1048576  # the launcher's own stack reserve, which a thread of stack size 0 inherits


def launcher_ini(jre_path, class_path="app.jar", **jre_keys):
    """Configuration text: main class com.example.App, `jre_path`, and further
    "Java Runtime Environment" keys given as name=value (None leaves a key out)."""
    lines = ["[Java Runtime Environment]", "Main Class=com.example.App", "JRE Path=" + jre_path]
    lines += ["%s=%s" % (key, value) for key, value in jre_keys.items() if value is not None]
    lines += ["[Class Path]", "Class Path=" + class_path]
    return "\r\n".join(lines) + "\r\n"


def single_value(lines, prefix):
    values = log_values(lines, prefix)
    assert len(values) == 1, (prefix, lines)
    return values[0]


# -- which library -----------------------------------------------------------

@pytest.mark.parametrize("kinds, jvm_type, expected", [
    pytest.param(("client", "server"), None, "client", id="both-default"),
    pytest.param(("client", "server"), "server", "server", id="both-server"),
    pytest.param(("client", "server"), "favor_server", "server", id="both-favor_server"),
    pytest.param(("server",), None, "server", id="server-only-default"),
    pytest.param(("server",), "server", "server", id="server-only-server"),
    pytest.param(("server",), "favor_server", "server", id="server-only-favor_server"),
])
def test_jvm_type_picks_the_library(tmp_path, kinds, jvm_type, expected):
    runtime = make_runtime(tmp_path / "jre", kinds=kinds)
    exe = make_app(tmp_path / "app", ini_text=launcher_ini(winpath(runtime), **{"JVM Type": jvm_type}))
    result = run_app(exe, ["-nosplash"], timeout=20)
    assert result.exit == 0 and result.messages == []
    assert loaded_kinds(runtime) == [expected]
    log = vm_log(runtime, expected)
    assert single_value(log, "env QX_JVM_PATH=") == winpath(runtime) + "\\bin\\%s\\jvm.dll" % expected
    # Three levels above the library, whichever kind it is.
    assert single_value(log, "env QX_JVM_HOME=") == winpath(runtime)


@pytest.mark.parametrize("jre_path", [
    pytest.param(lambda runtime: winpath(runtime), id="no-trailing-backslash"),
    pytest.param(lambda runtime: winpath(runtime) + "\\", id="trailing-backslash"),
    # Resolved against the working directory, the executable's folder here.
    pytest.param(lambda runtime: "..\\" + runtime.name, id="relative"),
])
def test_jre_path_forms_load_the_same_library_by_its_full_path(tmp_path, jre_path):
    runtime = make_runtime(tmp_path / "jre", kinds=("client", "server"))
    exe = make_app(tmp_path / "app", ini_text=launcher_ini(jre_path(runtime)))
    result = run_app(exe, ["-nosplash"], timeout=20)
    assert result.exit == 0 and result.messages == []
    assert loaded_kinds(runtime) == ["client"]
    log = vm_log(runtime)
    assert single_value(log, "env QX_JVM_PATH=") == winpath(runtime) + "\\bin\\client\\jvm.dll"
    assert single_value(log, "env QX_JVM_HOME=") == winpath(runtime)


# -- a whole start -------------------------------------------------------------

RUN_ENV = {"QX_APPDIR": "C:\\apps"}
ARGUMENTS = ["two words", "-nosplash", "last"]
CLASS_PATH = "%QX_APPDIR%\\app.jar;%QX_NOT_DEFINED%\\more.jar"
VM_PARAMETERS = "-Dqx.one=1 -Dqx.two=2"


@pytest.fixture(scope="module")
def inherited_path():
    """The search path a program started with RUN_ENV inherits, as cmd shows it."""
    code, out, err = winetools.session()._capture([WINE64, "cmd", "/c", "echo %Path%"], 60, RUN_ENV)
    assert code == 0, err
    path = out.strip()
    assert path and "%" not in path
    return path


# (Library Path, System Path, expected library path option or None, expected
# Path) with {exe} the executable's folder (with its '\'), {old} the inherited
# search path and {runtime} the runtime folder.
ENVIRONMENTS = [
    pytest.param(None, None, None, "{old};{runtime}\\bin", id="nothing-configured"),
    pytest.param("D:\\Native", "D:\\App\\bin",
                 "D:\\Native;{exe};.;{old};{runtime}\\lib", "D:\\App\\bin;{old};{runtime}\\bin",
                 id="values-without-separator"),
    pytest.param("D:\\Native;", "D:\\App\\bin;",
                 "D:\\Native;{exe};.;{old};{runtime}\\lib", "D:\\App\\bin;{old};{runtime}\\bin",
                 id="values-ending-in-separator"),
    pytest.param("%QX_APPDIR%\\native", "%QX_APPDIR%\\bin",
                 "C:\\apps\\native;{exe};.;{old};{runtime}\\lib", "C:\\apps\\bin;{old};{runtime}\\bin",
                 id="values-with-references"),
]


@pytest.mark.parametrize("library_path, system_path, library_option, search_path", ENVIRONMENTS)
def test_full_start(tmp_path, inherited_path, library_path, system_path, library_option, search_path):
    runtime = make_runtime(tmp_path / "jre", scenario={"main_action": "thread:1500"})
    ini = launcher_ini(winpath(runtime), class_path=CLASS_PATH, **{
        "Library Path": library_path, "System Path": system_path,
        "Virtual Machine Parameters": VM_PARAMETERS})
    exe = make_app(tmp_path / "app", ini_text=ini)
    result = run_app(exe, ARGUMENTS, timeout=30, env=RUN_ENV)

    assert result.messages == []
    assert result.exit == 0
    log = vm_log(runtime)
    fill = {"exe": winpath(exe.parent) + "\\", "old": inherited_path, "runtime": winpath(runtime)}
    expected_options = ["-Djava.class.path=C:\\apps\\app.jar;%QX_NOT_DEFINED%\\more.jar",
                        "-Dqx.one=1", "-Dqx.two=2"]
    if library_option is not None:
        expected_options.insert(0, "-Djava.library.path=" + library_option.format(**fill))
    assert options(log) == expected_options
    assert "create version=0x00010002 nOptions=%d ignoreUnrecognized=0" % len(expected_options) in log
    assert single_value(log, "env QX_JVM_PATH=") == winpath(runtime) + "\\bin\\client\\jvm.dll"
    assert single_value(log, "env QX_JVM_HOME=") == winpath(runtime)
    assert single_value(log, "env Path=") == search_path.format(**fill)

    assert "findclass com/example/App" in log
    assert "main argc=3" in log
    assert main_arguments(log) == ARGUMENTS
    # main returned at once; the process waited for the thread main started.
    assert log.index("detach") < log.index("destroy begin") < log.index("thread end") < log.index("destroy end")


# -- the VM thread's stack -------------------------------------------------------

@pytest.mark.parametrize("default_stack_size, at_least, exactly", [
    pytest.param(4194304, 4194304, None, id="vm-default-4mb"),
    pytest.param(0, None, ONE_MB, id="vm-default-zero"),
    pytest.param(-1, None, ONE_MB, id="vm-default-negative"),
])
def test_stack_follows_the_vm_default(tmp_path, default_stack_size, at_least, exactly):
    runtime = make_runtime(tmp_path / "jre", scenario={"default_stack_size": default_stack_size})
    exe = make_app(tmp_path / "app", ini_text=launcher_ini(winpath(runtime)))
    result = run_app(exe, ["-nosplash"], timeout=20)
    assert result.exit == 0 and result.messages == []
    log = vm_log(runtime)
    assert single_value(log, "defaults version=") == "0x00010001 javaStackSize=%d result=0" % default_stack_size
    reserved = int(single_value(log, "stack reserved="))
    if exactly is not None:
        assert reserved == exactly
    else:
        assert reserved >= at_least
