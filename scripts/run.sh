#!/bin/sh
# Builds Pellion into build/ and starts it.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ -DPELLION_TESTS=OFF >/dev/null
cmake --build build
exec ./build/pellion
