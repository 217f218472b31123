#!/usr/bin/env python3
"""Checks that the longest listings end at once when standard output fails:
- closed early: a reader takes the start of the listing and 1000 bytes more,
  then closes the pipe, as `| head -c 1000` does. Like any Unix filter the
  program ends by SIGPIPE at its next write; where the signal is ignored (by
  the parent, by wine, by node) the write fails, and it ends with status 1
  and one line on standard error;
- full: /dev/full, where the first write fails, and a file that may grow
  only so far, where a write fails inside the listing: status 1, one line.
Each session would go on to leave the menu: a program that ignored the
failure would end with status 0.
"""
import argparse
import os
import resource
import signal
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tether  # noqa: E402

GOLDBACH = b"1\n2147483646\n888\n\n8\n"
FOUR_SQUARES = b"4\n2147483647\n888\n\n8\n"
# Bytes read past the first line of the listing before the pipe is closed.
READ_PAST_START = 1000
# Where the size-limited file stops growing: past the menu and the heading,
# inside the first blocks of the listing.
FILE_LIMIT = 1 << 20
ERROR_LINE = b"quorvantile: cannot write to standard output\n"
# A guard against a program that never ends; the runs end within moments.
TIMEOUT = 120


def start(command, session, stdout, ignore_sigpipe=False, file_limit=None):
    def child_setup():
        tether.die_with_runner()
        signal.signal(signal.SIGPIPE, signal.SIG_IGN if ignore_sigpipe else signal.SIG_DFL)
        if file_limit is not None:
            # Past the limit a write fails with EFBIG, as on a full disk, once
            # the signal that would end the program first is ignored.
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (file_limit, file_limit))

    # In a process group of its own, so that what an emulator starts ends
    # with the runner too (tether.py).
    process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=stdout, stderr=subprocess.PIPE,
                               env=dict(os.environ, LC_ALL="C"), preexec_fn=child_setup,
                               start_new_session=True)
    tether.hold_group(process.pid)
    try:
        process.stdin.write(session)
        process.stdin.close()
    except BrokenPipeError:
        pass  # the program has ended before it read everything
    return process


def outcome(process):
    """Waits for the program's end; returns (status, standard error)."""
    process.stdin = None  # closed by start()
    if process.stdout is not None and process.stdout.closed:
        process.stdout = None
    _, errors = process.communicate(timeout=TIMEOUT)
    tether.release_group(process.pid)
    # A Windows program ends its lines with CR LF, standard error's too.
    return process.returncode, errors.replace(b"\r\n", b"\n")


def closed_early(command, session, listing_start, ignore_sigpipe):
    process = start(command, session, subprocess.PIPE, ignore_sigpipe)
    seen = b""
    while listing_start not in seen:
        block = process.stdout.read1(1 << 16)
        if not block:
            return outcome(process)[0], b"(the listing never began)"
        seen = seen[-len(listing_start):] + block
    read = 0
    while read < READ_PAST_START:
        read += len(process.stdout.read1(READ_PAST_START - read))
    process.stdout.close()
    return outcome(process)


def written_to(command, session, path, file_limit=None):
    with open(path, "wb") as stdout:
        return outcome(start(command, session, stdout, file_limit=file_limit))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--emulator", default="", help="command that runs the program, e.g. wine")
    args = parser.parse_args()
    command = ([args.emulator] if args.emulator else []) + [args.exe]
    # Only the native program keeps SIGPIPE's default; under an emulator a
    # write to a closed pipe fails as any other.
    expect_closed = (1, ERROR_LINE) if args.emulator else (-signal.SIGPIPE, b"")
    workdir = tempfile.TemporaryDirectory(prefix="output_failures_")
    limited = os.path.join(workdir.name, "limited")
    cases = [
        ("Goldbach 2147483646, pipe closed early", expect_closed,
         lambda: closed_early(command, GOLDBACH, b"2147483646=", False)),
        ("four squares 2147483647, pipe closed early", expect_closed,
         lambda: closed_early(command, FOUR_SQUARES, b"2147483647=", False)),
        ("four squares 2147483647, pipe closed early, SIGPIPE ignored", (1, ERROR_LINE),
         lambda: closed_early(command, FOUR_SQUARES, b"2147483647=", True)),
        ("four squares 2147483647 to /dev/full", (1, ERROR_LINE),
         lambda: written_to(command, FOUR_SQUARES, "/dev/full")),
        ("four squares 2147483647 to a file that fills", (1, ERROR_LINE),
         lambda: written_to(command, FOUR_SQUARES, limited, FILE_LIMIT)),
    ]
    failed = 0
    for name, expected, run in cases:
        got = run()
        failed += got != expected
        print(f"{'ok' if got == expected else 'FAILED'}: {name}: got {got}, expected {expected}")
    if os.path.getsize(limited) != FILE_LIMIT:
        failed += 1
        print(f"FAILED: the size-limited file holds {os.path.getsize(limited)} bytes, not {FILE_LIMIT}")
    workdir.cleanup()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
