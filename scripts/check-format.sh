#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format (Debian 12's, version 14) makes of it
# with the style of .clang-format. `scripts/check-format.sh --fix` formats the files in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files src tools tests bench | grep -E '\.(cpp|h|inc)$')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i --style=file "${files[@]}"
else
  clang-format --dry-run --Werror --style=file "${files[@]}"
  echo "format: ${#files[@]} files as .clang-format says"
fi
