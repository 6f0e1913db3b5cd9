"""The "Virtual Machine Parameters" line as the VM receives it, and the stack
of the thread that creates the VM, end to end under wine64."""
import pytest

from runtimes import ini_text, log_values, make_runtime, options, vm_log
from winetools import make_app, run_app, winpath

CLASS_PATH_OPTION = "-Djava.class.path=app.jar"


def physical_kilobytes():
    """Physical memory in KB as Linux reports it (MemTotal of /proc/meminfo)."""
    with open("/proc/meminfo") as meminfo:
        for line in meminfo:
            if line.startswith("MemTotal:"):
                return int(line.split()[1])
    raise RuntimeError("no MemTotal in /proc/meminfo")


class Share:
    """Matches the option a memory share resolves to: prefix, KB, "K".

    Wine derives the total that GlobalMemoryStatus reports from its own count
    of physical pages, which can differ from MemTotal by a few pages; a share
    is therefore accepted within 1% of the value computed from MemTotal. A
    share clearly beyond a bound must be that bound exactly.
    """

    def __init__(self, prefix, percent, minimum_mb=0, maximum_mb=0):
        self.prefix = prefix
        self.percent = percent
        self.minimum = minimum_mb * 1024
        self.maximum = maximum_mb * 1024

    def _accepted(self, size):
        share = self.percent * 0.01 * physical_kilobytes()
        low, high = share * 0.99, share * 1.01
        if self.maximum and low > self.maximum:
            low = high = self.maximum
        if self.minimum > high:
            low = high = self.minimum
        return low <= size <= high

    def __eq__(self, option):
        if not isinstance(option, str) or not option.startswith(self.prefix) or not option.endswith("K"):
            return False
        digits = option[len(self.prefix):-1]
        return digits.isdigit() and self._accepted(int(digits))

    def __repr__(self):
        return "Share(%s%d%% of %d KB, min %d KB, max %d KB)" % (
            self.prefix, self.percent, physical_kilobytes(), self.minimum, self.maximum)


# line, options after the class path, least stack the creating thread must have (None: not checked)
PARAMETER_CASES = [
    pytest.param('-Dtitle="My App" -Xmx50p -Xss8m', ["-Dtitle=My App", Share("-Xmx", 50), "-Xss8m"], 8388608,
                 id="quoted-property-share-stack"),
    pytest.param("-Xms25P", [Share("-Xms", 25)], None, id="upper-case-p"),
    pytest.param("-Xmx80:0:256p", [Share("-Xmx", 80, 0, 256)], None, id="share-above-maximum"),
    pytest.param("-Xmx1:1048576p", [Share("-Xmx", 1, 1048576)], None, id="share-below-minimum"),
    pytest.param("-Xmx80:600:256p", ["-Xmx614400K"], None, id="minimum-beats-maximum"),
    pytest.param("-Xmxp", ["-Xmxp0K"], None, id="share-without-digits"),
    pytest.param("-xmx50p -Xmx512m", ["-xmx50p", "-Xmx512m"], None, id="not-shares"),
    pytest.param("-Xss512k", ["-Xss512k"], 524288, id="stack-512k"),
    pytest.param("-Xss2M", ["-Xss2M"], 2097152, id="stack-2M"),
    pytest.param("-Xss1:0:8p", ["-Xss8192K"], 8388608, id="stack-share-capped"),
    pytest.param('-Dtitle="My App" -Xmx256m  -Dx=1', ["-Dtitle=My App", "-Xmx256m", "-Dx=1"], None,
                 id="two-spaces-between"),
    pytest.param('  -Da="b c', ['-Da="b', "c"], None, id="lone-quote-protects-nothing"),
    pytest.param('-Dq="abc"" -Dt=a\tb', ['-Dq=abc"', "-Dt=a\tb"], None, id="doubled-quote-and-tab"),
]


@pytest.mark.parametrize("line, expected, least_stack", PARAMETER_CASES)
def test_parameters_reach_the_vm(tmp_path, line, expected, least_stack):
    runtime = make_runtime(tmp_path / "runtime")
    exe = make_app(tmp_path / "app", ini_text=ini_text({
        "Java Runtime Environment": {
            "Main Class": "com.example.App",
            "JRE Path": winpath(runtime),
            "Virtual Machine Parameters": line,
        },
        "Class Path": {"Class Path": "app.jar"},
    }))
    result = run_app(exe)
    lines = vm_log(runtime)
    assert lines is not None, result
    assert options(lines) == [CLASS_PATH_OPTION] + expected
    if least_stack is not None:
        assert [int(v) for v in log_values(lines, "stack reserved=")][0] >= least_stack
    # The VM refuses nothing here: the test VM accepts any option.
    assert result.exit == 0, lines
