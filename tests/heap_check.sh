#!/usr/bin/env bash
# The program allocates nothing on the heap: whole games, with and without
# the options and a game file, run under valgrind, and any allocation (by
# the program or by anything it links, Boost included) fails the check.
set -euo pipefail
program=${1:?usage: heap_check.sh PROGRAM}
examples=$(dirname "$0")/../examples
worked='Alice Bob\n3 3\n5 0 7\n2 5 0\n6 1 8\nY\n1\n4\n4\nq'
log=$(mktemp)
files=$(mktemp -d)
trap 'rm -f "$log"; rm -rf "$files"' EXIT
failed=0

# One game: its answers on standard input, without a terminal, the rest of
# the arguments passed on.
check() {
  local answers=$1
  shift
  printf '%b' "$answers" | setsid -w valgrind --log-file="$log" "$program" "$@" >/dev/null 2>&1 || true
  if ! grep -q 'total heap usage: 0 allocs, 0 frees, 0 bytes allocated' "$log"; then
    echo "heap allocation in: brown-robinson $*" >&2
    grep 'total heap usage' "$log" >&2 || cat "$log" >&2
    failed=1
  fi
}

check "$worked"
check "$worked" --exact --wide
check 'Y\n1\n99\n99\nq' "$examples/largest.game"
check 'Y\n1\n99\n99\nq' --exact --wide "$examples/largest.game"
# A long run that writes every format of -o (a million iterations: under
# valgrind ten million would take minutes, and nothing changes with N).
check 'Y\n1\n150\nq' -x -w -n 1000000 -o "$files/run.svg" -o "$files/run.html" -o "$files/run.csv" \
  -o "$files/run.nfg" -o "$files/run.game" "$examples/largest.game"
check 'Y\n1\n4\n4\nq' "$examples/audience.nfg"
# The course exercise: to an accuracy, step by step, with the graph.
check 'Y\n1\n4\nq' -e 0.01 --steps -x -o "$files/graph.graph.svg" -o "$files/steps.html" "$examples/worked.game"
check 'N\n0\nq' -e 1e-9 -s -o "$files/none.graph.svg" "$examples/largest.game"
# The same game on standard input, the answers typed after it.
check "$(cat "$examples/audience.nfg")\nY\n1\n4\n4\nq" -
check '' --help
check "$worked" /nonexistent.game
# Nor does it load the mathematics library: mapped for a function or two,
# it would cost every run half a megabyte (output/picture_math.h).
if ldd "$program" | grep -q 'libm\.so'; then
  echo "the program links the mathematics library" >&2
  failed=1
fi
if [ "$failed" -ne 0 ]; then exit 1; fi
echo "heap check: no allocation in any game"
