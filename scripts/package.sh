#!/bin/sh
# Builds Pellion in Release mode into build-release/ and packs it as a Debian
# package there (cpack -G DEB), its dependencies computed from the program.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh package
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_CXX_COMPILER=clang++ -DPELLION_TESTS=OFF >/dev/null
cmake --build build-release
cd build-release
cpack -G DEB
