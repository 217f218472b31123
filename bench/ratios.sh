#!/usr/bin/env bash
# The program's speed beside its references, side by side in one run, and
# what a student waits for the small entries:
#   WebAssembly under node (web/tools/run-node.js) and the page in headless
#   Chromium against the native program, on listings that take seconds
#   natively (four squares 2^31-1, Goldbach 2*10^9 and 2^31-2): on shorter
#   ones node's own start and the page's fixed costs would be all one sees;
#   the native program against what bounds it (as many bytes from /dev/zero
#   through the same pipe; primesieve counting the primes to 2^31 on one
#   thread, if Debian's primesieve is installed);
#   small entries natively and in the page, as plain times.
#
#   bash bench/ratios.sh [RUNS] [--write FILE]     (from the repository's root)
#
# RUNS is the number of rounds (default 5). With --write, the two tables
# replace what FILE holds between the lines "<!-- speed tables -->" and
# "<!-- end of speed tables -->" (docs/performance.md); without, they are
# printed. Uses $NATIVE_BUILD (default build/, native, Release) and
# $WEB_BUILD (default build-web/, Emscripten), building what is missing.
# Each round runs every command once, in turn, so that a busy spell of the
# machine hits both sides of a ratio alike; bench/speed_table.py takes the
# medians over the rounds. Not part of the tests: nothing is asserted.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=5
write=
while [ $# -gt 0 ]; do
  case $1 in
    --write) write=$2; shift 2 ;;
    *) runs=$1; shift ;;
  esac
done
native_build=${NATIVE_BUILD:-build}
web_build=${WEB_BUILD:-build-web}
native=$native_build/app/quorvantile
wasm=$web_build/web/quorvantile.js

if [ ! -x "$native" ]; then
  cmake -S . -B "$native_build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$native_build" -j2 --target quorvantile >/dev/null
fi
if [ ! -f "$wasm" ] || [ ! -f "$web_build/web/index.html" ]; then
  (cd web && npm ci --no-audit --no-fund >/dev/null)
  emcmake cmake -S . -B "$web_build" >/dev/null
  cmake --build "$web_build" -j2 --target quorvantile web_page >/dev/null
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

# The input of one turn of Goldbach (1) or four squares (4): the choice and
# the number, then the end of input, which ends the program.
turn() { printf "printf '%s\\\\n%s\\\\n'" "$1" "$2"; }

# Each listing timed, as choice:number and the name of its rows.
large="4:2147483647:four-max 1:2000000000:goldbach-2e9 1:2147483646:goldbach-max"
small="4:1:four-1 4:1000000:four-1e6 4:200000000:four-2e8 1:100000000:goldbach-1e8"
page_turns=
for listing in $large $small; do page_turns="$page_turns ${listing%:*}"; done

# Four squares of 2^31 - 1 write about 2.6 GB: the same count of zero bytes
# goes through the same pipe.
four_bytes=$(sh -c "$(turn 4 2147483647) | $native | wc -c")

for ((round = 1; round <= runs; round++)); do
  echo "round $round of $runs" >&2
  measure node-start "node -e 0"
  for listing in $large $small; do
    IFS=: read -r choice number name <<<"$listing"
    measure "native-$name" "$(turn "$choice" "$number") | $native"
    measure "pipe-$name" "$(turn "$choice" "$number") | $native | cat"
  done
  for listing in $large; do
    IFS=: read -r choice number name <<<"$listing"
    measure "node-$name" "$(turn "$choice" "$number") | node web/tools/run-node.js $wasm"
  done
  # One line per turn: "CHOICE:NUMBER SECONDS CPU-SECONDS".
  node bench/page_listing.cjs "$web_build" dom $page_turns |
    while read -r turn seconds cpu; do
      for listing in $large $small; do
        [ "${listing%:*}" = "$turn" ] && echo "page-${listing##*:} $seconds $cpu"
      done
    done >>"$samples"
  measure zero-four-max "head -c $four_bytes /dev/zero | cat"
  if command -v primesieve >/dev/null; then
    measure primesieve-2p31 "primesieve 2147483648 --count --threads=1 --quiet"
  fi
done

load="$(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
python3 bench/speed_table.py "$samples" "$runs" "$load" ${write:+--write "$write"}
