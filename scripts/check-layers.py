#!/usr/bin/env python3
"""The floors of the house: base -> core -> platform -> app -> ui, cli.

A file's floor is its top folder (core/ports counts as core). Every #include of a project header must
stay on the file's own floor or go down, and core/ports/ includes no feature of core/; ui/ and cli/ are
front ends beside each other and include neither the other; base/ and core/ include no Qt and no curl. With --floors FILE (written by CMake:
one line "TARGET FLOOR SOURCE" per source of each library) the build's own lists are checked too: a
source compiled into a target of another floor than its folder's is a fault.
"""
import os
import re
import sys

FLOORS = {"base": 0, "core": 1, "platform": 2, "app": 3, "ui": 4, "cli": 4}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
FOREIGN = re.compile(r'^(Q[A-Za-z]+|Qt[A-Za-z]*/|curl/)')


def floor_of(path):
    top = path.split("/", 1)[0]
    return top if top in FLOORS else None


def check_file(path, text, faults):
    own = floor_of(path)
    for number, line in enumerate(text.splitlines(), 1):
        m = INCLUDE.match(line)
        if not m:
            continue
        quote, target = m.groups()
        where = f"{path}:{number}: #include {quote}{target}"
        if quote == "<":
            if FLOORS[own] <= FLOORS["core"] and FOREIGN.match(target):
                faults.append(f"{where}: {own}/ includes no Qt and no curl")
            continue
        other = floor_of(target)
        if other is None:
            continue
        if path.startswith("core/ports/") and other == "core" and not target.startswith("core/ports/"):
            faults.append(f"{where}: the ports include no feature header")
        if FLOORS[other] > FLOORS[own]:
            faults.append(f"{where}: {own}/ may not include the floor above ({other}/)")
        elif own != other and FLOORS[other] == FLOORS[own]:
            faults.append(f"{where}: {own}/ and {other}/ stand beside each other")


def main(args):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    floors_file = None
    if len(args) >= 2 and args[0] == "--root":
        root, args = args[1], args[2:]
    if len(args) >= 2 and args[0] == "--floors":
        floors_file = args[1]
    faults = []
    checked = 0
    for top in FLOORS:
        for folder, _, names in os.walk(os.path.join(root, top)):
            for name in sorted(names):
                if not name.endswith((".h", ".cpp")):
                    continue
                full = os.path.join(folder, name)
                rel = os.path.relpath(full, root)
                with open(full, encoding="utf-8", errors="replace") as f:
                    check_file(rel, f.read(), faults)
                checked += 1
    if floors_file:
        with open(floors_file, encoding="utf-8") as f:
            for line in f:
                parts = line.split()
                if len(parts) != 3:
                    continue
                target, floor, source = parts
                if os.path.isabs(source):
                    # Generated sources live in the build folder, beside the list.
                    if source.startswith(os.path.dirname(os.path.abspath(floors_file)) + os.sep):
                        continue
                    source = os.path.relpath(source, root)
                if floor_of(source) != floor:
                    faults.append(f"{source}: built into {target} ({floor}/) but lies in {floor_of(source)}/")
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) or source(s) run against the floors.")
        return 1
    print(f"{checked} files keep to their floors.")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
