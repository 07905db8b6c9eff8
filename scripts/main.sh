#!/usr/bin/env bash
# The main job: installs what is missing, builds everything, and runs the stub under Wine so a
# person sees what it does: its exit code and its debug log.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/bootstrap.sh
for preset in native win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)" >/dev/null
  echo "built: $preset"
done

export CORVANE_WINEPREFIX="$root/build/win64/wineprefix"
run=$(mktemp -d)
trap 'rm -rf "$run"' EXIT
echo
echo "Running the stub silently with VRX_DEBUG=true (no payload appended yet):"
build/win64/wine-run build/win64/tests/runexe.exe --cwd "Z:${run//\//\\}" --env VRX_DEBUG=true \
  -- "Z:${root//\//\\}\\build\\win64\\sfx\\sfxstub.exe" -i silent || true
echo
echo "sea.log:"
sed 's/\r$//; s/^/  /' "$run/sea.log"
/usr/lib/wine/wineserver -k 2>/dev/null || true
