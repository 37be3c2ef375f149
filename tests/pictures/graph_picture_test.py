#!/usr/bin/python3
"""The picture of the graphical solution (-o FILE.graph.svg), checked as a
reader gets it: the real program writes it, a real XML parser reads it,
its optimum is checked against a solution worked out here in exact
fractions, and rsvg-convert and headless Chromium render it, in whose
pixels every line must show in its own colour.

    graph_picture_test.py --program build/release/brown-robinson [--keep DIR]
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
from fractions import Fraction

from lxml import etree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from picture_test import SVG, along, check, failures, path_points, read_png, render  # noqa: E402

# (name, matrix, what the picture must hold: 'rows' or 'columns' mixed, or
# None for a game that has no such picture).
GAMES = [
    ("two-by-four", [[2, 3, 11, 7], [7, 5, 2, 4]], "rows"),
    ("four-by-two", [[1, 6], [5, 2], [3, 3], [0, 7]], "columns"),
    ("worked", [[5, 0, 7], [2, 5, 0], [6, 1, 8]], "rows"),  # reduces to 2 by 3
    ("saddle", [[3, 5], [1, 6]], None),  # one row and one column left
    ("all-equal", [[4, 4], [4, 4]], None),
    ("two-by-three", [[2, 5, 1], [3, 1, 4]], "rows"),
    ("level-line", [[1, 5], [4, 2], [3, 3]], "columns"),
    ("largest", [[-10000000, 10000000], [10000000, -10000000]], "rows"),
    ("none", [[0, 1, -1], [-1, 0, 1], [1, -1, 0]], None),
]


def dominated(matrix):
    """The rows and columns left by the program's rule, worked out plainly:
    rounds of rows then columns, each judged against those still there,
    equal ones going to the first."""
    rows, columns = list(range(len(matrix))), list(range(len(matrix[0])))

    def beats(s, t, own, other, gain):
        pairs = [(gain(s, o), gain(t, o)) for o in other]
        return all(a >= b for a, b in pairs) and (any(a > b for a, b in pairs) or s < t)

    while True:
        removed = False
        for mine, other, gain in ((rows, columns, lambda s, o: matrix[s][o]),
                                  (columns, rows, lambda s, o: -matrix[o][s])):
            for t in list(mine):
                if any(s != t and beats(s, t, mine, other, gain) for s in mine):
                    mine.remove(t)
                    removed = True
        if not removed:
            return rows, columns


def graphical(matrix):
    """p* (the smallest best one) and v, in exact fractions, by trying
    every point where the envelope can bend."""
    rows, columns = dominated(matrix)
    over_rows = len(rows) == 2
    if over_rows:
        lines = [(matrix[rows[1]][j], matrix[rows[0]][j]) for j in columns]
    else:
        lines = [(-matrix[i][columns[1]], -matrix[i][columns[0]]) for i in rows]
    candidates = {Fraction(0), Fraction(1)}
    for a, (za, oa) in enumerate(lines):
        for zb, ob in lines[a + 1:]:
            if (oa - za) != (ob - zb):
                p = Fraction(zb - za, (oa - za) - (ob - zb))
                if 0 <= p <= 1:
                    candidates.add(p)
    best = max(candidates, key=lambda p: (min(z + p * (o - z) for z, o in lines), -p))
    value = min(z + best * (o - z) for z, o in lines)
    return over_rows, best, value if over_rows else -value


def answers_of(matrix):
    return "Alice Bob\n%d %d\n%s\nN\n0\nq" % (
        len(matrix), len(matrix[0]), "\n".join(" ".join(map(str, r)) for r in matrix))


def fraction_of(text):
    return Fraction(text)


def check_rendering(svg, root, renderer, scratch):
    png = render(svg, root, renderer, scratch)
    width, height, pixel = read_png(png)
    lines = [(p.find(SVG + "title").text, p.get("stroke"), p.get("stroke-dasharray"),
              path_points(p.get("d"))) for p in root.iter(SVG + "path")
             if p.find(SVG + "title") is not None and re.match(r"[ij] = ", p.find(SVG + "title").text)]
    covered = set()
    for title, stroke, dashed, subpaths in reversed(lines):
        colour = tuple(int(stroke[i:i + 2], 16) for i in (1, 3, 5))
        points = along(subpaths)
        clear = [(x, y) for x, y in points if (int(x), int(y)) not in covered]
        covered.update((int(x) + dx, int(y) + dy) for x, y in points
                       for dx in range(-4, 5) for dy in range(-4, 5))
        if len(clear) < 10:
            continue  # under the lines drawn after it all along: one of equal lines
        near = 0.45 * sum((c - 255) ** 2 for c in colour) ** 0.5 if colour != (0, 0, 0) else 100
        radius = 2 if dashed else 1
        sample = clear[::max(1, len(clear) // 40)]
        seen = sum(1 for x, y in sample if any(
            sum((p - c) ** 2 for p, c in zip(pixel(px, py), colour)) ** 0.5 < near
            for px in range(int(x) - radius, int(x) + radius + 1) if 0 <= px < width
            for py in range(int(y) - radius, int(y) + radius + 1) if 0 <= py < height))
        check(seen >= 0.7 * len(sample), f"{png} ({renderer}): {title!r} at {seen} of {len(sample)}")


def check_picture(svg, matrix, mixed, scratch, render):
    root = etree.parse(svg, etree.XMLParser(resolve_entities=False, no_network=True)).getroot()
    check(root.tag == SVG + "svg" and root.get("viewBox") == f"0 0 {root.get('width')} {root.get('height')}",
          f"{svg}: root and viewBox")
    for element in root.iter():
        for name, value in element.attrib.items():
            check(not name.startswith("on") and "href" not in name, f"{svg}: attribute {name}")
    over_rows, p, value = graphical(matrix)
    check(over_rows == (mixed == "rows"), f"{svg}: mixed by {mixed}")
    rows, columns = dominated(matrix)
    lines = [p_ for p_ in root.iter(SVG + "path") if p_.find(SVG + "title") is not None
             and re.match(r"[ij] = ", p_.find(SVG + "title").text)]
    others = columns if over_rows else rows
    check([ln.find(SVG + "title").text.split(":")[0] for ln in lines] ==
          [f"{'j' if over_rows else 'i'} = {s + 1}" for s in others], f"{svg}: one line per strategy")
    looks = {(ln.get("stroke"), ln.get("stroke-dasharray")) for ln in lines}
    check(len(looks) == len(lines), f"{svg}: every line its own colour and dashes")
    optimum = next(root.iter(SVG + "circle")).find(SVG + "title").text
    found = re.fullmatch(r"the optimum: [pq]\* = (\S+), v = (\S+)", optimum)
    check(found is not None and fraction_of(found.group(1)) == p and fraction_of(found.group(2)) == value,
          f"{svg}: {optimum!r}, worked out here p* = {p}, v = {value}")
    # The dot lies on the bold envelope.
    envelope = next(pa for pa in root.iter(SVG + "path") if pa.find(SVG + "title") is not None
                    and "envelope" in pa.find(SVG + "title").text)
    circle = next(root.iter(SVG + "circle"))
    cx, cy = float(circle.get("cx")), float(circle.get("cy"))
    check(min((x - cx) ** 2 + (y - cy) ** 2 for x, y in along(path_points(envelope.get("d")), 0.5)) < 1.5,
          f"{svg}: the optimum is off the envelope")
    if render:
        for renderer in ("rsvg-convert", "chromium"):
            check_rendering(svg, root, renderer, scratch)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--keep")
    options = parser.parse_args()
    program = os.path.abspath(options.program)
    scratch = tempfile.mkdtemp(prefix="br-graph-")
    out = os.path.abspath(options.keep or scratch)
    os.makedirs(out, exist_ok=True)
    try:
        for name, matrix, mixed in GAMES:
            svg = os.path.join(out, name + ".graph.svg")
            csv = os.path.join(out, name + ".csv")
            result = subprocess.run(["setsid", "-w", program, "-n", "30", "-o", svg, "-o", csv],
                                    input=answers_of(matrix).encode(), capture_output=True,
                                    cwd=out, timeout=120)
            check(result.returncode == ord("q"), f"{svg}: status {result.returncode}")
            check(os.path.exists(csv), f"{csv}: the other file is written")
            rows, columns = dominated(matrix)
            check((mixed is None) == (2 not in (len(rows), len(columns))), f"{name}: the table says {mixed}")
            if mixed is None:
                check(not os.path.exists(svg) and b"not written" in result.stderr,
                      f"{svg}: written, or not said: {result.stderr!r}")
                continue
            check(result.stderr == b"", f"{svg}: {result.stderr!r}")
            check_picture(svg, matrix, mixed, scratch, render=True)
        # The README shows the picture of the example: it must be what the
        # program draws today.
        here = os.path.dirname(os.path.abspath(__file__))
        example = os.path.join(here, "..", "..", "examples", "two-by-four.game")
        shown = os.path.join(here, "..", "..", "doc", "two-by-four.graph.svg")
        drawn = os.path.join(out, "readme.graph.svg")
        subprocess.run(["setsid", "-w", program, "-n", "100", "-o", drawn, example],
                       input=b"N\n0\nq", capture_output=True, cwd=out, timeout=120)
        check(open(drawn, "rb").read() == open(shown, "rb").read(),
              f"doc/two-by-four.graph.svg is not what the program draws ({drawn})")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    if failures:
        print(f"{len(failures)} checks failed", file=sys.stderr)
        return 1
    print("graph pictures: parsed, optimum certified, rendered by rsvg-convert and Chromium")
    return 0


if __name__ == "__main__":
    sys.exit(main())
