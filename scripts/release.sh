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
# signing. The three variables are read once and taken out of the
# environment before anything else runs: CMake, the compiler and the linker
# never see them, and the password reaches openssl and osslsigncode only
# through a pipe, never the environment, a command line or a file; nothing
# of the key is written under build/ or printed.
# The release carries the release preset's wizard server (an https:// host
# name): a build/release configured with another base is refused before the
# build, and the built exe must carry addresses on that base and no other.
#   scripts/release.sh
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

# Shell variables only, not exported: no program started below inherits them.
sign_pkcs12=${QEL_SIGN_PKCS12:-}
sign_tsa=${QEL_SIGN_TSA:-}
sign_password_set=${QEL_SIGN_PASSWORD+set}
sign_password=${QEL_SIGN_PASSWORD:-}
unset QEL_SIGN_PKCS12 QEL_SIGN_TSA QEL_SIGN_PASSWORD

# The key's checks come before the build, so a mistyped path fails at once.
if [ -n "$sign_pkcs12" ]; then
    [ -f "$sign_pkcs12" ] || fail "QEL_SIGN_PKCS12 names no file: $sign_pkcs12"
    [ -n "$sign_password_set" ] ||
        fail "QEL_SIGN_PASSWORD is not set (set it empty for a key without a password)"
    command -v osslsigncode >/dev/null || fail "osslsigncode is missing (scripts/setup.sh installs it)"
    signer=$(printf '%s\n' "$sign_password" | openssl pkcs12 -in "$sign_pkcs12" -passin stdin \
        -clcerts -nokeys 2>/dev/null | openssl x509 -noout -subject -enddate -nameopt oneline \
        2>/dev/null) || fail "cannot read the certificate in $sign_pkcs12 (wrong password?)"
fi

# The wizard server: the preset's, and a build/release configured with
# another (a test build against a local server) is refused, not rebuilt.
base=$(scripts/release_base.py preset) || fail "the release preset names no wizard server"
fault=$(scripts/release_base.py check-base "$base") ||
    fail "the release preset's wizard server is refused: $fault"
cached=$(sed -n 's/^QEL_SERVER_BASE:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null) || true
if [ -n "$cached" ] && [ "$cached" != "$base" ]; then
    fault=$(scripts/release_base.py check-base "$cached") || true
    fail "build/release is configured with the wizard server $cached (QEL_SERVER_BASE in" \
        "build/release/CMakeCache.txt${fault:+; ${fault#"$cached: "}}), not the release's $base:" \
        "remove build/release or configure it with 'cmake --preset release'"
fi

mkdir -p "$build"
echo "release: building the release preset in build/release for the wizard server $base"
{ cmake --preset release && cmake --build --preset release; } >"$build/release-build.log" 2>&1 || {
    cat "$build/release-build.log"
    fail "the release build failed"
}
cached=$(sed -n 's/^QEL_SERVER_BASE:[A-Z]*=//p' "$build/CMakeCache.txt")
[ "$cached" = "$base" ] || fail "build/release was built for the wizard server $cached, not $base"
# What the exe itself carries, read from its bytes.
fault=$(scripts/release_base.py check-exe "$exe" "$base") ||
    fail "${exe#"$root"/} is not signed or published: $fault"
echo "release: ${exe#"$root"/}: $(stat -c %s "$exe") bytes, sha256 $(sha256sum "$exe" | cut -d' ' -f1)," \
    "its wizard addresses on $base, none http://"

rm -rf "$dist"
mkdir -p "$dist"
if [ -n "$sign_pkcs12" ]; then
    args=(sign -pkcs12 "$sign_pkcs12" -readpass /dev/stdin -h sha256 -comm -n QelPluginWizard
        -in "$exe" -out "$dist/$name")
    stamp="no time stamp (QEL_SIGN_TSA not set)"
    if [ -n "$sign_tsa" ]; then
        args+=(-ts "$sign_tsa")
        stamp="time stamp from $sign_tsa"
    fi
    if ! out=$(printf '%s' "$sign_password" | osslsigncode "${args[@]}" 2>&1); then
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
