#!/usr/bin/env bash
# Builds the Debian packages as a packager would: a Release build of its own with Debian's
# hardening flags (dpkg-buildflags: fortify, stack protector, relro and bind-now, PIE), binaries
# stripped of their symbols and .comment/.note sections, file times from the changelog's date
# (SOURCE_DATE_EPOCH), so two builds of one source give the same packages.
#   scripts/package.sh [OUTPUT_DIR]     (default: build-package/packages)
# Prints the paths of the packages it made, one per line, last.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-package
output=$(realpath -m "${1:-$build/packages}")
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
# CMake reads CFLAGS, CXXFLAGS and LDFLAGS, not CPPFLAGS (which holds _FORTIFY_SOURCE).
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l resources/debian/changelog -STimestamp)}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXTEL_BUILD_TESTS=OFF \
  -DCMAKE_C_FLAGS_RELEASE="-DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-DNDEBUG" \
  -DCMAKE_STRIP="$PWD/scripts/strip-for-package.sh" >/dev/null
cmake --build "$build" -j "$(nproc)"
rm -rf "$output"
mkdir -p "$output"
(cd "$build" && cpack -G DEB -B "$output" >cpack.log 2>&1) ||
  { cat "$build/cpack.log"; exit 1; }
ls "$output"/*.deb
