#!/bin/bash
# Builds the launcher executables (build/win-x86/launcher.exe, the 32-bit
# product, and build/win-x64/launcher.exe) and the host build of the
# portable code, with everything the tests use.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
for preset in win-x86 win-x64 host; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j2
done
ls -l build/win-x86/launcher.exe build/win-x64/launcher.exe
