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
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

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


def read_png(path):
    """8-bit RGB or RGBA, not interlaced (what both renderers write): the
    size and a function giving a pixel's colour over white paper."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    at, chunks = 8, {}
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        chunks[kind] = chunks.get(kind, b"") + data[at + 8:at + 8 + length]
        at += 12 + length
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[b"IHDR"])
    assert depth == 8 and colour in (2, 6) and interlace == 0, (depth, colour, interlace)
    n = 3 if colour == 2 else 4
    raw, stride = zlib.decompress(chunks[b"IDAT"]), width * n
    rows, previous = [], bytearray(stride)
    for y in range(height):
        at = y * (stride + 1)
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        for i in range(stride if kind else 0):
            a, b, c = line[i - n] if i >= n else 0, previous[i], previous[i - n] if i >= n else 0
            if kind == 4:  # Paeth: of a, b and c the nearest to a + b - c
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                a = a if pa <= pb and pa <= pc else b if pb <= pc else c
            line[i] = (line[i] + (0, a, b, (a + b) // 2, a)[kind]) & 255
        rows.append(line)
        previous = line

    def pixel(x, y):
        a = rows[y][x * n + 3] if n == 4 else 255
        return tuple((c * a + 255 * (255 - a)) // 255 for c in rows[y][x * n:x * n + 3])

    return width, height, pixel


def path_points(d):
    """The subpaths of a path made of M, L, H, V (absolute), h and v: a
    list of vertex lists."""
    subpaths, x, y = [], 0.0, 0.0
    for command, numbers in re.findall(r"([MLHVhv])([^MLHVhv]*)", d):
        values = [float(v) for v in numbers.replace(",", " ").split()]
        if command in "ML":
            x, y = values[0], values[1]
        elif command in "Hh":
            x = values[0] + (x if command == "h" else 0)
        elif command in "Vv":
            y = values[0] + (y if command == "v" else 0)
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
            count = max(1, int(((x1 - x0) ** 2 + (y1 - y0) ** 2) ** 0.5 / step))
            points += [(x0 + (x1 - x0) * i / count, y0 + (y1 - y0) * i / count)
                       for i in range(1, count + 1)]
    return points


def lines_of(root):
    """The drawn lines, in drawing order: (title, colour, dashed, subpaths)."""
    return [(path.find(SVG + "title").text,
             tuple(int(path.get("stroke")[i:i + 2], 16) for i in (1, 3, 5)),
             path.get("stroke-dasharray"), path_points(path.get("d")))
            for path in root.iter(SVG + "path") if path.find(SVG + "title") is not None]


def line_named(root, name):
    return next(subpaths[0] for title, _, _, subpaths in lines_of(root) if title.startswith(name))


def frames_of(root):
    return [tuple(float(r.get(k)) for k in ("x", "y", "width", "height"))
            for r in root.iter(SVG + "rect") if r.get("fill") == "none"]


def check_file(path, title=None):
    """Parses the file and checks what it must hold; returns its root."""
    size = os.path.getsize(path)
    check(size < SIZE_LIMIT, f"{path}: {size} bytes, not under {SIZE_LIMIT}")
    root = etree.parse(path, etree.XMLParser(resolve_entities=False, no_network=True)).getroot()
    check(root.tag == SVG + "svg", f"{path}: the root is {root.tag}")
    width, height = root.get("width"), root.get("height")
    check(width is not None and height is not None and
          root.get("viewBox") == f"0 0 {width} {height}", f"{path}: width, height and viewBox")
    for element in root.iter():
        tag = element.tag if isinstance(element.tag, str) else ""
        check(not tag.endswith(("script", "foreignObject", "image")), f"{path}: a {tag} element")
        for name, value in element.attrib.items():
            check(not name.startswith("on") and "href" not in name and "url(" not in value,
                  f"{path}: attribute {name}={value}")
    names = [title for title, _, _, _ in lines_of(root)]
    for name in LINE_NAMES:
        check(sum(1 for t in names if t.startswith(name)) == 1,
              f"{path}: one line titled {name!r} in {names}")
    fonts = {text.get("font-family") for text in root.iter(SVG + "text")} - {None}
    group = root.find(SVG + "g")
    check(fonts <= {"sans-serif", "serif", "monospace"} and group is not None and
          group.get("font-family") == "sans-serif", f"{path}: fonts {fonts} not generic families")
    if title is not None:
        texts = ["".join(t.itertext()) for t in root.iter(SVG + "text")]
        check(title in texts, f"{path}: no text {title!r} in {texts[:2]}")
    return root


def render(svg, root, renderer, scratch):
    """The picture rendered to PNG beside it by rsvg-convert or headless
    Chromium; returns the PNG's path."""
    png = svg[:-4] + f"-{renderer}.png"
    if renderer == "rsvg-convert":
        command = ["rsvg-convert", "-o", png, svg]
    else:
        command = ["/usr/bin/chromium", "--headless", "--no-sandbox", "--disable-gpu",
                   "--disable-background-networking", "--disable-component-update",
                   "--disable-sync", "--no-first-run", "--hide-scrollbars",
                   f"--user-data-dir={tempfile.mkdtemp(dir=scratch)}",
                   f"--window-size={root.get('width')},{root.get('height')}",
                   f"--screenshot={png}", "file://" + os.path.abspath(svg)]
    subprocess.run(command, check=True, timeout=120, stdout=subprocess.DEVNULL,
                   stderr=None if renderer == "rsvg-convert" else subprocess.DEVNULL)
    return png


def check_rendering(svg, root, renderer, scratch):
    png = render(svg, root, renderer, scratch)
    width, height, pixel = read_png(png)

    def shows(x, y, colour, radius):
        """Whether a pixel near (x, y) is the colour, or close to it."""
        near = 0.45 * sum((c - 255) ** 2 for c in colour) ** 0.5
        return any(sum((p - c) ** 2 for p, c in zip(pixel(px, py), colour)) ** 0.5 < near
                   for px in range(int(x) - radius, int(x) + radius + 1) if 0 <= px < width
                   for py in range(int(y) - radius, int(y) + radius + 1) if 0 <= py < height)

    # Every line along its length: where it lies clear of the frames and of
    # the lines drawn over it, the pixels have the line's colour.
    covered = set()

    def cover(points):
        covered.update((int(x) + dx, int(y) + dy) for x, y in points
                       for dx in range(-5, 6) for dy in range(-5, 6))

    for x0, y0, w, h in frames_of(root):
        cover(along([[(x0, y0), (x0 + w, y0), (x0 + w, y0 + h), (x0, y0 + h), (x0, y0)]]))
    hidden = []
    for title, colour, dashed, subpaths in reversed(lines_of(root)):
        points = along(subpaths)
        clear = [(x, y) for x, y in points if (int(x), int(y)) not in covered]
        cover(points)
        if not clear:
            # Wholly under lines drawn later (a bound that is the best
            # bound all along): those are checked in their turn.
            hidden.append(title)
            continue
        sample = clear[::max(1, len(clear) // 40)]
        seen = sum(1 for x, y in sample if shows(x, y, colour, 2 if dashed else 1))
        check(seen >= 0.8 * len(sample),
              f"{png} ({renderer}): {title!r} shows at {seen} of {len(sample)} places")
    check(len(hidden) <= 2, f"{png}: {hidden} lie wholly under other lines")
    # The value line is dashed: along its row, both ink and paper.
    (x0, y), (x1, _) = line_named(root, "value")[:2]
    ink = sum(1 for x in range(int(x0) + 1, int(x1) - 1)
              if min(max(pixel(x, r)) for r in (int(y) - 1, int(y), int(y) + 1)) < 110)
    share = ink / (x1 - x0 - 2)
    check(0.3 < share < 0.9, f"{png} ({renderer}): the value line is ink over {share:.2f} of its row")


TEXT_BOXES = """
return [...document.querySelectorAll('text')].map((t) => {
  const r = t.getBoundingClientRect();
  return [t.textContent, r.left, r.top, r.right, r.bottom];
});
"""


def check_text_layout(driver, svg, root):
    """As Chromium lays the texts out: each one whole on the canvas, and no
    two drawn over each other (a tick label over an axis' name)."""
    driver.get("file://" + os.path.abspath(svg))
    boxes = driver.execute_script(TEXT_BOXES)
    width, height = float(root.get("width")), float(root.get("height"))
    for text, left, top, right, bottom in boxes:
        check(left >= 0 and top >= 0 and right <= width and bottom <= height,
              f"{svg}: {text!r} at {left:.0f}..{right:.0f}, {top:.0f}..{bottom:.0f} "
              f"leaves the {width:.0f} by {height:.0f} canvas")
    for i, (a, *box_a) in enumerate(boxes):
        for b, *box_b in boxes[i + 1:]:
            apart = (box_a[2] <= box_b[0] + 0.5 or box_b[2] <= box_a[0] + 0.5 or
                     box_a[3] <= box_b[1] + 0.5 or box_b[3] <= box_a[1] + 0.5)
            check(apart, f"{svg}: {a!r} {box_a} and {b!r} {box_b} overlap")


def text_browser(scratch):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ["--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--no-first-run", "--window-size=1600,900",
                 "--user-data-dir=" + tempfile.mkdtemp(dir=scratch)]:
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--keep")
    options = parser.parse_args()
    program = os.path.abspath(options.program)
    here = os.path.dirname(os.path.abspath(__file__))
    # (file, arguments, what is typed, the title it must show). Player 1
    # opens with strategy 1 in the worked game and with the row of the
    # largest entry in the others.
    runs = [(f"{name}-{n}.svg", ["-n", str(n), game],
             "Y\n1\n0\nq" if name == "worked" else "N\n0\nq", None)
            for game in sorted(glob.glob(os.path.join(here, "..", "..", "examples", "*.game")))
            for name in [os.path.splitext(os.path.basename(game))[0]]
            for n in (4, 99, 1000000)]
    # Names typed as they come, escaped in the file; a game with a saddle
    # point, whose gap reaches 0 and lies on the panel's edge.
    runs.append(("names-and-saddle.svg", ["-n", "50"], "<b>& O'Neil\xe9\n2 2\n1 2\n3 4\nN\n0\nq",
                 "\u2068<b>&\u2069 against \u2068O'Neil\xe9\u2069: a 2 \xd7 2 game"))
    # A right-to-left override in a name ends with the name: the words
    # after it keep their order. (Typed in a UTF-8 locale, see below.)
    runs.append(("override.svg", ["-n", "20"], "\u202eevil Bob\n2 2\n1 2\n3 4\nN\n0\nq",
                 "\u2068\u202eevil\u2069 against \u2068Bob\u2069: a 2 \xd7 2 game"))
    # Entries of eight digits: the payoff axis' labels are as long as they
    # get, and must still fit left of the plot.
    runs += [(f"ten-million-{n}.svg", ["-n", str(n)],
              "Max Min\n2 3\n10000000 -10000000 3\n-10000000 10000000 -9999999\nN\n0\nq", None)
             for n in (7, 1000)]
    scratch = tempfile.mkdtemp(prefix="br-pictures-")
    out = os.path.abspath(options.keep or scratch)
    os.makedirs(out, exist_ok=True)
    driver = text_browser(scratch)
    try:
        for svg, arguments, answers, title in runs:
            svg = os.path.join(out, svg)
            # setsid: no controlling terminal, so the final key comes from
            # the answers as well.
            utf8 = "\u202e" in answers
            result = subprocess.run(["setsid", "-w", program, "-o", svg] + arguments,
                                    input=answers.encode("utf-8" if utf8 else "latin-1"),
                                    capture_output=True, cwd=out, timeout=120,
                                    env=dict(os.environ, LANG="C.UTF-8") if utf8 else None)
            check(result.returncode == ord("q"), f"{svg}: status {result.returncode}")
            root = check_file(svg, title)
            check_text_layout(driver, svg, root)
            if title is None:
                for renderer in ("rsvg-convert", "chromium"):
                    check_rendering(svg, root, renderer, scratch)
            else:
                # Every line lies on the value's: nothing to tell apart in pixels.
                gap = line_named(root, "gap V^")
                bottom = max(y + h for _, y, _, h in frames_of(root))
                check(gap[-1][1] == bottom, f"{svg}: a gap of 0 at {gap[-1]}, not on {bottom}")
    finally:
        driver.quit()
        shutil.rmtree(scratch, ignore_errors=True)
    if failures:
        print(f"{len(failures)} checks failed", file=sys.stderr)
        return 1
    print("pictures: parsed, rendered by rsvg-convert and Chromium, every line seen")
    return 0


if __name__ == "__main__":
    sys.exit(main())
