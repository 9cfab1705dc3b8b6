#!/bin/sh
# package_test.sh CPACK BUILD_DIR VERSION DEMO_SESSION
# Makes the Debian package of BUILD_DIR, unpacks it with dpkg -x into a
# temporary root and runs the installed programs from there: vmu-pack's
# version, and the demo session on a demo made by the installed
# vmupdate-demo, whose packages carry the installed unpacker. lintian must
# find neither errors nor warnings.
set -eu
cpack=$1 build=$2 version=$3 session=$4

for tool in dpkg-deb dpkg-shlibdeps lintian; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/vm-update_"$version"_*.deb) || fail "no vm-update_${version}_*.deb"
echo "package: $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for dep in qt6-translations-l10n libqt6widgets6 libsqlite3-0 libarchive13 libc6; do
  echo "$depends" | grep -Eq "(^|, )$dep( |,|$)" || fail "Depends lacks $dep"
done

# Run as root, lintian says so on standard error; its findings go to standard output.
lintian --fail-on error,warning --no-tag-display-limit "$deb" >"$work/lintian.log" 2>/dev/null ||
  { cat "$work/lintian.log"; fail "lintian"; }
echo "lintian: $(grep -c . "$work/lintian.log" || true) notes below warning level"

root=$work/root
dpkg -x "$deb" "$root"
for file in bin/VM_Update bin/vmupdate-script bin/vmu-pack bin/vmupdate-demo libexec/vmupdate/vmu-unpacker \
    share/applications/vm-update.desktop share/icons/hicolor/scalable/apps/vm-update.svg \
    share/icons/hicolor/48x48/apps/vm-update.png share/man/man1/VM_Update.1.gz \
    share/man/man1/vmupdate-script.1.gz share/man/man1/vmu-pack.1.gz share/man/man1/vmupdate-demo.1.gz \
    share/doc/vm-update/README.md share/doc/vm-update/copyright share/doc/vm-update/changelog.gz; do
  [ -e "$root/usr/$file" ] || fail "missing /usr/$file"
done
# Only what users run is on the PATH; no test program is shipped.
[ ! -e "$root/usr/bin/vmu-unpacker" ] || fail "the unpacker is on the PATH"
if dpkg-deb -c "$deb" | grep -E "_tests|conversion-bench"; then fail "test programs in the package"; fi

out=$("$root/usr/bin/vmu-pack" --version)
[ "$out" = "vmu-pack $version" ] || fail "vmu-pack --version said: $out"

# The session's Windows user must be the one the demo was made for.
export USER=anna
unset WINEPREFIX
"$root/usr/bin/vmupdate-demo" "$work/demo" >"$work/demo.log" 2>&1 || { cat "$work/demo.log"; fail "vmupdate-demo"; }
{
  echo "prefix $work/demo/prefix"
  sed "s/@USER@/$USER/g" "$session"
} >"$work/session.txt"
status=0
"$root/usr/bin/vmupdate-script" "$work/session.txt" >"$work/transcript.txt" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$work/transcript.txt"; fail "vmupdate-script ended with status $status"; }
[ "$(tail -n 1 "$work/transcript.txt")" = "end" ] || { cat "$work/transcript.txt"; fail "the session did not end"; }
# Both updates, the second with its conversion, were unpacked by the installed unpacker and installed.
done=$(grep -c '^state Label1(1) text "De Update is succesvol verlopen' "$work/transcript.txt") || true
[ "$done" -eq 2 ] || { cat "$work/transcript.txt"; fail "$done of 2 updates completed"; }
echo "headless session: $(wc -l <"$work/transcript.txt") transcript lines"
