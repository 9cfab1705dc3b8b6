#!/usr/bin/env bash
# Installation speed against the same work done with shell tools, in one run.
# For each size a package whose every file replaces one already installed is
# installed through the wizard (the headless driver; the time runs from the
# start of step 3 to the result page: backups, copies, flush, log and
# clean-up), and the shell does the same: mv of the replaced files into a
# backup folder, cp of the new ones, then sync. Prints the best of RUNS runs
# of each and their ratio.
#
#   bench/install_bench.sh [BIN_FOLDER]      (default: build/bin)
#
# SIZES: the sizes to run, as COUNTxKB (default "100x100 1000x100 5000x100
# 5x204800": 100, 1,000 and 5,000 files of 100 KB and 5 files of 200 MB).
# RUNS: runs of each (default 3). A size the free disk space cannot hold
# (about five times its bytes) is passed over with a note.
#
# It works in $TMPDIR (default /tmp): set that to measure another file
# system (see the README's Benchmarks on ext4 without a journal).
#
# The package is a stand-in program that copies the files into the update
# folder and reports them as the unpacker does: the unpacker's own speed is
# bench/unpack.sh's business.
#
# Then signing and verifying a sealed package of SIGN_MB megabytes (default
# 1024; 0 passes over it): `vmu-pack --sign` against cp + `minisign -S` +
# `sync -f` of the same bytes, and `vmu-pack --verify` against `minisign -V`
# of the same signed bytes (`vmu-pack --minisig`). Needs minisign.
set -euo pipefail

# Little-endian bytes of a number, as printf escapes.
le() {
  local value=$1 count=$2 i out=""
  for ((i = 0; i < count; i++)); do out+=$(printf '\\x%02x' $(((value >> (8 * i)) & 255))); done
  printf "$out"
}

# The wizard refuses a package that is not sealed: seal the stand-in program
# as vmu-pack seals a package, with an empty archive behind it.
seal() {
  local file=$1 start line_length hash
  start=$(stat -c %s "$file")
  line_length=$((${#start} + 90))  # "VMU-SEAL 2 start=" N " sha256=" 64 hex digits "\n"
  { printf 'PK\x05\x06'; le 0 8; le 0 4; le "$start" 4; le "$line_length" 2; } >>"$file"
  hash=$(sha256sum "$file" | cut -d' ' -f1)
  printf 'VMU-SEAL 2 start=%s sha256=%s\n' "$start" "$hash" >>"$file"
}
cd "$(dirname "$0")/.."
bin=$(cd "${1:-build/bin}" && pwd)
[ -x "$bin/vmupdate-script" ] || { echo "no $bin/vmupdate-script: build first (scripts/build)" >&2; exit 2; }
runs="${RUNS:-3}"
sizes="${SIZES:-100x100 1000x100 5000x100 5x204800}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
prog="$prefix/drive_c/Program Files/velmora"
data=$prefix/drive_c/users/bench/AppData/Roaming/velmora
source=$work/source
shell_target=$work/shell-target
shell_backup=$work/shell-backup

seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f\n", b - a }'; }
best() { sort -n | head -1; }

# A fresh installation and package for count files of kb kilobytes.
prepare() {
  local count=$1 kb=$2
  rm -rf "$prefix" "$source"
  mkdir -p "$prog" "$data" "$source" "$prefix/drive_c/users/bench/Documents" "$prefix/drive_c/pakket"
  # Drive links as wineboot makes them.
  mkdir -p "$prefix/dosdevices"
  ln -s ../drive_c "$prefix/dosdevices/c:"
  ln -s / "$prefix/dosdevices/z:"
  printf '#!/bin/sh\n' >"$prog/VM.EXE"
  chmod 755 "$prog/VM.EXE"
  for f in VM_DBv01.mdb RptDB97.mdb; do echo db >"$prog/$f"; echo db >"$data/$f"; done
  printf '[Main]\r\nVer=10302\r\nVerUpdate=6\r\nVerLow=10302\r\nVerLowUpdate=5\r\n' >"$source/installatieV2.ini"
  head -c $((count * kb * 1024)) /dev/urandom |
    split -b $((kb * 1024)) -a 5 -d --additional-suffix=.dat - "$source/bestand"
  local name
  for name in "$source"/bestand*.dat; do printf '"%s",1\r\n' "${name##*/}"; done >"$source/FileList.VML"
  # The unpacker's report: each file it wrote, with its size and SHA-256.
  for name in "$source"/*; do
    printf '%s %s %s\n' "$(sha256sum <"$name" | cut -d' ' -f1)" "$(stat -c %s "$name")" "${name##*/}"
  done >"$work/report"
  printf '#!/bin/sh\ncp "%s"/* "%s/Update/"\ncat "%s"\nexit 0\n' "$source" "$data" "$work/report" \
    >"$prefix/drive_c/pakket/bench.VMU"
  seal "$prefix/drive_c/pakket/bench.VMU"
  chmod 755 "$prefix/drive_c/pakket/bench.VMU"
}

# Every file of the package replaces one already installed, so each is first
# moved into the backup folder: the path a real update takes most.
reset_installation() {
  rm -rf "$data/ConversieBackup-1" "$data/ConversieBackup-2" "$data/ConversieLog.TXT" "$data/Update"
  printf '[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n' >"$data/VM.ini"
  local name
  for name in "$source"/bestand*.dat; do echo oud >"$prog/${name##*/}"; done
  sync
}

# One installation; its time taken from the transcript as the driver writes it.
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
  seconds "$start" "$end"
}

# The same work with shell tools: the old files into the backup folder, the
# new ones in their place, and everything to disk.
shell_once() {
  rm -rf "$shell_target" "$shell_backup"
  mkdir "$shell_target" "$shell_backup"
  local name
  for name in "$source"/bestand*.dat; do echo oud >"$shell_target/${name##*/}"; done
  sync
  local t0=$EPOCHREALTIME
  find "$shell_target" -maxdepth 1 -name 'bestand*.dat' -exec mv -t "$shell_backup" {} +
  cp "$source"/bestand*.dat "$shell_target/"
  sync
  seconds "$t0" "$EPOCHREALTIME"
}

echo "installation (step 3) against mv + cp + sync of the same files; best of $runs runs"
printf '%-22s %12s %12s %7s %14s\n' "package" "install (s)" "shell (s)" "ratio" "install/file"
for size in $sizes; do
  count=${size%x*}
  kb=${size#*x}
  need_kb=$((count * kb * 5 + 10240))
  free_kb=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
  if [ "$free_kb" -lt "$need_kb" ]; then
    echo "$count files of $kb KB: passed over, needs $((need_kb / 1024)) MB free, $((free_kb / 1024)) MB here"
    continue
  fi
  prepare "$count" "$kb"
  install=$(for ((r = 0; r < runs; r++)); do reset_installation; install_once; done | best)
  shell=$(for ((r = 0; r < runs; r++)); do shell_once; done | best)
  awk -v n="$count" -v k="$kb" -v a="$install" -v b="$shell" 'BEGIN {
    printf "%-22s %12.3f %12.3f %7.2f %11.3f ms\n", n " x " k " KB", a, b, a / b, 1000 * a / n }'
done

sign_mb="${SIGN_MB:-1024}"
[ "$sign_mb" -gt 0 ] || exit 0
command -v minisign >/dev/null || { echo "signing: passed over, no minisign"; exit 0; }
free_kb=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
if [ "$free_kb" -lt $((sign_mb * 1024 * 4 + 10240)) ]; then
  echo "signing: passed over, needs $((sign_mb * 4)) MB free"
  exit 0
fi
rm -rf "$prefix" "$source"
keys=$work/keys
mkdir -p "$keys"
"$bin/vmu-pack" --keygen "$keys/ours.pub" "$keys/ours.key" >/dev/null
minisign -G -W -p "$keys/theirs.pub" -s "$keys/theirs.key" >/dev/null
unsigned=$work/unsigned.VMU
head -c $((sign_mb * 1024 * 1024)) /dev/urandom >"$unsigned"
seal "$unsigned"
sync

sign_once() {
  rm -f "$work/signed.VMU"
  local t0=$EPOCHREALTIME
  "$bin/vmu-pack" --sign "$keys/ours.key" "$unsigned" "$work/signed.VMU" >/dev/null
  seconds "$t0" "$EPOCHREALTIME"
}
minisign_sign_once() {
  rm -f "$work/copy.VMU" "$work/copy.VMU.minisig"
  local t0=$EPOCHREALTIME
  cp "$unsigned" "$work/copy.VMU"
  minisign -S -s "$keys/theirs.key" -m "$work/copy.VMU" >/dev/null
  sync -f "$work/copy.VMU"
  seconds "$t0" "$EPOCHREALTIME"
}
verify_once() {
  local t0=$EPOCHREALTIME
  "$bin/vmu-pack" --verify "$keys/ours.pub" "$work/signed.VMU" >/dev/null
  seconds "$t0" "$EPOCHREALTIME"
}
minisign_verify_once() {
  local t0=$EPOCHREALTIME
  minisign -V -q -p "$keys/ours.pub" -m "$work/signed.data" >/dev/null
  seconds "$t0" "$EPOCHREALTIME"
}

echo
echo "signing and verifying $sign_mb MB against minisign; best of $runs runs"
printf '%-40s %10s %10s %7s\n' "" "vmu-pack" "shell" "ratio"
sign=$(for ((r = 0; r < runs; r++)); do sign_once; done | best)
shell=$(for ((r = 0; r < runs; r++)); do minisign_sign_once; done | best)
awk -v a="$sign" -v b="$shell" 'BEGIN { printf "%-40s %10.3f %10.3f %7.2f\n", "sign (cp + minisign -S + sync -f)", a, b, a / b }'
"$bin/vmu-pack" --minisig "$work/signed.VMU" "$work/signed.data" >/dev/null
verify=$(for ((r = 0; r < runs; r++)); do verify_once; done | best)
shell=$(for ((r = 0; r < runs; r++)); do minisign_verify_once; done | best)
awk -v a="$verify" -v b="$shell" 'BEGIN { printf "%-40s %10.3f %10.3f %7.2f\n", "verify (minisign -V)", a, b, a / b }'
