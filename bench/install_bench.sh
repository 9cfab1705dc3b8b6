#!/usr/bin/env bash
# Installation speed: a package of 1,000 files of 100 KB installed through the
# wizard (the headless driver: step 3 with its backups and log), and the same
# files copied with cp, in the same run. Prints both times (the best of RUNS
# runs, default 3) and their ratio.
#
#   bench/install_bench.sh [BIN_FOLDER]      (default: build/bin)
#
# With vmu-pack in BIN_FOLDER the package is a real one; otherwise a stand-in
# program that copies the files into the update folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(cd "${1:-build/bin}" && pwd)
[ -x "$bin/vmupdate-script" ] || { echo "no $bin/vmupdate-script: build first (scripts/build)" >&2; exit 2; }
runs="${RUNS:-3}"
files=1000

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
prog="$prefix/drive_c/Program Files/velmora"
data=$prefix/drive_c/users/bench/AppData/Roaming/velmora
source=$work/source
mkdir -p "$prog" "$data" "$source" "$prefix/drive_c/users/bench/Documents" "$prefix/drive_c/pakket"

printf '#!/bin/sh\n' >"$prog/VM.EXE"
chmod 755 "$prog/VM.EXE"
for f in VM_DBv01.mdb RptDB97.mdb; do echo db >"$prog/$f"; echo db >"$data/$f"; done
printf '[Main]\r\nVer=10302\r\nVerUpdate=6\r\nVerLow=10302\r\nVerLowUpdate=5\r\n' >"$source/installatieV2.ini"
for i in $(seq -w 1 $files); do
  head -c 102400 /dev/urandom >"$source/bestand$i.dat"
  printf '"bestand%s.dat",1\r\n' "$i"
done >"$source/FileList.VML"

package=$prefix/drive_c/pakket/bench.VMU
if [ -x "$bin/vmu-pack" ]; then
  "$bin/vmu-pack" "$source" "$package" >/dev/null
  kind="built with vmu-pack"
else
  printf '#!/bin/sh\ncp "%s"/* "%s/Update/"\n' "$source" "$data" >"$package"
  chmod 755 "$package"
  kind="stand-in unpacker (cp)"
fi

# Every file of the package replaces one already installed, so each is first
# moved into the backup folder: the path a real update takes most.
reset_installation() {
  rm -rf "$data/ConversieBackup-1" "$data/ConversieBackup-2" "$data/ConversieLog.TXT"
  printf '[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n' >"$data/VM.ini"
  for i in $(seq -w 1 $files); do echo oud >"$prog/bestand$i.dat"; done
  sync
}

# One installation; its time runs from the start of step 3 to the result
# page, taken from the transcript as the driver writes it.
install_once() {
  local line start="" end=""
  while IFS= read -r line; do
    case $line in
      *'text "De update wordt nu uitgevoerd. Even geduld aub..."') start=$EPOCHREALTIME ;;
      *'CmdWizard(1) text "Stoppen"') end=$EPOCHREALTIME ;;
      error*) echo "bench: $line" >&2; exit 1 ;;
    esac
  done < <(USER=bench "$bin/vmupdate-script" <<SCRIPT
prefix $prefix
start
file C:\\pakket\\bench.VMU
press next
wait unpack
press next
SCRIPT
)
  grep -q '^Update succesvol verlopen' "$data/ConversieLog.TXT" ||
    { echo "bench: the installation failed; see $data/ConversieLog.TXT" >&2; exit 1; }
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}

# The installation makes its files durable before it records the update;
# cp followed by sync ("copy_once sync") is the like-for-like figure.
copy_once() {
  rm -rf "$work/cp-target"
  mkdir "$work/cp-target"
  sync
  local t0=$EPOCHREALTIME
  cp "$source"/bestand*.dat "$work/cp-target/"
  [ "${1:-}" = sync ] && sync
  local t1=$EPOCHREALTIME
  awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f\n", b - a }'
}

best() { sort -n | head -1; }
install=$(for ((r = 0; r < runs; r++)); do reset_installation; install_once; done | best)
copy=$(for ((r = 0; r < runs; r++)); do copy_once; done | best)
copy_sync=$(for ((r = 0; r < runs; r++)); do copy_once sync; done | best)
echo "package: $files files of 100 KB, $kind; best of $runs runs"
echo "installation (step 3, backups and log): ${install} s"
echo "cp of the same files:                   ${copy} s"
echo "cp and sync of the same files:          ${copy_sync} s"
awk -v a="$install" -v b="$copy" 'BEGIN { printf "ratio installation / cp:                %.2f\n", a / b }'
awk -v a="$install" -v b="$copy_sync" 'BEGIN { printf "ratio installation / (cp and sync):     %.2f\n", a / b }'
