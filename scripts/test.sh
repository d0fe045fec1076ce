#!/usr/bin/env bash
# Builds the library and runs every test: the normal build (C++ and Java), the address+undefined
# and the thread sanitizer builds, the extended build (clang, sanitizers, a bounded run of each
# fuzzer), the aarch64 build (the robot controller's processor; its tests run under qemu-user)
# and the build against the 2027 HAL (C++ and Java). Installs what is missing first.
#   scripts/test.sh            all six builds
#   scripts/test.sh default    only the named presets
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

presets=("$@")
((${#presets[@]})) || presets=(default asan tsan extended arm64 hal2027)
for preset in "${presets[@]}"; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
