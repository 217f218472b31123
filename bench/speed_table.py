#!/usr/bin/env python3
"""The speed tables from the samples bench/ratios.sh took: the ratios of
the long listings against their references, and the small entries' times.

    speed_table.py SAMPLES RUNS LOAD [--write FILE]

SAMPLES holds lines "NAME WALL CPU", one per command and round, in the
order they ran. A ratio is taken within each round, whose two sides ran
side by side, and the table gives the median of the rounds' ratios and
their range. With --write, the tables replace the lines between the
markers below in FILE; otherwise they are printed.
"""
import argparse
import statistics
import sys

BEGIN = "<!-- speed tables -->"
END = "<!-- end of speed tables -->"

# Title, measured, reference, the reference's words, aim.
RATIOS = [
    ("WebAssembly under node: four squares 2^31−1", "node-four-max", "native-four-max", "native", 2),
    ("WebAssembly under node: Goldbach 2·10^9", "node-goldbach-2e9", "native-goldbach-2e9", "native", 2),
    ("WebAssembly under node: Goldbach 2^31−2", "node-goldbach-max", "native-goldbach-max", "native", 2),
    ("page: four squares 2^31−1", "page-four-max", "pipe-four-max", "native through a pipe", 4),
    ("page: Goldbach 2·10^9", "page-goldbach-2e9", "pipe-goldbach-2e9", "native through a pipe", 10),
    ("page: Goldbach 2^31−2", "page-goldbach-max", "pipe-goldbach-max", "native through a pipe", 10),
    ("four squares 2^31−1 through `cat`", "pipe-four-max", "zero-four-max",
     "as many zero bytes through `cat`", 4),
    ("Goldbach 2^31−2 to /dev/null", "native-goldbach-max", "primesieve-2p31",
     "`primesieve 2^31 --threads=1`", 2),
]

SMALL = [
    ("four squares 1", "four-1"),
    ("four squares 10^6 (1302 lines)", "four-1e6"),
    ("four squares 2·10^8", "four-2e8"),
    ("Goldbach 10^8 (291400 lines)", "goldbach-1e8"),
]


def load(path):
    samples = {}
    for line in open(path):
        name, wall, cpu = line.split()
        samples.setdefault(name, []).append((float(wall), float(cpu)))
    return samples


def spread(values, digits, unit):
    """The median, then the range in brackets."""
    low, high = min(values), max(values)
    return f"{statistics.median(values):.{digits}f}{unit} ({low:.{digits}f}–{high:.{digits}f})"


def ratio_rows(samples):
    yield "| Work | Measured | Reference | Ratio, wall (range) | Ratio, CPU | Aim |"
    yield "|---|---|---|---|---|---|"
    for title, mine, reference, words, aim in RATIOS:
        pairs = list(zip(samples.get(mine, []), samples.get(reference, [])))
        if not pairs:
            yield f"| {title} | – | {words} | – | – | ≤ {aim} |"
            continue
        wall = [m[0] / r[0] for m, r in pairs if r[0] > 0]
        cpu = [m[1] / r[1] for m, r in pairs if r[1] > 0]
        measured = statistics.median(m[0] for m, _ in pairs)
        referenced = statistics.median(r[0] for _, r in pairs)
        cpu_text = f"{statistics.median(cpu):.1f}×" if cpu else "–"
        yield (f"| {title} | {measured:.2f} s | {words} {referenced:.2f} s | {spread(wall, 2, '×')} "
               f"| {cpu_text} | ≤ {aim} |")


def small_rows(samples):
    yield "| Entry | Native, to /dev/null | Native, through a pipe | Page |"
    yield "|---|---|---|---|"
    for title, name in SMALL:
        cells = []
        for side in ("native", "pipe", "page"):
            values = [wall for wall, _ in samples.get(f"{side}-{name}", [])]
            cells.append(spread(values, 3, " s") if values else "–")
        yield f"| {title} | " + " | ".join(cells) + " |"


def tables(samples, runs, machine_load):
    lines = [f"Medians of {runs} rounds, the range of the rounds in brackets; load {machine_load} "
             "at the end."]
    start = samples.get("node-start")
    if start:
        lines[0] += (f" Node's own start (`node -e 0`), part of every WebAssembly time: "
                     f"{statistics.median(w for w, _ in start):.3f} s.")
    lines += ["", *ratio_rows(samples), "", "What a student waits for smaller entries, in seconds (the "
              "page: from the Enter to the next prompt in the terminal's buffer):", "",
              *small_rows(samples)]
    return lines


def write_between_markers(path, lines):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if BEGIN not in text or END not in text:
        sys.exit(f"{path} has no lines {BEGIN} and {END} to write between")
    head, rest = text.split(BEGIN, 1)
    _, tail = rest.split(END, 1)
    with open(path, "w", encoding="utf-8") as f:
        f.write(head + BEGIN + "\n" + "\n".join(lines) + "\n" + END + tail)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("samples")
    parser.add_argument("runs")
    parser.add_argument("load")
    parser.add_argument("--write", metavar="FILE")
    args = parser.parse_args()
    lines = tables(load(args.samples), args.runs, args.load)
    if args.write:
        write_between_markers(args.write, lines)
    else:
        print("\n".join(lines))


if __name__ == "__main__":
    main()
