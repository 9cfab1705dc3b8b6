#!/bin/sh
# man_options_test.sh PROGRAM PAGE: every option that `PROGRAM --help` names
# is described in its manual page, so that a new option cannot be forgotten.
set -eu
missing=""
for option in $("$1" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
  escaped=$(printf '%s' "$option" | sed 's/-/\\-/g')
  grep -qF -- "$escaped" "$2" || missing="$missing $option"
done
[ -z "$missing" ] || { echo "$2 lacks:$missing"; exit 1; }
