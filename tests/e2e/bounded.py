"""Runs a program with its output read into memory only up to a bound.

A program that loops while it writes must fail its case within moments and
without holding its output: reading stops, and the program (with anything it
started, e.g. wine or node) is killed, as soon as either stream passes the
bound or the time runs out. The program never outlives the runner (tether.py).
"""
import os
import selectors
import signal
import subprocess
import threading
import time

import tether

# The largest transcript is about 0.55 MB (the sieve's listing of a million,
# in GBK); 16 MiB is far above any right output and still cheap to hold.
OUTPUT_LIMIT = 16 << 20
CHUNK = 1 << 16


class Outcome:
    def __init__(self):
        self.returncode = None
        self.stdout = b""
        self.stderr = b""
        self.timed_out = False
        self.overflowed = False  # a stream passed the bound; what was read is kept

    def problem(self, timeout, limit=OUTPUT_LIMIT):
        """Why the run did not end by itself, or None."""
        if self.overflowed:
            return f"output passed {limit} bytes: stopped and killed"
        if self.timed_out:
            return f"no end within {timeout} s"
        return None


def _feed(pipe, data):
    try:
        pipe.write(data)
    except (BrokenPipeError, OSError):
        pass  # the program ended or closed its input without reading it all
    finally:
        try:
            pipe.close()
        except OSError:
            pass


def _kill_group(process):
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except (ProcessLookupError, PermissionError):
        pass


def run_bounded(command, input=b"", env=None, timeout=60, limit=OUTPUT_LIMIT, stdout=subprocess.PIPE):
    """Runs `command` with `input` on a pipe; returns an Outcome. `stdout` may
    be a file to write to instead of a pipe to read."""
    outcome = Outcome()
    process = tether.popen(command, stdin=subprocess.PIPE, stdout=stdout, stderr=subprocess.PIPE, env=env)
    feeder = threading.Thread(target=_feed, args=(process.stdin, input), daemon=True)
    feeder.start()
    streams = {process.stderr: "stderr"}
    if stdout == subprocess.PIPE:
        streams[process.stdout] = "stdout"
    parts = {"stdout": [], "stderr": []}
    sizes = {"stdout": 0, "stderr": 0}
    deadline = time.monotonic() + timeout
    with selectors.DefaultSelector() as selector:
        for stream in streams:
            selector.register(stream, selectors.EVENT_READ)
        while selector.get_map():
            left = deadline - time.monotonic()
            if left <= 0:
                outcome.timed_out = True
                break
            for key, _ in selector.select(left):
                chunk = os.read(key.fileobj.fileno(), CHUNK)
                if not chunk:
                    selector.unregister(key.fileobj)
                    continue
                name = streams[key.fileobj]
                parts[name].append(chunk)
                sizes[name] += len(chunk)
                if sizes[name] > limit:
                    outcome.overflowed = True
            if outcome.overflowed:
                break
    if outcome.timed_out or outcome.overflowed:
        _kill_group(process)
    try:
        outcome.returncode = process.wait(timeout=max(1.0, deadline - time.monotonic()))
    except subprocess.TimeoutExpired:
        # Its streams are closed but it has not ended.
        outcome.timed_out = True
        _kill_group(process)
        outcome.returncode = process.wait()
    tether.release_group(process.pid)
    for stream in streams:
        stream.close()
    feeder.join(timeout=1)
    outcome.stdout = b"".join(parts["stdout"])
    outcome.stderr = b"".join(parts["stderr"])
    return outcome
