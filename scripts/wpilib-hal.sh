#!/usr/bin/env bash
# Builds WPILib's own simulation HAL from the unmodified source snapshots in ../shared/wpilib/, so
# that the tests can run the library over the real HAL and compare our HAL declarations with its
# headers. For each release it unpacks the snapshot into build/wpilib/src/<tag>/ and builds
# libwpiHal.so and what it links (libwpiutil.so; for 2027 also ntcore, wpinet and datalog) into
# build/wpilib/<tag>/. A finished build is kept: a later run only prints where it is.
#
#   scripts/wpilib-hal.sh            both releases
#   scripts/wpilib-hal.sh TAG ...    only these (v2026.2.2, v2027.0.0-alpha-6)
#   scripts/wpilib-hal.sh --where    prints the snapshot folder, or nothing when there is none
#
# Each finished release folder holds:
#   lib/        libwpiHal.so, libwpiutil.so (and, for 2027, libntcore.so, libwpinet.so, libdatalog.so)
#   include.txt the include path a program built against it needs, one folder a line
#   done        written last: the build is complete
# Where the snapshots are absent (a clone without ../shared) it says so and exits 0: nothing to do.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
snapshots=${BROVA_WPILIB_SNAPSHOTS:-$root/../shared/wpilib}

if [[ ${1:-} == --where ]]; then
  [[ -d $snapshots ]] && ls "$snapshots"/allwpilib-v*.tar.xz >/dev/null 2>&1 && echo "$snapshots"
  exit 0
fi

tags=("$@")
((${#tags[@]})) || tags=(v2026.2.2 v2027.0.0-alpha-6)

if ! ls "$snapshots"/allwpilib-v*.tar.xz >/dev/null 2>&1; then
  echo "wpilib-hal.sh: no WPILib snapshots in $snapshots; skipped (nothing built)"
  exit 0
fi

for tag in "${tags[@]}"; do
  out=$root/build/wpilib/$tag
  if [[ -f $out/done ]]; then
    echo "wpilib-hal.sh: WPILib $tag simulation HAL already built in $out"
    continue
  fi
  archive=$snapshots/allwpilib-$tag.tar.xz
  [[ -f $archive ]] || { echo "wpilib-hal.sh: $archive missing" >&2; exit 1; }
  src=$root/build/wpilib/src/$tag
  work=$root/build/wpilib/work/$tag
  rm -rf "$src" "$out"
  mkdir -p "$src" "$out/lib"
  tar -xJf "$archive" -C "$src" --strip-components=1
  # WPILib adds hal/ only with wpilibc or its simulation modules, which need wpimath and more;
  # here the HAL is all that is wanted, so the unpacked copy adds it on its own.
  sed -i 's/^if(WITH_WPILIB OR WITH_SIMULATION_MODULES)$/if(TRUE)/' "$src/CMakeLists.txt"
  grep -q '^if(TRUE)$' "$src/CMakeLists.txt" ||
    { echo "wpilib-hal.sh: $tag: the condition that adds hal/ was not found" >&2; exit 1; }
  options=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DWITH_JAVA=OFF -DWITH_JAVA_SOURCE=OFF
    -DWITH_CSCORE=OFF -DWITH_WPIMATH=OFF -DWITH_WPILIB=OFF -DWITH_TESTS=OFF -DWITH_GUI=OFF
    -DWITH_SIMULATION_MODULES=OFF -DWITH_PROTOBUF=OFF -DWITH_BENCHMARK=OFF -DWITH_WPIUNITS=OFF
    -DWITH_DOCS=OFF -DNO_WERROR=ON)
  case $tag in
    v2026.*) options+=(-DWITH_NTCORE=OFF) ;;
    *) options+=(-DWITH_NTCORE=ON) ;;
  esac
  echo "wpilib-hal.sh: building WPILib $tag's simulation HAL (this takes a while, once)"
  start=$(date +%s)
  cmake -S "$src" -B "$work" "${options[@]}" >"$out/configure.log" 2>&1 ||
    { tail -30 "$out/configure.log" >&2; exit 1; }
  nice cmake --build "$work" --target hal >"$out/build.log" 2>&1 ||
    { grep -m 20 -B2 -A8 'error' "$out/build.log" >&2 || tail -40 "$out/build.log" >&2; exit 1; }
  find "$work" -name 'lib*.so*' -exec cp -P {} "$out/lib/" \;
  # The include path a program built against this HAL needs: the HAL's public headers (2026's
  # hal/HAL.h also includes the checked-in generated FRCUsageReporting.h) and wpiutil's.
  includes=("$src/hal/src/main/native/include")
  [[ -d $src/hal/src/generated/main/native/include ]] &&
    includes+=("$src/hal/src/generated/main/native/include")
  includes+=("$src/wpiutil/src/main/native/include")
  for dir in "$src"/wpiutil/src/main/native/thirdparty/*/include; do includes+=("$dir"); done
  printf '%s\n' "${includes[@]}" >"$out/include.txt"
  echo "$(($(date +%s) - start)) s" >"$out/seconds"
  touch "$out/done"
  echo "wpilib-hal.sh: WPILib $tag built in $(cat "$out/seconds") into $out"
done
