#!/usr/bin/env python3
"""Runs the program on every transcript case through a pipe and compares its
whole standard output, byte for byte, with the expected text.

Each module in cases/ defines CASES, a list of pieces.Case. The expected text
is encoded as UTF-8 in a UTF-8 locale and as GBK in a locale that is not.
"""
import argparse
import glob
import importlib.util
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from bounded import run_bounded  # noqa: E402


def load_cases():
    cases = []
    for path in sorted(glob.glob(os.path.join(HERE, "cases", "*.py"))):
        name = os.path.splitext(os.path.basename(path))[0]
        loader = importlib.util.spec_from_file_location(name, path)
        module = importlib.util.module_from_spec(loader)
        loader.loader.exec_module(module)
        for case in module.CASES:
            case.name = name + "/" + case.name
            cases.append(case)
    return cases


def environment(encoding):
    env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": os.environ.get("HOME", "/")}
    # Colour variables are set here, never inherited: a pipe gets no colour
    # even from a terminal type that has it.
    env["TERM"] = "xterm-256color"
    env["LC_ALL"] = "C.UTF-8" if encoding == "utf8" else "C"
    for name in ("WINEPREFIX", "WINEDEBUG", "WINESERVER"):
        if name in os.environ:
            env[name] = os.environ[name]
    return env


def first_difference(actual, expected):
    for i, (a, b) in enumerate(zip(actual, expected)):
        if a != b:
            return i
    return min(len(actual), len(expected))


# What is wrong with one run of a case, and whether it wrote anything at all.
def problems_of(command, case, expected, args):
    run = run_bounded(command, case.input, environment(args.encoding), args.timeout)
    stopped = run.problem(args.timeout)
    if stopped:
        return [f"{stopped}; output begins {run.stdout[:120]!r}"], bool(run.stdout)
    problems = []
    if run.returncode != case.status:
        problems.append(f"exit status {run.returncode}, expected {case.status}")
    if run.stdout != expected:
        at = first_difference(run.stdout, expected)
        problems.append(f"output differs at byte {at}:\n  got      {run.stdout[max(0, at - 60):at + 60]!r}\n"
                        f"  expected {expected[max(0, at - 60):at + 60]!r}")
    if run.stderr and case.status == 0:
        problems.append(f"standard error: {run.stderr[:300]!r}")
    return problems, bool(run.stdout)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--emulator", default="", help="command that runs the program, e.g. wine")
    parser.add_argument("--encoding", choices=["utf8", "gbk"], default="utf8")
    parser.add_argument("--crlf", action="store_true", help="expect CR LF line ends")
    parser.add_argument("--filter", default="", help="run only cases whose name holds this")
    parser.add_argument("--timeout", type=float, default=60)
    args = parser.parse_args()

    command = ([args.emulator] if args.emulator else []) + [args.exe]
    passed = failed = 0
    for case in load_cases():
        if args.filter not in case.name:
            continue
        expected = case.expected.encode("utf-8" if args.encoding == "utf8" else "gbk")
        if args.crlf:
            expected = expected.replace(b"\n", b"\r\n")
        problems, wrote = problems_of(command, case, expected, args)
        # Wine now and then ends a program at its start, before a byte is
        # written (status 1, no output): such a case runs once more, and
        # says so. A fault of the program's own fails both times.
        if problems and not wrote and args.emulator:
            print(f"RETRY {case.name}, which wrote nothing under {os.path.basename(args.emulator)}")
            problems, wrote = problems_of(command, case, expected, args)
        if problems:
            failed += 1
            print(f"FAIL {case.name}: " + "\n  ".join(problems))
        else:
            passed += 1
    print(f"transcripts ({args.encoding}): {passed} passed, {failed} failed")
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main())
