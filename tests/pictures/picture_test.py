#!/usr/bin/python3
"""The pictures the program writes (-o FILE.svg), checked as a reader gets
them: the real program writes them for the example games, a real XML
parser reads them, and rsvg-convert and headless Chromium render them, in
whose pixels every line must show in its own colour where the file puts it.

    picture_test.py --program build/release/brown-robinson [--keep DIR]

--keep leaves the SVG files and the renderings in DIR to look at.
"""
import argparse
import glob
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

from lxml import etree

SVG = "{http://www.w3.org/2000/svg}"
SIZE_LIMIT = 300 * 1024
# What every picture names its lines by (each title starts with one).
LINE_NAMES = ["V*", "V_", "V^", "best bounds", "mean price", "value", "reference",
              "gap V^", "gap between"]

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what, file=sys.stderr)
    return condition


def run_program(program, arguments, answers, cwd):
    # setsid: no controlling terminal, so the final key comes from the
    # answers as well.
    result = subprocess.run(["setsid", "-w", program] + arguments, input=answers.encode("latin-1"),
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, cwd=cwd, timeout=120)
    return result


# ---- PNG reading (8-bit RGB or RGBA, not interlaced: what both renderers write)

def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    at = 8
    idat = b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and colour in (2, 6) and interlace == 0, (depth, colour, interlace)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows = []
    previous = bytearray(stride)
    at = 0
    for _ in range(height):
        kind = raw[at]
        line = bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                estimate = left + up - corner
                pa, pb, pc = abs(estimate - left), abs(estimate - up), abs(estimate - corner)
                predictor = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                line[i] = (line[i] + predictor) & 255
        rows.append(line)
        previous = line

    def pixel(x, y):
        # RGBA over white, as the picture's own white background would show it.
        line = rows[y]
        r, g, b = line[x * channels:x * channels + 3]
        if channels == 4:
            a = line[x * channels + 3]
            r, g, b = [(c * a + 255 * (255 - a)) // 255 for c in (r, g, b)]
        return r, g, b

    return width, height, pixel


# ---- Reading the file

def path_points(d):
    """The subpaths of a path made of M, L, H, V, h and v (M, L, H, V
    absolute): a list of vertex lists."""
    subpaths = []
    x = y = 0.0
    for command, numbers in re.findall(r"([MLHVhv])([^MLHVhv]*)", d):
        values = [float(v) for v in numbers.replace(",", " ").split()]
        if command in "ML":
            x, y = values[0], values[1]
        elif command == "H":
            x = values[0]
        elif command == "V":
            y = values[0]
        elif command == "h":
            x += values[0]
        elif command == "v":
            y += values[0]
        if command == "M":
            subpaths.append([])
        subpaths[-1].append((x, y))
    return subpaths


def along(subpaths, step=1.5):
    """Points along every segment, step pixels apart."""
    points = []
    for vertices in subpaths:
        points.append(vertices[0])
        for (x0, y0), (x1, y1) in zip(vertices, vertices[1:]):
            length = ((x1 - x0) ** 2 + (y1 - y0) ** 2) ** 0.5
            count = max(1, int(length / step))
            points += [(x0 + (x1 - x0) * i / count, y0 + (y1 - y0) * i / count)
                       for i in range(1, count + 1)]
    return points


def colour_of(hex_colour):
    return tuple(int(hex_colour[i:i + 2], 16) for i in (1, 3, 5))


def lines_of(root):
    """The drawn lines, in drawing order: (title, colour, dashed, points)."""
    lines = []
    for path in root.iter(SVG + "path"):
        title = path.find(SVG + "title")
        if title is None:
            continue
        lines.append((title.text, colour_of(path.get("stroke")), path.get("stroke-dasharray"),
                      path_points(path.get("d"))))
    return lines


def check_file(path, expect_title=None):
    """Parses the file and checks what it must hold; returns its root."""
    size = os.path.getsize(path)
    check(size < SIZE_LIMIT, f"{path}: {size} bytes, not under {SIZE_LIMIT}")
    parser = etree.XMLParser(resolve_entities=False, no_network=True)
    root = etree.parse(path, parser).getroot()
    check(root.tag == SVG + "svg", f"{path}: the root is {root.tag}")
    width, height = root.get("width"), root.get("height")
    check(width is not None and height is not None and
          root.get("viewBox") == f"0 0 {width} {height}", f"{path}: width, height and viewBox")
    for element in root.iter():
        tag = element.tag if isinstance(element.tag, str) else ""
        check(not tag.endswith("script") and not tag.endswith("foreignObject") and
              not tag.endswith("image"), f"{path}: a {tag} element")
        for name, value in element.attrib.items():
            check(not name.startswith("on") and "href" not in name and "url(" not in value,
                  f"{path}: attribute {name}={value}")
    names = [title for title, _, _, _ in lines_of(root)]
    for name in LINE_NAMES:
        check(sum(1 for title in names if title.startswith(name)) == 1,
              f"{path}: one line titled {name!r} in {names}")
    for text in root.iter(SVG + "text"):
        check(text.get("font-family") in (None, "sans-serif", "serif", "monospace"),
              f"{path}: a font that is not a generic family")
    group = root.find(SVG + "g")
    check(group is not None and group.get("font-family") == "sans-serif",
          f"{path}: the picture's font family")
    if expect_title is not None:
        texts = ["".join(t.itertext()) for t in root.iter(SVG + "text")]
        check(expect_title in texts, f"{path}: no text {expect_title!r} in {texts[:2]}")
    return root


# ---- Looking at the rendering

def distance(a, b):
    return sum((x - y) ** 2 for x, y in zip(a, b)) ** 0.5


def shows_colour(pixel, width, height, x, y, colour, radius):
    """Whether a pixel near (x, y) is the colour, or close to it."""
    white = (255, 255, 255)
    for dy in range(-radius, radius + 1):
        for dx in range(-radius, radius + 1):
            px, py = int(x) + dx, int(y) + dy
            if 0 <= px < width and 0 <= py < height:
                if distance(pixel(px, py), colour) < 0.45 * distance(white, colour):
                    return True
    return False


def check_rendering(png, root, renderer):
    width, height, pixel = read_png(png)
    check((width, height) == (int(root.get("width")), int(root.get("height"))),
          f"{png}: rendered {width} x {height}")
    lines = lines_of(root)
    frames = [(float(r.get("x")), float(r.get("y")), float(r.get("width")), float(r.get("height")))
              for r in root.iter(SVG + "rect") if r.get("fill") == "none"]
    # Every line along its length: where it lies clear of the frames and of
    # the lines drawn over it, the pixels have the line's colour.
    covered = set()

    def cover(points):
        for x, y in points:
            for dx in range(-5, 6):
                for dy in range(-5, 6):
                    covered.add((int(x) + dx, int(y) + dy))

    for x0, y0, w, h in frames:
        cover(along([[(x0, y0), (x0 + w, y0), (x0 + w, y0 + h), (x0, y0 + h), (x0, y0)]]))
    hidden = []
    for title, colour, dashed, subpaths in reversed(lines):
        points = along(subpaths)
        clear = [(x, y) for x, y in points if (int(x), int(y)) not in covered]
        cover(points)
        if not clear:
            # Wholly under lines drawn later (a bound that is the best
            # bound all along): those are checked in their turn.
            hidden.append(title)
            continue
        sample = clear[::max(1, len(clear) // 40)]
        seen = sum(1 for x, y in sample
                   if shows_colour(pixel, width, height, x, y, colour, 2 if dashed else 1))
        check(seen >= 0.8 * len(sample),
              f"{png} ({renderer}): {title!r} shows at {seen} of {len(sample)} places")
    check(len(hidden) <= 2, f"{png}: {hidden} lie wholly under other lines")
    # The value line is dashed: along its row, both ink and paper.
    value = next(subpaths[0] for title, _, _, subpaths in lines if title.startswith("value"))
    (x0, y), (x1, _) = value[0], value[1]
    row = int(y)
    ink = sum(1 for x in range(int(x0) + 1, int(x1) - 1)
              if min(max(pixel(x, r)) for r in (row - 1, row, row + 1)) < 110)
    share = ink / (x1 - x0 - 2)
    check(0.3 < share < 0.9, f"{png} ({renderer}): the value line is ink over {share:.2f} of its row")


def render(svg, png, renderer, scratch):
    root = etree.parse(svg).getroot()
    if renderer == "rsvg-convert":
        subprocess.run(["rsvg-convert", "-o", png, svg], check=True, timeout=60)
        return
    profile = tempfile.mkdtemp(dir=scratch)
    subprocess.run(["/usr/bin/chromium", "--headless", "--no-sandbox", "--disable-gpu",
                    "--disable-background-networking", "--disable-component-update",
                    "--disable-sync", "--no-first-run", "--hide-scrollbars",
                    f"--user-data-dir={profile}",
                    f"--window-size={root.get('width')},{root.get('height')}",
                    f"--screenshot={png}", "file://" + os.path.abspath(svg)],
                   check=True, timeout=120, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    shutil.rmtree(profile, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--keep")
    options = parser.parse_args()
    program = os.path.abspath(options.program)
    here = os.path.dirname(os.path.abspath(__file__))
    examples = sorted(glob.glob(os.path.join(here, "..", "..", "examples", "*.game")))
    scratch = tempfile.mkdtemp(prefix="br-pictures-")
    out = options.keep or scratch
    os.makedirs(out, exist_ok=True)
    try:
        pictures = []
        for game in examples:
            name = os.path.splitext(os.path.basename(game))[0]
            for n in (4, 99, 1000000):
                svg = os.path.join(out, f"{name}-{n}.svg")
                # Player 1 opens with strategy 1 in one game and with the
                # row of the largest entry in the others.
                answers = "Y\n1\n0\nq" if name == "worked" else "N\n0\nq"
                result = run_program(program, ["-n", str(n), "-o", svg, game], answers, out)
                check(result.returncode == ord("q"), f"{svg}: status {result.returncode}")
                pictures.append(svg)
        # Names typed as they come, escaped in the file; a game with a
        # saddle point, whose gap reaches 0 and lies on the panel's edge.
        svg = os.path.join(out, "names-and-saddle.svg")
        result = run_program(program, ["-n", "50", "-o", svg],
                             "<b>& O'Neil\xe9\n2 2\n1 2\n3 4\nN\n0\nq", out)
        check(result.returncode == ord("q"), f"{svg}: status {result.returncode}")
        root = check_file(svg, expect_title="<b>& against O'Neil\xe9: a 2 \xd7 2 game")
        gap = next(subpaths[0] for title, _, _, subpaths in lines_of(root)
                   if title.startswith("gap V^"))
        frame_bottom = max(float(r.get("y")) + float(r.get("height"))
                           for r in root.iter(SVG + "rect") if r.get("fill") == "none")
        check(gap[-1][1] == frame_bottom, f"{svg}: a gap of 0 at {gap[-1]}, not on {frame_bottom}")

        for svg in pictures:
            root = check_file(svg)
            for renderer in ("rsvg-convert", "chromium"):
                png = svg[:-4] + f"-{renderer}.png"
                render(svg, png, renderer, scratch)
                check_rendering(png, root, renderer)
            print(f"{os.path.basename(svg)}: {os.path.getsize(svg)} bytes, rendered and looked at")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    if failures:
        print(f"{len(failures)} checks failed", file=sys.stderr)
        return 1
    print("pictures: parsed, rendered by rsvg-convert and Chromium, every line seen")
    return 0


if __name__ == "__main__":
    sys.exit(main())
