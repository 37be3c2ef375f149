#!/usr/bin/python3
"""The page of a run (-o FILE.html) and its table (-o FILE.csv), read back.

For each game below the program is run once without a terminal with the
wide table and the exact solution on the console (-w -x) and both files
asked for. Then:

- the page must be valid HTML5 to tidy, with no warning;
- Debian's headless Chromium, driven by Selenium, loads it from a web
  server on the loopback interface started here: the browser may log no
  console message and request nothing but the page itself;
- read back from the page's DOM, the table of iterations equals the
  console's wide table cell for cell, the matrix equals the game as typed,
  and the mean price, the tallies and the exact value equal the console's;
  the players' names read back as typed, whatever markup they look like;
- the page printed to PDF by Chromium (A4, as its style asks): the
  picture's heading and the end of its caption are on one page, so the
  picture between them is not cut; every page that holds table rows has
  the table's head; the rows printed are the console's rows, all of them
  whole (a column cut off at the page's edge would lose its numbers);
- the CSV read back with the csv module has the head line and then one
  line per iteration, each ended by CR LF, and its first rows are the
  console's rows with the estimates to six decimals.

With --screenshots DIR a PNG of each whole page and its PDF are left there.

Usage: report_test.py PROGRAM EXAMPLES-DIR [--screenshots DIR]
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


def hostile_game():
    """The benchmark's largest hostile game: entries up to 10,000,000 in
    magnitude, from the same generator."""
    seed = 12345
    entries = []
    for _ in range(100):
        seed = (seed * 1103515245 + 12345) % 2147483648
        entries.append(seed % 20000001 - 10000000)
    return [entries[r * 10:(r + 1) * 10] for r in range(10)]


def read_matrix(path):
    words = open(path).read().split()
    rows, columns = int(words[2]), int(words[3])
    numbers = [int(w) for w in words[4:4 + rows * columns]]
    return words[0], words[1], [numbers[r * columns:(r + 1) * columns] for r in range(rows)]


# name, player names, matrix, answers after the matrix (Y/N, start,
# iterations, rows)
def games(examples):
    one, two, worked = read_matrix(os.path.join(examples, "worked.game"))
    _, _, largest = read_matrix(os.path.join(examples, "largest.game"))
    _, _, negative = read_matrix(os.path.join(examples, "negative.game"))
    return [
        ("worked", one, two, worked, ["Y", "1", "4", "4"]),
        ("largest", "Rows", "Columns", largest, ["N", "99", "99"]),
        ("hostile", "Max", "Min", hostile_game(), ["N", "99", "99"]),
        # Names that look like markup and like CSV's quoting.
        ("names", "<b>&", 'a,"b\'', negative, ["N", "7", "7"]),
    ]


def play(program, folder, name, one, two, matrix, answers):
    game = "%s %s\n%d %d\n" % (one, two, len(matrix), len(matrix[0]))
    game += "".join(" ".join(str(x) for x in row) + "\n" for row in matrix)
    game += "\n".join(answers) + "\nq"
    page = os.path.join(folder, name + ".html")
    table = os.path.join(folder, name + ".csv")
    run = subprocess.run(["setsid", "-w", program, "-w", "-x", "-o", page, "-o", table],
                         input=game.encode("latin-1"), capture_output=True, timeout=60)
    check(run.returncode == ord("q"), "%s: status %d, %r" % (name, run.returncode, run.stderr))
    return run.stdout.decode("latin-1"), page, table


def console_table(console):
    """The wide table's head and rows, each a list of its entries."""
    lines = [line for line in console.split("\n")
             if re.match(r"^  \|", line) and not re.match(r"^[ |_]*$", line)]
    rows = [line.replace("|", " ").split() for line in lines]
    return rows[0], rows[1:]


def console_numbers(console):
    price = re.search(r"The mean price of the game is: (\S+) -> (-?\d+)", console).groups()
    value = re.search(r"The value of the game is: (\S+) = (\S+)", console).groups()
    # The played and the optimal mixed strategies, in the order shown.
    strategies = [s.split() for s in re.findall(r"[S'XY]+\[[^\]]*\] = \((.*)\) ;", console)]
    return price, value, [strategies[0:2], strategies[2:4]]


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    requested = []

    def log_message(self, format, *args):
        QuietHandler.requested.append(self.path)


def serve(folder):
    handler = lambda *args, **kw: QuietHandler(*args, directory=folder, **kw)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


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
  matrix: rows('table.matrix tbody tr'),
  strategies: Array.from(document.querySelectorAll('table.strategies'),
                         table => Array.from(table.tBodies[0].rows, cells)),
  text: document.body.innerText,
};
"""


def requests_made(driver):
    urls = []
    for entry in driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message["method"] == "Network.requestWillBeSent":
            urls.append(message["params"]["request"]["url"])
    return urls


def check_page(driver, url, name, one, two, matrix, console):
    head, rows = console_table(console)
    (price, whole), (value, decimals), tallies = console_numbers(console)
    driver.get_log("performance")  # what came before this page
    driver.get(url)
    page = driver.execute_script(READ_PAGE)
    check(driver.get_log("browser") == [], "%s: the browser logged messages" % name)
    urls = requests_made(driver)
    check(urls == [url], "%s: requests other than the page: %s" % (name, urls))
    check(page["head"] == [head], "%s: table head %s" % (name, page["head"]))
    check(page["body"] == rows, "%s: the table differs from the console's" % name)
    typed = [[str(i + 1)] + [str(x) for x in row] for i, row in enumerate(matrix)]
    check(page["matrix"] == typed, "%s: matrix %s" % (name, page["matrix"]))
    check(one in page["title"] and two in page["title"] and page["bold"] == 0,
          "%s: names not shown as typed: %r" % (name, page["title"]))
    shown = re.search(r"The mean price of the game: (\S+), as a whole number (-?\d+)\.",
                      page["text"])
    check(shown is not None and shown.groups() == (price, whole),
          "%s: mean price %s" % (name, shown and shown.groups()))
    shown = re.search(r"The value of the game: (\S+) = (\S+)\.", page["text"])
    check(shown is not None and shown.groups() == (value, decimals),
          "%s: value %s" % (name, shown and shown.groups()))
    shown = [[[row[p].split(" = ")[0] for row in table if row[p]] for p in (1, 2)]
             for table in page["strategies"]]
    check(shown == tallies, "%s: strategies %s against %s" % (name, shown, tallies))
    return rows


def pdf_pages(driver, folder, name):
    printed = driver.execute_cdp_cmd("Page.printToPDF", {"preferCSSPageSize": True,
                                                         "printBackground": True})
    path = os.path.join(folder, name + ".pdf")
    with open(path, "wb") as out:
        out.write(base64.b64decode(printed["data"]))
    info = subprocess.run(["pdfinfo", path], capture_output=True, text=True).stdout
    count = int(re.search(r"Pages:\s+(\d+)", info).group(1))
    size = re.search(r"Page size:\s+([\d.]+) x ([\d.]+)", info).groups()
    check(abs(float(size[0]) - 595.3) < 1 and abs(float(size[1]) - 841.9) < 1,
          "%s: the page is not A4 portrait: %s" % (name, size))
    return [subprocess.run(["pdftotext", "-layout", "-f", str(p), "-l", str(p), path, "-"],
                           capture_output=True, text=True).stdout for p in range(1, count + 1)]


def check_print(driver, folder, name, head, rows):
    pages = pdf_pages(driver, folder, name)
    heading = [i for i, text in enumerate(pages) if "The run in a picture" in text]
    caption = [i for i, text in enumerate(pages) if "bounds on logarithmic axes." in text]
    check(len(heading) == 1 and heading == caption,
          "%s: the picture runs over pages %s to %s" % (name, heading, caption))
    printed = []
    for number, text in enumerate(pages):
        lines = [line.split() for line in text.split("\n")]
        found = [line for line in lines if len(line) == len(head) and re.match(r"^\d+$", line[0])
                 and line[-1].replace(".", "").replace("-", "").isdigit()]
        if found:
            check(head in lines, "%s: page %d has rows but not the head" % (name, number + 1))
        printed += found
    check(printed == rows, "%s: the printed table differs from the console's (%d rows of %d)"
          % (name, len(printed), len(rows)))


def check_csv(path, name, head, rows, iterations):
    data = open(path, "rb").read()
    lines = data.split(b"\r\n")
    check(lines[-1] == b"" and b"\n" not in b"".join(lines),
          "%s: a CSV line is not ended by CR LF" % name)
    table = list(csv.reader(io.StringIO(data.decode("ascii"), newline="")))
    check(table[0] == head, "%s: CSV head %s" % (name, table[0]))
    check(len(table) == iterations + 1, "%s: %d CSV lines" % (name, len(table)))
    for k, (ours, theirs) in enumerate(zip(table[1:], rows)):
        if not check(len(ours) == len(theirs), "%s: CSV line %d is short" % (name, k + 1)):
            break
        same = ours[:-3] == theirs[:-3] and all(
            abs(float(a) - float(b)) <= 0.005 + 1e-9 for a, b in zip(ours[-3:], theirs[-3:]))
        if not check(same, "%s: CSV line %d %s, console %s" % (name, k + 1, ours, theirs)):
            break
        check(all(re.match(r"^\d+\.\d{6}$", v) for v in ours[-3:]),
              "%s: CSV estimates not to six decimals: %s" % (name, ours[-3:]))


def check_tidy(path, name):
    tidy = subprocess.run(["tidy", "-e", "-q", path], capture_output=True, text=True)
    check(tidy.returncode == 0 and tidy.stderr == "" and tidy.stdout == "",
          "%s: tidy: %s" % (name, tidy.stderr))


def screenshot(driver, directory, name):
    height = driver.execute_script("return document.documentElement.scrollHeight")
    driver.set_window_size(1000, height + 200)
    driver.save_screenshot(os.path.join(directory, name + ".png"))
    driver.set_window_size(1000, 1200)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("examples")
    parser.add_argument("--screenshots")
    arguments = parser.parse_args()
    program = os.path.abspath(arguments.program)
    with tempfile.TemporaryDirectory(prefix="br-browser-") as folder:
        server = serve(folder)
        driver = browser(os.path.join(folder, "profile"))
        try:
            for name, one, two, matrix, answers in games(arguments.examples):
                console, page, table = play(program, folder, name, one, two, matrix, answers)
                head, rows = console_table(console)
                check_tidy(page, name)
                url = "http://127.0.0.1:%d/%s.html" % (server.server_port, name)
                check_page(driver, url, name, one, two, matrix, console)
                check_print(driver, folder, name, head, rows)
                check_csv(table, name, head, rows, int(answers[-2]))
                if arguments.screenshots:
                    screenshot(driver, arguments.screenshots, name)
                    os.replace(os.path.join(folder, name + ".pdf"),
                               os.path.join(arguments.screenshots, name + ".pdf"))
        finally:
            driver.quit()
            server.shutdown()
        requested = sorted(set(QuietHandler.requested))
        pages = sorted("/%s.html" % g[0] for g in games(arguments.examples))
        check(requested == pages, "the server was asked for %s" % requested)
    if FAILURES:
        print("%d failures" % len(FAILURES), file=sys.stderr)
        return 1
    print("browser test: %d pages loaded, read back, printed and their CSV read" % len(pages))
    return 0


if __name__ == "__main__":
    sys.exit(main())
