"""Start-up time of a whole launch under wine64, against a trivial program.

    /usr/bin/python3 tests/e2e/bench_startup.py [--runs N]

Environment as for the end-to-end tests (QX_BUILD_DIR, QX_WINEPREFIX). Three
programs are timed through the robot, median of the runs each:

  probe     msgbox_probe --no-box: a GUI program that shows nothing (Wine's
            cost of starting any program)
  no-main   the launcher with an empty "Main Class": reads its configuration
            and shows its message box; the figure is mostly the time Wine
            takes to create the box and the robot to notice and answer it
  launch    the launcher starting the test VM from a configured "JRE Path",
            main returning at once: the whole start-up path

The difference between launch and probe is what the launcher itself costs,
Wine's comctl32 start-up included.
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
from runtimes import ini_text, make_runtime  # noqa: E402


def median_seconds(runs, exe, args=(), expected_exit=0):
    times = []
    for _ in range(runs):
        started = time.monotonic()
        result = winetools.run_app(exe, args, timeout=60)
        times.append(time.monotonic() - started)
        if result.exit != expected_exit:
            raise RuntimeError("unexpected run of %s: %r" % (exe, result))
    return statistics.median(times)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=9)
    args = parser.parse_args()

    winetools.session()
    try:
        with tempfile.TemporaryDirectory() as scratch:
            scratch = Path(scratch)
            runtime = make_runtime(scratch / "jre")
            no_main = winetools.make_app(scratch / "nomain", ini_text="[Java Runtime Environment]\r\n")
            launch = winetools.make_app(scratch / "launch", ini_text=ini_text({
                "Java Runtime Environment": {"Main Class": "com.example.App",
                                             "JRE Path": winetools.winpath(runtime)},
                "Class Path": {"Class Path": "app.jar"}}))
            median_seconds(1, launch)  # warm the file cache
            rows = [
                ("probe", median_seconds(args.runs, winetools.msgbox_probe_exe(), ["--no-box"], 0xFFFFFFFF)),
                ("no-main", median_seconds(args.runs, no_main, (), 0xFFFFFFFF)),
                ("launch", median_seconds(args.runs, launch)),
            ]
    finally:
        winetools.stop_session()
    for name, seconds in rows:
        print("%-8s %.3f s" % (name, seconds))
    print("launch - probe: %.3f s" % (rows[2][1] - rows[0][1]))


if __name__ == "__main__":
    main()
