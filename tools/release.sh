#!/usr/bin/env bash
# The release command (make release): builds the release preset (the maker's
# wizard server) and copies its exe to build/release/dist with a SHA256SUMS
# file beside it, signed with an SHA-256 Authenticode signature when a key is
# given:
#   QEL_SIGN_PKCS12   PKCS#12 file with the code-signing key and certificate
#                     (and the certificates of its chain)
#   QEL_SIGN_PASSWORD its password (may be empty, but must be set)
#   QEL_SIGN_TSA      optional: an RFC 3161 time-stamp server's address
# The build output build/release/app/QelPluginWizard.exe is never changed by
# signing. The password reaches openssl and osslsigncode through the
# environment and a pipe, never a command line or a file; nothing of the key
# is written under build/ or printed.
#   tools/release.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=$root/build/release
exe=$build/app/QelPluginWizard.exe
dist=$build/dist
name=QelPluginWizard.exe

fail() {
    echo "release: FAILED: $*" >&2
    exit 1
}

# The key's checks come before the build, so a mistyped path fails at once.
if [ -n "${QEL_SIGN_PKCS12:-}" ]; then
    [ -f "$QEL_SIGN_PKCS12" ] || fail "QEL_SIGN_PKCS12 names no file: $QEL_SIGN_PKCS12"
    [ -n "${QEL_SIGN_PASSWORD+set}" ] ||
        fail "QEL_SIGN_PASSWORD is not set (set it empty for a key without a password)"
    command -v osslsigncode >/dev/null || fail "osslsigncode is missing (tools/setup.sh installs it)"
    export QEL_SIGN_PASSWORD
    signer=$(openssl pkcs12 -in "$QEL_SIGN_PKCS12" -passin env:QEL_SIGN_PASSWORD -clcerts \
        -nokeys 2>/dev/null | openssl x509 -noout -subject -enddate -nameopt oneline 2>/dev/null) ||
        fail "cannot read the certificate in $QEL_SIGN_PKCS12 (wrong password?)"
fi

mkdir -p "$build"
echo "release: building the release preset in build/release"
{ cmake --preset release && cmake --build --preset release; } >"$build/release-build.log" 2>&1 || {
    cat "$build/release-build.log"
    fail "the release build failed"
}
echo "release: ${exe#"$root"/}: $(stat -c %s "$exe") bytes, sha256 $(sha256sum "$exe" | cut -d' ' -f1)"

rm -rf "$dist"
mkdir -p "$dist"
if [ -n "${QEL_SIGN_PKCS12:-}" ]; then
    args=(sign -pkcs12 "$QEL_SIGN_PKCS12" -readpass /dev/stdin -h sha256 -comm -n QelPluginWizard
        -in "$exe" -out "$dist/$name")
    stamp="no time stamp (QEL_SIGN_TSA not set)"
    if [ -n "${QEL_SIGN_TSA:-}" ]; then
        args+=(-ts "$QEL_SIGN_TSA")
        stamp="time stamp from $QEL_SIGN_TSA"
    fi
    if ! out=$(printf '%s' "$QEL_SIGN_PASSWORD" | osslsigncode "${args[@]}" 2>&1); then
        rm -rf "$dist"
        echo "$out" >&2
        fail "osslsigncode could not sign $name"
    fi
    echo "release: signed, SHA-256 Authenticode, $stamp"
    sed -n 's/^subject=/release: signer: /p; s/^notAfter=/release: certificate valid until: /p' \
        <<<"$signer"
else
    cp "$exe" "$dist/$name"
    echo "release: NOT SIGNED: no signing key given (QEL_SIGN_PKCS12); ${dist#"$root"/}/$name is the" \
        "unsigned build output, which Windows shows as from an unknown publisher"
fi
(cd "$dist" && sha256sum "$name" >SHA256SUMS)
echo "release: ${dist#"$root"/}/$name: $(stat -c %s "$dist/$name") bytes"
echo "release: ${dist#"$root"/}/SHA256SUMS: $(cat "$dist/SHA256SUMS")"
