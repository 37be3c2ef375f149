#!/usr/bin/env python3
"""The program's key reads in real terminal emulators.

An X server of its own (Xvfb) and in it, one after the other: xterm and
rxvt-unicode with their default resources, and tmux inside xterm, all in a
UTF-8 locale. Keys are pressed through the X server's test extension
(xdotool key, once the terminal's window has the input focus: xterm ignores
key events that another client sends to its window).

In each terminal a shell script (bash) runs these, one after another:

- the key probe (key_probe FILE, built from the console library), with
  every key of the terminal's table (keys_TERMINAL.txt) pressed in turn: the
  codes it reads for each key must be those of the table. Ctrl+D ends it.
- the key probe again, ended while it waits for a key by SIGINT (what
  Ctrl+C sends, when it is not itself a key), by SIGTERM, and stopped by
  SIGTSTP, then continued by the shell's fg and ended by Ctrl+D; in xterm
  all of that once more with the terminal's metaSendsEscape set beforehand.
- the program itself, its answers from a named pipe written to here step
  by step, its output to a file (which must hold none of the sequences
  meant for the terminal) and its keys from the terminal: the Y/N question
  answered by a key press after a key that is not an answer, and the final
  key as its exit status; Ctrl+C at a line read; Ctrl+Z at a line read,
  then fg, and the final key.

After every run the terminal's mode (stty -g) and its metaSendsEscape
setting (where the terminal reports it: CSI ? 1036 $ p) must be what they
were before it, and so they must be while the program is stopped.

Xvfb and every terminal are ended by the process ids started here, however
the suite ends, and every wait has a time limit. The files of the last
run stay in BUILD_DIR/terminal-tests.

Usage: terminal_test.py --build BUILD_DIR [--only TERMINAL]
"""

import argparse
import os
import re
import select
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import termios
import time

HERE = os.path.dirname(os.path.abspath(__file__))

SUITE_SECONDS = 170  # the whole suite, terminals started and ended included
STEP_SECONDS = 15  # one step: a terminal starting, a run ending
KEY_SECONDS = 3  # the codes of one key (tmux holds a lone Esc for 0.5 s)
# After the key probe or the program has gone into raw mode, the time for
# the terminal to take the sequences written right after (metaSendsEscape).
SETTLE_SECONDS = 0.05

LOCALE = "C.UTF-8"
GAME = "Ann Bob\n3 3\n5 0 7\n2 5 0\n6 1 8\n"
MEAN_PRICE = "The mean price of the game is: 3.052083 -> 3"
KEY_QUESTION = "Press 'Y' or  'N'"


class Failure(Exception):
    pass


class OutOfTime(Exception):
    """The whole suite's time is up: nothing more is tried."""


# ---- The terminals ------------------------------------------------------------


# How each terminal starts a command in a window of the given title.
def xterm(title, command, sockets):
    return ["xterm", "-title", title, "-e"] + command


def urxvt(title, command, sockets):
    return ["urxvt", "-title", title, "-e"] + command


def tmux_in_xterm(title, command, sockets):
    # No configuration file, UTF-8 whatever tmux makes of the locale, and a
    # server of its own, with its socket in a folder of a short path (a
    # socket's path has a small limit).
    tmux = ["tmux", "-u", "-f", "/dev/null", "-S", os.path.join(sockets, "tmux"), "new-session",
            " ".join(shlex.quote(part) for part in command)]
    return xterm(title, tmux, sockets)


# name, its table, how to start it, whether it reports metaSendsEscape and
# knows the mode (xterm; rxvt-unicode answers the query with 0, "not
# recognised"; tmux does not answer), and a key that is not a Y/N answer.
TERMINALS = [
    {"name": "xterm", "start": xterm, "answers": True, "knows_mode": True, "wrong_key": "alt+q"},
    {"name": "rxvt-unicode", "start": urxvt, "answers": True, "knows_mode": False,
     "wrong_key": "alt+q"},
    {"name": "tmux", "start": tmux_in_xterm, "answers": False, "knows_mode": False,
     "wrong_key": "F1"},
]


def read_table(path):
    """Lines of "xdotool key names   codes | codes ..."; # starts a comment."""
    table = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].rstrip()
            if not line:
                continue
            match = re.match(r"^(\S+(?: \S+)*)\s{2,}(\d+(?: \d+)?(?: \| \d+(?: \d+)?)*)$", line)
            if not match:
                raise Failure("%s:%d: not a key and its codes: %r" % (path, number, line))
            table.append((match.group(1).split(), [c.strip() for c in match.group(2).split("|")]))
    return table


# ---- The script in the terminal -------------------------------------------------

# The runs in each terminal, in order: the name (which also tells the
# driver what to do), what runs (the key probe or the program), whether the
# shell runs it as a job of its own (to be stopped and continued by fg), and
# whether the terminal's metaSendsEscape is set before it (only where the
# terminal knows the mode).
RUNS = [
    ("keys", "probe", False, False),
    ("sigint", "probe", False, False),
    ("sigterm", "probe", False, False),
    ("sigtstp", "probe", True, False),
    ("on-normal", "probe", False, True),
    ("on-sigint", "probe", False, True),
    ("on-sigterm", "probe", False, True),
    ("on-sigtstp", "probe", True, True),
    ("answer", "program", False, False),
    ("ctrl-c", "program", False, False),
    ("ctrl-z", "program", True, False),
]


def runs_in(terminal):
    return [run for run in RUNS if terminal["knows_mode"] or not run[3]]


SCRIPT_START = r"""#!/bin/bash
# Runs in the terminal under test; see terminal_test.py. Arguments: the
# work folder, the key probe, the program, and whether to ask the terminal
# for its metaSendsEscape setting.
trap : INT  # Ctrl+C ends the run in the foreground, not this script
cd "$1" || exit 1
probe=$2
program=$3
query=$4

# The terminal's mode and its metaSendsEscape setting (1 set, 2 reset, 0
# unknown to the terminal), as one line in the file $1.
state() {
  local mode reply=none
  mode=$(stty -g)
  if [ "$query" = yes ]; then
    stty raw -echo
    printf '\033[?1036$p'
    IFS= read -r -d y -t 5 reply || reply=none
    stty "$mode"
    reply=${reply##*;}
    reply=${reply%\$}
  fi
  printf '%s %s\n' "$mode" "$reply" >"$1.tmp" && mv "$1.tmp" "$1"
}

# Runs the probe or the program as NAME; a stopped run is looked at, then
# continued. Its state and then its exit status are left in files.
run() {
  local name=$1 status
  if [ "$2" = probe ]; then
    "$probe" "$name.codes"
  else
    "$program" <"$name.fifo" >"$name.out" 2>"$name.err"
  fi
  status=$?
  if [ "$status" -eq 148 ]; then
    state "$name.stopped"
    fg
    status=$?
  fi
  state "$name.state"
  echo "$status" >"$name.status.tmp" && mv "$name.status.tmp" "$name.status"
}

echo "$(tty) ${TMUX:-}" >info.tmp && mv info.tmp info
state before
"""


def script_text(terminal):
    lines = [SCRIPT_START]
    mode_on = False
    for name, what, as_job, with_mode_on in runs_in(terminal):
        if with_mode_on != mode_on:
            mode_on = with_mode_on
            lines.append("printf '\\033[?1036h'\nstate before-on\n" if mode_on
                         else "printf '\\033[?1036l'\n")
        lines.append(("set -m; run %s %s; set +m\n" if as_job else "run %s %s\n") % (name, what))
    return "".join(lines)


# ---- One terminal ------------------------------------------------------------


class Session:
    def __init__(self, terminal, work, sockets, environment, probe, program):
        self.terminal = terminal
        self.work = work
        self.sockets = sockets
        self.environment = environment
        self.probe = probe
        self.program = program
        self.failures = []
        self.keys_checked = 0
        self.process = None
        self.tmux_server = None
        self.tty = None
        self.fifos = {}

    def path(self, name):
        return os.path.join(self.work, name)

    def fail(self, text):
        self.failures.append(text)

    # -- Waiting, always with a deadline

    def wait_for(self, what, ready, seconds=STEP_SECONDS, interval=0.003):
        deadline = time.monotonic() + seconds
        while True:
            result = ready()
            if result:
                return result
            if self.process.poll() is not None:
                raise Failure("the terminal ended while waiting for %s (see %s)"
                              % (what, self.path("terminal.log")))
            if time.monotonic() > deadline:
                raise Failure("no %s within %g s" % (what, seconds))
            time.sleep(interval)

    def file_text(self, name):
        try:
            with open(self.path(name), encoding="utf-8", errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return None

    def wait_file(self, name):
        return self.wait_for(name, lambda: self.file_text(name))

    def raw(self):
        return not termios.tcgetattr(self.tty)[3] & termios.ICANON

    def wait_raw(self):
        self.wait_for("key read", self.raw)
        time.sleep(SETTLE_SECONDS)

    def wait_cooked(self):
        self.wait_for("line read", lambda: not self.raw())

    def lines(self, name):
        return (self.file_text(name) or "").splitlines()

    # -- Keys

    def press(self, keys):
        subprocess.run(["xdotool", "key"] + keys, env=self.environment, check=True,
                       timeout=STEP_SECONDS, stdout=subprocess.DEVNULL)

    # -- Starting and ending

    def start(self):
        script = self.path("in_terminal.sh")
        with open(script, "w") as f:
            f.write(script_text(self.terminal))
        for name in (run[0] for run in RUNS if run[1] == "program"):
            os.mkfifo(self.path(name + ".fifo"))
            # Read and write: opening it never waits, and the program's reads
            # wait for what is written here later.
            self.fifos[name] = os.open(self.path(name + ".fifo"), os.O_RDWR)
            os.write(self.fifos[name], GAME.encode())
        query = "yes" if self.terminal["answers"] else "no"
        # Every signal at its default, as an interactive shell leaves them to
        # its jobs: rxvt-unicode starts its command with the stop signals
        # ignored, which a script cannot undo.
        command = ["env", "--default-signal", "bash", script, self.work, self.probe,
                   self.program, query]
        title = "terminal-test-" + self.terminal["name"]
        command = self.terminal["start"](title, command, self.sockets)
        with open(self.path("terminal.log"), "w") as log:
            self.process = subprocess.Popen(command, env=self.environment, cwd=self.work,
                                            stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        info = self.wait_file("info").split()
        self.tty = os.open(info[0], os.O_RDONLY | os.O_NOCTTY | os.O_NONBLOCK)
        if len(info) > 1:  # $TMUX: socket,server pid,session
            self.tmux_server = int(info[1].split(",")[1])
        found = subprocess.run(["xdotool", "search", "--sync", "--name", "^%s$" % title],
                               env=self.environment, capture_output=True, text=True,
                               timeout=STEP_SECONDS, check=True)
        window = found.stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window], env=self.environment,
                       timeout=STEP_SECONDS, check=True)

    def stop(self):
        for fd in list(self.fifos.values()) + ([self.tty] if self.tty is not None else []):
            os.close(fd)
        self.fifos = {}
        self.tty = None
        if self.process is not None:
            end_process(self.process)
        if self.tmux_server is not None:
            try:
                os.kill(self.tmux_server, signal.SIGTERM)
            except ProcessLookupError:
                pass

    # -- The checks of a run

    def check_state(self, run, name, base):
        got = self.wait_file(name).split()
        want = self.file_text(base).split()
        if got[0] != want[0]:
            self.fail("%s: the terminal's mode is %s, was %s" % (run, got[0], want[0]))
        if got[1] != want[1]:
            self.fail("%s: metaSendsEscape is %s, was %s" % (run, got[1], want[1]))

    def check_end(self, run, status, base):
        got = int(self.wait_file(run + ".status"))
        if got != status:
            self.fail("%s: exit status %d, expected %d" % (run, got, status))
        self.check_state(run, run + ".state", base)

    def wait_ready(self, run):
        line = self.wait_for(run + " probe", lambda: self.lines(run + ".codes"))[0]
        return int(line.split()[1])

    def check_key(self, run, keys, expected, seen, label=None):
        """Presses keys and compares the codes read; returns the lines seen."""
        codes = run + ".codes"
        run = label or run
        self.wait_raw()
        early = self.lines(codes)[seen:]
        if early:
            self.fail("%s: codes read before %s was pressed: %s" % (run, " ".join(keys), early))
            seen += len(early)
        self.press(keys)
        try:
            self.wait_for("codes of " + " ".join(keys),
                          lambda: len(self.lines(codes)) >= seen + len(expected), KEY_SECONDS)
        except Failure:
            pass
        got = self.lines(codes)[seen:]
        self.keys_checked += 1
        if got != expected:
            self.fail("%s: %s read as %s, expected %s" % (run, " ".join(keys), got, expected))
        return seen + len(got)

    # -- The runs

    def probe_run(self, run, base, table):
        pid = self.wait_ready(run)
        seen = 1
        kind = run.split("-")[-1]
        if kind in ("keys", "normal"):
            for keys, expected in table:
                seen = self.check_key(run, keys, expected, seen)
            self.wait_raw()
            self.press(["ctrl+d"])
            self.check_end(run, 0, base)
            late = self.lines(run + ".codes")[seen:]
            if late:
                self.fail("%s: codes read after the last key: %s" % (run, late))
        elif kind in ("sigint", "sigterm"):
            number = signal.SIGINT if kind == "sigint" else signal.SIGTERM
            self.wait_raw()
            os.kill(pid, number)
            self.check_end(run, 128 + number, base)
        else:  # stopped, looked at, continued by fg, then a key and Ctrl+D
            self.wait_raw()
            os.kill(pid, signal.SIGTSTP)
            self.check_state(run + " while stopped", run + ".stopped", base)
            keys, expected = table[0]
            self.check_key(run, keys, expected, seen, run + " after fg")
            self.wait_raw()
            self.press(["ctrl+d"])
            self.check_end(run, 0, base)

    def program_run(self, run, base):
        fifo = self.fifos[run]
        wrong = self.terminal["wrong_key"]
        if run == "answer":
            # A key without a character is two wrong answers; then Y.
            self.wait_raw()
            self.press([wrong])
            # Its second code is taken at once, without a read of the
            # terminal, so there is no change of mode to wait for.
            time.sleep(0.3)
            self.wait_raw()
            self.press(["y"])
            self.wait_cooked()
            os.write(fifo, b"1\n4\n4\n")
            self.wait_raw()
            self.press(["q"])
            self.check_end(run, ord("q"), base)
            output = self.file_text(run + ".out")
            if output.count(KEY_QUESTION) != 3:
                self.fail("%s: the Y/N question was asked %d times, expected 3 (%s read as two "
                          "wrong answers)" % (run, output.count(KEY_QUESTION), wrong))
            if MEAN_PRICE not in output:
                self.fail("%s: the output lacks %r" % (run, MEAN_PRICE))
            if "\x1b" in output:
                self.fail("%s: escape sequences in standard output: %r"
                          % (run, output[output.index("\x1b"):][:20]))
        elif run == "ctrl-c":
            self.wait_raw()
            self.press(["n"])
            self.wait_cooked()
            self.press(["ctrl+c"])
            self.check_end(run, 128 + signal.SIGINT, base)
        else:  # Ctrl+Z at the line read after the key, fg, and the final key
            self.wait_raw()
            self.press(["N"])
            self.wait_cooked()
            self.press(["ctrl+z"])
            self.check_state(run + " while stopped", run + ".stopped", base)
            os.write(fifo, b"4\n4\n")
            self.wait_raw()
            self.press(["eacute"])
            self.check_end(run, 233, base)

    def run_all(self):
        table = read_table(os.path.join(HERE, "keys_%s.txt" % self.terminal["name"]))
        alt_q = [row for row in table if row[0] == ["alt+q"]] or table[:1]
        for name, what, _, with_mode_on in runs_in(self.terminal):
            base = "before-on" if with_mode_on else "before"
            if what == "program":
                self.program_run(name, base)
            else:
                self.probe_run(name, base, table if name == "keys" else alt_q)
        mode = self.file_text("before").split()[1]
        if self.terminal["knows_mode"] and mode != "2":
            self.fail("metaSendsEscape was %s at the start, expected 2 (reset, xterm's default)"
                      % mode)
        self.process.wait(timeout=STEP_SECONDS)


def end_process(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(timeout=5)


def start_x_server(log_path):
    """Xvfb on a free display; returns the process and the display name."""
    reader, writer = os.pipe()
    with open(log_path, "w") as log:
        server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(writer), "-nolisten", "tcp", "-noreset",
             "-screen", "0", "1024x768x24"],
            pass_fds=(writer,), stdin=subprocess.DEVNULL, stdout=log, stderr=log)
    os.close(writer)
    try:
        number = b""
        deadline = time.monotonic() + STEP_SECONDS
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([reader], [], [], left)[0]:
                raise Failure("Xvfb gave no display within %d s (see %s)"
                              % (STEP_SECONDS, log_path))
            chunk = os.read(reader, 16)
            if not chunk:
                raise Failure("Xvfb ended at its start (see %s)" % log_path)
            number += chunk
    except BaseException:
        end_process(server)
        raise
    finally:
        os.close(reader)
    return server, ":" + number.decode().strip()


def on_signal(number, frame):
    raise SystemExit("ended by signal %d" % number)


def on_alarm(number, frame):
    raise OutOfTime("the suite took longer than %d s" % SUITE_SECONDS)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", required=True, help="the build folder (with BUILD_TESTING)")
    parser.add_argument("--only", help="one terminal: " + ", ".join(t["name"] for t in TERMINALS))
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    probe = os.path.join(build, "tests", "key_probe")
    program = os.path.join(build, "brown-robinson")
    for path in (probe, program):
        if not os.access(path, os.X_OK):
            print("missing %s: build it first" % path, file=sys.stderr)
            return 2
    tools = {"Xvfb": "xvfb", "xterm": "xterm", "urxvt": "rxvt-unicode", "xdotool": "xdotool",
             "tmux": "tmux", "env": "coreutils", "bash": "bash"}
    missing = sorted(package for tool, package in tools.items() if shutil.which(tool) is None)
    if missing:
        print("the terminal tests need the packages: %s" % " ".join(missing), file=sys.stderr)
        return 2
    terminals = [t for t in TERMINALS if args.only in (None, t["name"])]
    if not terminals:
        print("no terminal named %s" % args.only, file=sys.stderr)
        return 2

    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGINT, on_signal)
    signal.signal(signal.SIGHUP, on_signal)
    signal.signal(signal.SIGALRM, on_alarm)
    signal.alarm(SUITE_SECONDS)

    work = os.path.join(build, "terminal-tests")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    started = time.monotonic()
    failures = []
    server = None
    sockets = tempfile.mkdtemp(prefix="br-terminals-")
    try:
        server, display = start_x_server(os.path.join(work, "xvfb.log"))
        for terminal in terminals:
            began = time.monotonic()
            folder = os.path.join(work, terminal["name"])
            os.makedirs(os.path.join(folder, "home"))
            # Nothing of the person running the tests: default resources,
            # no configuration files.
            environment = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "DISPLAY": display,
                           "HOME": os.path.join(folder, "home"), "LANG": LOCALE,
                           "LC_ALL": LOCALE, "SHELL": "/bin/bash"}
            for name in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"):
                if name in os.environ:
                    environment[name] = os.environ[name]
            session = Session(terminal, folder, sockets, environment, probe, program)
            try:
                session.start()
                session.run_all()
            except (Failure, subprocess.SubprocessError, OSError) as error:
                session.fail("stopped: %s" % error)
            finally:
                session.stop()
            print("%-13s %3d keys, %2d runs, %4.1f s: %s" % (
                terminal["name"], session.keys_checked, len(runs_in(terminal)),
                time.monotonic() - began, "failed" if session.failures else "passed"))
            for failure in session.failures:
                print("  " + failure)
            failures += session.failures
    except (Failure, OutOfTime) as error:
        failures.append(str(error))
        print(error)
    finally:
        signal.alarm(0)
        if server is not None:
            end_process(server)
        shutil.rmtree(sockets, ignore_errors=True)
    print("terminal tests: %s in %.1f s (work folder %s)"
          % ("failed" if failures else "passed", time.monotonic() - started, work))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
