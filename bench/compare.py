#!/usr/bin/env python3
"""Times orvo-pp against the system preprocessors on the same workloads.

For each workload kind and size it writes the input with
generate_workload.py, runs every available preprocessor several times,
alternating between them, and prints the median wall time, the ratio to
GNU cpp -P and the peak resident memory.

Usage: compare.py [--orvo build/bin/orvo-pp] [--baseline other/orvo-pp] [--runs 5]
                  [--sizes 1000000,5000000] [--kinds plain,macros]

--baseline adds a second orvo-pp (an earlier build, say) to the same
alternating runs, so that a change is measured side by side.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


# The peak memory a child reports includes the memory of the process it was
# started from (the kernel keeps the larger of the two when it executes the
# program), so a child of this script never reports less than the script
# itself. GNU time, a small program, measures each run from outside instead.
GNU_TIME = "/usr/bin/time" if os.access("/usr/bin/time", os.X_OK) else None


def run_once(argv, path, peak_file):
    """Runs argv on the file at path; returns (seconds, peak KiB)."""
    measured = [GNU_TIME, "-f", "%M", "-o", peak_file] if GNU_TIME else []
    with open(path, "rb") as stdin, open(os.devnull, "wb") as devnull, \
            tempfile.TemporaryFile() as err:
        start = time.perf_counter()
        proc = subprocess.Popen(measured + argv + [path], stdin=stdin, stdout=devnull,
                                stderr=err)
        _, status, usage = os.wait4(proc.pid, 0)
        elapsed = time.perf_counter() - start
        proc.returncode = os.waitstatus_to_exitcode(status)
        if proc.returncode != 0:
            err.seek(0)
            message = err.read().decode(errors="replace").strip()
            sys.exit(f"{' '.join(argv)} failed on {path}: {message}")
    if not GNU_TIME:
        return elapsed, usage.ru_maxrss
    with open(peak_file) as f:
        return elapsed, int(f.read().split()[-1])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--orvo", default=os.path.join(HERE, "..", "build", "bin", "orvo-pp"))
    parser.add_argument("--baseline", help="another orvo-pp to time alongside")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--sizes", default="1000000,5000000,20000000")
    parser.add_argument("--kinds", default="plain,macros")
    args = parser.parse_args()

    tools = {"orvo-pp": [os.path.abspath(args.orvo)]}
    if args.baseline:
        tools["baseline"] = [os.path.abspath(args.baseline)]
    tools["cpp -P"] = ["cpp", "-P"]
    if shutil.which("mcpp"):
        tools["mcpp -P"] = ["mcpp", "-P"]
    if shutil.which("tcc"):
        tools["tcc -E -P"] = ["tcc", "-E", "-P"]

    if not GNU_TIME:
        print("note: without /usr/bin/time (package time) the peak memory of small "
              "runs shows this script's own size")
    print(f"{'workload':<16}{'tool':<12}{'median s':>10}{'vs cpp':>8}{'peak MiB':>10}")
    with tempfile.TemporaryDirectory() as tmp:
        for kind in args.kinds.split(","):
            for size in (int(s) for s in args.sizes.split(",")):
                path = os.path.join(tmp, f"{kind}-{size}.c")
                subprocess.run([sys.executable, os.path.join(HERE, "generate_workload.py"),
                                kind, str(size), path], check=True)
                times = {name: [] for name in tools}
                peaks = {name: 0 for name in tools}
                for _ in range(args.runs):
                    for name, argv in tools.items():
                        seconds, peak = run_once(argv, path, os.path.join(tmp, "peak"))
                        times[name].append(seconds)
                        peaks[name] = max(peaks[name], peak)
                base = statistics.median(times["cpp -P"])
                for name in tools:
                    median = statistics.median(times[name])
                    print(f"{kind + ' ' + str(size // 1000) + 'k':<16}{name:<12}{median:>10.3f}"
                          f"{median / base:>8.2f}{peaks[name] / 1024:>10.1f}")


if __name__ == "__main__":
    main()
