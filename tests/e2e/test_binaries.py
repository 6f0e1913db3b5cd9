"""Checks of both launcher executables that need no Windows: format,
architecture, subsystem, stack reserve, manifest and the DLLs they import."""
import os
import re
import subprocess

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# DLLs that every supported Windows ships; nothing of the compiler's run time.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
    "ole32.dll", "oleaut32.dll", "comctl32.dll", "msvcrt.dll",
}

BUILDS = [
    # preset, objdump, PE magic, objdump architecture, manifest architecture
    ("win-x86", "i686-w64-mingw32-objdump", "010b", "i386", "x86"),
    ("win-x64", "x86_64-w64-mingw32-objdump", "020b", "i386:x86-64", "amd64"),
]


def exe_path(preset):
    env = {"win-x86": "QX_BUILD_DIR_X86", "win-x64": "QX_BUILD_DIR"}[preset]
    return os.path.join(os.environ.get(env, os.path.join(ROOT, "build", preset)), "launcher.exe")


@pytest.mark.parametrize("preset,objdump,magic,arch,manifest_arch", BUILDS)
def test_executable_format_and_imports(preset, objdump, magic, arch, manifest_arch):
    exe = exe_path(preset)
    headers = subprocess.run([objdump, "-p", "-f", exe], capture_output=True, text=True, check=True).stdout
    assert re.search(r"Magic\s+%s" % magic, headers)
    assert re.search(r"architecture: %s," % re.escape(arch), headers)
    assert re.search(r"Subsystem\s+00000002\s+\(Windows GUI\)", headers)
    # The VM thread's default and the main thread assume a 1 MB reserve.
    assert re.search(r"SizeOfStackReserve\s+0*100000\b", headers)

    imports = {name.lower() for name in re.findall(r"DLL Name: (\S+)", headers)}
    assert imports, "no import table found"
    assert imports <= SYSTEM_DLLS, "non-system imports: %s" % sorted(imports - SYSTEM_DLLS)

    data = open(exe, "rb").read()
    manifest = re.search(rb"<assembly.*?</assembly>", data, re.S)
    assert manifest, "manifest resource missing"
    text = manifest.group(0).decode("utf-8")
    assert 'level="requireAdministrator"' in text and 'uiAccess="false"' in text
    assert 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' in text
    assert text.count('processorArchitecture="%s"' % manifest_arch) == 2
    # The version information names the launched application.
    assert "ProductName".encode("utf-16-le") in data
