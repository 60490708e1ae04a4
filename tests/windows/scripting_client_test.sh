#!/usr/bin/env bash
# Registers Quillmark.dll in the build's Wine prefix, runs a VBScript through Wine's cscript that
# calls both classes by name, checks what it printed and unregisters the DLL again.
# Usage: scripting_client_test.sh WINE_RUN SYSTEM_DIR DLL SCRIPT, where SYSTEM_DIR holds Wine's
# programs of the DLL's bitness (TZ is pinned to America/Los_Angeles).
set -euo pipefail
wine_run=$1
system=$2
dll="Z:${3//\//\\}"
script="Z:${4//\//\\}"

# Other programs of this build share the prefix; a registration found here is left in place.
server_key='HKCR\CLSID\{5307FC3D-19D7-4B19-86D5-2CEF49CA081A}\InprocServer32'
if ! "$wine_run" "$system\\reg.exe" query "$server_key" >/dev/null 2>&1; then
  trap '"$wine_run" "$system\\regsvr32.exe" /u /s "$dll"' EXIT
fi
"$wine_run" "$system\\regsvr32.exe" /s "$dll"

output=$("$wine_run" "$system\\cscript.exe" //nologo "$script" | tr -d '\r')
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
