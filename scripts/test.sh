#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds the native, win64 and win32 trees, and
# runs every test of the native and win64 trees (unit tests natively and under Wine, end-to-end
# tests under Wine). The win32 tree is built only: this machine cannot run 32-bit code.
# Exits non-zero when anything fails to build or any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/bootstrap.sh

jobs=$(nproc)
for preset in native win64 win32; do
  echo "== configure and build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

echo "== tests: native"
ctest --preset native -j "$jobs"

echo "== tests: win64 (under Wine)"
export CORVANE_WINEPREFIX="$root/build/win64/wineprefix"
export WINEPREFIX="$CORVANE_WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w
fi
# Wine's desktop process starts with the wineserver and takes its display from the program that
# started it; started without one, it leaves every later program of the run unable to open a
# window. So the run has an X display of its own, on a free number; tests that look at windows
# still start their own displays.
coproc XVFB { exec Xvfb -displayfd 1 -nolisten tcp -screen 0 1024x768x24 2>/dev/null; }
xvfb_pid=$XVFB_PID
read -r -t 30 display_number <&"${XVFB[0]}"
export DISPLAY=":$display_number"
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; kill "$xvfb_pid" 2>/dev/null || true' EXIT
# One persistent wineserver for the whole run, with Wine's background processes started before
# any test runs, with no test's output pipe attached (see cmake/wine-run.in).
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -p
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
ctest --preset win64 -j "$jobs"
