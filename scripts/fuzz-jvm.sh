#!/usr/bin/env bash
# Builds the JVM parser fuzz target with clang-14 (libFuzzer, ASan, UBSan) in build/fuzz and runs
# it for the given number of seconds (default 120). Run by hand; never part of ctest.
#   scripts/fuzz-jvm.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-120}
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCORVANE_FUZZ=ON -DCORVANE_SANITIZE=ON >/dev/null
cmake --build build/fuzz -j2 --target jvm_parsers_fuzz
mkdir -p build/fuzz/corpus/jvm_parsers
exec build/fuzz/jvm/jvm_parsers_fuzz -max_total_time="$seconds" -max_len=4096 \
  build/fuzz/corpus/jvm_parsers
