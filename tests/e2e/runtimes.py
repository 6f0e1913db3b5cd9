"""Runtime folders with the test VM library, and registered runtimes.

A runtime folder holds the test VM as bin\\<kind>\\jvm.dll for each VM kind a
case needs; a testvm.ini beside each library says how that VM behaves and
the library appends what it was handed to testvm.log beside itself. Which
library the launcher loaded is therefore the one whose log exists.
"""
import shutil
import tempfile
from pathlib import Path

import winetools
from winetools import WINE64, build_dir, winpath

KINDS = ("client", "server", "classic", "hotspot")


def testvm_library(variant="jvm.dll"):
    """A build of the test VM: jvm.dll, jvm-no-create.dll or jvm-no-defaults.dll."""
    return build_dir() / "tests" / "testvm" / variant


def make_runtime(folder, kinds=("client",), java_dll=False, variant="jvm.dll", scenario=None):
    """Creates a runtime folder with bin\\<kind>\\jvm.dll for each kind.

    java_dll  also create bin\\java.dll (what marks a runtime beside the executable)
    scenario  keys of the test VM's [vm] section, written beside every library
    """
    folder = Path(folder)
    for kind in kinds:
        library_dir = folder / "bin" / kind
        library_dir.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(testvm_library(variant), library_dir / "jvm.dll")
        write_scenario(library_dir, scenario or {})
    if java_dll:
        (folder / "bin").mkdir(parents=True, exist_ok=True)
        (folder / "bin" / "java.dll").write_bytes(b"")
    return folder


def write_scenario(library_dir, keys):
    lines = ["[vm]"] + ["%s=%s" % (key, value) for key, value in keys.items()]
    (Path(library_dir) / "testvm.ini").write_text("\r\n".join(lines) + "\r\n")


def vm_log(folder, kind="client"):
    """Lines of the test VM's log in runtime folder `folder`, or None when that library was not loaded."""
    log = Path(folder) / "bin" / kind / "testvm.log"
    if not log.exists():
        return None
    return log.read_bytes().decode("latin-1").splitlines()


def loaded_kinds(folder):
    """The VM kinds of `folder` whose library was loaded."""
    return [kind for kind in KINDS if vm_log(folder, kind) is not None]


def log_values(lines, prefix):
    """Values of the log lines that start with `prefix` (the prefix removed)."""
    return [line[len(prefix):] for line in lines if line.startswith(prefix)]


def options(lines):
    """The VM option strings handed to JNI_CreateJavaVM, in order."""
    return [line.split("=", 1)[1] for line in lines if line.startswith("option[")]


def main_arguments(lines):
    return [line.split("=", 1)[1] for line in lines if line.startswith("arg[")]


# -- registry ---------------------------------------------------------------

JRE_KEY = r"HKEY_LOCAL_MACHINE\Software\JavaSoft\Java Runtime Environment"
JDK_KEY = r"HKEY_LOCAL_MACHINE\Software\JavaSoft\Java Development Kit"


def _reg_string(text):
    return '"%s"' % text.replace("\\", "\\\\").replace('"', '\\"')


def _reg_value(value):
    """A .reg value: str is REG_SZ, int REG_DWORD, bytes REG_BINARY (no terminating NUL)."""
    if isinstance(value, int):
        return "dword:%08x" % value
    if isinstance(value, bytes):
        return "hex:" + ",".join("%02x" % b for b in value)
    return _reg_string(value)


def register(entries):
    """Replaces every registered runtime with `entries`.

    entries: (kind, version name, JavaHome) with kind "jre" or "jdk"; a
    JavaHome of None leaves the value out, a Path is given as its Wine path.
    """
    lines = ["REGEDIT4", "", r"[-HKEY_LOCAL_MACHINE\Software\JavaSoft]", ""]
    for kind, version, java_home in entries:
        lines.append("[%s\\%s]" % (JDK_KEY if kind == "jdk" else JRE_KEY, version))
        if java_home is not None:
            if isinstance(java_home, Path):
                java_home = winpath(java_home)
            lines.append('"JavaHome"=%s' % _reg_value(java_home))
        lines.append("")
    _import("\r\n".join(lines) + "\r\n")


def clear_registry():
    _import("REGEDIT4\r\n\r\n[-HKEY_LOCAL_MACHINE\\Software\\JavaSoft]\r\n")


def _import(text):
    session = winetools.session()
    with tempfile.NamedTemporaryFile("w", suffix=".reg", delete=False, encoding="latin-1") as reg:
        reg.write(text)
    try:
        returncode, out, err = session._capture([WINE64, "regedit", "/S", winpath(reg.name)], 300)
        assert returncode == 0, (out, err)
    finally:
        Path(reg.name).unlink()


# -- building blocks for cases ------------------------------------------------

def ini_text(sections):
    """A configuration file from {section: {key: value}}; a value of None leaves the key out."""
    lines = []
    for section, keys in sections.items():
        lines.append("[%s]" % section)
        lines += ["%s=%s" % (key, value) for key, value in keys.items() if value is not None]
    return "\r\n".join(lines) + "\r\n"


def library_path(folder, kind="client"):
    """The Wine path of the VM library of `kind` in runtime folder `folder`."""
    return winpath(Path(folder) / "bin" / kind / "jvm.dll")


def runtime_aliases(runtime, folder, names):
    """Symbolic links folder/<name> to one runtime folder, one per name.

    Many registered runtimes then cost no copies of the library, yet each is
    a folder of its own: QX_JVM_PATH in the shared log tells which was used.
    """
    folder = Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    links = []
    for name in names:
        link = folder / str(name)
        link.symlink_to(Path(runtime).resolve(), target_is_directory=True)
        links.append(link)
    return links
