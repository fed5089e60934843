#!/usr/bin/env python3
"""Preprocesses every header below a directory (default /usr/include), each
with its own directory as source directory, and reports crashes, hangs and
the slowest files. Exit status 1 when any file crashed or hung.

Usage: usr_include_sweep.py [--orvo build/bin/orvo-pp] [--root /usr/include]
                            [--timeout 10] [--jobs 2]
"""
import argparse
import concurrent.futures
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def sweep_one(orvo, path, timeout):
    start = time.perf_counter()
    try:
        proc = subprocess.run([orvo, path], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout)
        status = proc.returncode
    except subprocess.TimeoutExpired:
        status = "hang"
    return path, status, time.perf_counter() - start


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--orvo", default=os.path.join(HERE, "..", "..", "build", "bin", "orvo-pp"))
    parser.add_argument("--root", default="/usr/include")
    parser.add_argument("--timeout", type=float, default=10.0)
    parser.add_argument("--jobs", type=int, default=2)
    args = parser.parse_args()

    files = sorted(os.path.join(d, f) for d, _, names in os.walk(args.root) for f in names
                   if f.endswith((".h", ".hpp", ".hh", ".hxx", ".inc", ".tcc")))
    results = []
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        for result in pool.map(lambda p: sweep_one(os.path.abspath(args.orvo), p, args.timeout),
                               files):
            results.append(result)

    crashed = [r for r in results if isinstance(r[1], int) and r[1] < 0]
    hung = [r for r in results if r[1] == "hang"]
    errors = sum(1 for r in results if r[1] == 1)
    print(f"files: {len(results)}  ok: {sum(1 for r in results if r[1] == 0)}  "
          f"ended with a message: {errors}  crashed: {len(crashed)}  hung: {len(hung)}")
    for path, status, _ in crashed:
        print(f"CRASH (signal {-status}): {path}")
    for path, _, _ in hung:
        print(f"HANG: {path}")
    print("slowest:")
    for path, status, seconds in sorted(results, key=lambda r: -r[2])[:5]:
        print(f"  {seconds:7.3f} s  {path}")
    return 1 if crashed or hung else 0


if __name__ == "__main__":
    sys.exit(main())
