#!/usr/bin/env python3
"""Runs a Windows program under wine with standard input and output passed
through, as the emulator of the transcript runner: wine_run.py program.exe

Redirected output is UTF-8 on Windows only when the console's output code
page is 65001, so the code page follows the locale the runner gives:
- a UTF-8 locale: the program gets a console switched to code page 65001
  (chcp) while its standard streams stay the runner's pipes;
- any other locale: the program runs without a console (code page 0) and
  writes GBK.
Wine and what it starts end when the runner that started this script does
(tether.py).
"""
import os
import pty
import shutil
import subprocess
import sys
import tempfile
import threading

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tether  # noqa: E402

# The program's standard error, kept in a file while wine runs it, is passed
# on up to this many bytes: a program that loops while writing there must not
# be read whole.
STDERR_LIMIT = 1 << 20


def wants_utf8():
    for name in ("LC_ALL", "LC_CTYPE", "LANG"):
        value = os.environ.get(name)
        if value:
            return "utf-8" in value.lower() or "utf8" in value.lower()
    return False


def windows_path(path):
    # Wine maps the whole Unix file system to drive Z:.
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def run_with_utf8_console(wine, program):
    # Wine gives a process a console only when one of its standard streams is
    # a terminal; standard error becomes a pseudo-terminal that nobody reads
    # but this thread, and the program's own standard error goes to a file.
    master, slave = pty.openpty()

    def drain():
        try:
            while os.read(master, 4096):
                pass
        except OSError:
            pass

    threading.Thread(target=drain, daemon=True).start()
    workdir = tempfile.mkdtemp(prefix="wine_run_")
    try:
        script = os.path.join(workdir, "run.bat")
        errors = os.path.join(workdir, "stderr")
        with open(script, "w", newline="") as f:
            f.write("@chcp 65001 >nul\r\n"
                    f'@"{windows_path(program)}" 2>"{windows_path(errors)}"\r\n'
                    "@exit %errorlevel%\r\n")
        status = subprocess.call([wine, "cmd", "/c", windows_path(script)], stderr=slave,
                                 preexec_fn=tether.die_with_runner)
        os.close(slave)
        if os.path.exists(errors):
            with open(errors, "rb") as f:
                sys.stderr.buffer.write(f.read(STDERR_LIMIT))
        return status
    finally:
        os.close(master)
        shutil.rmtree(workdir, ignore_errors=True)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: wine_run.py program.exe")
    wine = os.environ.get("WINE", "wine")
    os.environ.setdefault("WINEDEBUG", "-all")
    if wants_utf8():
        return run_with_utf8_console(wine, sys.argv[1])
    # Replaced by wine itself, so that a runner's timeout stops the program.
    os.execvp(wine, [wine, sys.argv[1]])


if __name__ == "__main__":
    sys.exit(main())
