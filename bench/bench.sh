#!/usr/bin/env bash
# How the whole program compares with the smallest process there is, in
# wall time (hyperfine) and in peak resident size, beside /bin/true:
# - a complete scripted 10 by 10 game of 99 iterations with all 99 table
#   rows, as the program runs without options;
# - the largest hostile game, 10 by 10 with entries of up to 10,000,000
#   in magnitude, 99 iterations and 99 rows, with --exact --wide: the
#   exact solution and the wide table on top.
# - the long run: the hostile game at 10,000,000 iterations with --exact
#   and no table rows, beside the plain C loop of the method that only
#   adds, scans and averages (fp_reference.c, from the shared folder or
#   $FP_REFERENCE), which is the limit such a run is held to.
# Needs: hyperfine, python3 and a C compiler with a static C library
# (Debian: hyperfine python3 gcc libc6-dev).
set -euo pipefail
cd "$(dirname "$0")/.."

make all >/dev/null
program=build/release/brown-robinson
game=$(mktemp)
hostile=$(mktemp)
long_answers=$(mktemp)
long_game=$(mktemp)
reference_input=$(mktemp)
trap 'rm -f "$game" "$hostile" "$long_answers" "$long_game" "$reference_input"' EXIT

# A fixed pseudo-random 10 by 10 game with entries from -range to range,
# the automatic start, 99 iterations and 99 rows; no final key, so the run
# ends with status 0 at the end of its input.
write_game() {
  local range=$1
  echo "Rows Columns"
  echo "10 10"
  seed=12345
  for cell in $(seq 100); do
    seed=$(( (seed * 1103515245 + 12345) % 2147483648 ))
    printf '%d ' $(( seed % (2 * range + 1) - range ))
  done
  echo
  echo "N"
  echo "99"
  echo "99"
}
write_game 100 >"$game"
write_game 10000000 >"$hostile"

# The long run: the hostile game as a game file, the answers (start 1, no
# table rows, a final key) on standard input; the reference reads m n,
# the matrix, the start and N.
long_iterations=10000000
sed -n '1,3p' "$hostile" >"$long_game"
printf 'Y\n1\n0\nq' >"$long_answers"
{ echo "10 10"; sed -n '3p' "$hostile"; echo "1 $long_iterations"; } >"$reference_input"
reference_source=${FP_REFERENCE:-../shared/bench/fp_reference.c}
reference=build/bench/fp_reference

launcher=build/bench/launch
mkdir -p build/bench
cc -O2 -static -o "$launcher" bench/launch.c
cc -O2 -o "$reference" "$reference_source"

hyperfine -N --warmup 50 --min-runs 500 --export-json build/bench/times.json \
  "$launcher $game $program" \
  "$launcher $hostile $program --exact --wide" \
  "$launcher $game /bin/true"

hyperfine -N -i --warmup 3 --min-runs 20 --export-json build/bench/long.json \
  "$launcher $long_answers $program --exact -n $long_iterations $long_game" \
  "$launcher $reference_input $reference"

read -r program_mean hostile_mean true_mean < <(python3 -c '
import json, sys
r = json.load(open("build/bench/times.json"))["results"]
print(r[0]["mean"], r[1]["mean"], r[2]["mean"])')
read -r long_mean long_min reference_mean reference_min < <(python3 -c '
import json, sys
r = json.load(open("build/bench/long.json"))["results"]
print(r[0]["mean"], r[0]["min"], r[1]["mean"], r[1]["min"])')
program_rss=$("$launcher" -rss "$game" "$program")
hostile_rss=$("$launcher" -rss "$hostile" "$program" --exact --wide)
true_rss=$("$launcher" -rss "$game" /bin/true)

awk -v p="$program_mean" -v h="$hostile_mean" -v t="$true_mean" \
  -v pr="$program_rss" -v hr="$hostile_rss" -v tr="$true_rss" 'BEGIN {
  printf "time:      %.3f ms against %.3f ms for /bin/true, ratio %.2f\n", p * 1000, t * 1000, p / t
  printf "peak RSS:  %d KiB against %d KiB for /bin/true, ratio %.2f\n", pr, tr, pr / tr
  printf "hostile game with --exact --wide:\n"
  printf "time:      %.3f ms against %.3f ms for /bin/true, ratio %.2f\n", h * 1000, t * 1000, h / t
  printf "peak RSS:  %d KiB against %d KiB for /bin/true, ratio %.2f\n", hr, tr, hr / tr
}'
awk -v l="$long_mean" -v lm="$long_min" -v r="$reference_mean" -v rm="$reference_min" \
  -v n="$long_iterations" 'BEGIN {
  printf "hostile game, %d iterations, --exact, no rows, against the plain C loop:\n", n
  printf "time:      %.1f ms (min %.1f) against %.1f ms (min %.1f), ratio %.2f (min %.2f)\n",
    l * 1000, lm * 1000, r * 1000, rm * 1000, l / r, lm / rm
}'
