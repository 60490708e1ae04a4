#!/usr/bin/env bash
# Checks that a built Quillmark.dll exports exactly the four entry points, undecorated, with
# their fixed ordinals. Usage: exports_test.sh OBJDUMP DLL.
set -euo pipefail
objdump=$1
dll=$2
dump=$("$objdump" -p "$dll")
# Lines "[   n] +base[   o] ..." give the ordinals, "[   n] Name" the names, in the same order.
ordinals=$(sed -n '/^Export Address Table -- Ordinal Base/,/^$/p' <<<"$dump" |
  sed -n 's/.*+base\[ *\([0-9]*\)\].*/\1/p' | paste -sd' ')
names=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
  sed -n 's/^.*\[ *[0-9]*\] \(.*\)$/\1/p' | paste -sd' ')
expected_names="DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer"
status=0
if [ "$ordinals" != "1 2 3 4" ]; then
  echo "ordinals: got '$ordinals', want '1 2 3 4'"
  status=1
fi
if [ "$names" != "$expected_names" ]; then
  echo "names: got '$names', want '$expected_names'"
  status=1
fi
[ $status -eq 0 ] && echo "exports of $dll: $names at ordinals $ordinals"
exit $status
