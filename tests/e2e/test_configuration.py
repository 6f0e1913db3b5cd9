"""The launcher reading its configuration file, end to end under wine64."""
import shutil

import pytest

from winetools import launcher_exe, make_app, run_app, winpath

MINUS_ONE = 4294967295
NO_MAIN_CLASS = "Main class was not specified in INI file."

# Configuration files from which no main class can be read. None: no file.
NO_MAIN_CLASS_FILES = [
    pytest.param("[Java Runtime Environment]\r\nMinimum Version=1.5\r\n", id="key-missing"),
    pytest.param(None, id="file-missing"),
    pytest.param(b"", id="empty-file"),
    pytest.param(bytes(range(256)) * 40, id="binary-garbage"),
    pytest.param("[Java Runtime Environment]\r\nMain Class=\r\nClass Path=" + "x" * 8000 + "\r\n"
                 "Preferred versions=" + "1.6;" * 2000 + "\r\nJVM Type=" + "s" * 5000 + "\r\n",
                 id="values-of-kilobytes"),
    pytest.param("[Java Runtime Environment]\r\nMain Class\r\n[[[\r\n=\r\n\x00\x01\r\n", id="broken-lines"),
]


@pytest.mark.parametrize("ini", NO_MAIN_CLASS_FILES)
def test_without_main_class_shows_210_and_exits_minus_one(tmp_path, ini):
    exe = make_app(tmp_path, ini_text=ini)
    result = run_app(exe)
    assert not result.timed_out
    assert [m.rstrip("\n") for m in result.messages] == [NO_MAIN_CLASS]
    assert result.owners == [0]
    assert result.captions == ["Error"]  # no caption given: the system's default
    assert result.exit == MINUS_ONE


def test_path_without_a_dot_ends_without_a_message(tmp_path):
    folder = tmp_path / "nodots"
    folder.mkdir()
    exe = folder / "app"
    shutil.copyfile(launcher_exe(), exe)
    (folder / "app.ini").write_text("[Java Runtime Environment]\r\nMain Class=com.example.App\r\n")
    assert "." not in winpath(exe)
    result = run_app(exe, cmdline='"%s"' % winpath(exe))
    assert result.windows == []
    assert result.exit == MINUS_ONE


@pytest.mark.parametrize("extra", [
    pytest.param("", id="plain"),
    pytest.param("Main Class=" + "com.example." * 700 + "App\r\n", id="main-class-of-kilobytes"),
])
def test_main_class_without_any_runtime_ends_quietly(tmp_path, extra):
    # No "JRE Path", no runtime beside the executable and no "Maximum
    # Version" (which admits no registered runtime): the runtime-not-found
    # step answers Cancel.
    exe = make_app(tmp_path, ini_text="[Java Runtime Environment]\r\nMain Class=com.example.App\r\n" + extra)
    result = run_app(exe)
    assert result.windows == []
    assert result.exit == MINUS_ONE


# -- runtime path settings -----------------------------------------------------

from pathlib import Path  # noqa: E402

import winetools  # noqa: E402
from runtimes import loaded_kinds, make_runtime, vm_log  # noqa: E402



def startable(runtime_lines, more=""):
    """A configuration that starts com.example.App with further runtime settings."""
    return ("[Java Runtime Environment]\r\nMain Class=com.example.App\r\n" + runtime_lines +
            "[Class Path]\r\nClass Path=app.jar\r\n" + more)


def user_app_data():
    users = winetools.session().prefix / "drive_c" / "users"
    (folder,) = [p for p in users.glob("*/AppData/Roaming") if p.parts[-3] != "Public"]
    return folder


@pytest.mark.parametrize("value,cwd_is_exe_folder,loads", [
    ("Yes", False, True),
    ("yES", False, True),   # any letter case
    ("no", False, False),   # the inherited directory stays: nothing there
    ("", True, True),       # without the override the inherited directory counts
])
def test_override_working_dir_resolves_a_relative_jre_path(tmp_path, value, cwd_is_exe_folder, loads):
    app = tmp_path / "app"
    elsewhere = tmp_path / "elsewhere"
    elsewhere.mkdir()
    runtime = make_runtime(app / "jre")  # no bin\java.dll: not a runtime beside the executable
    exe = make_app(app, ini_text=startable("JRE Path=jre\r\n",
                                                "[Application]\r\nOverride WorkingDir=%s\r\n" % value))
    result = run_app(exe, cwd=app if cwd_is_exe_folder else elsewhere)
    assert result.windows == []
    assert loaded_kinds(runtime) == (["client"] if loads else [])
    assert result.exit == (0 if loads else MINUS_ONE)


def test_per_user_copy_decides_the_jre_path(tmp_path):
    beside = make_runtime(tmp_path / "beside")
    picked = make_runtime(tmp_path / "picked")
    exe = make_app(tmp_path / "app", ini_text=startable(
        "JRE Path=%s\r\n" % winpath(beside),
        "[Product Information]\r\nProduct Name=Qx E2E: Copy\r\nProduct Code={E2E-%s}\r\n" % tmp_path.name))
    product = user_app_data() / "Qx E2E Copy"
    copy = product / ("{E2E-%s}" % tmp_path.name) / "app.ini"
    try:
        # No copy yet: the file beside the executable names the runtime, and
        # reading creates no folders.
        assert run_app(exe).exit == 0
        assert loaded_kinds(beside) == ["client"]
        assert not copy.parent.exists()

        # A copy without the key hides the value beside the executable.
        copy.parent.mkdir(parents=True)
        copy.write_text("[Java Runtime Environment]\r\nOther=1\r\n")
        (beside / "bin" / "client" / "testvm.log").unlink()
        result = run_app(exe)
        assert result.windows == [] and result.exit == MINUS_ONE
        assert loaded_kinds(beside) == []

        copy.write_text("[Java Runtime Environment]\r\nJRE Path=%s\\\r\n" % winpath(picked))
        assert run_app(exe).exit == 0
        assert loaded_kinds(picked) == ["client"]
    finally:
        shutil.rmtree(product, ignore_errors=True)


def test_double_byte_path_whose_trail_byte_is_a_backslash(tmp_path):
    # U+8868 is 0x95 0x5C in code page 932: its second byte is '\'. The
    # executable's folder, the relative "JRE Path" and the runtime home
    # derived from the library path all end in that character.
    folder = tmp_path / "\u8868"
    runtime = make_runtime(folder / "\u8868")
    ini = startable("JRE Path=\u8868\r\n", "[Application]\r\nOverride WorkingDir=Yes\r\n").encode("cp932")
    exe = make_app(folder, ini_text=ini)
    result = run_app(exe, cwd=tmp_path, env={"LC_ALL": "ja_JP.UTF-8"})
    assert result.windows == []
    assert result.exit == 0
    log = (runtime / "bin" / "client" / "testvm.log").read_bytes().decode("cp932").splitlines()
    home = winpath(runtime)
    assert "env QX_JVM_HOME=" + home in log
    assert "env QX_JVM_PATH=" + home + "\\bin\\client\\jvm.dll" in log
