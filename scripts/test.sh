#!/bin/sh
# Builds the whole test suite under the sanitizers into build-tests/ and runs it through ctest.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh test
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_COMPILER=clang++ -DPELLION_TESTS=ON -DPELLION_SANITIZE=ON \
      -DPELLION_WERROR=ON >/dev/null
cmake --build build-tests
cd build-tests
exec ctest --output-on-failure "$@"
