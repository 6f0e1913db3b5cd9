"""Wine session and robot helpers for the end-to-end tests.

A WineSession owns the X display (if none was given), the Wine prefix and a
persistent wineserver for one pytest session.  Programs run through the test
robot (tests/robot/robot.exe), which reports the windows they show as JSON
lines and their full 32-bit exit code; Wine itself passes only the low 8 bits
of an exit code to Linux.

Tests use the module-level helpers, which act on the session that the first
of them starts:

    exe = make_app(tmp_path, ini_text="...")
    result = run_app(exe, ["-x"])
    assert result.exit == 0xFFFFFFFF and result.messages == ["..."]
"""

import json
import os
import queue
import shutil
import signal
import subprocess
import tempfile
import threading
import time
from pathlib import Path

WINE64 = os.environ.get("QX_WINE64", "/usr/lib/wine/wine64")
WINESERVER = os.environ.get("QX_WINESERVER", "/usr/lib/wine/wineserver")

# Seconds Wine may need to start a program on top of the program's own time.
WINE_STARTUP_SLACK = 60

STATIC_TEXT_ID = 0xFFFF

# Lines after which the robot says no more.
FINAL_KEYS = ("exit", "timeout", "error")


def build_dir():
    """The build tree that holds the Windows artefacts under test."""
    return Path(os.environ.get("QX_BUILD_DIR", "/work/main/build/win-x64"))


def _artefact(relative):
    path = build_dir() / relative
    if not path.is_file():
        raise FileNotFoundError(
            f"{path} is missing: build it first (cmake --build {build_dir()}) or set QX_BUILD_DIR")
    return path


def launcher_exe():
    return _artefact("launcher.exe")


def robot_exe():
    return _artefact("tests/robot/robot.exe")


def testvm_dll():
    return _artefact("tests/testvm/jvm.dll")


def msgbox_probe_exe():
    return _artefact("tests/robot/msgbox_probe.exe")


def winpath(path):
    """A Linux path as Wine sees it through drive Z: (Z:\\dir\\file)."""
    absolute = os.path.abspath(os.fspath(path))
    return "Z:" + absolute.replace("/", "\\")


class RobotError(RuntimeError):
    """The robot could not do what it was asked (bad arguments, no such window, ...)."""


class AppResult:
    """What one run of a program produced, as reported by the robot.

    exit       full unsigned 32-bit exit code, None when the run timed out
    timed_out  True when the robot had to kill the program
    windows    every window the program showed, as described by the robot
    presses    the robot's answers to those windows
    events     every robot line in order
    """

    def __init__(self, events, stderr=""):
        self.events = events
        self.stderr = stderr
        self.pid = next((e["pid"] for e in events if "pid" in e), None)
        self.windows = [e["window"] for e in events if "window" in e]
        self.presses = [e["pressed"] for e in events if "pressed" in e]
        self.timed_out = any(e.get("timeout") for e in events)
        self.exit = next((e["exit"] for e in events if "exit" in e), None)

    @property
    def message_boxes(self):
        """Windows of the system dialog class, which message boxes use."""
        return [w for w in self.windows if w["class"] == "#32770"]

    @property
    def messages(self):
        """Text of each message box, in the order they appeared."""
        return [message_text(w) for w in self.message_boxes]

    @property
    def owners(self):
        """Owner window handle (0 for none) of each message box."""
        return [w["owner"] for w in self.message_boxes]

    @property
    def captions(self):
        return [w["title"] for w in self.message_boxes]

    def __repr__(self):
        return (f"AppResult(exit={self.exit}, timed_out={self.timed_out}, "
                f"messages={self.messages!r}, windows={len(self.windows)})")


def message_text(window):
    """The message of a message box: its IDC_STATIC text, else the first non-empty static."""
    statics = [c for c in window["children"] if c["class"].lower() == "static"]
    for child in statics:
        if child["id"] == STATIC_TEXT_ID and child["text"]:
            return child["text"]
    return next((c["text"] for c in statics if c["text"]), "")


def _parse_lines(text):
    events = []
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("{"):
            events.append(json.loads(line))
    return events


class WineSession:
    """Display, prefix and wineserver shared by all tests of a pytest run."""

    def __init__(self, prefix=None, display=None):
        self.prefix = Path(prefix or os.environ.get("QX_WINEPREFIX") or build_dir() / "e2e-prefix")
        self._display = display if display is not None else os.environ.get("DISPLAY")
        self._xvfb = None
        self._server = None
        self._server_log = None
        self.env = None

    # -- lifetime ---------------------------------------------------------

    def start(self):
        if not self._display:
            self._display = self._start_xvfb()
        self.env = dict(os.environ)
        self.env.update({
            "WINEPREFIX": str(self.prefix),
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "DISPLAY": self._display,
        })
        self.prefix.mkdir(parents=True, exist_ok=True)
        # A persistent server saves Wine's start-up cost on every program.
        # It keeps any inherited pipe open, so its output goes to a file.
        self._server_log = open(self.prefix / "e2e-wineserver.log", "ab")
        self._server = subprocess.Popen(
            [WINESERVER, "-p"], env=self.env, stdin=subprocess.DEVNULL,
            stdout=self._server_log, stderr=subprocess.STDOUT)
        if not (self.prefix / "system.reg").is_file():
            self._wine_to_log([WINE64, "wineboot", "-i"], timeout=300)
        # Wine's background processes (services, desktop) start with the first
        # program and inherit its standard handles: let them get the log file
        # rather than the pipe of some test's robot.
        self._wine_to_log([WINE64, "wineboot"], timeout=120)
        self._wine_to_log(self.robot_command(["windows", "0"]), timeout=120)
        return self

    def _wine_to_log(self, command, timeout):
        subprocess.run(command, env=self.env, stdin=subprocess.DEVNULL, stdout=self._server_log,
                       stderr=subprocess.STDOUT, timeout=timeout, check=True)

    def _capture(self, command, timeout, env=None):
        """Runs a command to its end and returns (returncode, stdout, stderr) as text.

        Output goes through files, not pipes: the call then ends when the
        command does, even if a Wine process it started keeps the handles.
        env: variables added to the session's environment for this command
        (Wine hands them on to the Windows program and the processes it starts).
        """
        command_env = dict(self.env, **env) if env else self.env
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            done = subprocess.run(command, env=command_env, stdin=subprocess.DEVNULL, stdout=out,
                                  stderr=err, timeout=timeout)
            out.seek(0)
            err.seek(0)
            return (done.returncode, out.read().decode("utf-8", "replace"),
                    err.read().decode("utf-8", "replace"))

    def stop(self):
        if self.env is not None:
            subprocess.run([WINESERVER, "-k"], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        if self._server is not None:
            try:
                self._server.wait(timeout=30)
            except subprocess.TimeoutExpired:
                self._server.kill()
                self._server.wait()
            self._server = None
        if self._server_log is not None:
            self._server_log.close()
            self._server_log = None
        if self._xvfb is not None:
            self._xvfb.send_signal(signal.SIGTERM)
            try:
                self._xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self._xvfb.kill()
                self._xvfb.wait()
            self._xvfb = None

    def _start_xvfb(self):
        number = 99
        while os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
            number += 1
        self._xvfb = subprocess.Popen(
            ["Xvfb", f":{number}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 20
        while not os.path.exists(f"/tmp/.X11-unix/X{number}"):
            if self._xvfb.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError(f"Xvfb :{number} did not start")
            time.sleep(0.1)
        return f":{number}"

    # -- robot ------------------------------------------------------------

    def robot_command(self, args):
        return [WINE64, str(robot_exe())] + [str(a) for a in args]

    def robot(self, args, timeout=WINE_STARTUP_SLACK):
        """Runs one robot command to its end and returns its JSON lines."""
        returncode, out, err = self._capture(self.robot_command(args), timeout)
        events = _parse_lines(out)
        errors = [e for e in events if "error" in e]
        if errors or returncode != 0:
            raise RobotError(f"robot {args}: {errors or returncode}: {err}")
        return events

    def run_args(self, exe, args=(), cmdline=None, timeout=30, dismiss=True, press=None, cwd=None,
                 stdout=None, stderr=None):
        """Robot arguments for `run`; see run_app."""
        robot_args = ["run", "--timeout", str(int(timeout * 1000))]
        if cwd is None and exe is not None:
            cwd = Path(exe).parent
        if cwd is not None:
            robot_args += ["--cwd", winpath(cwd)]
        if press is not None:
            robot_args += ["--press", str(press)]
        elif dismiss:
            robot_args.append("--dismiss")
        if stdout is not None:
            robot_args += ["--stdout", winpath(stdout)]
        if stderr is not None:
            robot_args += ["--stderr", winpath(stderr)]
        if cmdline is not None:
            if exe is not None:
                robot_args += ["--app", winpath(exe)]
            robot_args += ["--cmdline", cmdline]
        else:
            robot_args += ["--", winpath(exe)] + [str(a) for a in args]
        return robot_args

    def run_app(self, exe, args=(), cmdline=None, timeout=30, dismiss=True, press=None, cwd=None,
                stdout=None, stderr=None, env=None):
        """Runs a program through the robot until it ends; returns an AppResult."""
        robot_args = self.run_args(exe, args, cmdline, timeout, dismiss, press, cwd, stdout, stderr)
        _, out, err = self._capture(self.robot_command(robot_args), timeout + WINE_STARTUP_SLACK, env)
        result = AppResult(_parse_lines(out), err)
        if result.exit is None and not result.timed_out:
            raise RobotError(f"robot run gave no result: {result.events} {result.stderr}")
        return result

    def start_app(self, exe, args=(), cmdline=None, timeout=30, press=None, cwd=None,
                  stdout=None, stderr=None):
        """Starts a program through the robot without waiting; returns a RunningApp.

        Windows are left alone unless `press` names a button id to press in each.
        """
        robot_args = self.run_args(exe, args, cmdline, timeout, False, press, cwd, stdout, stderr)
        return RunningApp(self, robot_args, timeout)

    def windows(self, pid, hidden=False, tree=False):
        """Top-level windows of a process right now (visible ones unless `hidden`)."""
        args = ["windows", str(pid)] + (["--all"] if hidden else []) + (["--tree"] if tree else [])
        return [e["window"] for e in self.robot(args)]

    def press(self, hwnd, control_id):
        """Presses control `control_id` of window `hwnd` (or sends that command)."""
        return self.robot(["press", str(hwnd), str(control_id)])[0]["pressed"]

    def key(self, hwnd, vk):
        """Types key `vk` (a code or a name such as RETURN, ESCAPE) into window `hwnd`."""
        return self.robot(["key", str(hwnd), str(vk)])[0]["key"]


class RunningApp:
    """A program started by `robot run`, watched line by line while it runs."""

    def __init__(self, session, robot_args, timeout):
        self._timeout = timeout
        self._events = []
        self.pid = None  # known once the robot has reported it
        self._queue = queue.Queue()
        self._stderr = tempfile.TemporaryFile()
        self._proc = subprocess.Popen(session.robot_command(robot_args), env=session.env,
                                      stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                      stderr=self._stderr)
        threading.Thread(target=self._read_stdout, daemon=True).start()

    def _read_stdout(self):
        for raw in self._proc.stdout:
            line = raw.decode("utf-8", "replace").strip()
            if line.startswith("{"):
                self._queue.put(json.loads(line))
        self._queue.put(None)

    def next_event(self, timeout=WINE_STARTUP_SLACK):
        """The next robot line, or None once the robot has ended."""
        event = self._queue.get(timeout=timeout)
        if event is not None:
            self._events.append(event)
            self.pid = event.get("pid", self.pid)
        return event

    def wait_window(self, timeout=WINE_STARTUP_SLACK):
        """Waits for the next window the program shows and returns its description."""
        deadline = time.monotonic() + timeout
        while True:
            event = self.next_event(max(0.0, deadline - time.monotonic()))
            if event is None:
                raise RobotError(f"program ended without another window: {self._events}")
            if "window" in event:
                return event["window"]

    def finish(self):
        """Waits for the robot's final line and returns the whole AppResult."""
        # The final line, not the end of the pipe, marks the end: a Wine
        # process started meanwhile may hold the pipe open.
        deadline = time.monotonic() + self._timeout + WINE_STARTUP_SLACK
        while not any(k in e for e in self._events for k in FINAL_KEYS):
            event = self.next_event(max(0.0, deadline - time.monotonic()))
            if event is None:
                break
        self._proc.wait(timeout=30)
        self._stderr.seek(0)
        result = AppResult(self._events, self._stderr.read().decode("utf-8", "replace"))
        if result.exit is None and not result.timed_out:
            raise RobotError(f"robot run gave no result: {result.events} {result.stderr}")
        return result

    def kill(self):
        """Ends the robot if it still runs (the program goes with the Wine session)."""
        if self._proc.poll() is None:
            self._proc.kill()
            self._proc.wait()
        self._stderr.close()


# The session of this pytest run, started by the first test that needs Wine
# (tests that do not, such as file checks, run without it); the conftest
# stops it at the end of the run.
SESSION = None


def session():
    """The Wine session, started on first use."""
    global SESSION
    if SESSION is None:
        started = WineSession()
        try:
            started.start()
        except BaseException:
            started.stop()
            raise
        SESSION = started
    return SESSION


def stop_session():
    global SESSION
    if SESSION is not None:
        SESSION.stop()
        SESSION = None


def make_app(tmp_path, name="app", ini_text=None):
    """Copies the launcher to tmp_path/<name>.exe and writes <name>.ini beside it.

    ini_text: None writes no ini file; bytes are written as they are; str is
    written as UTF-8, with its newlines unchanged.
    """
    tmp_path = Path(tmp_path)
    tmp_path.mkdir(parents=True, exist_ok=True)
    exe = tmp_path / f"{name}.exe"
    shutil.copyfile(launcher_exe(), exe)
    if ini_text is not None:
        data = ini_text if isinstance(ini_text, bytes) else ini_text.encode("utf-8")
        (tmp_path / f"{name}.ini").write_bytes(data)
    return exe


def run_app(exe, args=(), cmdline=None, timeout=30, dismiss=True, cwd=None, press=None,
            stdout=None, stderr=None, env=None):
    """Runs a program through the robot and returns an AppResult.

    args     arguments, quoted by the robot the way the C runtime parses them
    cmdline  exact command line instead of exe+args (exe, if given, becomes the
             application name CreateProcess starts)
    dismiss  press OK (id 1) in every window shown; `press` picks another id
    cwd      working directory (Linux path); default: the program's directory
    stdout, stderr  Linux files that receive the program's standard output/error
    timeout  seconds until the robot kills the program (result.timed_out)
    env      environment variables added for this run (e.g. LC_ALL for the code page)
    """
    return session().run_app(exe, args, cmdline, timeout, dismiss, press, cwd, stdout, stderr, env)


def start_app(exe, args=(), cmdline=None, timeout=30, press=None, cwd=None, stdout=None, stderr=None):
    """Starts a program for interactive tests; see WineSession.start_app."""
    return session().start_app(exe, args, cmdline, timeout, press, cwd, stdout, stderr)
