#!/usr/bin/env python3
"""Runs orvo-pp on inputs that push the standard-C engine to its bounds and
checks that each ends as promised: within 20 s of processor time (the
wall clock is printed too; on a loaded machine it says little), with a message (exit status
1, or 2 for trouble under --compare; 0 where the input is merely large), no
crash (no 134 or 139) and a peak resident size under 1.5 GB. Prints the
time and peak resident size of each run.

Usage: standard_bounds.py ORVO_PP short|full
"""
import os
import subprocess
import sys
import tempfile
import time

TIME_LIMIT_S = 20
PEAK_LIMIT_KB = 1_500_000
# The address-space limit of the runs the issue tried under `ulimit -v`.
SMALL_ADDRESS_SPACE_KB = 1_000_000


def doubling_calls(depth):
    """D nested `depth` deep in one call: 2**depth tokens."""
    return "#define D(x) x x\n" + "D(" * depth + "1" + ")" * depth + "\n"


def function_chain(levels):
    lines = ["#define F1(x) x x"]
    lines += ["#define F%d(x) F%d(F%d(x))" % (k, k - 1, k - 1) for k in range(2, levels + 1)]
    return "\n".join(lines) + "\nF%d(1)\n" % levels


def object_doubling(levels):
    lines = ["#define A0 x"] + ["#define A%d A%d A%d" % (k, k - 1, k - 1)
                                for k in range(1, levels + 1)]
    return "\n".join(lines) + "\nA%d\n" % levels


def unary_macros(count):
    return ("#define M1 " + "- " * count + "\n#define M2 " + "M1 " * count +
            "\n#if M2 1\nyes\n#endif\n")


def comment_chain(count):
    return "#if " + "-/**/" * count + "1\nyes\n#endif\n"


def many_definitions(count):
    return "".join("#define F%d(x) x + %d\n" % (i, i) for i in range(count)) + "F7(a)\n"


def diamond(depth):
    """Headers h0.h ... that each include the next twice, without guards."""
    files = {"h%d.h" % k: '#include "h%d.h"\n#include "h%d.h"\n' % (k + 1, k + 1)
             for k in range(depth)}
    files["h%d.h" % depth] = "x\n"
    return files


def cases(form):
    """Each input's name, files (the main one is in.c; built when asked for),
    arguments, expected statuses and address-space limit."""
    full = form == "full"
    return [
        ("doubling call --standard", lambda: {"in.c": doubling_calls(40 if full else 30)},
         ["--standard"], {1}, None),
        ("doubling call --compare", lambda: {"in.c": doubling_calls(40 if full else 30)},
         ["--compare"], {2}, None),
        ("function chain", lambda: {"in.c": function_chain(40 if full else 30)},
         ["--standard"], {1}, None),
        ("unary operators from macros", lambda: {"in.c": unary_macros(1000)},
         ["--standard"], {1}, None),
        ("unary operators from macros --compare", lambda: {"in.c": unary_macros(1000)},
         ["--compare"], {2}, None),
        ("operators broken by comments",
         lambda: {"in.c": comment_chain(2_000_000 if full else 200_000)}, ["--standard"], {1}, None),
        ("object-like doubling", lambda: {"in.c": object_doubling(40)}, ["--standard"], {1},
         SMALL_ADDRESS_SPACE_KB),
        ("long single line", lambda: {"in.c": "x " * ((50 if full else 5) << 19) + "\n"},
         ["--standard"], {0}, SMALL_ADDRESS_SPACE_KB),
        ("many function-like definitions",
         lambda: {"in.c": many_definitions(200_000 if full else 20_000)}, ["--standard"], {0},
         SMALL_ADDRESS_SPACE_KB),
        ("include diamond 20 deep --compare",
         lambda: dict(diamond(20), **{"in.c": '#include "h0.h"\n'}), ["--compare"], {2},
         SMALL_ADDRESS_SPACE_KB),
        ("include diamond 26 deep", lambda: dict(diamond(26), **{"in.c": '#include "h0.h"\n'}),
         ["--standard"], {1}, None),
        ("empty input", lambda: {"in.c": ""}, ["--standard"], {0}, SMALL_ADDRESS_SPACE_KB),
        ("large input", lambda: {"in.c": "x\n" * ((200 if full else 20) << 19)},
         ["--standard"], {0, 1}, SMALL_ADDRESS_SPACE_KB),
    ]


def run(orvo_pp, directory, arguments, address_space_kb):
    # Started by posix_spawn through a shell that sets the limit, so that
    # the program starts from a small process: a process's peak resident
    # size counts what it held before exec (a forked copy of this one).
    limit = "ulimit -v %d && " % address_space_kb if address_space_kb else ""
    script = 'cd "$1" && shift && %sexec "$@" >/dev/null 2>err' % limit
    started = time.monotonic()
    pid = os.posix_spawn("/bin/sh", ["sh", "-c", script, "sh", directory, orvo_pp] + arguments +
                         ["in.c"], os.environ)
    deadline = started + 3 * TIME_LIMIT_S
    while True:
        done, status, usage = os.wait4(pid, os.WNOHANG)
        if done:
            break
        if time.monotonic() > deadline:
            os.kill(pid, 9)
        time.sleep(0.02)
    elapsed = time.monotonic() - started
    with open(os.path.join(directory, "err"), "rb") as err:
        message = err.read().decode("utf-8", "replace")
    code = os.waitstatus_to_exitcode(status)
    return code, elapsed, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, message


def write_files(form, index, directory):
    for file, text in cases(form)[index][1]().items():
        with open(os.path.join(directory, file), "w") as out:
            out.write(text)


def main():
    if sys.argv[1] == "--write":
        write_files(sys.argv[2], int(sys.argv[3]), sys.argv[4])
        return 0
    orvo_pp, form = os.path.abspath(sys.argv[1]), sys.argv[2]
    failures = 0
    print("%-40s %6s %8s %8s %8s  %s" % ("input", "status", "wall s", "cpu s", "peak MB",
                                         "message"))
    for index, (name, _, arguments, statuses, address_space_kb) in enumerate(cases(form)):
        with tempfile.TemporaryDirectory(prefix="orvo-bounds-") as directory:
            # Written by a process of its own, so that this one stays small.
            subprocess.run([sys.executable, __file__, "--write", form, str(index), directory],
                           check=True)
            code, elapsed, processor, peak_kb, message = run(orvo_pp, directory, arguments,
                                                             address_space_kb)
        errors = [line for line in message.splitlines() if ": error:" in line or "orvo-pp:" in line]
        first = errors[0] if errors else message.splitlines()[0] if message else ""
        print("%-40s %6d %8.2f %8.2f %8.0f  %s" % (name, code, elapsed, processor, peak_kb / 1024,
                                                first[:100]))
        problems = []
        if code not in statuses:
            problems.append("exit status %d, expected %s" % (code, sorted(statuses)))
        if code < 0 or code in (134, 139):
            problems.append("ended on a signal")
        if processor > TIME_LIMIT_S:
            problems.append("took %.1f s of processor time" % processor)
        if peak_kb > PEAK_LIMIT_KB:
            problems.append("peak %.0f MB" % (peak_kb / 1024))
        if code != 0 and not errors:
            problems.append("no message")
        for problem in problems:
            print("  FAIL: %s\n%s" % (problem, message[-2000:]))
        failures += bool(problems)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
