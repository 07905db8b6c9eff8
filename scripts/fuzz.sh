#!/usr/bin/env bash
# Builds the archive engine's fuzz target with clang-14, libFuzzer, ASan and UBSan in
# build/fuzz and runs it on a seed corpus made here (a ZIP of a small tree, Info-ZIP archives,
# an installer with an opaque extra field). Not part of the test suite: run by hand.
#   scripts/fuzz.sh [SECONDS]   (default 600)
# Crashing inputs land in build/fuzz/crashes; keep them in archive/fuzz/regressions once fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-600}
build=$root/build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DCORVANE_FUZZ=ON -DCORVANE_SANITIZE=ON >/dev/null
cmake --build "$build" -j2 --target archive_fuzz

corpus=$build/corpus/archive
mkdir -p "$corpus" "$build/crashes"
if [ -z "$(ls -A "$corpus")" ]; then
  seed=$(mktemp -d)
  mkdir -p "$seed/t/Windows/lib"
  printf 'vrx.java.main=a.Main\n' > "$seed/t/Windows/setup.vrx"
  seq 1 300 > "$seed/t/Windows/lib/n.txt"
  printf 'MZ' > "$seed/t/Windows/setup.exe"
  (cd "$seed/t" && zip -q -r -X "$corpus/plain.zip" . && zip -q -r -X -0 "$corpus/stored.zip" . \
     && zip -q -r -X -9 "$corpus/max.zip" .)
  printf 'MZstub' > "$seed/stub.exe"
  if [ -x "$root/build/native/tools/sfxbuild/sfxbuild" ]; then
    "$root/build/native/tools/sfxbuild/sfxbuild" --quiet --stub "$seed/stub.exe" --launcher 'Windows\setup.exe' \
      --time 2025-09-15T11:16:22 -o "$corpus/installer.exe" "$seed/t"
  fi
  # An installer of another builder: program image, header, then members whose 11-byte extra
  # field of hex digits is not in tagged form.
  python3 - "$corpus/opaque-extra.exe" <<'PY'
import io, sys, zipfile
buffer = io.BytesIO()
with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as z:
    for name, data in (("Windows/setup.vrx", b"vrx.java.main=a.Main\n"), ("Windows/lib/n.txt", b"1 2 3\n" * 50)):
        info = zipfile.ZipInfo(name, (2025, 9, 15, 11, 16, 22))
        info.compress_type = zipfile.ZIP_DEFLATED
        info.extra = b"0A1B2C3D4E5"
        z.writestr(info, data)
header = b"[>N\0" + b"Windows\\setup.exe".ljust(1024, b"\0")
open(sys.argv[1], "wb").write(b"MZ" + bytes(510) + header + buffer.getvalue())
PY
  cp "$root"/archive/fuzz/regressions/* "$corpus"/ 2>/dev/null || true
  rm -rf "$seed"
fi
cd "$build"
ASAN_OPTIONS=detect_leaks=1 ./archive/archive_fuzz -max_total_time="$seconds" -max_len=65536 -timeout=20 \
  -rss_limit_mb=1024 -artifact_prefix="$build/crashes/" -print_final_stats=1 "$corpus"
