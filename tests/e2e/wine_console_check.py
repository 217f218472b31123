#!/usr/bin/env python3
"""Runs the Windows build in wine's console inside tmux, types a session and
reads the screen back: the menu's Chinese titles must read correctly and line
up, the colours must appear where the program sets them, and the session must
end with status 0. Optionally also runs the unit tests that need a console.
Through pipes, it checks that CR LF line ends in the input read as plain line
ends and that a failed write ends the program with status 1.

Usage: wine_console_check.py --exe quorvantile.exe [--tests quorvantile_tests.exe]
Needs wine and tmux; WINEPREFIX is taken from the environment. Exits non-zero
when the screen is wrong.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time
import unicodedata

import tether
from bounded import OUTPUT_LIMIT, run_bounded

WIDTH, HEIGHT = 100, 50
WAIT_SECONDS = 60  # wine's first console start in a fresh prefix can be slow

TITLES = [
    "1-Goldbach's Conjecture(哥德巴赫猜想)",
    "2-CollatzConjecture(考拉兹猜想)",
    "3-Nico Chester Theorem(尼彻斯特定理)",
    "4-Four Square Theorem(四平方数和定理)",
    "5-Sieve of Eratosthenes(筛选法找质数)",
    "6-Bride & Groom(新娘和新郎)",
    "7-Truth or Lie(真实或谎言)",
]
FRAME_COLUMNS = 8 + 56  # a tab, then 56 columns

# The console attributes' colours as the terminal shows them.
BRIGHT_RED, BRIGHT_GREEN, BRIGHT_WHITE = 91, 92, 97
SGR = re.compile(r"\x1b\[([0-9;]*)m")


class Tmux:
    """A tmux server of our own (private socket), so nothing else is touched."""

    def __init__(self, name):
        # One server per run: a server being killed may still hold the socket
        # when the next run starts.
        self.socket = f"quorvantile-wine-{os.getpid()}-{name}"
        self.workdir = tempfile.TemporaryDirectory()
        # tmux 3.3 leaves #{pane_dead_status} empty when the terminal closes
        # before the program is reaped, so the shell writes the status down.
        self.status_file = os.path.join(self.workdir.name, "status")
        # The server's and the pane's process groups: each leads a session of
        # its own, and both must end with the runner (tether.py).
        self.groups = []

    def run(self, *args, check=True):
        return subprocess.run(["tmux", "-L", self.socket, "-f", "/dev/null", *args],
                              capture_output=True, text=True, check=check)

    def start(self, command):
        command = f"{command}; echo $? >'{self.status_file}.new'; mv '{self.status_file}.new' '{self.status_file}'"
        self.run("new-session", "-d", "-s", "check", "-x", str(WIDTH), "-y", str(HEIGHT), command,
                 ";", "set-option", "-t", "check", "remain-on-exit", "on")
        pids = self.run("display-message", "-p", "-t", "check", "#{pid} #{pane_pid}").stdout.split()
        for pid in pids:
            try:
                self.groups.append(os.getpgid(int(pid)))
                tether.hold_group(self.groups[-1])
            except ProcessLookupError:
                pass  # the pane's command has ended already

    def keys(self, *keys):
        self.run("send-keys", "-t", "check", *keys)

    def screen(self):
        # The whole history too: the session is longer than the window.
        return self.run("capture-pane", "-p", "-e", "-S", "-", "-E", "-", "-t", "check").stdout

    def dead_status(self):
        """The program's exit status, or None while it runs."""
        try:
            with open(self.status_file, encoding="ascii") as f:
                return int(f.read())
        except FileNotFoundError:
            return None

    def ending(self):
        """How the program ended, in words, for a failure message."""
        status = self.dead_status()
        return "is still running" if status is None else f"ended with status {status}"

    def wait_until_ended(self, seconds):
        deadline = time.time() + seconds
        while self.dead_status() is None and time.time() < deadline:
            time.sleep(0.2)

    def stop(self):
        self.run("kill-server", check=False)
        for group in self.groups:
            tether.release_group(group)
        self.groups = []
        self.workdir.cleanup()


def plain(screen):
    return SGR.sub("", screen)


def wait_for(tmux, text, count=1):
    deadline = time.time() + WAIT_SECONDS
    while time.time() < deadline:
        if plain(tmux.screen()).count(text) >= count:
            return
        time.sleep(0.2)
    raise AssertionError(f"waited {WAIT_SECONDS} s for {text!r} (#{count}); screen:\n"
                         + plain(tmux.screen()))


def colour_lines(screen):
    """Each screen line with the foreground colour (an SGR number, or None for
    the terminal's own) in force at its first visible character."""
    colour = None
    result = []
    for line in screen.split("\n"):
        first = None
        pos = 0
        for match in list(SGR.finditer(line)) + [None]:
            end = match.start() if match else len(line)
            if first is None and line[pos:end].strip():
                first = colour
            if match is None:
                break
            colour = apply_sgr(colour, match.group(1))
            pos = match.end()
        result.append((plain(line), first if first is not None else colour))
    return result


def apply_sgr(colour, params):
    codes = [int(p) if p else 0 for p in params.split(";")]
    i = 0
    while i < len(codes):
        code = codes[i]
        if code in (0, 39):
            colour = None
        elif 30 <= code <= 37 or 90 <= code <= 97:
            colour = code
        elif code == 38 and i + 2 < len(codes) and codes[i + 1] == 5:
            n = codes[i + 2]
            colour = 30 + n if n < 8 else 90 + n - 8 if n < 16 else n
            i += 2
        elif code == 38 and i + 4 < len(codes) and codes[i + 1] == 2:
            i += 4
        i += 1
    return colour


def columns(text):
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)


def colour_of(lines, text, occurrence=0):
    found = [colour for line, colour in lines if text in line]
    if len(found) <= occurrence:
        raise AssertionError(f"{text!r} not on the screen {occurrence + 1} times")
    return found[occurrence]


def check_menu(lines, failures):
    for title in TITLES:
        if not any(title in line for line, _ in lines):
            failures.append(f"menu title missing or garbled: {title}")
    framed = [line.rstrip() for line, _ in lines if line.startswith(" " * 8 + "$")]
    if len(framed) < 19:
        failures.append(f"only {len(framed)} framed menu lines on the screen")
    for line in framed:
        if columns(line) != FRAME_COLUMNS or not line.endswith("$"):
            failures.append(f"menu line out of line ({columns(line)} columns): {line!r}")


def run_session(tmux, wine, exe, env, failures):
    tmux.start(f"{env} {wine} '{exe}'")
    wait_for(tmux, "Please choose:")
    first = colour_lines(tmux.screen())
    check_menu(first, failures)
    if colour_of(first, "I LOVE C++") is not None:
        failures.append("the first menu is not in the console's own colour")

    # Collatz: green heading, red notice, white prompt, green summary.
    tmux.keys("2", "Enter")
    wait_for(tmux, "Please input a positive integer:")
    tmux.keys("6", "Enter")
    wait_for(tmux, "Please input a positive integer:", 2)
    tmux.keys("888", "Enter")
    wait_for(tmux, "PRESS ANY KEY TO RETURN TO THE MENU.")
    tmux.keys("Enter")
    wait_for(tmux, "Please choose:", 2)
    tmux.keys("8", "Enter")
    wait_for(tmux, "Thank you! ~~Bye~~")
    tmux.wait_until_ended(WAIT_SECONDS)

    lines = colour_lines(tmux.screen())
    expectations = [
        ("Collatz Conjecture", 0, BRIGHT_GREEN, "Collatz heading"),
        ("NOTICE: Input 888", 0, BRIGHT_RED, "demonstration notice"),
        ("Please input a positive integer:", 0, BRIGHT_WHITE, "demonstration prompt"),
        ("6->3->10->5->16->8->4->2->1", 0, BRIGHT_WHITE, "Collatz sequence"),
        ("There are 8 steps", 0, BRIGHT_GREEN, "Collatz summary"),
        ("PRESS ANY KEY", 0, BRIGHT_WHITE, "pause line"),
        ("I LOVE C++", 1, BRIGHT_WHITE, "menu after a feature"),
        ("I Love C++", 0, BRIGHT_GREEN, "farewell picture"),
        ("Thank you! ~~Bye~~", 0, BRIGHT_WHITE, "farewell line"),
    ]
    for text, occurrence, want, what in expectations:
        got = colour_of(lines, text, occurrence)
        if got != want:
            failures.append(f"{what}: colour {got}, expected {want}")
    check_menu(lines, failures)
    status = tmux.dead_status()
    if status != 0:
        failures.append(f"the session {tmux.ending()}, expected status 0")


def run_console_unit_tests(tmux, wine, tests, env, failures):
    # Standard input stays the terminal, so wine gives the tests a console,
    # while their report goes to a file.
    with tempfile.TemporaryDirectory() as workdir:
        log = os.path.join(workdir, "log")
        tmux.start(f"{env} {wine} '{tests}' --gtest_filter='Win32ConsoleScreen.*' >'{log}' 2>&1")
        tmux.wait_until_ended(WAIT_SECONDS)
        report = ""
        if os.path.exists(log):
            with open(log, encoding="utf-8", errors="replace") as f:
                report = f.read(OUTPUT_LIMIT)
        passed = re.search(r"\[  PASSED  \] (\d+) test", report)
        if tmux.dead_status() != 0 or not passed or int(passed.group(1)) == 0 or "SKIPPED" in report:
            failures.append(f"console unit tests did not all run and pass (the test program {tmux.ending()}):\n"
                            + report)
        else:
            print(f"console unit tests: {passed.group(1)} passed in wine's console")


def check_pipes(wine, exe, failures):
    env = dict(os.environ, WINEDEBUG="-all")
    script = "2\n6\n888\n\n0\n\n6\n\n\n8\n"

    def run(data, stdout=subprocess.PIPE):
        outcome = run_bounded([wine, exe], data.encode(), env, WAIT_SECONDS, stdout=stdout)
        problem = outcome.problem(WAIT_SECONDS)
        if problem:
            raise AssertionError(f"through a pipe: {problem}")
        return outcome

    lf = run(script)
    crlf = run(script.replace("\n", "\r\n"))
    if lf.returncode != 0 or crlf.returncode != 0 or crlf.stdout != lf.stdout:
        failures.append("input with CR LF line ends does not give the output of LF line ends")
    if b"Thank you! ~~Bye~~\r\n" not in lf.stdout:
        failures.append("the session through a pipe did not reach the farewell with CR LF")
    with open(os.devnull if not os.path.exists("/dev/full") else "/dev/full", "wb") as full:
        lost = run("8\n", stdout=full)
    if os.path.exists("/dev/full") and (lost.returncode != 1 or b"quorvantile:" not in lost.stderr):
        failures.append(f"a failed write gave status {lost.returncode}, stderr {lost.stderr!r}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--tests", help="the unit test program, to run its console tests")
    parser.add_argument("--wine", default=os.environ.get("WINE", "wine"))
    args = parser.parse_args()

    # Wine writes its console to the terminal in the Unix locale's encoding.
    env = "env LC_ALL=C.UTF-8 WINEDEBUG=-all"
    if "WINEPREFIX" in os.environ:
        env += f" WINEPREFIX='{os.environ['WINEPREFIX']}'"
    failures = []
    servers = [Tmux("session"), Tmux("unit-tests")]
    try:
        check_pipes(args.wine, os.path.abspath(args.exe), failures)
        run_session(servers[0], args.wine, os.path.abspath(args.exe), env, failures)
        servers[0].stop()
        if args.tests:
            run_console_unit_tests(servers[1], args.wine, os.path.abspath(args.tests), env, failures)
    except AssertionError as error:
        failures.append(str(error))
    finally:
        for tmux in servers:
            tmux.stop()
    for failure in dict.fromkeys(failures):
        print("FAIL " + failure)
    print(f"wine console check: {'failed' if failures else 'passed'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
