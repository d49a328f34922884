#!/usr/bin/env bash
# Sets up, builds and starts the program on the virtual instrument.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DZY_BUILD_TESTS=OFF
cmake --build build/release -j2
if [ -x build/release/app/zypanel ]; then
    exec build/release/app/zypanel --device sim "$@"
fi
echo "Built:"; find build/release -maxdepth 2 -type f \( -name '*.a' -o -perm -u+x \) -newer CMakeLists.txt | grep -v CMakeFiles
