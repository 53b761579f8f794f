#!/bin/sh
# Fails when a tracked source (the .inc kernels included) is not laid out as .clang-format says.
set -e
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' '*.inc' | xargs clang-format --dry-run --Werror
echo "format-check: every source as .clang-format lays it out"
