#!/usr/bin/env python3
"""Runs headers below /usr/include through `orvo-pp --standard` and GNU
`cpp -P`, both in C11 mode with the same include directories, and compares
their token text (blanks and line breaks removed). Headers that cpp itself
rejects are left out. Prints the agreement share and, for each disagreement,
the first differing line of each output.

Usage: tools/standard_vs_cpp.py [ORVO_PP] [COUNT] [--as-gcc]
       (defaults build/bin/orvo-pp, 500)

--as-gcc gives the standard run GCC's predefined macros (from cpp -dM) in
place of Clang's identity (__clang__ and its version macros), so that
headers which test the compiler's name and version take the same branches.
"""
import os
import re
import subprocess
import sys

as_gcc = "--as-gcc" in sys.argv
args = [a for a in sys.argv[1:] if a != "--as-gcc"]
orvo_pp = args[0] if len(args) > 0 else "build/bin/orvo-pp"
count = int(args[1]) if len(args) > 1 else 500


def gcc_identity():
    """-U of Clang's own names and -D of each macro GNU cpp predefines."""
    flags = []
    for name in ("__clang__", "__clang_major__", "__clang_minor__", "__clang_patchlevel__",
                 "__clang_version__", "__llvm__"):
        flags += ["-U", name]
    listed = subprocess.run(["cpp", "-dM", "-std=c11", "-"], input="", capture_output=True,
                            text=True).stdout
    for line in listed.splitlines():
        match = re.match(r"#define (\S+) ?(.*)", line)
        if match:
            flags += ["-D", f"{match.group(1)}={match.group(2)}"]
    return flags


def cpp_include_dirs():
    """The directories cpp searches for <...>, in its order."""
    probe = subprocess.run(["cpp", "-v", "-std=c11", "-"], input="", capture_output=True, text=True)
    lines = probe.stderr.splitlines()
    start = lines.index("#include <...> search starts here:") + 1
    end = lines.index("End of search list.")
    return [line.strip() for line in lines[start:end]]


def headers():
    found = []
    for root, _, files in os.walk("/usr/include"):
        found += [os.path.join(root, f) for f in files if f.endswith(".h")]
    found.sort()
    step = max(1, len(found) // (count * 3))
    return found[::step]


def tokens(text):
    return re.sub(r"\s+", "", text)


dirs = cpp_include_dirs()
include_args = [arg for d in dirs for arg in ("-I", d)]
if as_gcc:
    include_args += gcc_identity()
tried = agreed = 0
disagreements = []
for header in headers():
    if tried == count:
        break
    theirs = subprocess.run(["cpp", "-P", "-std=c11", header], capture_output=True, text=True,
                            errors="replace")
    if theirs.returncode != 0:
        continue
    tried += 1
    ours = subprocess.run([orvo_pp, "--standard", *include_args, header], capture_output=True,
                          text=True, errors="replace")
    if ours.returncode == 0 and tokens(ours.stdout) == tokens(theirs.stdout):
        agreed += 1
        continue
    a = [l for l in ours.stdout.splitlines() if l.strip()]
    b = [l for l in theirs.stdout.splitlines() if l.strip()]
    first = next((i for i in range(min(len(a), len(b))) if tokens(a[i]) != tokens(b[i])),
                 min(len(a), len(b)))
    disagreements.append((header, ours.returncode, ours.stderr.strip().splitlines()[:1],
                          a[first] if first < len(a) else "<end>",
                          b[first] if first < len(b) else "<end>"))

print(f"{agreed} of {tried} headers agree ({100.0 * agreed / max(tried, 1):.1f} %)")
for header, status, message, ours, theirs in disagreements:
    print(f"\n{header} (exit {status}) {message[0] if message else ''}")
    print(f"  standard: {ours[:160]}")
    print(f"  cpp:      {theirs[:160]}")
