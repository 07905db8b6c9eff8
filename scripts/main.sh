#!/usr/bin/env bash
# The main job: installs what is missing, builds everything, makes a sample installer with
# sfxbuild and runs it under Wine in silent mode with the debug log on, then shows what happened:
# the working directory it unpacked, sea_loc, the command line the launcher got, the exit code
# and sea.log. The payload's launcher is the test launcher, which records what it was handed and
# exits with code 42.
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
winpath() { echo "Z:${1//\//\\}"; }
run=$(mktemp -d)
trap 'rm -rf "$run"; WINEPREFIX="$CORVANE_WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
mkdir -p "$run/tree/Windows" "$run/tree/data/docs" "$run/temp" "$run/start"
cp build/win64/tests/testlauncher.exe "$run/tree/Windows/setup.exe"
printf 'vrx.nl.java.option.java.heap.size.initial=64m\nvrx.nl.main.class=com.example.Main\n' \
  > "$run/tree/Windows/setup.vrx"
printf 'A sample payload.\r\n' > "$run/tree/data/docs/readme.txt"
head -c 200000 /dev/urandom > "$run/tree/data/app.bin"

echo
echo "== Building a sample installer with sfxbuild"
build/native/tools/sfxbuild/sfxbuild --stub build/win64/sfx/sfxstub.exe --launcher 'Windows\setup.exe' \
  -o "$run/setup.exe" --quiet "$run/tree"
echo "setup.exe: $(stat -c %s "$run/setup.exe") bytes (stub $(stat -c %s build/win64/sfx/sfxstub.exe)" \
     "bytes, header and ZIP of the tree below)"
(cd "$run/tree" && find . -type f | sort | sed "s|^\./|  |")

echo
echo "== Running: setup.exe -i silent -jvmxms 256m   (VRX_DEBUG=true, TEMP=$run/temp)"
build/win64/wine-run build/win64/tests/runexe.exe --code-file "$(winpath "$run/exit.code")" \
  --cwd "$(winpath "$run/start")" --env VRX_DEBUG=true \
  --env TMP="$(winpath "$run/temp")" --env TEMP="$(winpath "$run/temp")" \
  --env TESTLAUNCHER_RECORD="$(winpath "$run/record.json")" --env TESTLAUNCHER_EXIT=42 \
  -- "$(winpath "$run/setup.exe")" -i silent -jvmxms 256m >/dev/null || true

wd=$(find "$run/temp" -mindepth 1 -maxdepth 1 -type d -name 'I*' | head -1)
echo
echo "== Working directory: ${wd:-none was made}"
if [ -n "$wd" ]; then
  (cd "$wd" && find . -type f | sort | sed "s|^\./|  |")
  echo
  echo "== sea_loc (the installer's path in UTF-8, then 0A 00):"
  od -A d -t x1z "$wd/sea_loc" | sed 's/^/  /'
  echo
  echo "== Windows/setup.vrx after -jvmxms 256m:"
  sed 's/\r$/  [CR LF]/; s/^/  /' "$wd/Windows/setup.vrx"
fi
echo
echo "== What the launcher saw:"
if [ -f "$run/record.json" ]; then
  python3 - "$run/record.json" <<'PY'
import json, sys
r = json.load(open(sys.argv[1], encoding="utf-8"))
print("  command line:      %s" % r["command_line"])
print("  program:           %s" % r["module"])
print("  current directory: %s" % r["cwd"])
print("  access list:       %s" % r["cwd_dacl"])
PY
else
  echo "  the launcher did not run"
fi
echo
echo "== Exit code of the installer: $(cat "$run/exit.code" 2>/dev/null || echo unknown) (the launcher's 42 = 0x0000002A)"
echo
echo "== sea.log:"
sed 's/\r$//; s/^/  /' "$run/start/sea.log"
