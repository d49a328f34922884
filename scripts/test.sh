#!/usr/bin/env bash
# Sets up, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DZY_SANITIZE=ON
cmake --build build/asan -j2
ctest --test-dir build/asan --output-on-failure -j2
