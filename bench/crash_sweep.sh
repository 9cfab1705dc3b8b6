#!/usr/bin/env bash
# Crash sweep with real processes: installs the demo's clean update with the
# wizard killed (SIGKILL, every process of the run) just before its K-th
# file-changing call, for K = 1, 2, ... until a run completes. After each kill
# a fresh session only starts the wizard (answering the message that start-up
# may show) and the installation is classified:
#   old     identical to before the installation (files, bytes, modes, VM.ini
#           with its VersionUpdate)
#   new     identical to a clean completed installation
#   BROKEN  anything else
# The backup record ConversieBackup.ini counts: it must be the old one (or
# none) or the new one. The log of the run, the backup folders, the update
# folder (but not temporary files left in them), Update.ini and the lock file
# are left out of the comparison.
#
#   bench/crash_sweep.sh [BIN_FOLDER]      (default: build/bin)
#
# MAX_CALLS: stop after this many runs (default 2000). KEEP=1 keeps the work
# folder (it holds a copy of every BROKEN installation).
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(cd "${1:-build/bin}" && pwd)
for tool in vmupdate-script vmupdate-demo; do
  [ -x "$bin/$tool" ] || { echo "no $bin/$tool: build first (scripts/build)" >&2; exit 2; }
done
command -v cc >/dev/null || { echo "crash_sweep: needs a C compiler (cc)" >&2; exit 2; }
max_calls="${MAX_CALLS:-2000}"
export USER=anna

work=$(mktemp -d)
if [ "${KEEP:-0}" = 1 ]; then echo "work folder: $work"; else trap 'rm -rf "$work"' EXIT; fi
cc -shared -fPIC -O2 -o "$work/crash_shim.so" bench/crash_shim.c -ldl

prog_rel="drive_c/Program Files/velmora"
data_rel="drive_c/users/$USER/AppData/Roaming/velmora"

install_script=(start 'file C:\users\anna\Documents\update-10302-06.VMU' 'press next' 'wait unpack' 'press next'
  'press next')

# A session on the prefix; its transcript in $2, its status printed.
session() {
  local prefix=$1 out=$2
  shift 2
  local status=0
  { echo "prefix $prefix"; printf '%s\n' "$@"; } | "$bin/vmupdate-script" >"$out" 2>&1 || status=$?
  echo "$status"
}

# The installation as the comparison sees it: every entry of the program and
# data folders with its type and mode, and every file's checksum.
snapshot() {
  local prefix=$1 label
  for label in prog data; do
    (
      if [ $label = prog ]; then cd "$prefix/$prog_rel"; else cd "$prefix/$data_rel"; fi
      find . \( -name ConversieLog.TXT -o -name 'ConversieBackup-*' -o -path ./Update \
        -o -name Update.ini \
        -o -name .VM_Update.lock \) -prune -o -printf '%y %m %p\n' | sort
      find . \( -name 'ConversieBackup-*' -o -path ./Update \) -prune -o -type f \
        ! -name ConversieLog.TXT ! -name Update.ini ! -name .VM_Update.lock -print0 |
        sort -z |
        xargs -0 -r sha256sum
      # In the work and backup folders only temporary files left behind count:
      # they would make every later clean-up of those folders fail.
      find . -mindepth 2 \( -path './Update/*' -o -path './ConversieBackup-*/*' \) -name '.*' -printf 'left %p\n' | sort
    ) | sed "s| \./| $label/|"
  done
}

# The base: the demo after one plain start (which moves the data files out
# of the VirtualStore), so that every run starts from a settled installation.
"$bin/vmupdate-demo" "$work/demo" >/dev/null
[ "$(session "$work/demo/prefix" "$work/base.txt" start)" = 0 ] || { cat "$work/base.txt"; exit 1; }
fresh() {
  rm -rf "$work/run"
  cp -a "$work/demo/prefix" "$work/run"
}
# The fresh session after a run: start-up only, answering one message.
after() { session "$work/run" "$work/after.txt" 'answer ok' start; }

fresh
after >/dev/null
snapshot "$work/run" >"$work/old.txt"
fresh
[ "$(session "$work/run" "$work/install.txt" "${install_script[@]}")" = 0 ] || { cat "$work/install.txt"; exit 1; }
after >/dev/null
snapshot "$work/run" >"$work/new.txt"
cmp -s "$work/old.txt" "$work/new.txt" && { echo "crash_sweep: the update changes nothing?" >&2; exit 1; }

printf '%-5s %-60s %-7s %s\n' call operation outcome "next start showed"
old=0 new=0 broken=0
for ((k = 1; k <= max_calls; k++)); do
  fresh
  head -c 8 /dev/zero >"$work/counter"
  rm -f "$work/killed.txt"
  status=0
  # In a subshell: the shell's own note on the killed job stays out of the table.
  (
    { echo "prefix $work/run"; printf '%s\n' "${install_script[@]}"; } |
      CRASH_COUNTER="$work/counter" CRASH_AT=$k CRASH_LOG="$work/killed.txt" \
        sh -c 'CRASH_ROOT=$$ LD_PRELOAD="$0" exec "$1"' "$work/crash_shim.so" "$bin/vmupdate-script" \
        >"$work/install.txt" 2>&1
  ) 2>/dev/null || status=$?
  if [ ! -s "$work/killed.txt" ]; then
    echo "run $k completed (status $status): the installation makes $((k - 1)) file-changing calls"
    break
  fi
  IFS=$'\t' read -r _ call path <"$work/killed.txt"
  path=${path#"$work/run/"}
  path=${path/#"$data_rel"/data}
  path=${path/#"$prog_rel"/prog}
  start_status=$(after)
  # What the next start showed: its first message, or how it ended.
  shown=$(sed -n 's/^msgbox title "[^"]*" text "\([^"]\{0,50\}\).*/"\1"/p' "$work/after.txt" | head -1)
  case $start_status in
    0 | 4) ;;
    3) shown="$shown (then waited for a dialog)" ;;
    *) shown="$shown (status $start_status)" ;;
  esac
  snapshot "$work/run" >"$work/now.txt"
  if cmp -s "$work/now.txt" "$work/old.txt"; then
    outcome=old old=$((old + 1))
  elif cmp -s "$work/now.txt" "$work/new.txt"; then
    outcome=new new=$((new + 1))
  else
    outcome=BROKEN broken=$((broken + 1))
    # The first thing that differs from the old state, by name.
    first=$(diff "$work/old.txt" "$work/now.txt" | sed -n 's/^[<>] .* \(\(prog\|data\)\/.*\)/\1/p' | head -1 || true)
    shown="${shown:+$shown; }differs: ${first:-?}"
    [ "${KEEP:-0}" = 1 ] && cp -a "$work/run" "$work/broken-$k"
  fi
  printf '%-5s %-60s %-7s %s\n' "$k" "$call ${path:0:50}" "$outcome" "${shown:--}"
done
echo "old: $old  new: $new  BROKEN: $broken"
