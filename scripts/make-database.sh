#!/usr/bin/env bash
# Makes the program's database from the text in data/ with the project's own tool.
#   scripts/make-database.sh [BUILD_DIR] [OUT] [--overwrite]
# Without --overwrite an existing OUT is kept (it holds the user's sections and report archive).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
OUT="${2:-$BUILD/bin/data.db}"
MODE="${3:---keep-existing}"
if [ ! -f "$BUILD/build.ninja" ] && [ ! -f "$BUILD/Makefile" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$BUILD" --target velaron_make_database
"$BUILD/data/velaron_make_database" "$OUT" "$ROOT/data/schema.sql" "$ROOT/data/reference.sql" \
  "$ROOT/data/methane/methane-properties.csv" "$MODE"
