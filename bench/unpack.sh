#!/usr/bin/env bash
# Unpacking speed: a package of 1,000 files of 100 KB, unpacked by the
# package's own unpacker and by unzip from the same file. Prints both times
# (the best of RUNS runs, default 5) and their ratio.
# Usage: bench/unpack.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
pack="$build/bin/vmu-pack"
[ -x "$pack" ] || { echo "no $pack: build first (scripts/build)" >&2; exit 2; }
command -v unzip >/dev/null || { echo "unzip is not installed" >&2; exit 2; }
runs="${RUNS:-5}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
src="$work/source"
mkdir "$src"

# Files that compress about as program and data files do: half random
# bytes, half text.
{ yes 'Velmora boekhouding: regel, bedrag 123,45, omschrijving factuur' || true; } |
  head -c 51200 >"$work/text"
printf '[Main]\r\nVer=10302\r\nVerUpdate=6\r\nVerLow=10302\r\nVerLowUpdate=5\r\n' >"$src/installatieV2.ini"
for i in $(seq -w 0 999); do
  head -c 51200 /dev/urandom | cat - "$work/text" >"$src/file$i.dat"
  printf '"file%s.dat",%d\r\n' "$i" $((10#$i % 2 + 1))
done >"$src/FileList.VML"
"$pack" "$src" "$work/bench.VMU" >/dev/null

# The best time of $runs runs of the command, each into a fresh folder.
best() {
  local best_time="" t0 t1
  for _ in $(seq "$runs"); do
    rm -rf "$work/out"
    mkdir "$work/out"
    sync
    t0=$(date +%s.%N)
    "$@" >/dev/null
    t1=$(date +%s.%N)
    best_time=$(awk -v a="$t0" -v b="$t1" -v best="$best_time" \
      'BEGIN { t = b - a; if (best != "" && best < t) t = best; printf "%.3f", t }')
  done
  echo "$best_time"
}

unpacker=$(best "$work/bench.VMU" /auto "$work/out")
diff -r "$src" "$work/out" >/dev/null || { echo "the unpacked files differ from the source" >&2; exit 1; }
unzipped=$(best unzip -q -o "$work/bench.VMU" -d "$work/out")
diff -r "$src" "$work/out" >/dev/null || { echo "unzip's files differ from the source" >&2; exit 1; }

echo "package:  1000 files of 100 KB, $(du -m "$work/bench.VMU" | cut -f1) MB"
echo "unpacker  $unpacker s"
echo "unzip     $unzipped s"
awk -v u="$unpacker" -v z="$unzipped" 'BEGIN { printf "ratio     %.2f x unzip (aim: at most 1.5)\n", u / z }'
