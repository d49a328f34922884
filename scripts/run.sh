#!/usr/bin/env bash
# Sets up, builds and starts the program on the virtual instrument.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DZY_BUILD_TESTS=OFF
cmake --build build/release -j2
exec build/release/app/zypanel --device sim "$@"
