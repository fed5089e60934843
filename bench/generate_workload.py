#!/usr/bin/env python3
"""Writes a C workload of about the requested size that both orvo-pp and
GNU cpp -P accept.

  plain:  comments, declarations, functions and literals, no macros
  macros: object-like and function-like macros with # and ##, conditionals

Usage: generate_workload.py {plain,macros} SIZE_BYTES OUT_FILE
"""
import random
import sys


def plain_unit(i, rnd):
    return (
        f"/* unit {i}: a block comment\n   that spans two lines */\n"
        f"static const char *name_{i} = \"value {i} with \\\"escapes\\\"\";\n"
        f"int table_{i}[4] = {{ {rnd.randint(0, 999)}, 0x{rnd.randint(0, 65535):X}, 017, 'a' }};\n"
        f"int function_{i}(int a, int b) {{ // a line comment\n"
        f"  int c = a * {i} + b / 3 - (a << 2) % 7;\n"
        f"  if (c >= {i} && b != 0) {{ c -= b; }} else {{ c += a ^ b; }}\n"
        f"  return c > 0 ? c : -c;\n"
        f"}}\n\n"
    )


def macro_prelude():
    return (
        "#define MAX(a, b) ((a) > (b) ? (a) : (b))\n"
        "#define STR(x) #x\n"
        "#define XSTR(x) STR(x)\n"
        "#define CAT(a, b) a ## b\n"
        "#define SIZE 64\n"
        "#define LIMIT SIZE\n"
        "#define FEATURE 1\n\n"
    )


def macro_unit(i, rnd):
    return (
        f"#if FEATURE && {i % 3} != 1\n"
        f"int CAT(value_, {i}) = MAX({i}, LIMIT);\n"
        f"#else\n"
        f"int CAT(other_, {i}) = SIZE;\n"
        f"#endif\n"
        f"const char *text_{i} = XSTR(LIMIT);\n"
        f"#ifdef MAX\n"
        f"long sum_{i} = MAX(SIZE + {rnd.randint(0, 99)}, {i}) + {i};\n"
        f"#endif\n\n"
    )


def main():
    kind, size, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    rnd = random.Random(1)
    parts = [macro_prelude()] if kind == "macros" else []
    unit = macro_unit if kind == "macros" else plain_unit
    total = sum(len(p) for p in parts)
    i = 0
    while total < size:
        text = unit(i, rnd)
        parts.append(text)
        total += len(text)
        i += 1
    with open(out, "w", newline="\n") as f:
        f.write("".join(parts))


if __name__ == "__main__":
    main()
