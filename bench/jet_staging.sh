#!/usr/bin/env bash
# Writes Jet 4 files of 100,000 and 1,000,000 rows with scripts/jet4-writer
# and times their copy into SQLite against mdb-export (jet-staging-bench).
# The two peaks show whether memory grows with the table.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="${1:-$root/build/bin}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for rows in ${ROWS:-100000 1000000}; do
  "$root/scripts/jet4-writer" bench "$work/bench.mdb" "$rows"
  "$bin/jet-staging-bench" "$work/bench.mdb" Boekingen
done
