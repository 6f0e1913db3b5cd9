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
