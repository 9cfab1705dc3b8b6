#!/usr/bin/env bash
# Download throughput on 127.0.0.1: the wizard's downloader (SHA-256 while it
# writes) against `curl -o` of the same file from the same server, then a
# resume of the second half: in a new run, and pressed again in the run
# whose first attempt broke off. MB=1024 (default) sets the file's size.
#   bench/download_bench.sh [build/bin]
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/bin}
mb=${MB:-1024}
size=$((mb * 1024 * 1024))
dir=$(mktemp -d)
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$dir"' EXIT
head -c "$size" /dev/urandom >"$dir/file"
python3 src/testing/http_fault_server.py "$dir" 900 >"$dir/port" &
server=$!
for _ in $(seq 100); do [ -s "$dir/port" ] && break; sleep 0.1; done
url="http://127.0.0.1:$(head -n 1 "$dir/port")/file"
cat "$dir/file" >/dev/null  # both read it from the page cache

# Each run starts with nothing waiting to be written back, so none pays for the one before.
seconds() { local s e; sync; s=$(date +%s.%N); "$@" >/dev/null; e=$(date +%s.%N); echo "$e - $s" | bc -l; }
curl_s=$(seconds curl -s -o "$dir/curl.out" "$url")
rm -f "$dir/curl.out"
sync
read -r ours_s _ sha < <("$bin/download-bench" "$url" "$dir/ours.out" "$size")
[ "$sha" = "$(sha256sum "$dir/file" | cut -d' ' -f1)" ] || { echo "download-bench: wrong bytes" >&2; exit 1; }
truncate -s $((size / 2)) "$dir/ours.out"
sync
read -r resume_s fetched _ < <("$bin/download-bench" "$url" "$dir/ours.out" "$size")
cmp -s "$dir/file" "$dir/ours.out" || { echo "download-bench: resume gave other bytes" >&2; exit 1; }
rm -f "$dir/ours.out"
sync
read -r again_s again again_sha < <("$bin/download-bench" "$url" "$dir/ours.out" "$size" $((size / 2)))
[ "$again_sha" = "$sha" ] && cmp -s "$dir/file" "$dir/ours.out" ||
  { echo "download-bench: the resume in one run gave other bytes or another hash" >&2; exit 1; }

rate() { echo "scale=0; $mb / $1" | bc -l; }
printf '%-34s %8.2f s  %6s MB/s\n' "curl -o" "$curl_s" "$(rate "$curl_s")"
printf '%-34s %8.2f s  %6s MB/s  (%.2f x curl)\n' "download with SHA-256" "$ours_s" "$(rate "$ours_s")" \
  "$(echo "$curl_s / $ours_s" | bc -l)"
printf '%-34s %8.2f s  %6s MB fetched of %s  (%.2f x the full download)\n' "resume of the second half" "$resume_s" \
  "$((fetched / 1024 / 1024))" "$mb" "$(echo "$resume_s / $ours_s" | bc -l)"
printf '%-34s %8.2f s  %6s MB fetched of %s  (%.2f x the full download)\n' "  the same, pressed again in one run" \
  "$again_s" "$((again / 1024 / 1024))" "$mb" "$(echo "$again_s / $ours_s" | bc -l)"
