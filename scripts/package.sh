#!/usr/bin/env bash
# Sets up, builds the programs for release in build/release and makes the
# Debian package there (zypanel_<version>_<arch>.deb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Warnings are errors in the test build (scripts/test.sh); g++ 12's optimiser
# adds false -Wrestrict alarms on std::string here, so this build only shows them.
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DZY_BUILD_TESTS=OFF -DZY_BUILD_BENCH=OFF \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=OFF
cmake --build build/release -j2
rm -f build/release/zypanel_*.deb
(cd build/release && cpack -G DEB >/dev/null)
echo build/release/zypanel_*.deb
