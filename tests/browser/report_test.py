#!/usr/bin/python3
"""The page of a run (-o FILE.html) and its table (-o FILE.csv), read back.

Each game below is played once without a terminal, with the wide table and
the exact solution on the console (-w -x). The page must pass tidy; loaded by
Debian's headless Chromium (Selenium) from a loopback web server it may log
nothing nor request anything else, and its DOM must show the console's
numbers and the names as typed. Printed to A4 PDF, the picture must not be
cut, each page with table rows must carry the head, and the rows must be the
console's, whole. The CSV must be CR LF lines, the head and then the
console's rows, the estimates to six decimals.

Usage: report_test.py PROGRAM EXAMPLES-DIR [--screenshots DIR]
(--screenshots DIR leaves there a PNG of each whole page and its PDF.)
"""

import argparse
import base64
import csv
import http.server
import io
import json
import os
import re
import subprocess
import sys
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

FAILURES = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)
        print("FAIL: " + what, file=sys.stderr)
    return condition


def games(examples):
    """(name, player names, matrix, answers after the matrix: Y/N, start,
    iterations, rows)."""
    def matrix_of(name):
        words = open(os.path.join(examples, name + ".game")).read().split()
        rows, columns = int(words[2]), int(words[3])
        numbers = [int(w) for w in words[4:4 + rows * columns]]
        return words[0], words[1], [numbers[r * columns:(r + 1) * columns] for r in range(rows)]

    # The benchmark's largest hostile game: entries up to 10,000,000 in
    # magnitude, from the same generator.
    seed, hostile = 12345, []
    for _ in range(100):
        seed = (seed * 1103515245 + 12345) % 2147483648
        hostile.append(seed % 20000001 - 10000000)
    return [
        ("worked", *matrix_of("worked"), ["Y", "1", "4", "4"]),
        ("largest", "Rows", "Columns", matrix_of("largest")[2], ["N", "99", "99"]),
        ("hostile", "Max", "Min", [hostile[r * 10:(r + 1) * 10] for r in range(10)],
         ["N", "99", "99"]),
        # Names that look like markup and like CSV's quoting.
        ("names", "<b>&", 'a,"b\'', matrix_of("negative")[2], ["N", "7", "7"]),
    ]


def play(program, path, name, one, two, matrix, answers):
    """Runs the game; the console's wide table (head, rows), its mean price,
    value and tallies of the strategies, in the order shown."""
    game = "%s %s\n%d %d\n" % (one, two, len(matrix), len(matrix[0]))
    game += "".join(" ".join(str(x) for x in row) + "\n" for row in matrix)
    game += "\n".join(answers) + "\nq"
    run = subprocess.run(["setsid", "-w", program, "-w", "-x", "-o", path + ".html",
                          "-o", path + ".csv"],
                         input=game.encode("latin-1"), capture_output=True, timeout=60)
    check(run.returncode == ord("q"), "%s: status %d, %r" % (name, run.returncode, run.stderr))
    console = run.stdout.decode("latin-1")
    rows = [line.replace("|", " ").split() for line in console.split("\n")
            if re.match(r"^  \|", line) and not re.match(r"^[ |_]*$", line)]
    price = re.search(r"The mean price of the game is: (\S+) -> (-?\d+)", console).groups()
    value = re.search(r"The value of the game is: (\S+) = (\S+)", console).groups()
    strategies = [s.split() for s in re.findall(r"[S'XY]+\[[^\]]*\] = \((.*)\) ;", console)]
    return rows[0], rows[1:], price, value, [strategies[0:2], strategies[2:4]]


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    requested = []

    def log_message(self, format, *args):
        QuietHandler.requested.append(self.path)


def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ["--headless", "--no-sandbox", "--disable-gpu",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--no-first-run", "--user-data-dir=" + profile,
                 "--hide-scrollbars", "--window-size=1000,1200"]:
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    # Away from the browser's own start page, whose requests are not the
    # pages'.
    driver.get("about:blank")
    return driver


READ_PAGE = """
const cells = row => Array.from(row.cells, c => c.innerText.trim());
const rows = selector => Array.from(document.querySelectorAll(selector), cells);
return {
  title: document.querySelector('h1').textContent,
  bold: document.querySelectorAll('main b, header b').length,
  head: rows('table.iterations thead tr'),
  body: rows('table.iterations tbody tr'),
  matrix: rows('table.matrix:not(.reduced) tbody tr'),
  reduced: rows('table.reduced thead tr:last-child').concat(rows('table.reduced tbody tr')),
  strategies: Array.from(document.querySelectorAll('table.strategies'),
                         table => Array.from(table.tBodies[0].rows, cells)),
  text: document.body.innerText,
};
"""


def check_page(driver, url, name, one, two, matrix, head, rows, price, value, tallies):
    driver.get_log("performance")  # what came before this page
    driver.get(url)
    page = driver.execute_script(READ_PAGE)
    check(driver.get_log("browser") == [], "%s: the browser logged messages" % name)
    urls = [message["params"]["request"]["url"]
            for message in (json.loads(e["message"])["message"]
                            for e in driver.get_log("performance"))
            if message["method"] == "Network.requestWillBeSent"]
    check(urls == [url], "%s: requests other than the page: %s" % (name, urls))
    check(one in page["title"] and two in page["title"] and page["bold"] == 0,
          "%s: names not shown as typed: %r" % (name, page["title"]))
    numbers = [re.search(pattern, page["text"]) for pattern in
               [r"The mean price of the game: (\S+), as a whole number (-?\d+)\.",
                r"The value of the game: (\S+) = (\S+)\."]]
    for what, shown, wanted in [
            ("table head", page["head"], [head]), ("table", page["body"], rows),
            ("matrix", page["matrix"],
             [[str(i + 1)] + [str(x) for x in row] for i, row in enumerate(matrix)]),
            ("mean price and value", [n and n.groups() for n in numbers], [price, value]),
            ("strategies", [[[row[p].split(" = ")[0] for row in table if row[p]] for p in (1, 2)]
                            for table in page["strategies"]], tallies)]:
        check(shown == wanted, "%s: %s shows %.300s, not %.300s" % (name, what, shown, wanted))
    # The game reduced by dominance is the game's own entries, its rows and
    # columns named by their numbers in the game.
    if page["reduced"]:
        columns = [int(c) for c in page["reduced"][0]]
        rows_left = page["reduced"][1:]
        wanted = [[r[0]] + [str(matrix[int(r[0]) - 1][c - 1]) for c in columns] for r in rows_left]
        check(rows_left == wanted and len(columns) > 0,
              "%s: the reduced game shows %.300s, not %.300s" % (name, rows_left, wanted))


def check_print(driver, path, name, head, rows):
    printed = driver.execute_cdp_cmd("Page.printToPDF", {"preferCSSPageSize": True,
                                                         "printBackground": True})
    with open(path, "wb") as out:
        out.write(base64.b64decode(printed["data"]))
    info = subprocess.run(["pdfinfo", path], capture_output=True, text=True).stdout
    size = re.search(r"Page size:\s+([\d.]+) x ([\d.]+)", info).groups()
    check(abs(float(size[0]) - 595.3) < 1 and abs(float(size[1]) - 841.9) < 1,
          "%s: the page is not A4 portrait: %s" % (name, size))
    pages = [subprocess.run(["pdftotext", "-layout", "-f", str(p), "-l", str(p), path, "-"],
                            capture_output=True, text=True).stdout
             for p in range(1, int(re.search(r"Pages:\s+(\d+)", info).group(1)) + 1)]
    # What does not fit on page 1 (the picture, kept whole) does not leave
    # it half blank: its last words stand in the lowest third of the page.
    words = subprocess.run(["pdftotext", "-bbox", "-f", "1", "-l", "1", path, "-"],
                           capture_output=True, text=True).stdout
    lowest = max(float(y) for y in re.findall(r'yMax="([\d.]+)"', words))
    check(len(pages) == 1 or lowest > 0.65 * float(size[1]),
          "%s: page 1 ends at %.0f of %s points" % (name, lowest, size[1]))
    heading = [i for i, text in enumerate(pages) if "The run in a picture" in text]
    caption = [i for i, text in enumerate(pages) if "bounds on logarithmic axes." in text]
    check(len(heading) == 1 and heading == caption,
          "%s: the picture runs over pages %s to %s" % (name, heading, caption))
    table = []
    for number, text in enumerate(pages):
        lines = [line.split() for line in text.split("\n")]
        found = [line for line in lines if len(line) == len(head) and re.match(r"^\d+$", line[0])
                 and line[-1].replace(".", "").replace("-", "").isdigit()]
        check(not found or head in lines,
              "%s: page %d has rows but not the head" % (name, number + 1))
        table += found
    check(table == rows, "%s: the printed table differs from the console's (%d rows of %d)"
          % (name, len(table), len(rows)))


def check_csv(path, name, head, rows, iterations):
    data = open(path, "rb").read()
    lines = data.split(b"\r\n")
    check(lines[-1] == b"" and b"\n" not in b"".join(lines),
          "%s: a CSV line is not ended by CR LF" % name)
    table = list(csv.reader(io.StringIO(data.decode("ascii"), newline="")))
    check(table[0] == head and len(table) == iterations + 1,
          "%s: CSV head %s and %d lines" % (name, table[0], len(table)))
    for k, (ours, theirs) in enumerate(zip(table[1:], rows)):
        same = len(ours) == len(theirs) and ours[:-3] == theirs[:-3] and all(
            abs(float(a) - float(b)) <= 0.005 + 1e-9 for a, b in zip(ours[-3:], theirs[-3:]))
        if not check(same, "%s: CSV line %d %s, console %s" % (name, k + 1, ours, theirs)):
            break
        check(all(re.match(r"^\d+\.\d{6}$", v) for v in ours[-3:]),
              "%s: CSV estimates not to six decimals: %s" % (name, ours[-3:]))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("examples")
    parser.add_argument("--screenshots")
    arguments = parser.parse_args()
    program = os.path.abspath(arguments.program)
    played = games(arguments.examples)
    with tempfile.TemporaryDirectory(prefix="br-browser-") as folder:
        server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), lambda *args, **kw: QuietHandler(*args, directory=folder, **kw))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        driver = browser(os.path.join(folder, "profile"))
        try:
            for name, one, two, matrix, answers in played:
                path = os.path.join(folder, name)
                head, rows, price, value, tallies = play(program, path, name, one, two,
                                                         matrix, answers)
                tidy = subprocess.run(["tidy", "-e", "-q", path + ".html"],
                                      capture_output=True, text=True)
                check(tidy.returncode == 0 and tidy.stderr == "" and tidy.stdout == "",
                      "%s: tidy: %s" % (name, tidy.stderr))
                url = "http://127.0.0.1:%d/%s.html" % (server.server_port, name)
                check_page(driver, url, name, one, two, matrix, head, rows, price, value, tallies)
                check_print(driver, path + ".pdf", name, head, rows)
                check_csv(path + ".csv", name, head, rows, int(answers[-2]))
                if arguments.screenshots:
                    height = driver.execute_script("return document.documentElement.scrollHeight")
                    driver.set_window_size(1000, height + 200)
                    driver.save_screenshot(os.path.join(arguments.screenshots, name + ".png"))
                    driver.set_window_size(1000, 1200)
                    os.replace(path + ".pdf", os.path.join(arguments.screenshots, name + ".pdf"))
        finally:
            driver.quit()
            server.shutdown()
    requested = sorted(set(QuietHandler.requested))
    pages = sorted("/%s.html" % game[0] for game in played)
    check(requested == pages, "the server was asked for %s" % requested)
    if FAILURES:
        print("%d failures" % len(FAILURES), file=sys.stderr)
        return 1
    print("browser test: %d pages loaded, read back, printed and their CSV read" % len(pages))
    return 0


if __name__ == "__main__":
    sys.exit(main())
