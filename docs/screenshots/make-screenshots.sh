#!/usr/bin/env bash
# Takes the terminal screenshots of docs/using.md again: the program in a
# real xterm under Xvfb, UTF-8 locale, a font with the Chinese characters,
# typed into through tmux. Writes docs/screenshots/menu.png and
# docs/screenshots/goldbach.png.
# Not part of CI. Usage: bash docs/screenshots/make-screenshots.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

packages=(xvfb xterm fonts-wqy-microhei imagemagick tmux x11-utils cmake g++ make)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

build="$root/build-screens"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUORVANTILE_TESTS=OFF \
  -DQUORVANTILE_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2 --target quorvantile >/dev/null
program="$build/app/quorvantile"

# A display, a tmux server and an xterm of our own, all ended on the way out.
display=:47
session=quorvantile-shots
socket="$build/tmux-shots"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
xterm_pid=
cleanup() {
  tmux -S "$socket" kill-server 2>/dev/null || true
  [ -n "$xterm_pid" ] && kill "$xterm_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done

# tmux only passes the keys in; its status line is off, so the window shows
# the program alone.
tmux_conf="$build/tmux-shots.conf"
printf 'set -g status off\nset -g default-terminal xterm-256color\n' >"$tmux_conf"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset NO_COLOR
xterm -display "$display" -geometry 80x36+0+0 -title quorvantile \
  -fa 'WenQuanYi Micro Hei Mono' -fs 12 -bg black -fg grey90 -bc -cr grey90 \
  -e tmux -S "$socket" -f "$tmux_conf" new-session -s "$session" "$program; sleep 30" &
xterm_pid=$!

# Waits until the screen holds `text`.
wait_for() {
  for _ in $(seq 100); do
    tmux -S "$socket" capture-pane -p -t "$session" 2>/dev/null | grep -qF "$1" && return 0
    sleep 0.1
  done
  echo "the screen never showed: $1" >&2
  exit 1
}
type_line() {
  tmux -S "$socket" send-keys -t "$session" -l "$1"
  tmux -S "$socket" send-keys -t "$session" Enter
}
shoot() {
  sleep 0.5  # let xterm draw the last output
  local window
  window=$(xwininfo -name quorvantile | awk '/Window id:/ {print $4}')
  import -window "$window" -colors 64 "$here/$1"
  echo "wrote docs/screenshots/$1 ($(stat -c %s "$here/$1") bytes)"
}

wait_for "Please choose:"
shoot menu.png

type_line 1
wait_for "Please input a positive even integer:"
type_line 100
wait_for "pair(s) of Prime Numbers that add up to 100"
shoot goldbach.png

type_line 888
wait_for "PRESS ANY KEY"
type_line ""
wait_for "Please choose:"
type_line 8
