#!/usr/bin/env bash
# Installs, only when missing, every Debian package the build and the tests need. Safe to run
# again: a machine that has everything installs nothing and does not touch the network.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config python3
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 libz-mingw-w64-dev
  wine wine64
  xvfb xdotool imagemagick x11-utils
  fonts-ipafont-gothic fonts-wqy-microhei fonts-nanum fonts-tlwg-loma-ttf
  zlib1g-dev libminizip-dev googletest
  clang-14 libfuzzer-14-dev
  zip unzip libarchive-tools 7zip osslsigncode openssl time
  util-linux e2fsprogs
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# wine32:i386 must not be present: this kernel cannot run 32-bit code, and with it installed the
# wine wrapper picks the 32-bit loader. Programs are started with /usr/lib/wine/wine64.
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  echo "bootstrap: note: wine32:i386 is installed; the tests start /usr/lib/wine/wine64 directly" >&2
fi

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "bootstrap: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
