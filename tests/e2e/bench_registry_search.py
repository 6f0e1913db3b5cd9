"""Wall time of a launch against the number of registered runtimes.

    /usr/bin/python3 tests/e2e/bench_registry_search.py [--runs N] [--counts 10,100,1000]

Environment as for the end-to-end tests (QX_BUILD_DIR, QX_WINEPREFIX). For
each count N the runtime environment key holds versions 1.6.0_1 .. 1.6.0_N,
all within range, in two layouts:

  one  only 1.6.0_<N//2+1> has a VM library; the others name missing folders
  all  every version has a VM library (a folder of its own, linked to one copy)

The baseline registers nothing and names the same runtime as "JRE Path", so
it still loads and starts the test VM but never reads the registry. Each
figure is the median of the runs; "extra" is that median minus the baseline's.
"""
import argparse
import os
import statistics
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import winetools  # noqa: E402
from runtimes import (clear_registry, ini_text, library_path, log_values, make_runtime, register,  # noqa: E402
                      runtime_aliases, vm_log)


def write_app(folder, jre_path=None):
    keys = {"Main Class": "com.example.App", "Maximum Version": "any", "JRE Path": jre_path}
    return winetools.make_app(folder, ini_text=ini_text({
        "Java Runtime Environment": keys, "Class Path": {"Class Path": "app.jar"}}))


def timed_runs(exe, runtime, runs, expected_library):
    """Wall seconds of each run; every run must start the VM from expected_library."""
    times = []
    for _ in range(runs):
        log = runtime / "bin" / "client" / "testvm.log"
        if log.exists():
            log.unlink()
        started = time.monotonic()
        result = winetools.run_app(exe, timeout=120)
        times.append(time.monotonic() - started)
        lines = vm_log(runtime) or []
        if result.exit != 0 or log_values(lines, "env QX_JVM_PATH=") != [expected_library]:
            raise RuntimeError("unexpected run: %r, log %r" % (result, lines))
    return times


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--counts", default="10,100,1000")
    args = parser.parse_args()
    counts = [int(c) for c in args.counts.split(",")]

    winetools.session()
    try:
        with tempfile.TemporaryDirectory(prefix="bench-registry-") as scratch:
            scratch = Path(scratch)
            runtime = make_runtime(scratch / "runtime")
            links = scratch / "links"
            runtime_aliases(runtime, links, range(1, max(counts) + 1))

            clear_registry()
            baseline_exe = write_app(scratch / "baseline", jre_path=winetools.winpath(runtime))
            baseline = statistics.median(timed_runs(baseline_exe, runtime, args.runs, library_path(runtime)))
            print("runs per figure: %d" % args.runs)
            print("baseline (nothing registered, \"JRE Path\"): %.3f s" % baseline)
            print("%8s %6s %10s %10s" % ("versions", "layout", "median s", "extra s"))

            exe = write_app(scratch / "app")
            for count in counts:
                for layout in ("one", "all"):
                    chosen = count if layout == "all" else count // 2 + 1
                    entries = []
                    for n in range(1, count + 1):
                        has_library = layout == "all" or n == chosen
                        home = links / str(n) if has_library else scratch / "missing" / str(n)
                        entries.append(("jre", "1.6.0_%d" % n, home))
                    register(entries)
                    median = statistics.median(
                        timed_runs(exe, runtime, args.runs, library_path(links / str(chosen))))
                    print("%8d %6s %10.3f %10.3f" % (count, layout, median, median - baseline), flush=True)
            clear_registry()
    finally:
        winetools.stop_session()


if __name__ == "__main__":
    main()
