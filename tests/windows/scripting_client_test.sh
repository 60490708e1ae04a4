#!/usr/bin/env bash
# Registers Quillmark.dll in the build's Wine prefix, runs a VBScript through Wine's cscript that
# calls both classes by name, checks what it printed and unregisters the DLL again.
# Usage: scripting_client_test.sh WINE_RUN DLL SCRIPT (TZ is pinned to America/Los_Angeles).
set -euo pipefail
wine_run=$1
dll="Z:${2//\//\\}"
script="Z:${3//\//\\}"

# Other programs of this build share the prefix; a registration found here is left in place.
if ! "$wine_run" reg query 'HKCR\CLSID\{5307FC3D-19D7-4B19-86D5-2CEF49CA081A}\InprocServer32' \
    >/dev/null 2>&1; then
  trap '"$wine_run" regsvr32 /u /s "$dll"' EXIT
fi
"$wine_run" regsvr32 /s "$dll"

output=$("$wine_run" cscript //nologo "$script" | tr -d '\r')
echo "$output"

value() { sed -n "s/^$1=//p" <<<"$output"; }
status=0
check() {
  if [ "$2" != "$3" ]; then
    echo "$1: got '$2', want '$3'"
    status=1
  fi
}
full=$(value omitted)
case "$full" in
  "Pacific Standard Time") abbreviation=PST ;;
  "Pacific Daylight Time") abbreviation=PDT ;;
  *) echo "omitted: unexpected '$full'"; exit 1 ;;
esac
check false "$(value false)" "$full"
check true "$(value true)" "$abbreviation"
check login "$(value login)" "$(id -un)"  # Wine reports the Unix login name
exit $status
