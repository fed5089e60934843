#!/usr/bin/env python3
"""Checks the engine's layers from the #include lines of the sources.

Each folder may include its own headers and those of the folders below it in
LAYERS, never one above or beside it, so no two folders include each other.
The window (app/) and orvo-pp (cli/) include only the public headers
(include/orvo/) besides their own. Prints every line that breaks a rule and
exits 1 if there is one.

Usage: tools/check_layers.py [SOURCE_ROOT]
"""
import pathlib
import re
import sys

# Bottom to top: a folder may include the folders of its own row and of the
# rows before it. Folders of one row must not include each other.
LAYERS = [
    # the public contract (include/orvo/, included as "orvo/..."), the
    # message values every layer throws, and file reading and safe writing
    ["orvo", "base", "files"],
    ["tree", "scan"],  # macro records' nodes; scanners, tokens and matches
    ["runtime"],       # parse state, parser base, plugin
    ["macros"],        # macro records, expansion budget and walk, stringify
    ["grammar"],       # the productions of the parser (directives and macros)
    # the run: wires the parser, sources, diagnostics, tracer; the
    # standard-C engine behind the same contract
    ["run", "standard"],
    # consumers of the contract: the step recorder, the two engines compared
    ["explain", "compare"],
]
# Front ends: their own folder, the public headers and files/ only.
FRONT_ENDS = {"cli", "app", "lsp"}
FRONT_END_MAY_INCLUDE = {"orvo", "files"}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/')


def folder_of(path: pathlib.Path, root: pathlib.Path) -> str:
    parts = path.relative_to(root).parts
    return parts[1] if parts[0] == "include" else parts[0]


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    rank = {folder: i for i, row in enumerate(LAYERS) for folder in row}
    problems = []
    # Tests, benchmarks and tools may reach anywhere; only the layers and
    # the front ends are read.
    folders = [root / "include" / f if f == "orvo" else root / f
               for f in [*rank, *sorted(FRONT_ENDS)]]
    paths = sorted(p for folder in folders for p in folder.rglob("*")
                   if p.suffix in {".h", ".cpp"} and p.is_file())
    for path in paths:
        folder = folder_of(path, root)
        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = match.group(1)
            place = f"{path.relative_to(root)}:{number}"
            if folder in FRONT_ENDS:
                if target != folder and target not in FRONT_END_MAY_INCLUDE:
                    problems.append(f"{place}: {folder}/ includes {target}/; it may include "
                                    f"only {folder}/, the public orvo/ headers and files/")
            elif target != folder and (target not in rank or rank[target] >= rank[folder]):
                problems.append(f"{place}: {folder}/ includes {target}/, "
                                f"which is not below it")
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) break the layers (see tools/check_layers.py)")
        return 1
    print("layers: every include runs down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
