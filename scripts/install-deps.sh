#!/bin/bash
# Installs what the build and the tests need on a fresh Debian machine (root).
set -euo pipefail
packages=(
  cmake make g++ binutils
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine64 xvfb xauth
  libgtest-dev googletest
  openjdk-17-jdk-headless
  python3 python3-pytest
  locales
)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine names host files through the host locale: the double-byte code page
# tests need a Japanese UTF-8 locale so that Wine's ANSI code page is 932
# while file names still map to and from UTF-8.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  localedef -i ja_JP -c -f UTF-8 ja_JP.UTF-8
fi
