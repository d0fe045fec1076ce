#!/usr/bin/env bash
# Writes what a robot project needs to add BrovaDriver as a vendor library:
#   build/maven/        a Maven repository (group com.quorvel.frc): BrovaDriver-java (the jar, its
#                       sources and javadoc), and BrovaDriver-cpp, the one library: the public
#                       headers, its sources, and per platform a zip holding
#                       linux/<arch>/shared/libBrovaDriver.so (the C entry points, the C++
#                       objects, and the natives of the raw and the object Java classes), with a
#                       debug variant holding libBrovaDriverd.so. A robot program links, and Java
#                       loads, that one library.
#                       BrovaDriverSim-cpp, for desktop simulation only: per desktop platform a
#                       zip holding linux/<arch>/shared/libBrovaDriverSim.so, the device models
#                       that libBrovaDriver.so loads from beside itself when it runs on WPILib's
#                       simulation HAL (debug: libBrovaDriverSimd.so), its one header and sources.
#   build/vendordeps/   the vendordep files, one per WPILib release line, each named after the
#                       year string its GradleRIO requires (and checks character for character):
#                         BrovaDriver-2026.json          "frcYear": "2026"; GradleRIO 2026
#                         BrovaDriver-2027_alpha5.json   "wpilibYear": "2027_alpha5"; GradleRIO
#                                                        2027.0.0-alpha-5 and alpha-6
#                         BrovaDriver-2027.json          "wpilibYear": "2027"; the 2027 release
#                                                        (not yet checked against a GradleRIO)
#                       They share one UUID: a project keeps one of them.
# Each HAL generation is its own version, YEAR.<project version>: the 2027 set for the 2027 control
# system (linuxx86-64 for desktop simulation, linuxarm64 and linuxsystemcore), named by both 2027
# files, the 2026 set for the older HAL (linuxx86-64). The library links the robot's HAL by its
# name, libwpiHal.so; the simulated platform, built under that name, stands in for it here.
#
#   scripts/package.sh            builds everything it packages, then writes both folders
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh

project_version=$(sed -n 's/^project(BrovaDriver VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n $project_version ]] || { echo "package.sh: no project version in CMakeLists.txt" >&2; exit 1; }
group=com.quorvel.frc
group_path=com/quorvel/frc
uuid=eb29fc94-5d44-4d91-93a0-80a836177435
maven_url=https://maven.quorvel.com/frc
work=$root/build/package
repo=$root/build/maven
vendordeps=$root/build/vendordeps
rm -rf "$work/stage" "$repo" "$vendordeps"
mkdir -p "$work/stage" "$repo" "$vendordeps"

say() { echo "== $*"; }

# The packaged library; a debug build names it with a "d" before ".so".
library=BrovaDriver
# The sources it is built from (folders of brovaDriver/).
sources=(common can controller analog devices exports objects)
# The device models for desktop simulation: their library, and the desktop platforms it is for.
sim_library=BrovaDriverSim
# The driver's Java classes of com.quorvel.frc.sim (that package's others are the simulated
# platform's, not packaged): the public ones, documented, and their natives.
java_sim=(com/quorvel/frc/sim/BrovaQuadSim.java com/quorvel/frc/sim/BrovaSmallSim.java
  com/quorvel/frc/sim/FeruxSim.java)
java_sim_natives=com/quorvel/frc/sim/SimulatedNatives.java

# build NAME HAL TYPE [TOOLCHAIN]: the library alone (and, on this machine's processor, the
# stand-in platform and the jar), under build/package/NAME.
build() {
  local name=$1 hal=$2 type=$3 toolchain=${4:-} debug=
  [[ $type == Debug ]] && debug=d
  # Built with the RUNPATH they have when installed ($ORIGIN: the HAL beside them), not the
  # build's.
  local args=(-G Ninja -DCMAKE_BUILD_TYPE="$type" -DBROVA_HAL="$hal" -DBROVA_BUILD_TESTS=OFF
    -DBROVA_BUILD_BENCHMARKS=OFF -DBROVA_JAVA=ON -DBROVA_SIM_AS_WPIHAL=ON
    -DBROVA_LIBRARY_NAME="$library$debug" -DCMAKE_BUILD_WITH_INSTALL_RPATH=ON)
  [[ -n $toolchain ]] && args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain")
  say "building $name ($type, HAL $hal)"
  cmake -S "$root" -B "$work/$name" "${args[@]}" >/dev/null
  cmake --build "$work/$name" --target "$library" brovaDriverJar BrovaDriverSim
}

# platform_zip ZIP ARCH FILE: a zip whose only file is linux/ARCH/shared/ and FILE's name.
platform_zip() {
  local zip=$1 arch=$2 file=$3
  local stage=$work/stage/$(basename "$zip" .zip)
  mkdir -p "$stage/linux/$arch/shared"
  cp -L "$file" "$stage/linux/$arch/shared/"
  (cd "$stage" && jar cfM "$zip" linux)
}

# pom DIR ARTIFACT VERSION PACKAGING
pom() {
  cat >"$1/$2-$3.pom" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<project xmlns="http://maven.apache.org/POM/4.0.0"
         xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
         xsi:schemaLocation="http://maven.apache.org/POM/4.0.0 http://maven.apache.org/xsd/maven-4.0.0.xsd">
  <modelVersion>4.0.0</modelVersion>
  <groupId>$group</groupId>
  <artifactId>$2</artifactId>
  <version>$3</version>
  <packaging>$4</packaging>
  <name>BrovaDriver</name>
  <description>BrovaQuad and BrovaSmall CAN motor controllers and the Ferux analog board</description>
</project>
EOF
}

# json_list A B C: ["A", "B", "C"]
json_list() {
  local out="" item
  for item in "$@"; do out+="${out:+, }\"$item\""; done
  echo "[$out]"
}

# vendordep YEAR_KEY YEAR VERSION DESKTOP_PLATFORMS PLATFORM...: BrovaDriver-YEAR.json, for the
# GradleRIO that requires "YEAR_KEY": "YEAR"; DESKTOP_PLATFORMS (comma-separated) get the device
# models.
vendordep() {
  local year_key=$1 year=$2 version=$3 desktop=$4
  shift 4
  local platforms desktops
  platforms=$(json_list "$@")
  desktops=$(json_list ${desktop//,/ })
  cat >"$vendordeps/BrovaDriver-$year.json" <<EOF
{
  "fileName": "BrovaDriver-$year.json",
  "name": "BrovaDriver",
  "version": "$version",
  "uuid": "$uuid",
  "$year_key": "$year",
  "mavenUrls": ["$maven_url"],
  "jsonUrl": "$maven_url/BrovaDriver-$year.json",
  "javaDependencies": [
    {"groupId": "$group", "artifactId": "BrovaDriver-java", "version": "$version"}
  ],
  "jniDependencies": [
$(jni_dependency "$version" "$platforms"),
$(sim_dependency "$version" "$desktops" jni)
  ],
  "cppDependencies": [
$(cpp_dependency "$version" "$platforms"),
$(sim_dependency "$version" "$desktops" cpp)
  ]
}
EOF
}

# sim_dependency VERSION PLATFORMS KIND: the device models, for a simulation only ("simMode":
# "swsim"): Java's natives folder and a C++ program's libraries get them beside the library.
sim_dependency() {
  local extra
  if [[ $3 == jni ]]; then
    extra="\"isJar\": false,
      \"skipInvalidPlatforms\": true,
      \"validPlatforms\": $2,"
  else
    extra="\"libName\": \"$sim_library\",
      \"headerClassifier\": \"headers\",
      \"sourcesClassifier\": \"sources\",
      \"sharedLibrary\": true,
      \"skipInvalidPlatforms\": true,
      \"binaryPlatforms\": $2,"
  fi
  printf '%s' "    {
      \"groupId\": \"$group\",
      \"artifactId\": \"$sim_library-cpp\",
      \"version\": \"$1\",
      $extra
      \"simMode\": \"swsim\"
    }"
}

# jni_dependency VERSION PLATFORMS: Java loads the library from its platform zip.
jni_dependency() {
  printf '%s' "    {
      \"groupId\": \"$group\",
      \"artifactId\": \"$library-cpp\",
      \"version\": \"$1\",
      \"isJar\": false,
      \"skipInvalidPlatforms\": true,
      \"validPlatforms\": $2
    }"
}

# cpp_dependency VERSION PLATFORMS: a C++ program links the library.
cpp_dependency() {
  printf '%s' "    {
      \"groupId\": \"$group\",
      \"artifactId\": \"$library-cpp\",
      \"version\": \"$1\",
      \"libName\": \"$library\",
      \"headerClassifier\": \"headers\",
      \"sourcesClassifier\": \"sources\",
      \"sharedLibrary\": true,
      \"skipInvalidPlatforms\": true,
      \"binaryPlatforms\": $2
    }"
}

# publish_cpp VERSION PLATFORM=ARCH=BUILD...: the library's artifact of one version: the headers
# (the one public folder), its sources, a zip per platform and build type.
publish_cpp() {
  local version=$1
  shift
  local artifact=$library-cpp
  local cpp_dir=$repo/$group_path/$artifact/$version
  mkdir -p "$cpp_dir"
  (cd brovaDriver/include && jar cfM "$cpp_dir/$artifact-$version-headers.zip" .)
  (cd brovaDriver && jar cfM "$cpp_dir/$artifact-$version-sources.zip" "${sources[@]}")
  local entry platform arch build_dir
  for entry in "$@"; do
    IFS== read -r platform arch build_dir <<<"$entry"
    platform_zip "$cpp_dir/$artifact-$version-$platform.zip" "$arch" \
      "$work/$build_dir/brovaDriver/lib$library.so"
    platform_zip "$cpp_dir/$artifact-$version-${platform}debug.zip" "$arch" \
      "$work/$build_dir-debug/brovaDriver/lib${library}d.so"
  done
  pom "$cpp_dir" "$artifact" "$version" pom
}

# publish_sim VERSION PLATFORM=ARCH=BUILD...: the device models' artifact of one version, for the
# desktop platforms named.
publish_sim() {
  local version=$1
  shift
  local artifact=$sim_library-cpp
  local sim_dir=$repo/$group_path/$artifact/$version
  mkdir -p "$sim_dir"
  (cd platform/wpilibsim/include && jar cfM "$sim_dir/$artifact-$version-headers.zip" .)
  (cd platform && jar cfM "$sim_dir/$artifact-$version-sources.zip" models wpilibsim)
  local entry platform arch build_dir
  for entry in "$@"; do
    IFS== read -r platform arch build_dir <<<"$entry"
    platform_zip "$sim_dir/$artifact-$version-$platform.zip" "$arch" \
      "$work/$build_dir/platform/wpilibsim/lib$sim_library.so"
    platform_zip "$sim_dir/$artifact-$version-${platform}debug.zip" "$arch" \
      "$work/$build_dir-debug/platform/wpilibsim/lib${sim_library}d.so"
  done
  pom "$sim_dir" "$artifact" "$version" pom
}

# publish VERSION JAR_BUILD PLATFORM=ARCH=BUILD...: every artifact of one version.
publish() {
  local version=$1 jar_build=$2
  shift 2
  local java_dir=$repo/$group_path/BrovaDriver-java/$version
  mkdir -p "$java_dir"

  cp "$jar_build/brovaDriver/brova-driver.jar" "$java_dir/BrovaDriver-java-$version.jar"
  (cd java/src/main/java && jar cfM "$java_dir/BrovaDriver-java-$version-sources.jar" \
    com/quorvel/frc/*.java com/quorvel/frc/jni "${java_sim[@]}" "$java_sim_natives")
  (cd "$work/javadoc" && jar cfM "$java_dir/BrovaDriver-java-$version-javadoc.jar" .)
  pom "$java_dir" BrovaDriver-java "$version" jar

  publish_cpp "$version" "$@"
}

for type in Release Debug; do
  suffix=${type/Release/}
  suffix=${suffix:+-debug}
  build "x86-64-2027$suffix" 2027 "$type"
  build "arm64-2027$suffix" 2027 "$type" aarch64-linux-gnu.cmake
  build "x86-64-2026$suffix" 2026 "$type"
done

say "javadoc"
rm -rf "$work/javadoc"
javadoc -quiet -Xdoclint:none -d "$work/javadoc" -sourcepath java/src/main/java \
  com.quorvel.frc com.quorvel.frc.jni "${java_sim[@]/#/java/src/main/java/}" >/dev/null

version2027=2027.$project_version
version2026=2026.$project_version
say "writing $repo ($version2027, $version2026) and $vendordeps"
publish "$version2027" "$work/x86-64-2027" linuxx86-64=x86-64=x86-64-2027 \
  linuxarm64=arm64=arm64-2027 linuxsystemcore=systemcore=arm64-2027
publish "$version2026" "$work/x86-64-2026" linuxx86-64=x86-64=x86-64-2026
# The device models are for desktop simulation: never for the robot controller (linuxsystemcore).
publish_sim "$version2027" linuxx86-64=x86-64=x86-64-2027 linuxarm64=arm64=arm64-2027
publish_sim "$version2026" linuxx86-64=x86-64=x86-64-2026
vendordep frcYear 2026 "$version2026" linuxx86-64 linuxx86-64
vendordep wpilibYear 2027_alpha5 "$version2027" linuxx86-64,linuxarm64 \
  linuxx86-64 linuxarm64 linuxsystemcore
vendordep wpilibYear 2027 "$version2027" linuxx86-64,linuxarm64 \
  linuxx86-64 linuxarm64 linuxsystemcore

# The older controller (linuxathena, 32-bit ARM soft-float) is not packaged: Debian's
# arm-linux-gnueabi toolchain (glibc 2.36) gives a library that needs GLIBC_2.34
# (pthread_cond_clockwait, pthread_setname_np), newer than the controller's 2.33.
find "$repo" -type f -printf '%P  %s bytes\n' | sort
