#!/usr/bin/env python3
"""Runs the program in a pseudo-terminal, as a user at a terminal would, and
checks what the terminal receives: the colours where they belong, prompts
visible while the program waits, typed-ahead lines kept, exit status 0.

Echo is turned off in the terminal so that the output is exactly the
program's own; the terminal turns each line feed into CR LF. Each program
runs in a session of its own and never outlives the runner (tether.py).
"""
import argparse
import os
import pty
import select
import sys
import termios
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "cases"))

from pieces import FAREWELL, LADY, MENU, PAUSE, PROMPT, START  # noqa: E402
from puzzles import BRIDE_ANSWER, BRIDE_RIDDLE, TRUTH_ANSWER, TRUTH_RIDDLE, WAIT  # noqa: E402
import tether  # noqa: E402

# A session's screen holds a few kilobytes; a program that loops while it
# writes is stopped at this many bytes, not read for the whole timeout.
OUTPUT_LIMIT = 1 << 20

GREEN = "\x1b[92;40m"
RED = "\x1b[91;40m"
WHITE = "\x1b[97;40m"
BYE = "\n\tThank you! ~~Bye~~\n\n"


class Session:
    def __init__(self, exe, env):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            tether.die_with_runner()
            attrs = termios.tcgetattr(0)
            attrs[3] &= ~termios.ECHO
            termios.tcsetattr(0, termios.TCSANOW, attrs)
            os.execve(exe, [exe, "ignored", "--arguments"], env)
        # The child leads a session, and so a process group, of its own.
        tether.hold_group(self.pid)
        # The same from this side, so nothing typed before the child gets
        # there is echoed.
        attrs = termios.tcgetattr(self.fd)
        attrs[3] &= ~termios.ECHO
        termios.tcsetattr(self.fd, termios.TCSANOW, attrs)
        self.output = b""

    def fail(self, message):
        """Stops the program and reports `message`."""
        try:
            os.kill(self.pid, 9)
            os.waitpid(self.pid, 0)
        except (ProcessLookupError, ChildProcessError):
            pass
        tether.release_group(self.pid)
        raise AssertionError(message)

    def take(self, chunk):
        self.output += chunk
        if len(self.output) > OUTPUT_LIMIT:
            self.fail(f"output passed {OUTPUT_LIMIT} bytes; it begins {self.output[:200]!r}")

    def read_until(self, text, timeout=10.0):
        """Reads until the screen holds `text` (a str in UTF-8); fails after `timeout`."""
        wanted = text.replace("\n", "\r\n").encode("utf-8")
        deadline = time.monotonic() + timeout
        while wanted not in self.output:
            left = deadline - time.monotonic()
            if left <= 0:
                self.fail(f"waited {timeout} s for {text[-60:]!r}; screen ends {self.output[-200:]!r}")
            ready, _, _ = select.select([self.fd], [], [], left)
            if ready:
                try:
                    chunk = os.read(self.fd, 65536)
                except OSError:
                    chunk = b""
                if not chunk:
                    self.fail(f"output ended before {text[-60:]!r}; it ends {self.output[-200:]!r}")
                self.take(chunk)

    def type(self, text):
        os.write(self.fd, text.encode("utf-8"))

    def finish(self, timeout=10.0):
        """Reads the rest of the output and returns the exit status."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            ready, _, _ = select.select([self.fd], [], [], 0.1)
            if ready:
                try:
                    chunk = os.read(self.fd, 65536)
                except OSError:
                    chunk = b""
                if chunk:
                    self.take(chunk)
                    continue
            done, status = os.waitpid(self.pid, os.WNOHANG)
            if done:
                tether.release_group(self.pid)
                return os.waitstatus_to_exitcode(status)
        self.fail("the program did not end")

    def screen(self):
        return self.output.decode("utf-8", "replace").replace("\r\n", "\n")


def environment(**extra):
    env = {"PATH": "/usr/bin:/bin", "TERM": "xterm-256color", "LC_ALL": "C.UTF-8"}
    env.update(extra)
    return env


def check(name, condition, detail=""):
    if not condition:
        raise AssertionError(f"{name}: {detail}")


def colours_where_they_belong(exe):
    s = Session(exe, environment())
    s.read_until(START)
    s.type("6\n")
    s.read_until(WAIT)  # the prompt is on the screen while the program waits
    s.type("\n")
    s.read_until(PAUSE.rstrip("\n"))
    s.type("\n")
    s.read_until(MENU + PROMPT)
    s.type("8\n")
    status = s.finish()
    expected = (START + GREEN + BRIDE_RIDDLE + WHITE + WAIT + BRIDE_ANSWER + PAUSE + MENU + PROMPT
                + GREEN + LADY + WHITE + BYE)
    check("exit status", status == 0, status)
    check("screen", s.screen() == expected, f"\n got {s.screen()[-400:]!r}\n expected {expected[-400:]!r}")


def typed_ahead_lines_are_kept(exe):
    # Everything typed before the program reads it: each line waits its turn,
    # as it would at a terminal; only the rest of the line being read is dropped.
    s = Session(exe, environment())
    s.read_until(START)
    s.type("7 extra words\n\n\n0\n\n8\n")
    status = s.finish()
    expected = (START + GREEN + TRUTH_RIDDLE + WHITE + WAIT + TRUTH_ANSWER + PAUSE + MENU + PROMPT
                + "\n\t\tInvalid！\n" + PAUSE + MENU + PROMPT + GREEN + LADY + WHITE + BYE)
    check("exit status", status == 0, status)
    check("screen", s.screen() == expected, f"\n got {s.screen()[-300:]!r}\n expected {expected[-300:]!r}")


def no_colour_when_asked_not_to(exe):
    for env in (environment(NO_COLOR="1"), environment(TERM="dumb"), {"PATH": "/usr/bin:/bin", "LC_ALL": "C.UTF-8"}):
        s = Session(exe, env)
        s.read_until(MENU)
        s.type("6\n\n\n8\n")
        status = s.finish()
        check("exit status", status == 0, status)
        check(f"no escape byte with {env}", b"\x1b" not in s.output, s.output[:200])
        check("whole text", s.screen() == START + BRIDE_RIDDLE + WAIT + BRIDE_ANSWER + PAUSE + MENU + PROMPT + FAREWELL)
    # An empty NO_COLOR does not count.
    s = Session(exe, environment(NO_COLOR=""))
    s.read_until(MENU)
    s.type("8\n")
    s.finish()
    check("empty NO_COLOR keeps colour", GREEN.encode() in s.output)


def end_of_input_at_a_terminal(exe):
    # Ctrl-D at the menu prompt, and inside a puzzle's wait: the program ends
    # with its last line ended and status 0.
    s = Session(exe, environment())
    s.read_until(START)
    s.type("\x04")
    status = s.finish()
    check("Ctrl-D at the menu", status == 0 and s.screen() == START + "\n", repr(s.screen()[-80:]))

    s = Session(exe, environment())
    s.read_until(START)
    s.type("6\n")
    s.read_until(WAIT)
    s.type("\x04")
    status = s.finish()
    check("Ctrl-D at the wait", status == 0 and s.screen().endswith(BRIDE_ANSWER), repr(s.screen()[-120:]))


def gbk_locale_on_a_terminal(exe):
    s = Session(exe, environment(LC_ALL="C"))
    s.read_until("Please choose:")
    s.type("0\n\n8\n")
    status = s.finish()
    check("exit status", status == 0, status)
    check("GBK titles", "哥德巴赫猜想".encode("gbk") in s.output and "Invalid！".encode("gbk") in s.output)


def locale_named_but_not_installed(exe):
    # The terminal expects what the locale's name says, installed or not.
    for name, encoding in (("xx_YY.UTF-8", "utf-8"), ("xx_YY.utf8", "utf-8"), ("xx_YY.GBK", "gbk")):
        s = Session(exe, environment(LC_ALL=name))
        s.read_until("Please choose:")
        s.type("8\n")
        check("exit status", s.finish() == 0)
        check(f"titles for {name}", "哥德巴赫猜想".encode(encoding) in s.output)


CHECKS = [colours_where_they_belong, typed_ahead_lines_are_kept, no_colour_when_asked_not_to,
          end_of_input_at_a_terminal, gbk_locale_on_a_terminal, locale_named_but_not_installed]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    args = parser.parse_args()
    passed = failed = 0
    for run in CHECKS:
        try:
            run(os.path.abspath(args.exe))
            passed += 1
        except AssertionError as error:
            failed += 1
            print(f"FAIL {run.__name__}: {error}")
    print(f"terminal checks: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
