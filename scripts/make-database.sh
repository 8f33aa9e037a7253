#!/usr/bin/env bash
# Makes the program's database from the text in data/ with the project's own tool.
#   scripts/make-database.sh [BUILD_DIR] [OUT] [--overwrite]
# OUT is by default the user's database in the data folder the program uses (VELARON_DATA_DIR, else
# $XDG_DATA_HOME/velaron, else ~/.local/share/velaron). Without --overwrite an existing OUT is kept (it
# holds the user's sections and report archive); with it, OUT is replaced by a fresh copy.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
DATA_DIR="${VELARON_DATA_DIR:-}"
if [ -z "$DATA_DIR" ]; then
  case "${XDG_DATA_HOME:-}" in
    /*) DATA_DIR="$XDG_DATA_HOME/velaron" ;;
    *) DATA_DIR="$HOME/.local/share/velaron" ;;
  esac
fi
OUT="${2:-$DATA_DIR/data.db}"
MODE="${3:---keep-existing}"
if [ ! -f "$BUILD/build.ninja" ] && [ ! -f "$BUILD/Makefile" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$BUILD" --target velaron_make_database
mkdir -p "$(dirname "$OUT")"
"$BUILD/data/velaron_make_database" "$OUT" "$ROOT/data/schema.sql" "$ROOT/data/reference.sql" \
  "$ROOT/data/methane/methane-properties.csv" "$MODE"
