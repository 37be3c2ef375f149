#!/usr/bin/env bash
# Runs the tests of a cross build under wine: the unit tests through ctest,
# then the real program's dialogue at a terminal, compared with the Linux
# program's.
#
# Usage: run_wine_tests.sh CROSS_BUILD_DIR LINUX_PROGRAM
#
# The wine prefix lives in the build folder. Its server is started once
# and the prefix booted once, before the first test: otherwise every test
# would wait for wine's background processes to come up, and a run can
# hang on them. The server is stopped at the end, also after a failure.
set -euo pipefail

build=$(cd "$1" && pwd)
linux_program=$2
here=$(cd "$(dirname "$0")" && pwd)

export WINEPREFIX="$build/wine-prefix"
export WINEDEBUG=-all
# No Mono or Gecko installer while the prefix is created.
export WINEDLLOVERRIDES="mscoree,mshtml="
export PATH="/usr/lib/wine:$PATH"
unset DISPLAY WAYLAND_DISPLAY

mkdir -p "$WINEPREFIX"
stop_wine() { wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT

# Wine's background processes keep the standard streams they were started
# with: a pipe there would never see its end.
log="$build/wine.log"
stop_wine  # a server left over from an interrupted run
wineserver -w 2>/dev/null || true
if ! wineserver -p </dev/null >"$log" 2>&1; then
  echo "the wine server did not start; see $log" >&2
  exit 1
fi
started=$(date +%s)
if ! timeout 300 wine64 wineboot </dev/null >>"$log" 2>&1; then
  echo "wine could not boot the prefix $WINEPREFIX; see $log" >&2
  exit 1
fi
echo "wine prefix ready in $(($(date +%s) - started)) s"

(cd "$build" && ctest --output-on-failure --timeout 300)
timeout 900 python3 "$here/wine_dialogue_test.py" --exe "$build/brown-robinson.exe" --linux "$linux_program"
