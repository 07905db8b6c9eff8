#!/usr/bin/env bash
# The main job: installs what is missing, builds everything, makes a sample installer with
# sfxbuild and runs it under Wine in silent mode with the debug log on, then shows what happened:
# the working directory it unpacked, sea_loc, the .vrx after the heap option, the command line the
# Java program got, the exit code and sea.log. The payload's launcher is the real jlauncher; the
# Java VM is fakejava (the test suite's Java stand-in, version 11), named with VRX_VM, which
# records what it was handed and exits with code 42.
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
mkdir -p "$run/tree/Windows/lib" "$run/tree/data/docs" "$run/temp" "$run/start" "$run/jdk-11/bin"
cp build/win64/launcher/jlauncher.exe "$run/tree/Windows/setup.exe"
printf '%s\r\n' 'vrx.application.name=Sample' \
  'vrx.nl.java.launcher.main.class=com.example.Main' \
  'vrx.class.path=lib\app.jar' \
  'vrx.nl.valid.vm.list=J2' \
  'vrx.user.dir=..\data' \
  'vrx.nl.java.option.java.heap.size.initial=64m' > "$run/tree/Windows/setup.vrx"
printf 'PK' > "$run/tree/Windows/lib/app.jar"
printf 'A sample payload.\r\n' > "$run/tree/data/docs/readme.txt"
head -c 200000 /dev/urandom > "$run/tree/data/app.bin"
java="$run/jdk-11/bin/java.exe"
cp build/win64/tests/fakejava/java11/java.exe "$java"
printf 'exit=42\n' > "$run/jdk-11/bin/fakejava.cfg"

echo
echo "== Building a sample installer with sfxbuild"
build/native/tools/sfxbuild/sfxbuild --stub build/win64/sfx/sfxstub.exe --launcher 'Windows\setup.exe' \
  -o "$run/setup.exe" --quiet "$run/tree"
echo "setup.exe: $(stat -c %s "$run/setup.exe") bytes (stub $(stat -c %s build/win64/sfx/sfxstub.exe)" \
     "bytes, header and ZIP of the tree below)"
(cd "$run/tree" && find . -type f | sort | sed "s|^\./|  |")

args=(-i silent -jvmxms 256m VRX_VM "$(winpath "$java")")
echo
echo "== Running: setup.exe ${args[*]}"
echo "   (VRX_DEBUG=true, TEMP=$run/temp)"
build/win64/wine-run build/win64/tests/runexe.exe --code-file "$(winpath "$run/exit.code")" \
  --cwd "$(winpath "$run/start")" --env VRX_DEBUG=true \
  --env TMP="$(winpath "$run/temp")" --env TEMP="$(winpath "$run/temp")" \
  -- "$(winpath "$run/setup.exe")" "${args[@]}" | sed 's/\r$//; s/^/  output: /' || true

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
echo "== What the Java program got:"
if [ -f "$run/jdk-11/bin/fakejava.record" ]; then
  python3 - "$run/jdk-11/bin/fakejava.record" <<'PY'
import json, sys
r = json.loads(open(sys.argv[1], encoding="utf-8").readline())
print("  command line:      %s" % r["commandLine"])
print("  current directory: %s" % r["cwd"])
print("  main class:        %s" % r["mainClass"])
PY
else
  echo "  the Java program did not run"
fi
echo
echo "== Exit code of the installer: $(cat "$run/exit.code" 2>/dev/null || echo unknown) (the program's 42 = 0x0000002A)"
echo
echo "== sea.log:"
sed 's/\r$//; s/^/  /' "$run/start/sea.log"
