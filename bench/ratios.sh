#!/usr/bin/env bash
# The program's speed beside its references, side by side in one run:
#   WebAssembly under node (web/run-node.js) against the native program,
#   the page in headless Chromium against the native program through a pipe,
#   the native program against what bounds it (bytes from /dev/zero through
#   the same pipe; primesieve counting the primes to 2^31 on one thread).
#
#   bash bench/ratios.sh [RUNS]        (default 5; from the repository's root)
#
# Uses build/ (native, Release) and build-web/ (Emscripten), building what is
# missing, and Debian's primesieve if installed. Each round runs every
# command once, in turn, so that a busy spell of the machine hits both sides
# of a ratio alike; the table gives medians over the rounds of the wall time
# and of the CPU time (user + system; for the page, of all the browser's
# processes). Not part of the tests: nothing is asserted.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
native=build/app/quorvantile
wasm=build-web/web/quorvantile.js

[ -x "$native" ] || { cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null && cmake --build build -j2 --target quorvantile >/dev/null; }
if [ ! -f "$wasm" ]; then
  (cd web && npm ci --no-audit --no-fund >/dev/null)
  emcmake cmake -S . -B build-web >/dev/null && cmake --build build-web -j2 --target quorvantile web_page >/dev/null
fi

samples=$(mktemp)
trap 'rm -f "$samples" "$samples.t"' EXIT

# Runs a shell command, its output thrown away, and notes "NAME WALL CPU".
measure() {
  local name=$1 command=$2
  TIMEFORMAT='%3R %3U %3S'
  { time sh -c "$command" >/dev/null 2>&1; } 2>"$samples.t"
  awk -v name="$name" '{ printf "%s %s %.3f\n", name, $1, $2 + $3 }' "$samples.t" >>"$samples"
}

goldbach() { printf "printf '1\\\\n%s\\\\n'" "$1"; }
four() { printf "printf '4\\\\n%s\\\\n'" "$1"; }

# Four squares of 2^31 - 1 write about 2.6 GB: the same count of zero bytes
# goes through the same pipe.
four_bytes=$(sh -c "$(four 2147483647) | $native | wc -c")

for ((round = 1; round <= runs; round++)); do
  echo "round $round of $runs" >&2
  measure node-start "node -e 0"
  measure native-goldbach-2e9 "$(goldbach 2000000000) | $native"
  measure node-goldbach-2e9 "$(goldbach 2000000000) | node web/run-node.js $wasm"
  measure native-four-2e8 "$(four 200000000) | $native"
  measure node-four-2e8 "$(four 200000000) | node web/run-node.js $wasm"
  measure pipe-goldbach-1e8 "$(goldbach 100000000) | $native | cat"
  measure pipe-goldbach-2e9 "$(goldbach 2000000000) | $native | cat"
  measure pipe-four-2e8 "$(four 200000000) | $native | cat"
  node bench/page_listing.cjs build-web dom 1:100000000 1:2000000000 4:200000000 |
    awk '{ split($1, turn, ":"); name = (turn[1] == 1 ? "goldbach-" : "four-") (turn[2] == 100000000 ? "1e8" : turn[2] == 2000000000 ? "2e9" : "2e8");
           print "page-" name, $2, $3 }' >>"$samples"
  measure pipe-four-max "$(four 2147483647) | $native | cat"
  measure zero-four-max "head -c $four_bytes /dev/zero | cat"
  measure null-goldbach-max "$(goldbach 2147483646) | $native"
  if command -v primesieve >/dev/null; then
    measure primesieve-2p31 "primesieve 2147483648 --count --threads=1 --quiet"
  fi
done

echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
python3 - "$samples" "$runs" <<'PY'
import statistics, sys
samples = {}
for line in open(sys.argv[1]):
    name, wall, cpu = line.split()
    samples.setdefault(name, []).append((float(wall), float(cpu)))
def median(name, i):
    values = [s[i] for s in samples.get(name, [])]
    return statistics.median(values) if values else None
rows = [
    ("WebAssembly under node: Goldbach 2·10^9", "node-goldbach-2e9", "native-goldbach-2e9", 2.0),
    ("WebAssembly under node: four squares 2·10^8", "node-four-2e8", "native-four-2e8", 2.0),
    ("page: Goldbach 10^8", "page-goldbach-1e8", "pipe-goldbach-1e8", 16.0),
    ("page: Goldbach 2·10^9", "page-goldbach-2e9", "pipe-goldbach-2e9", 10.0),
    ("page: four squares 2·10^8", "page-four-2e8", "pipe-four-2e8", 4.0),
    ("native: four squares 2^31-1 through cat, against /dev/zero through cat", "pipe-four-max", "zero-four-max", 5.0),
    ("native: Goldbach 2^31-2 > /dev/null, against primesieve -t1 to 2^31", "null-goldbach-max", "primesieve-2p31", 2.0),
]
print(f"medians of {sys.argv[2]} rounds; seconds as wall (CPU)")
print("| work | measured | reference | ratio, wall | ratio, CPU | target |")
print("|---|---|---|---|---|---|")
for title, mine, reference, target in rows:
    if median(mine, 0) is None or median(reference, 0) is None:
        print(f"| {title} | – | – | – | – | ≤ {target:g} |")
        continue
    wall = median(mine, 0) / median(reference, 0)
    cpu = median(mine, 1) / median(reference, 1) if median(reference, 1) else float("nan")
    print(f"| {title} | {median(mine, 0):.3f} s ({median(mine, 1):.2f}) | {median(reference, 0):.3f} s "
          f"({median(reference, 1):.2f}) | {wall:.1f}× | {cpu:.1f}× | ≤ {target:g} |")
# Node's own start, before any of the program: most of what separates the
# WebAssembly rows from native in short runs.
start = median("node-start", 0)
if start is not None:
    beside = [f"{title.split(': ', 1)[1]} {(median(mine, 0) - start) / median(reference, 0):.1f}×"
              for title, mine, reference, _ in rows[:2] if median(mine, 0) and median(reference, 0)]
    print(f"\nnode's own start (node -e 0): {start:.3f} s; the WebAssembly rows without it: {', '.join(beside)}")
PY
