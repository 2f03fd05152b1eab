#!/usr/bin/env python3
"""Checks that every #include under src/ follows the layer table.

The table is the one in docs/architecture.md: one row per folder, naming the
folders it may include. What those may include, it may include too; its own
folder it always may. A file in a folder the table does not name fails, so
a new folder gets its row before it gets code.

usage: check_layers.py SRC_DIR TABLE_FILE
       check_layers.py --self-test TABLE_FILE
"""
import os
import re
import sys
import tempfile

ROW = re.compile(r"^\|\s*`([a-z0-9_/]+)`\s*\|[^|]*\|([^|]*)\|\s*$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCES = (".cpp", ".hpp", ".h", ".mm")


def read_table(path):
    table = {}
    with open(path, encoding="utf-8") as document:
        for line in document:
            row = ROW.match(line.strip())
            if row:
                table[row.group(1)] = set(re.findall(r"`([a-z0-9_/]+)`", row.group(2)))
    if not table:
        raise SystemExit(f"{path}: no layer table found")
    for folder, uses in table.items():
        for used in uses - table.keys():
            raise SystemExit(f"{path}: `{folder}` may include `{used}`, which has no row")
    return table


def reachable(table):
    """Each folder with everything it may include, directly or through others."""
    closed = {}

    def visit(folder, path):
        if folder in closed:
            return closed[folder]
        if folder in path:
            raise SystemExit("the layer table has a cycle: " + " -> ".join(path + [folder]))
        allowed = set()
        for used in table[folder]:
            allowed |= {used} | visit(used, path + [folder])
        closed[folder] = allowed
        return allowed

    for folder in table:
        visit(folder, [])
    return closed


def folder_of(path, table):
    best = None
    for folder in table:
        if (path == folder or path.startswith(folder + "/")) and (
            best is None or len(folder) > len(best)
        ):
            best = folder
    return best


def violations(src, table):
    allowed = reachable(table)
    found = []
    for root, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith(SOURCES):
                continue
            path = os.path.join(root, name)
            relative = os.path.relpath(path, src)
            own = folder_of(relative, table)
            if own is None:
                found.append(f"{relative}: its folder has no row in the layer table")
                continue
            with open(path, encoding="utf-8", errors="replace") as source:
                for number, line in enumerate(source, 1):
                    include = INCLUDE.match(line)
                    if not include:
                        continue
                    target = folder_of(include.group(1), table)
                    if target is None or target == own or target in allowed[own]:
                        continue
                    found.append(
                        f"{relative}:{number}: includes \"{include.group(1)}\", but `{own}` "
                        f"may include only {', '.join(sorted(allowed[own])) or 'its own folder'}"
                    )
    return found


def self_test(table_file):
    """The check fails on a wrong-way include and passes on a right one."""
    table = read_table(table_file)
    with tempfile.TemporaryDirectory() as src:
        os.makedirs(os.path.join(src, "core"))
        with open(os.path.join(src, "core", "Right.cpp"), "w") as right:
            right.write('#include "platform/MainQueue.hpp"\n#include "core/Store.hpp"\n')
        if violations(src, table):
            return ["an include down a layer was refused"]
        with open(os.path.join(src, "core", "Wrong.cpp"), "w") as wrong:
            wrong.write('#include "core/Store.hpp"\n#include "ui/MainWindow.hpp"\n')
        found = violations(src, table)
        if len(found) != 1 or not found[0].startswith('core/Wrong.cpp:2: includes "ui/MainWindow.hpp"'):
            return ["a wrong-way include was not caught as core/Wrong.cpp:2: " + repr(found)]
        os.makedirs(os.path.join(src, "unlisted"))
        with open(os.path.join(src, "unlisted", "New.cpp"), "w") as new:
            new.write("\n")
        if not any(v.startswith("unlisted/New.cpp: its folder has no row") for v in violations(src, table)):
            return ["a folder without a row was not caught"]
    return []


def main(arguments):
    if len(arguments) == 2 and arguments[0] == "--self-test":
        problems = self_test(arguments[1])
    elif len(arguments) == 2:
        problems = violations(arguments[0], read_table(arguments[1]))
    else:
        print(__doc__, file=sys.stderr)
        return 2
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
