#!/usr/bin/env python3
"""Preprocesses every header below a directory (default /usr/include), each
with its own directory as source directory, and reports crashes, hangs and
the slowest files, and groups the runs that ended with an error by cause:
the message text with names, paths and numbers folded away, with one
example place per group. Exit status 1 when any file crashed or hung.

With --probe each header is run a second time with a syntax error after
its text, in a file it includes last (its text, then
`#include "orvo_probe_error.h"`, which holds `#if (1`): that error must
make the run end with exit status 1 and be printed at its place, unless an
earlier error of the header ended the run first (an error printed, nothing
written to standard output). A probe run that ends with exit status 0, or
with 1 but neither, lost a syntax error; the sweep then exits 1 too.

--only-probe makes the probe runs alone (they too report crashes and hangs);
--suffixes picks the files by ending (".h" for the C headers alone).

Usage: usr_include_sweep.py [--orvo build/bin/orvo-pp] [--root /usr/include]
                            [--timeout 10] [--jobs 2] [--probe | --only-probe]
                            [--suffixes .h,.hpp] [--limit N]
"""
import argparse
import collections
import concurrent.futures
import os
import re
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


# "FILE:LINE:COL: error: TEXT" or "orvo-pp: error: TEXT".
ERROR_LINE = re.compile(r"^(?:(?P<file>.+?):(?P<line>\d+):(?P<col>\d+): |orvo-pp: )error: (?P<text>.*)$")


def sweep_one(orvo, path, timeout):
    start = time.perf_counter()
    error = None
    try:
        proc = subprocess.run([orvo, path], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.PIPE, timeout=timeout)
        status = proc.returncode
        if status == 1:
            error = first_error(proc.stderr.decode("utf-8", "replace"), path)
    except subprocess.TimeoutExpired:
        status = "hang"
    return path, status, time.perf_counter() - start, error


PROBE_NAME = "orvo_probe_error.h"
PROBE_TEXT = b"#if (1\n#endif\n"


def probe_one(orvo, path, timeout, workdir, index):
    """Runs the header's text followed by an include of the probe file with
    a syntax error; returns (path, status, whether the probe's error was
    printed, whether an error of the header's own ended the run: one was
    printed and nothing was written to standard output)."""
    with open(path, "rb") as f:
        text = f.read()
    wrapper = os.path.join(workdir, f"probe{index}.c")
    with open(wrapper, "wb") as f:
        f.write(text + b'\n#include "' + PROBE_NAME.encode() + b'"\n')
    try:
        proc = subprocess.run([orvo, "-I", os.path.dirname(path), "--no-caret", wrapper],
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=timeout)
        status = proc.returncode
        wrote = len(proc.stdout) > 0
        errors = [m for m in map(ERROR_LINE.match,
                                 proc.stderr.decode("utf-8", "replace").splitlines()) if m]
    except subprocess.TimeoutExpired:
        status, wrote, errors = "hang", False, []
    finally:
        os.remove(wrapper)
    probed = any((m.group("file") or "").endswith(PROBE_NAME) for m in errors)
    return path, status, probed, bool(errors) and not probed and not wrote


def first_error(stderr, path):
    """(cause, example place) of the first error a run printed."""
    for line in stderr.splitlines():
        match = ERROR_LINE.match(line)
        if not match:
            continue
        place = path
        if match.group("file"):
            place = f"{match.group('file')}:{match.group('line')}"
            directive = source_line(match.group("file"), int(match.group("line")))
            if re.match(r"\s*#\s*error\b", directive):
                return "an #error directive reached", place
        return fold(match.group("text")), place
    return "exit status 1 without an error line", path


def source_line(path, number):
    try:
        with open(path, "rb") as f:
            for i, line in enumerate(f, 1):
                if i == number:
                    return line.decode("latin-1")
    except OSError:
        pass
    return ""


def fold(text):
    """The message with the parts that vary from file to file folded away."""
    text = re.sub(r'"[^"]*"', '"…"', text)
    text = re.sub(r"'[^']*'", "'…'", text)
    text = re.sub(r"\S*/\S*", "PATH", text)
    return re.sub(r"\b\d+\b", "N", text).strip()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--orvo", default=os.path.join(HERE, "..", "..", "build", "bin", "orvo-pp"))
    parser.add_argument("--root", default="/usr/include")
    parser.add_argument("--timeout", type=float, default=10.0)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--probe", action="store_true",
                        help="also run each header with a syntax error included after it")
    parser.add_argument("--only-probe", action="store_true",
                        help="make the probe runs alone")
    parser.add_argument("--suffixes", default=".h,.hpp,.hh,.hxx,.inc,.tcc")
    parser.add_argument("--limit", type=int, default=0, help="sweep only the first N files")
    args = parser.parse_args()

    suffixes = tuple(args.suffixes.split(","))
    files = sorted(os.path.join(d, f) for d, _, names in os.walk(args.root) for f in names
                   if f.endswith(suffixes))
    if args.limit:
        files = files[:args.limit]
    orvo = os.path.abspath(args.orvo)
    results = []
    if not args.only_probe:
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            for result in pool.map(lambda p: sweep_one(orvo, p, args.timeout), files):
                results.append(result)
    probes = []
    if args.probe or args.only_probe:
        with tempfile.TemporaryDirectory() as workdir:
            with open(os.path.join(workdir, PROBE_NAME), "wb") as f:
                f.write(PROBE_TEXT)
            with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
                probes = list(pool.map(
                    lambda item: probe_one(orvo, item[1], args.timeout, workdir, item[0]),
                    enumerate(files)))

    crashed = [r for r in results if isinstance(r[1], int) and r[1] < 0]
    causes = collections.defaultdict(list)
    for path, status, _, error in results:
        if error:
            causes[error[0]].append(error[1])
    hung = [r for r in results if r[1] == "hang"]
    errors = sum(1 for r in results if r[1] == 1)
    if results:
        print(f"files: {len(results)}  ok: {sum(1 for r in results if r[1] == 0)}  "
              f"ended with a message: {errors}  crashed: {len(crashed)}  hung: {len(hung)}")
        for path, status, _, _ in crashed:
            print(f"CRASH (signal {-status}): {path}")
        for path, _, _, _ in hung:
            print(f"HANG: {path}")
        if causes:
            print("errors by cause (runs, cause, example):")
            for cause, places in sorted(causes.items(), key=lambda c: (-len(c[1]), c[0])):
                print(f"  {len(places):5d}  {cause}  e.g. {places[0]}")
        print("slowest:")
        for path, status, seconds, _ in sorted(results, key=lambda r: -r[2])[:5]:
            print(f"  {seconds:7.3f} s  {path}")
    silent = [p for p in probes if p[1] == 0]
    if probes:
        for path, status, _, _ in probes:
            if status == "hang" or (isinstance(status, int) and status < 0):
                print(f"PROBE {'HANG' if status == 'hang' else 'CRASH'}: {path}")
        crashed += [p for p in probes if isinstance(p[1], int) and p[1] < 0]
        hung += [p for p in probes if p[1] == "hang"]
        reported = sum(1 for p in probes if p[1] == 1 and p[2])
        earlier = sum(1 for p in probes if p[1] == 1 and not p[2] and p[3])
        lost = [p for p in probes if p[1] not in (0, "hang") and not (p[2] or p[3]) and
                not (isinstance(p[1], int) and p[1] < 0)]
        print(f"probes: {len(probes)}  syntax error after the header reported (exit 1): "
              f"{reported}  run ended by an earlier error of the header: {earlier}  "
              f"exit 0 despite the syntax error: {len(silent)}  "
              f"exit 1 without the probe's error, the run not ended: {len(lost)}")
        for path, status, _, _ in silent + lost:
            print(f"PROBE LOST (status {status}): {path}")
        silent += lost
    return 1 if crashed or hung or silent else 0


if __name__ == "__main__":
    sys.exit(main())
