#!/usr/bin/env bash
# Sets up, checks formatting and the layer arrows, builds with AddressSanitizer
# and UndefinedBehaviorSanitizer (warnings are errors) and runs every test, then
# the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
scripts/check-layers.py
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DZY_SANITIZE=ON -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build/asan -j2
ctest --test-dir build/asan --output-on-failure -j2
# The fuzz targets, with clang's libFuzzer, each for its time (ZY_FUZZ_SECONDS).
cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DZY_FUZZ=ON
cmake --build build/fuzz -j2
ctest --test-dir build/fuzz --output-on-failure -j2
