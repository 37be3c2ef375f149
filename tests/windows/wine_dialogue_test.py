#!/usr/bin/env python3
"""The Windows program under wine, played the way a person plays it.

Every game is played twice, with the same answers and keys: by the Windows
program under wine and by the Linux program, each on a pseudo-terminal of
its own, and the two must give the same result:

- at the console: the screens must be the same. Wine draws its console on
  the terminal with escape sequences of its own (it moves the cursor over
  blanks instead of writing them, for one), so both transcripts are drawn
  on a small model of a terminal, and the screens are compared line by
  line without trailing blanks.
- with standard output sent to a file (the keys still come from the
  console): the files must be the same byte for byte, once the Windows
  line ends are turned into plain newlines.
- without any console, answers and keys from a file (the first game only,
  since keys without a character cannot be typed there): the same; and
  with standard output on a full device, the same message on standard
  error and status 1.

The exit status of every other run must be the code of the final key.

A run in Russian or Ukrainian (LANGUAGE) must write its translated texts
at the console as the Linux program writes them, take names typed in
Cyrillic as the same UTF-8, and leave the console in its code page.

Usage: wine_dialogue_test.py --exe brown-robinson.exe --linux brown-robinson
WINEPREFIX must name a prefix that is booted and whose wine server runs.
"""

import argparse
import difflib
import fcntl
import os
import pty
import select
import shutil
import signal
import struct
import sys
import tempfile
import termios
import time

# Wine on a busy machine can take seconds to show anything.
STEP_TIMEOUT = 30.0
ROWS, COLUMNS = 50, 132

# ---- A small terminal -------------------------------------------------------


class UnknownSequence(Exception):
    pass


class Screen:
    """A terminal of COLUMNS columns that never forgets a line: what scrolls
    off the top stays, so that the whole dialogue can be compared. Knows the
    control codes and escape sequences that wine and a cooked terminal send;
    any other escape sequence is an error, so that nothing is overlooked."""

    def __init__(self):
        self.lines = [[]]
        self.row = 0
        self.column = 0
        self.top = 0  # the buffer line shown in the window's first row
        self.saved = (0, 0)

    def text(self):
        lines = ["".join(line).rstrip() for line in self.lines]
        while lines and lines[-1] == "":
            lines.pop()
        return "\n".join(lines)

    def feed(self, text):
        i = 0
        while i < len(text):
            c = text[i]
            if c == "\x1b":
                i = self._escape(text, i)
                continue
            if c == "\r":
                self.column = 0
            elif c == "\n":
                self._down(1)
            elif c == "\b":
                self.column = max(0, self.column - 1)
            elif c == "\t":
                self.column = min(COLUMNS - 1, (self.column // 8 + 1) * 8)
            elif c == "\x07":
                pass
            elif ord(c) < 0x20:
                raise UnknownSequence("control code %r" % c)
            else:
                self._put(c)
            i += 1

    def _line(self):
        while len(self.lines) <= self.row:
            self.lines.append([])
        line = self.lines[self.row]
        while len(line) < self.column:
            line.append(" ")
        return line

    def _put(self, c):
        line = self._line()
        if self.column < len(line):
            line[self.column] = c
        else:
            line.append(c)
        self.column += 1

    def _down(self, count):
        self.row += count
        self._line()
        if self.row >= self.top + ROWS:
            self.top = self.row - ROWS + 1

    # A sequence cut off at the end of what has arrived so far is left
    # for later: its remaining bytes are still on their way.
    def _escape(self, text, i):
        if i + 1 >= len(text):
            return len(text)
        kind = text[i + 1]
        if kind == "[":
            return self._csi(text, i + 2)
        if kind == "]":  # OSC, e.g. the window title: up to BEL or ST
            end = i + 2
            while end < len(text) and text[end] != "\x07" and text[end:end + 2] != "\x1b\\":
                end += 1
            return end + (1 if end < len(text) and text[end] == "\x07" else 2)
        if kind == "7":
            self.saved = (self.row, self.column)
            return i + 2
        if kind == "8":
            self.row, self.column = self.saved
            return i + 2
        if kind in "=>":
            return i + 2
        if kind in "()":
            return i + 3
        raise UnknownSequence(repr(text[i:i + 2]))

    def _csi(self, text, i):
        start = i
        while i < len(text) and "\x30" <= text[i] <= "\x3f":
            i += 1
        parameters = text[start:i]
        while i < len(text) and "\x20" <= text[i] <= "\x2f":
            i += 1
        if i >= len(text):
            return i
        final = text[i]
        private = parameters.startswith("?")
        numbers = [int(p) if p.isdigit() else 0 for p in parameters.lstrip("?").split(";")]
        n = max(1, numbers[0])
        if private and final in "hlsr":
            pass  # cursor shown or hidden, and the like; such a mode saved or restored
        elif final == "m":
            pass  # colours
        elif final == "C":
            self.column += n
        elif final == "D":
            self.column = max(0, self.column - n)
        elif final == "A":
            self.row = max(self.top, self.row - n)
        elif final == "B":
            self._down(n)
        elif final == "G":
            self.column = n - 1
        elif final in "Hf":
            row = numbers[0] if numbers[0] > 0 else 1
            column = numbers[1] if len(numbers) > 1 and numbers[1] > 0 else 1
            self.row = self.top + row - 1
            self.column = column - 1
            self._line()
        elif final == "K":
            line = self._line()
            mode = numbers[0]
            if mode == 0:
                del line[self.column:]
            elif mode == 1:
                line[:self.column + 1] = [" "] * min(len(line), self.column + 1)
            else:
                del line[:]
        elif final == "J":
            mode = numbers[0]
            if mode == 0:
                del self._line()[self.column:]
                del self.lines[self.row + 1:]
            elif mode == 2:
                for row in range(self.top, len(self.lines)):
                    self.lines[row] = []
            else:
                raise UnknownSequence("CSI %sJ" % parameters)
        elif final == "X":
            line = self._line()
            for column in range(self.column, min(len(line), self.column + n)):
                line[column] = " "
        else:
            raise UnknownSequence("CSI %r %s" % (parameters, final))
        return i + 1


def visible(text):
    """The text with control codes spelled out, for messages."""
    out = []
    for c in text:
        if c == "\n":
            out.append("\n")
        elif ord(c) < 0x20 or ord(c) == 0x7F:
            out.append("<%02X>" % ord(c))
        else:
            out.append(c)
    return "".join(out)


# ---- The two programs ----------------------------------------------------------


def wine_command(exe):
    wine = shutil.which("wine64") or "/usr/lib/wine/wine64"
    return [wine, exe]


def environment(program):
    windows = program.windows
    env = {
        "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
        "HOME": os.environ.get("HOME", "/tmp"),
        "TERM": "xterm",
        # Wine writes its console in the terminal's character set; the
        # Linux program, in a locale that is not UTF-8, echoes a high code
        # as its byte, which is what the console's code page shows.
        "LC_ALL": "C.UTF-8" if windows else "C",
    }
    if windows:
        env["WINEPREFIX"] = os.environ["WINEPREFIX"]
        env["WINEDEBUG"] = "-all"
    env.update(program.extra)
    return env


class Program:
    """One of the two programs, and how to read what it writes to the
    terminal: wine writes UTF-8; the Linux program writes the bytes of the
    dialogue as they are, shown here as the Windows console shows them
    (code page 437, where the lead code 0xE0 is an alpha)."""

    def __init__(self, name, command, windows, extra=None):
        self.name = name
        self.command = command
        self.windows = windows
        self.extra = extra or {}  # more environment, such as a language

    def utf8(self):
        return self.windows or self.extra.get("LC_ALL", "").endswith("UTF-8")

    def decode(self, data):
        return data.decode("utf-8", "replace") if self.utf8() else data.decode("cp437")

    def speaking(self, language, arguments=()):
        """The same program with arguments, in a language (None: as
        started by default); the Linux program needs a UTF-8 locale for
        any translation, as the console of a translated Windows run has."""
        extra = {}
        if language is not None:
            extra["LANGUAGE"] = language
            if not self.windows:
                extra["LC_ALL"] = "en_US.UTF-8"  # C.UTF-8 is of no language
        return Program(self.name, self.command + list(arguments), self.windows, extra)


class Failure(Exception):
    pass


class Session:
    """The program on a new pseudo-terminal, in the mode a fresh terminal
    window starts in. Standard output may go to a file instead."""

    def __init__(self, program, output_path=None):
        self.program = program
        self.transcript = b""
        self.status = None
        self.pid, self.master = pty.fork()
        if self.pid == 0:
            try:
                if output_path is not None:
                    fd = os.open(output_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
                    os.dup2(fd, 1)
                    os.close(fd)
                os.execve(program.command[0], program.command, environment(program))
            finally:
                os._exit(127)
        fcntl.ioctl(self.master, termios.TIOCSWINSZ, struct.pack("HHHH", ROWS, COLUMNS, 0, 0))

    def screen(self):
        screen = Screen()
        screen.feed(self.program.decode(self.transcript))
        return screen.text()

    def _read(self, timeout):
        ready, _, _ = select.select([self.master], [], [], max(0.0, timeout))
        if not ready:
            return True
        try:
            data = os.read(self.master, 65536)
        except OSError:  # EIO: every slave side is closed
            return False
        self.transcript += data
        return bool(data)

    def _wait(self, done, what, timeout=STEP_TIMEOUT):
        deadline = time.monotonic() + timeout
        while not done():
            left = deadline - time.monotonic()
            if left <= 0:
                raise Failure("%s: no %s within %.0f s; the screen so far:\n%s"
                              % (self.program.name, what, timeout, visible(self.screen())))
            if not self._read(min(left, 0.05)) and not done():
                raise Failure("%s: the terminal closed while waiting for %s; the screen:\n%s"
                              % (self.program.name, what, visible(self.screen())))

    def is_raw(self):
        return not termios.tcgetattr(self.master)[3] & termios.ICANON

    def wait_raw(self):
        self._wait(self.is_raw, "key read (raw terminal)")

    def wait_for_text(self, text, occurrences):
        self._wait(lambda: self.screen().count(text) >= occurrences,
                   "%r (time %d)" % (text, occurrences))

    def wait_for_screen(self, text):
        self._wait(lambda: self.screen() == text, "screen %r" % visible(text))

    def type(self, data):
        os.write(self.master, data)

    def wait_exit(self, timeout=STEP_TIMEOUT):
        deadline = time.monotonic() + timeout
        while True:
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid == self.pid:
                self.status = status
                self._drain()
                return
            if time.monotonic() > deadline:
                self.kill()
                raise Failure("%s: did not end within %.0f s; the screen:\n%s"
                              % (self.program.name, timeout, visible(self.screen())))
            self._read(0.05)

    # What is still on its way once the program has ended.
    def _drain(self):
        while select.select([self.master], [], [], 0.2)[0]:
            try:
                data = os.read(self.master, 65536)
            except OSError:
                return
            if not data:
                return
            self.transcript += data

    def kill(self):
        if self.status is None:
            try:
                os.kill(self.pid, signal.SIGKILL)
                _, self.status = os.waitpid(self.pid, 0)
            except ChildProcessError:
                pass

    def close(self):
        self.kill()
        os.close(self.master)


def describe(status):
    if os.WIFEXITED(status):
        return "exit status %d" % os.WEXITSTATUS(status)
    return "killed by signal %d" % os.WTERMSIG(status)


# ---- Games -------------------------------------------------------------------

KEY_PROMPT = "Press 'Y' or  'N' :"
TABLE_LINE = "|_____|___|_________________|___|________________|________|"


class Step:
    """An answer: a line typed and ended with Enter, or one key press.
    `waits_for` is the end of the prompt that is on the screen before it
    is given, `codes` how many key codes the key press makes and `echo`
    what the program shows for them, one text for each code; `wine_echo`,
    where the Windows program under wine shows something else."""

    def __init__(self, waits_for, data, key=False, codes=1, echo="", occurrences=None, wine_echo=None):
        self.waits_for = waits_for
        self.data = data
        self.key = key
        self.codes = codes
        self.echo_parts = echo if isinstance(echo, tuple) else (echo,)
        self.wine_parts = wine_echo if isinstance(wine_echo, tuple) else (wine_echo,) * len(self.echo_parts)
        self.echo = "".join(self.echo_parts)
        self.occurrences = occurrences

    def echo_of(self, windows):
        if not windows:
            return self.echo
        return "".join(e if w is None else w for e, w in zip(self.echo_parts, self.wine_parts))


def line(waits_for, text):
    return Step(waits_for, text.encode() + b"\r", echo=text + "\n")


def key(waits_for, data, echo, codes=1, occurrences=None, wine_echo=None):
    return Step(waits_for, data, key=True, codes=codes, echo=echo, occurrences=occurrences,
                wine_echo=wine_echo)


def entries(values, columns):
    return [line("GM[%d][%d]=" % (i // columns + 1, i % columns + 1), v) for i, v in enumerate(values)]


def names_and_sizes(one, two, rows, columns):
    return [
        line("Enter the name of player 1:", one),
        line("Enter the name of player 2 :", two),
        line("(not more than 10) :", str(rows)),
        line("(not more than 10 ) :", str(columns)),
    ]


ITERATIONS_PROMPT = "(please less than  100 !!!             )  :"


def rows_prompt(n):
    return "(remember - the number of all itterations is %d ) :" % n


class Game:
    def __init__(self, name, steps, status, expected_lines=(), scripted_input=None):
        self.name = name
        self.steps = steps
        self.status = status
        self.expected_lines = expected_lines  # must be on the screen, as a check of the reference
        self.scripted_input = scripted_input  # the same answers for a run without a console


GAMES = [
    # The worked example: start with strategy 1, 4 iterations, all 4 rows.
    Game(
        "worked 3 by 3 game",
        names_and_sizes("Alice", "Bob", 3, 3)
        + entries(["5", "0", "7", "2", "5", "0", "6", "1", "8"], 3)
        + [
            key(KEY_PROMPT, b"Y", "Y"),
            line("Enter the strategy number:", "1"),
            line(ITERATIONS_PROMPT, "4"),
            line(rows_prompt(4), "4"),
            key(TABLE_LINE, b"e", "", occurrences=2),
        ],
        status=ord("e"),
        expected_lines=[
            " The mean price of the game is: 3.052083 -> 3",
            " S'[Alice] = (  1/4   3/4   0/4   ) ;",
            " S'[Bob] = (  0/4   2/4   2/4   ) ;",
            "  |  1  | 1 |    5    0    7  | 2 |    0    5    1 |  2.50  |",
            "  |  2  | 2 |    7    5    7  | 2 |    0   10    2 |  3.75  |",
            "  |  3  | 2 |    9   10    7  | 3 |    7   10   10 |  2.83  |",
            "  |  4  | 2 |   11   15    7  | 3 |   14   10   18 |  3.13  |",
        ],
        scripted_input=b"Alice\nBob\n3\n3\n5 0 7\n2 5 0\n6 1 8\nY\n1\n4\n4\ne\n",
    ),
    # Keys without a character at the Y/N question: each gives two codes,
    # each code a wrong answer of its own; then N starts automatically.
    # Wine makes the cursor keys' events from the terminal's sequences
    # without ENHANCED_KEY, as the keypad's keys come with Num Lock off,
    # and these lead with 0; the grey keys of a real console lead with
    # 0xE0. A Windows console shows the codes from 0x80 up as characters
    # of its code page (437 here: 0x86 is a ring a, 0x8D an i grave), a
    # terminal shows 0x80-0x9F in caret form.
    Game(
        "keys without a character, then N",
        names_and_sizes("Ann", "Bob", 2, 2)
        + entries(["2", "-3", "-1", "4"], 2)
        + [
            key(KEY_PROMPT, b"\x1b[A", ("\u03b1", "H"), codes=2, wine_echo=("^@", None)),      # Up: 0xE0 72
            key(KEY_PROMPT, b"\x1b[24~", ("\u03b1", "M-^F"), codes=2, wine_echo=(None, "\u00e5")),  # F12: 0xE0 134
            key(KEY_PROMPT, b"\x1b[1;5A", ("\u03b1", "M-^M"), codes=2, wine_echo=("^@", "\u00ec")),  # Ctrl+Up
            key(KEY_PROMPT, b"\x1b[6~", ("\u03b1", "Q"), codes=2, wine_echo=("^@", None)),     # Page Down: 0xE0 81
            key(KEY_PROMPT, b"\x1b[F", ("\u03b1", "O"), codes=2, wine_echo=("^@", None)),      # End: 0xE0 79
            key(KEY_PROMPT, b"\xc3\xa9", "\u251c\u2310", wine_echo="\u00e9"),         # e acute: one key
            key(KEY_PROMPT, b"\x1bOP", "^@;", codes=2),                 # F1: 0 59
            key(KEY_PROMPT, b"\x1ba", "^@^^", codes=2),                 # Alt+A: 0 30
            key(KEY_PROMPT, b"\x1b[Z", "^@^O", codes=2),                # Shift+Tab: 0 15
            key(KEY_PROMPT, b"x", "x"),
            key(KEY_PROMPT, b"N", "N"),
            line(ITERATIONS_PROMPT, "10"),
            line(rows_prompt(10), "3"),
            key(TABLE_LINE, b"0", "", occurrences=2),
        ],
        status=ord("0"),
    ),
    # Shift+F6 gives 0 and then 'Y': a wrong answer and then Yes. The
    # final key is F11, whose first code 0xE0 is the exit status.
    Game(
        "Shift+F6 as Yes",
        names_and_sizes("Pat", "Quinn", 2, 3)
        + entries(["1", "4", "0", "3", "-2", "5"], 3)
        + [
            key(KEY_PROMPT, b"\x1b[17;2~", "^@Y", codes=2),
            line("Enter the strategy number:", "2"),
            line(ITERATIONS_PROMPT, "5"),
            line(rows_prompt(5), "7"),
            key(TABLE_LINE, b"\x1b[23~", "", occurrences=2),
        ],
        status=0xE0,
    ),
]


def play(program, game, output_path=None):
    """Plays the game; returns the screen, the exit status and, when
    standard output went to a file, the file's bytes."""
    session = Session(program, output_path)
    try:
        to_console = output_path is None
        seen = {}
        echo = ""
        if program.windows:
            # Until wine has put the terminal in raw mode, what is typed
            # is taken as a cooked line.
            session.wait_raw()
        for step in game.steps:
            if to_console:
                count = step.occurrences or seen.get(step.waits_for, 0) + 1
                session.wait_for_text(step.waits_for, count)
                seen[step.waits_for] = count + (step.codes - 1 if step.key else 0)
            else:
                # Nothing but the echo is on the screen.
                session.wait_for_screen(echo.rstrip("\n").rstrip())
            if step.key:
                session.wait_raw()
            session.type(step.data)
            echo += step.echo_of(program.windows)
        session.wait_exit()
        output = None
        if output_path is not None:
            with open(output_path, "rb") as f:
                output = f.read()
        return session.screen(), session.status, output
    finally:
        session.close()


def run_without_console(program, data, directory, output_path=None, arguments=()):
    """The program in a session of its own with no terminal: answers and
    keys from a file, standard output to a file of the directory or to the
    device given. Returns the exit status, standard output (None when it
    went to a device) and standard error."""
    input_path = os.path.join(directory, "input")
    to_file = output_path is None
    if to_file:
        output_path = os.path.join(directory, program.name + "-no-console")
    error_path = os.path.join(directory, program.name + "-errors")
    with open(input_path, "wb") as f:
        f.write(data)
    pid = os.fork()
    if pid == 0:
        try:
            os.setsid()
            fd = os.open(input_path, os.O_RDONLY)
            os.dup2(fd, 0)
            fd = os.open(output_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
            os.dup2(fd, 1)
            fd = os.open(error_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
            os.dup2(fd, 2)
            command = program.command + list(arguments)
            os.execve(command[0], command, environment(program))
        finally:
            os._exit(127)
    deadline = time.monotonic() + STEP_TIMEOUT
    while True:
        done, status = os.waitpid(pid, os.WNOHANG)
        if done == pid:
            break
        if time.monotonic() > deadline:
            os.kill(pid, signal.SIGKILL)
            os.waitpid(pid, 0)
            raise Failure("%s without a console: did not end within %.0f s" % (program.name, STEP_TIMEOUT))
        time.sleep(0.05)
    with open(error_path, "rb") as f:
        errors = f.read()
    if not to_file:
        return status, None, errors
    with open(output_path, "rb") as f:
        return status, f.read(), errors


# ---- Checks --------------------------------------------------------------------


class Checks:
    def __init__(self):
        self.failures = 0

    def check(self, name, ok, details=""):
        print("%s  %s" % ("ok  " if ok else "FAIL", name), flush=True)
        if not ok:
            self.failures += 1
            if details:
                print(details, flush=True)

    def same_text(self, name, expected, actual, expected_name, actual_name):
        diff = "\n".join(difflib.unified_diff(
            visible(expected).split("\n"), visible(actual).split("\n"),
            expected_name, actual_name, lineterm=""))
        self.check(name, expected == actual, diff)

    def status(self, name, status, code):
        self.check("%s: ends with status %d" % (name, code),
                   os.WIFEXITED(status) and os.WEXITSTATUS(status) == code,
                   "    " + describe(status))


def crlf_to_lf(data):
    return data.replace(b"\r\n", b"\n")


def as_wine_shows_it(screen, game):
    """The Linux program's screen with each echo that wine shows otherwise
    put as wine shows it, in the order of the game."""
    at = 0
    for step in game.steps:
        for echo, wine_echo in zip(step.echo_parts, step.wine_parts):
            if wine_echo is None:
                continue
            found = screen.find(echo, at)
            if found < 0:
                raise Failure("the Linux screen lacks the echo %r" % echo)
            screen = screen[:found] + wine_echo + screen[found + len(echo):]
            at = found + len(wine_echo)
    return screen


def check_game(checks, game, windows, linux, directory):
    title = game.name
    # At the console.
    linux_screen, linux_status, _ = play(linux, game)
    wine_screen, wine_status, _ = play(windows, game)
    for expected_line in game.expected_lines:
        checks.check("%s: the Linux program shows %r" % (title, expected_line.strip()),
                     expected_line in linux_screen.split("\n"))
    checks.same_text("%s: the console shows what the Linux terminal shows" % title,
                     as_wine_shows_it(linux_screen, game), wine_screen, "linux", "wine")
    checks.status("%s at the console, Linux" % title, linux_status, game.status)
    checks.status("%s at the console, wine" % title, wine_status, game.status)

    # Standard output in a file, the keys from the console.
    linux_path = os.path.join(directory, "linux-output")
    wine_path = os.path.join(directory, "wine-output")
    linux_echo, linux_status, linux_output = play(linux, game, linux_path)
    wine_echo, wine_status, wine_output = play(windows, game, wine_path)
    checks.check("%s: output to a file has Windows line ends" % title,
                 b"\r\n" in wine_output and b"\n" not in wine_output.replace(b"\r\n", b""))
    checks.same_text("%s: output to a file, byte for byte" % title,
                     linux_output.decode("cp437"), crlf_to_lf(wine_output).decode("cp437"),
                     "linux", "wine")
    checks.same_text("%s: with output to a file the console shows only the echo" % title,
                     as_wine_shows_it(linux_echo, game), wine_echo, "linux", "wine")
    checks.status("%s with output to a file, Linux" % title, linux_status, game.status)
    checks.status("%s with output to a file, wine" % title, wine_status, game.status)

    # No console at all.
    if game.scripted_input is not None:
        linux_status, linux_output, _ = run_without_console(linux, game.scripted_input, directory)
        wine_status, wine_output, _ = run_without_console(windows, game.scripted_input, directory)
        checks.same_text("%s without a console, byte for byte" % title,
                         linux_output.decode("cp437"), crlf_to_lf(wine_output).decode("cp437"),
                         "linux", "wine")
        checks.status("%s without a console, Linux" % title, linux_status, game.status)
        checks.status("%s without a console, wine" % title, wine_status, game.status)

        # Standard output on a full device: the run fails with status 1
        # and says why on standard error.
        if os.path.exists("/dev/full"):
            linux_status, _, linux_errors = run_without_console(linux, game.scripted_input, directory, "/dev/full")
            wine_status, _, wine_errors = run_without_console(windows, game.scripted_input, directory, "/dev/full")
            checks.check("%s on a full device: Linux reports the failed write" % title,
                         b"cannot write to standard output" in linux_errors, "    %r" % linux_errors)
            checks.same_text("%s on a full device: the same message" % title,
                             linux_errors.decode("cp437"), crlf_to_lf(wine_errors).decode("cp437"),
                             "linux", "wine")
            checks.status("%s on a full device, Linux" % title, linux_status, 1)
            checks.status("%s on a full device, wine" % title, wine_status, 1)


def check_command_line(checks, windows, linux, directory):
    """Options and a game file give the same runs on both systems."""
    game_file = os.path.join(directory, "worked.game")
    with open(game_file, "wb") as f:
        f.write(b"Alice Bob\n3 3\n5 0 7\n2 5 0\n6 1 8\n")
    picture = os.path.join(directory, "run.svg")
    cases = [
        ("--version", ["--version"], b"", 0, b"brown-robinson 1.4.0\r\n"),
        ("a game file, then standard input", [game_file], b"Y\n1\n4\n4\nq", ord("q"),
         b" The mean price of the game is: 3.052083 -> 3 "),
        ("an unknown option", ["--bogus"], b"", 2, b""),
        ("-n and -o", ["-x", "-n", "100000", "-o", picture, game_file], b"Y\n1\n3\nq", ord("q"),
         b" After 100000 iterations the frequencies of Alice win at least 333327/100000"),
        ("an output file of no known format", ["-o", os.path.join(directory, "run.txt")], b"", 2,
         b""),
        ("-e and --steps", ["-e", "0.1", "--steps", "-x", game_file], b"Y\n1\n3\nq", ord("q"),
         b" The accuracy 0.1 was reached after 36 iterations"),
        ("a wrong accuracy", ["--accuracy=0"], b"", 2, b""),
    ]
    for title, arguments, data, code, shown in cases:
        runs = []
        files = []
        for program in (linux, windows):
            # An existing file is replaced whole (on Windows rename would
            # refuse to replace it).
            with open(picture, "wb") as f:
                f.write(b"old")
            runs.append(run_without_console(program, data, directory, arguments=arguments))
            with open(picture, "rb") as f:
                files.append(f.read())
        if picture in arguments:
            checks.check("%s: the file replaced" % title, files[0] != b"old" and files[1] != b"old")
            checks.check("%s: the same file written" % title, files[0] == files[1])
            checks.check("%s: no temporary file left" % title,
                         sorted(n for n in os.listdir(directory) if n.startswith("run.svg")) == ["run.svg"])
        (linux_status, linux_output, linux_errors), (wine_status, wine_output, wine_errors) = runs
        checks.same_text("%s: the same output" % title, linux_output.decode("cp437"),
                         crlf_to_lf(wine_output).decode("cp437"), "linux", "wine")
        checks.same_text("%s: the same errors" % title, linux_errors.decode("cp437"),
                         crlf_to_lf(wine_errors).decode("cp437"), "linux", "wine")
        checks.status("%s, Linux" % title, linux_status, code)
        checks.status("%s, wine" % title, wine_status, code)
        checks.check("%s: wine shows %r" % (title, shown), shown in wine_output)


ENGLISH_HINT = "Try 'brown-robinson --help' for more information."


def last_line(text):
    lines = [line.rstrip() for line in text.replace("\r\n", "\n").split("\n") if line.strip()]
    return lines[-1] if lines else ""


def check_languages(checks, windows, linux, directory):
    """A usage error in each language: at the console wine shows the last
    line the Linux program writes, so the console was switched to UTF-8
    for a translated run; without a console the bytes are the same."""
    for language in (None, "ru", "uk"):
        title = "an unknown option in %s" % (language or "the default language")
        linux_status, _, linux_errors = run_without_console(
            linux.speaking(language), b"", directory, arguments=["--bogus"])
        wine_status, _, wine_errors = run_without_console(
            windows.speaking(language), b"", directory, arguments=["--bogus"])
        expected = last_line(linux_errors.decode("utf-8"))
        translated = language is not None
        checks.check("%s: Linux writes %s hint" % (title, "a translated" if translated else "the English"),
                     (expected != ENGLISH_HINT and any(ord(c) > 0x3FF for c in expected))
                     if translated else expected == ENGLISH_HINT, "    %r" % expected)
        checks.check("%s: the same bytes without a console" % title,
                     crlf_to_lf(wine_errors) == linux_errors,
                     "    %r\n    %r" % (linux_errors, wine_errors))
        checks.status("%s, wine" % title, wine_status, 2)
        session = Session(windows.speaking(language, ["--bogus"]))
        try:
            session.wait_exit()
            shown = last_line(session.screen())
        finally:
            session.close()
        checks.check("%s: the console shows %r" % (title, expected), shown == expected,
                     "    shown: %r" % shown)


def check_code_page_given_back(checks, windows, linux, directory):
    """The console's code page before a translated run is the one after
    it, as cmd's chcp reports them around the run."""
    exe = "Z:" + windows.command[-1].replace("/", "\\")
    shell = Program("wine", windows.command[:-1] + ["cmd", "/c", "chcp & %s --bogus & chcp" % exe],
                    True, {"LANGUAGE": "ru"})
    session = Session(shell)
    try:
        session.wait_exit()
        pages = [line for line in session.screen().split("\n") if "code page" in line]
    finally:
        session.close()
    checks.check("a Russian run gives the console its code page back",
                 len(pages) == 2 and pages[0] == pages[1] and "65001" not in pages[0],
                 "    %r" % pages)


def check_cyrillic_names(checks, windows, linux, directory):
    """Names typed in Cyrillic at the console of a Russian run reach the
    output as the UTF-8 the Linux program writes for them."""
    steps = names_and_sizes("Алиса", "Борис", 2, 2) + entries(["3", "-1", "0", "2"], 2) + [
        key(KEY_PROMPT, b"N", "N"),
        line(ITERATIONS_PROMPT, "5"),
        line(rows_prompt(5), "2"),
        key(TABLE_LINE, b"q", "", occurrences=2),
    ]
    game = Game("Cyrillic names", steps, status=ord("q"))
    outputs = []
    for program in (linux.speaking("ru"), windows.speaking("ru")):
        path = os.path.join(directory, program.name + "-cyrillic")
        _, status, output = play(program, game, path)
        checks.status("Cyrillic names, %s" % program.name, status, game.status)
        outputs.append(crlf_to_lf(output))
    checks.check("Cyrillic names: the names are in the output",
                 "S'[Алиса]".encode() in outputs[0], "    %r" % outputs[0][-400:])
    checks.same_text("Cyrillic names: output to a file, byte for byte",
                     outputs[0].decode("utf-8", "replace"), outputs[1].decode("utf-8", "replace"),
                     "linux", "wine")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--exe", required=True, help="the Windows program")
    parser.add_argument("--linux", required=True, help="the Linux program")
    args = parser.parse_args()
    if "WINEPREFIX" not in os.environ:
        sys.exit("WINEPREFIX must name a booted wine prefix")
    windows = Program("wine", wine_command(os.path.abspath(args.exe)), windows=True)
    linux = Program("linux", [os.path.abspath(args.linux)], windows=False)

    checks = Checks()
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="win-dialogue-") as directory:
        for game in GAMES:
            try:
                check_game(checks, game, windows, linux, directory)
            except (Failure, UnknownSequence) as failure:
                checks.check(game.name, False, "    %s" % failure)
        try:
            check_command_line(checks, windows, linux, directory)
        except Failure as failure:
            checks.check("the command line", False, "    %s" % failure)
        for check in (check_languages, check_cyrillic_names, check_code_page_given_back):
            try:
                check(checks, windows, linux, directory)
            except (Failure, UnknownSequence) as failure:
                checks.check(check.__name__, False, "    %s" % failure)
    print("%s: %d failure(s), %.1f s" % (os.path.basename(sys.argv[0]), checks.failures,
                                         time.monotonic() - started))
    return 1 if checks.failures else 0


if __name__ == "__main__":
    sys.exit(main())
