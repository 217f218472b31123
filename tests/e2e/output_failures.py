#!/usr/bin/env python3
"""Checks that the longest listings end at once when standard output fails,
whatever the session would have gone on to do:

- closed early: a reader takes the start of the listing and 1000 bytes more,
  then closes its end of the pipe, as `| head -c 1000` does. A Unix filter
  ends by SIGPIPE at its next write, which is what the program leaves in
  place; where the signal is ignored (by the parent, by wine, by node) the
  write fails instead, and the program ends with status 1 and one line on
  standard error.
- full: standard output is /dev/full, where the first write fails; and a
  file that may grow only so far (a file size limit), where a write fails
  in the middle of a listing. Both end with status 1 and one line.

Each input would go on to leave the demonstration and the menu: a program
that ignored the failure would end with status 0.
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


def start(command, stdout, ignore_sigpipe=False, file_limit=None):
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
    return process


def give_session(process, session):
    try:
        process.stdin.write(session)
        process.stdin.close()
    except BrokenPipeError:
        pass  # the program has ended before it read everything


def outcome(process):
    """Waits for the program's end; returns (status, standard error)."""
    process.stdin = None  # closed by give_session
    if process.stdout is not None and process.stdout.closed:
        process.stdout = None
    _, errors = process.communicate(timeout=TIMEOUT)
    tether.release_group(process.pid)
    return process.returncode, errors


def closed_early(command, session, listing_start, ignore_sigpipe):
    process = start(command, subprocess.PIPE, ignore_sigpipe)
    give_session(process, session)
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
        process = start(command, stdout, file_limit=file_limit)
    give_session(process, session)
    return outcome(process)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--emulator", default="", help="command that runs the program, e.g. wine")
    args = parser.parse_args()
    command = ([args.emulator] if args.emulator else []) + [args.exe]
    # Only the native program keeps SIGPIPE's default; under an emulator a
    # write to a closed pipe fails as any other.
    expect_closed = (1, ERROR_LINE) if args.emulator else (-signal.SIGPIPE, b"")
    # A Windows program ends its lines with CR LF, standard error's too.
    accept = {ERROR_LINE, ERROR_LINE.replace(b"\n", b"\r\n")}

    workdir = tempfile.mkdtemp(prefix="output_failures_")
    limited = os.path.join(workdir, "limited")
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
    problems = []
    for name, (status, errors), run in cases:
        got_status, got_errors = run()
        if got_errors in accept and errors:
            got_errors = errors
        ok = got_status == status and got_errors == errors
        print(f"{'ok' if ok else 'FAILED'}: {name}: status {got_status}, standard error {got_errors!r}")
        if not ok:
            problems.append(f"{name}: expected status {status} and standard error {errors!r}")
    if os.path.exists(limited) and os.path.getsize(limited) != FILE_LIMIT:
        problems.append(f"the size-limited file holds {os.path.getsize(limited)} bytes, not {FILE_LIMIT}")
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
