"""Ties the programs a test runner starts to the runner's life: however the
runner ends (its own end, an exception, SIGINT, SIGTERM, SIGKILL), none of
them runs on.

Two guards, because a runner that is killed outright runs no code of its own:
- the program the runner starts directly dies with it (PR_SET_PDEATHSIG, set
  in the child before it runs the program; Linux);
- a guard process, started once per runner, holds the read end of a pipe
  that only the runner can write. The runner tells it each process group it
  starts and each one that has ended; when the pipe reaches its end, which the
  kernel brings about when the runner ends in any way, the guard kills every
  group still on its list, so that what the program started (wine's
  processes, node's) goes too. The guard ignores the signals a Ctrl-C or a
  terminal's hang-up sends, so that it outlives the runner and does its work.
"""
import ctypes
import os
import signal
import subprocess
import sys

PR_SET_PDEATHSIG = 1
# Looked up here, in the runner: a child between fork and exec should only
# make the call, not load anything.
try:
    _prctl = ctypes.CDLL(None, use_errno=True).prctl
except (OSError, AttributeError):
    _prctl = None  # not Linux: the guard process alone ties the programs

# The guard: reads "+<group>" and "-<group>" lines until the runner is gone.
_GUARD = r"""
import os, signal, sys
for s in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP, signal.SIGQUIT):
    signal.signal(s, signal.SIG_IGN)
groups = set()
for line in sys.stdin.buffer:
    group = int(line[1:])
    if line[:1] == b"+":
        groups.add(group)
    else:
        groups.discard(group)
for group in groups:
    try:
        os.killpg(group, signal.SIGKILL)
    except OSError:
        pass
"""

_RUNNER = os.getpid()
_guard_pipe = None  # the write end, held by the runner alone


def die_with_runner():
    """For a child, before it runs its program: be killed when the runner
    (the parent) ends. Safe to call where prctl does not exist."""
    if _prctl is None:
        return
    _prctl(PR_SET_PDEATHSIG, signal.SIGKILL, 0, 0, 0)
    # The runner may have ended before the request was made.
    if os.getppid() != _RUNNER:
        os._exit(1)


def _tell_guard(message):
    global _guard_pipe
    if _guard_pipe is None:
        read_end, _guard_pipe = os.pipe()  # neither end is inherited by later children
        subprocess.Popen([sys.executable, "-c", _GUARD], stdin=read_end, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL, start_new_session=True, close_fds=True)
        os.close(read_end)
    os.write(_guard_pipe, message.encode("ascii"))


def hold_group(group):
    """The process group `group` is killed if the runner ends before
    release_group(group)."""
    _tell_guard(f"+{group}\n")


def release_group(group):
    _tell_guard(f"-{group}\n")


def popen(command, **options):
    """subprocess.Popen for a program in a process group of its own, tied to
    the runner; release_group(process.pid) once it has been waited for."""
    process = subprocess.Popen(command, start_new_session=True, preexec_fn=die_with_runner, **options)
    hold_group(process.pid)
    return process
