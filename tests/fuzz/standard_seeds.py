#!/usr/bin/env python3
"""Adds to the standard-C fuzzer's corpus the inputs that push the engine to
its bounds (tests/stress/standard_bounds.py), in forms of a few KB: calls
and definitions that double their tokens, operator chains built by macros
or broken by comments, many definitions. The doubling forms are as deep as
a run in the fuzzer's process can finish: deeper ones only run out of
memory, which the worker's memory limit ends (tests/stress checks that).

Usage: standard_seeds.py OUTPUT_DIR
"""
import hashlib
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "stress"))
import standard_bounds  # noqa: E402

MAX_SEED_BYTES = 8192


def seeds():
    yield standard_bounds.doubling_calls(22)
    yield standard_bounds.function_chain(20)
    yield standard_bounds.object_doubling(20)
    yield standard_bounds.unary_macros(600)
    yield standard_bounds.comment_chain(1500)
    yield standard_bounds.many_definitions(200)
    yield "#if " + "(" * 1200 + "1" + ")" * 1200 + "\n#endif\n"


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for seed in seeds():
        data = seed.encode()[:MAX_SEED_BYTES]
        with open(os.path.join(out, "seed-" + hashlib.sha1(data).hexdigest()), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
