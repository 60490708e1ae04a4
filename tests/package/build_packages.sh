#!/usr/bin/env bash
# Builds the packages that the install checks use with scripts/package and checks what it made:
#
#   build_packages.sh OUT
#
# OUT/release: both packages of this version, signed with a throwaway certificate made here
# (its key protected by a password), and the Group Policy templates beside them; their checksums,
# and the signatures of the packages and of the DLLs and check programs inside them, must verify
# against that certificate. OUT/older: the x64 package with a lower version, unsigned, which
# scripts/package must say plainly. OUT/current-x64.msi, OUT/current-x86.msi and
# OUT/older-x64.msi name them for the install checks, and OUT/current-x64.dll and
# OUT/current-x86.dll the DLLs inside them.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$1
rm -rf "$out"
mkdir -p "$out/keys"
keys="$out/keys"

fail() {
  echo "build_packages: $*" >&2
  exit 1
}

echo "throwaway-password" >"$keys/password"
openssl req -x509 -newkey rsa:2048 -days 2 -subj "/CN=Quillmark test signing" \
        -addext extendedKeyUsage=codeSigning -passout "file:$keys/password" \
        -keyout "$keys/key.pem" -out "$keys/cert.pem" >"$keys/openssl.log" 2>&1 ||
  { cat "$keys/openssl.log"; fail "openssl could not make a certificate"; }

QUILLMARK_SIGNING_CERT="$keys/cert.pem" QUILLMARK_SIGNING_KEY="$keys/key.pem" \
QUILLMARK_SIGNING_PASSWORD_FILE="$keys/password" \
  "$root/scripts/package" --output "$out/release" >"$out/release.log" 2>&1 ||
  { cat "$out/release.log"; fail "scripts/package failed"; }
env -u QUILLMARK_SIGNING_CERT -u QUILLMARK_SIGNING_KEY \
  "$root/scripts/package" --arch x64 --version 3.0.111 --output "$out/older" >"$out/older.log" 2>&1 ||
  { cat "$out/older.log"; fail "scripts/package --version 3.0.111 failed"; }
cat "$out/release.log" "$out/older.log"
grep -q "will NOT be signed" "$out/older.log" || fail "no plain word that the packages are unsigned"

(cd "$out/release" && sha256sum --check --quiet SHA256SUMS) || fail "SHA256SUMS does not match"
grep -q " en-US/Quillmark.adml$" "$out/release/SHA256SUMS" ||
  fail "the Group Policy templates are not in SHA256SUMS"
verify() {
  osslsigncode verify -CAfile "$keys/cert.pem" -in "$1" >"$1.verify.log" 2>&1 ||
    { cat "$1.verify.log"; fail "the signature of $1 does not verify"; }
}
for arch in x64 x86; do
  package=$(ls "$out"/release/Quillmark-*-$arch.msi)
  verify "$package"
  msiextract -C "$out/release/$arch" "$package" >/dev/null
  dll=$(find "$out/release/$arch" -name Quillmark.dll)
  verify "$dll"
  verify "$(find "$out/release/$arch" -name quillmark-check.exe)"
  ln -s "$package" "$out/current-$arch.msi"
  ln -s "$dll" "$out/current-$arch.dll"
done
older=$(ls "$out"/older/Quillmark-3.0.111-x64.msi)
if osslsigncode verify -CAfile "$keys/cert.pem" -in "$older" >/dev/null 2>&1; then
  fail "the unsigned package verifies"
fi
ln -s "$older" "$out/older-x64.msi"
echo "packages built; signatures and checksums verified"
