#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus: every input of the example catalogue, every
string literal of the tests that holds a directive, the include fixtures and
the regression inputs kept from earlier fuzzing.

Usage: make_corpus.py OUTPUT_DIR
"""
import hashlib
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
MAX_SEED_BYTES = 4096

# An ordinary literal or a raw literal R"delim(...)delim".
LITERAL = re.compile(r'R"([^(\s]*)\((.*?)\)\1"|"((?:[^"\\\n]|\\.)*)"', re.S)
# Literals separated only by blanks are one string, as in C++.
GAP = re.compile(r'\s*')

ESCAPES = {"n": b"\n", "r": b"\r", "t": b"\t", "v": b"\v", "f": b"\f", "a": b"\a",
           "b": b"\b", "\\": b"\\", '"': b'"', "'": b"'", "?": b"?"}


def decode(body):
    out = bytearray()
    i = 0
    while i < len(body):
        c = body[i]
        if c != "\\" or i + 1 == len(body):
            out += c.encode("utf-8")
            i += 1
            continue
        e = body[i + 1]
        if e in ESCAPES:
            out += ESCAPES[e]
            i += 2
        elif e == "x":
            digits = re.match(r"[0-9a-fA-F]+", body[i + 2:])
            out.append(int(digits.group(0), 16) & 0xFF if digits else 0)
            i += 2 + (len(digits.group(0)) if digits else 0)
        elif e in "01234567":
            digits = re.match(r"[0-7]{1,3}", body[i + 1:]).group(0)
            out.append(int(digits, 8) & 0xFF)
            i += 1 + len(digits)
        else:
            out += e.encode("utf-8")
            i += 2
    return bytes(out)


def literals(text):
    """Yields each string of a C++ source, adjacent literals joined."""
    pos = 0
    current = None
    for m in LITERAL.finditer(text):
        value = m.group(2).encode("utf-8") if m.group(2) is not None else decode(m.group(3))
        if current is not None and GAP.fullmatch(text, pos, m.start()):
            current += value
        else:
            if current is not None:
                yield current
            current = value
        pos = m.end()
    if current is not None:
        yield current


def seeds():
    catalogue = open(os.path.join(ROOT, "app", "ExampleCatalogue.cpp"), encoding="utf-8").read()
    for value in literals(catalogue):
        yield value
    tests = os.path.join(ROOT, "tests")
    for name in sorted(os.listdir(tests)):
        if name.endswith("_test.cpp"):
            for value in literals(open(os.path.join(tests, name), encoding="utf-8").read()):
                if b"#" in value:
                    yield value
    for sub in ("include", "fuzz-regressions"):
        for d, _, names in os.walk(os.path.join(tests, "data", sub)):
            for n in sorted(names):
                path = os.path.join(d, n)
                if os.path.isfile(path):
                    yield open(path, "rb").read()


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    count = 0
    for value in seeds():
        if not value or len(value) > MAX_SEED_BYTES:
            continue
        name = hashlib.sha1(value).hexdigest()
        path = os.path.join(out, name)
        if not os.path.exists(path):
            with open(path, "wb") as f:
                f.write(value)
            count += 1
    print(f"{count} new seeds in {out}")


if __name__ == "__main__":
    main()
