#!/usr/bin/env bash
# Runs one fuzz target longer than the test command does:
#   scripts/fuzz.sh NAME [SECONDS]      (default 600 s)
# It starts from the repository's seed corpus plus whatever earlier runs found,
# kept in build/fuzz/corpus-NAME (never in the repository); a crash is
# written to build/fuzz/ as crash-*.
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:?usage: scripts/fuzz.sh NAME [SECONDS]}
seconds=${2:-600}
[ -f "tests/fuzz/fuzz_$name.cpp" ] || { echo "no fuzz target '$name'" >&2; exit 2; }
scripts/install-deps.sh
cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DZY_FUZZ=ON >/dev/null
cmake --build build/fuzz -j2 --target "fuzz_$name"
corpus="build/fuzz/corpus-$name"
mkdir -p "$corpus"
cp -n "tests/fuzz/corpus/$name"/* "$corpus"/
cd build/fuzz
exec "./tests/fuzz/fuzz_$name" -dict="../../tests/fuzz/$name.dict" -max_total_time="$seconds" \
    -timeout=10 -print_final_stats=1 "corpus-$name"
