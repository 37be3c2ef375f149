#!/usr/bin/env python3
"""The rooms of src/, bottom to top: a file may include its own room's
headers and those of rooms below it, never above, and no includes may go
round in a circle. Prints each include that breaks this, as file:line, and
exits 1 when there is one."""
import pathlib
import re
import sys

ROOMS = ["game", "text", "keys", "platform", "formats", "input", "console", "output", "dialogue"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
    problems = []
    edges = {}
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        name = path.relative_to(src).as_posix()
        room = name.split("/")[0]
        if room not in ROOMS:
            problems.append(f"{src / name}:1: room '{room}' is not in the list of rooms")
            continue
        edges[name] = []
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = match.group(1)
            edges[name].append((target, number))
            to_room = target.split("/")[0]
            if to_room not in ROOMS:
                problems.append(f"{src / name}:{number}: includes {target}, in no room")
            elif ROOMS.index(to_room) > ROOMS.index(room):
                problems.append(f"{src / name}:{number}: includes {target}: "
                                f"{to_room}/ is above {room}/")
    problems += circles(src, edges)
    for problem in problems:
        print(problem)
    return 1 if problems else 0


def circles(src, edges):
    """Includes that close a circle, found by a depth-first walk."""
    found = []
    state = {}  # name -> 1 while on the walk's path, 2 once done

    def walk(name, path):
        state[name] = 1
        for target, number in edges.get(name, []):
            if target not in edges:
                continue
            if state.get(target) == 1:
                ring = path[path.index(target):] + [target]
                found.append(f"{src / name}:{number}: includes {target}, "
                             f"closing the circle {' -> '.join(ring)}")
            elif target not in state:
                walk(target, path + [target])
        state[name] = 2

    for name in sorted(edges):
        if name not in state:
            walk(name, [name])
    return found


if __name__ == "__main__":
    sys.exit(main())
