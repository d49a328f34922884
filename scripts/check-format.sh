#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format (the committed
# .clang-format) makes of it, and names the files. Outside a git checkout every
# C++ file but the build trees' is checked.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
[ ${#files[@]} -eq 0 ] && exit 0
clang-format --dry-run --Werror "${files[@]}"
