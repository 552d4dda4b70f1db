#!/usr/bin/env bash
# Start-up to the first painted frame: the program against a plain Qt window, in the same run,
# under one Xvfb display; medians of ROUNDS starts of each (alternated, after one unmeasured
# start of each).
#   bench/startup.sh [BUILD_FOLDER] [--rounds N] [--check]
# --check: exit 1 when the program needs more than 25 ms over the plain window.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build; rounds=8; check=0; budget_ms=25
while [ $# -gt 0 ]; do
  case "$1" in
    --rounds) rounds=$2; shift 2 ;;
    --check) check=1; shift ;;
    *) build=$1; shift ;;
  esac
done
command -v Xvfb >/dev/null || scripts/install-deps --screenshots
cmake --build "$build" -j 2 --target vorlac_startup_probe >/dev/null
probe=$(realpath "$build/vorlac_startup_probe")

for n in $(seq 90 140); do [ -e /tmp/.X11-unix/X$n ] || { disp=$n; break; }; done
Xvfb :$disp -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
trap 'kill $xpid 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$disp ] && break; sleep 0.1; done
export DISPLAY=:$disp
# The program's marker file and state go to a scratch place, not into the user's folders.
scratch=$(mktemp -d)
trap 'kill $xpid 2>/dev/null || true; rm -rf "$scratch"' EXIT
export XDG_STATE_HOME=$scratch XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 700 "$scratch/runtime"

# One start: milliseconds from just before exec to the first frame.
start_ms() {
  local t0 t1
  t0=$(date +%s%N)
  t1=$(cd "$(dirname "$probe")" && "$probe" "$@")
  echo $(( (t1 - t0) / 1000 ))
}
median() { sort -n | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f", m / 1000 }'; }

start_ms plain >/dev/null; start_ms >/dev/null
plain=(); program=()
for _ in $(seq "$rounds"); do
  plain+=("$(start_ms plain)")
  program+=("$(start_ms)")
done
p=$(printf '%s\n' "${plain[@]}" | median)
v=$(printf '%s\n' "${program[@]}" | median)
d=$(awk -v a="$v" -v b="$p" 'BEGIN { printf "%.1f", a - b }')
echo "start-up to first frame, medians of $rounds: plain Qt window $p ms, vorlac $v ms, difference $d ms (budget $budget_ms ms)"
if [ $check -eq 1 ] && awk -v d="$d" -v b="$budget_ms" 'BEGIN { exit !(d > b) }'; then
  echo "startup: over budget" >&2
  exit 1
fi
