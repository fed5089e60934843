#!/usr/bin/env python3
"""Runs two orvo-pp binaries over the same inputs and reports every input
where their output, standard error or exit status differ: the check that a
change meant to keep behaviour (a refactoring, a new shortcut) keeps it.

Inputs: every .h file below --root (each as the main input, its own
directory searched), --with-include runs a sample again with -I ROOT, and
any extra files named on the command line. Each binary runs in the mode the
environment gives (ORVO_MODE=reference for the reference mode); --modes
runs the new binary in both modes against the old one's fast mode.
Exit status 1 when anything differs.

Usage: compare_builds.py --old OLD/orvo-pp --new NEW/orvo-pp [--root /usr/include]
                         [--limit N] [--with-include N] [--modes] [--args "--trace=json"]
                         [FILE ...]
"""
import argparse
import concurrent.futures
import os
import pathlib
import shlex
import subprocess
import sys


def run(binary, args, mode, timeout):
    env = dict(os.environ)
    env.pop("ORVO_BOOST_ONLY", None)
    env["ORVO_MODE"] = mode
    try:
        proc = subprocess.run([binary, *args], stdin=subprocess.DEVNULL, capture_output=True,
                              timeout=timeout, env=env)
        return proc.returncode, proc.stdout, proc.stderr
    except subprocess.TimeoutExpired:
        return "hang", b"", b""


def compare(old, new, args, modes, timeout):
    expected = run(old, args, "fast", timeout)
    differences = []
    for mode in modes:
        got = run(new, args, mode, timeout)
        if got != expected:
            what = [name for name, a, b in zip(("status", "output", "stderr"), expected, got)
                    if a != b]
            differences.append(f"{' '.join(args)} [{mode}]: {', '.join(what)} differ")
    return differences


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--old", required=True)
    parser.add_argument("--new", required=True)
    parser.add_argument("--root", default="/usr/include")
    parser.add_argument("--limit", type=int, default=0, help="at most N headers (0: all)")
    parser.add_argument("--with-include", type=int, default=0,
                        help="also run the first N headers with -I ROOT")
    parser.add_argument("--modes", action="store_true", help="run the new binary in both modes")
    parser.add_argument("--args", default="", help="options given to both binaries")
    parser.add_argument("--timeout", type=float, default=60)
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("files", nargs="*")
    options = parser.parse_args()
    extra = shlex.split(options.args)
    headers = sorted(str(p) for p in pathlib.Path(options.root).rglob("*.h") if p.is_file())
    if options.limit:
        headers = headers[:options.limit]
    runs = [[*extra, h] for h in headers]
    runs += [[*extra, "-I", options.root, h] for h in headers[:options.with_include]]
    runs += [[*extra, f] for f in options.files]
    modes = ["fast", "reference"] if options.modes else ["fast"]
    differences = []
    with concurrent.futures.ThreadPoolExecutor(options.jobs) as pool:
        for found in pool.map(lambda a: compare(options.old, options.new, a, modes,
                                                options.timeout), runs):
            differences += found
    for line in differences:
        print(line)
    print(f"{len(runs)} inputs, {len(modes)} mode(s): {len(differences)} differences")
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
