#!/usr/bin/env bash
# Tests of the release command (scripts/release.sh), one line each:
#   "release test: <what> — ok", "release test: FAILED: <what>" or
#   "release test: skipped: <why>".
# A throwaway certificate authority and a code-signing certificate it issues
# are made with openssl in a temporary folder outside build/, and removed at
# the end. The release is made without a key, then signed with that
# certificate: osslsigncode must accept the signed exe against the authority
# and refuse it with one byte changed; its imports, resources and version
# block must be the unsigned exe's (scripts/pe_summary.py); nothing of the key
# may be found under build/release or in the logs; and the signed exe must
# start under Wine to the wizard window and end cleanly by its cancel button
# (the end-to-end scenario "close").
# The wizard server: the base rule over addresses a release must not carry; a
# build/release configured with an http, a loopback or a stale test base is
# refused before anything is built, naming the address; the check of the
# built exe refuses the win32 exe (the loopback demo server) and passes the
# release. A linker launcher that dumps its environment shows that the build
# sees none of the signing variables' values. Both exes are terminal-server
# aware.
#   scripts/release_test.sh   (scripts/test.sh runs it with its Wine and Xvfb up)
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=$root/build
logs=$build/testlogs
exe=$build/release/app/QelPluginWizard.exe
dist=$build/release/dist
signed=$dist/QelPluginWizard.exe
keys=$(mktemp -d)
status=0
mkdir -p "$logs"
trap 'rm -rf "$keys"' EXIT

# Each test is a line, and a word ("ok", "failed" or "skipped") in $QEL_RESULTS when set.
report() {
    local ok=$1
    shift
    if [ "$ok" = 0 ]; then
        echo "release test: $* — ok"
        echo ok >>"${QEL_RESULTS:-/dev/null}"
    else
        echo "release test: FAILED: $*"
        echo failed >>"${QEL_RESULTS:-/dev/null}"
        status=1
    fi
}

# The authority, and the signer's key and certificate (with the authority's)
# in a PKCS#12 file under a random password.
make_keys() {
    QEL_TEST_PASSWORD=$(openssl rand -hex 16)
    # Exported to openssl only: the releases below must not inherit it.
    (
        export QEL_TEST_PASSWORD
        cd "$keys" &&
            openssl req -x509 -newkey rsa:2048 -nodes -days 2 -keyout ca.key -out ca.pem \
                -subj "/CN=QelPluginWizard test CA" \
                -addext basicConstraints=critical,CA:TRUE \
                -addext keyUsage=critical,keyCertSign,cRLSign &&
            openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr \
                -subj "/CN=QelPluginWizard test signer/O=NORVANE test" &&
            printf '%s\n' basicConstraints=CA:FALSE keyUsage=critical,digitalSignature \
                extendedKeyUsage=codeSigning >signer.ext &&
            openssl x509 -req -days 2 -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial \
                -extfile signer.ext -out signer.pem &&
            openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem \
                -passout env:QEL_TEST_PASSWORD -out signer.p12
    ) >"$keys/openssl.log" 2>&1
}

# Why a release's copy in build/release/dist is wrong, or nothing.
copy_fault() {
    if ! (cd "$dist" && sha256sum --quiet -c SHA256SUMS) >/dev/null 2>&1; then
        echo "SHA256SUMS does not match the copy"
    elif [ "$(wc -l <"$dist/SHA256SUMS")" != 1 ]; then
        echo "SHA256SUMS lists $(wc -l <"$dist/SHA256SUMS") files, not the exe alone"
    fi
}

unsigned_release() {
    local what
    env -u QEL_SIGN_PKCS12 -u QEL_SIGN_PASSWORD -u QEL_SIGN_TSA scripts/release.sh \
        >"$logs/release-unsigned.log" 2>&1
    if [ $? -ne 0 ]; then
        what="failed (see $logs/release-unsigned.log)"
    elif ! grep -q '^release: NOT SIGNED: ' "$logs/release-unsigned.log"; then
        what="does not say that the copy is unsigned"
    elif ! cmp -s "$exe" "$signed"; then
        what="the copy is not the build output"
    else
        what=$(copy_fault)
    fi
    [ -z "$what" ]
    report $? "release without a key: the unsigned build output, said to be unsigned," \
        "with SHA256SUMS${what:+: $what}"
}

# Addresses a release may not carry, and the two forms it may.
base_rule() {
    local url refused=0 wrong=
    for url in http://plugin.norvane.co.kr https://127.0.0.1 https://localhost \
        https://app.localhost "https://[::1]" https://10.0.0.5 https://2130706433 \
        https://plugin.norvane.co.kr:8443 https://user@plugin.norvane.co.kr \
        https://plugin.norvane.co.kr/ https://intranet; do
        if scripts/release_base.py check-base "$url" >/dev/null; then
            wrong+=" $url accepted;"
        else
            refused=$((refused + 1))
        fi
    done
    for url in https://plugin.norvane.co.kr https://plugin.norvane.co.kr:443; do
        scripts/release_base.py check-base "$url" >/dev/null || wrong+=" $url refused;"
    done
    [ -z "$wrong" ]
    report $? "the release's wizard server rule: $refused addresses refused (http, loopback," \
        "IP addresses, another port, a user name, a path, no domain), the maker's accepted${wrong:+:$wrong}"
}

# build/release configured (by the command given) with a base a release may
# not carry: make release refuses before building, naming it; the preset puts
# the release's base back afterwards.
refused_base() {
    local what=$1 url=$2 log=$logs/release-refused.log before rc why=
    shift 2
    before=$(sha256sum <"$exe")
    "$@" >"$log" 2>&1 || why="build/release could not be configured"
    env -u QEL_SIGN_PKCS12 -u QEL_SIGN_PASSWORD -u QEL_SIGN_TSA make --no-print-directory release \
        >>"$log" 2>&1
    rc=$?
    sed -n 's/^release: FAILED: /    /p' "$log"
    if [ -n "$why" ]; then
        :
    elif [ $rc -eq 0 ]; then
        why="it was made"
    elif ! grep -qF "with the wizard server $url " "$log"; then
        why="the refusal does not name $url"
    elif grep -q '^release: building' "$log" || [ "$(sha256sum <"$exe")" != "$before" ]; then
        why="it built"
    fi
    cmake --preset release >>"$log" 2>&1
    [ -z "$why" ]
    report $? "make release with $what ($url) in build/release: refused before the build," \
        "the address named${why:+: $why}"
}

# The check of the built file, on an exe built for the loopback demo server
# and on the release.
exe_check() {
    local base win32=$build/win32/app/QelPluginWizard.exe said why=
    base=$(scripts/release_base.py preset)
    said=$(scripts/release_base.py check-exe "$win32" "$base")
    if [ $? -eq 0 ] || ! grep -qF 'http://127.0.0.1:8642/plugin/wizard/' <<<"$said"; then
        why="the win32 exe is not refused with its address (${said:-nothing said})"
    elif ! scripts/release_base.py check-exe "$exe" "$base" >/dev/null; then
        why="the release exe is refused: $(scripts/release_base.py check-exe "$exe" "$base")"
    fi
    echo "    ${said:0:160}"
    [ -z "$why" ]
    report $? "the built file's addresses: the win32 exe's refused, the release's on $base" \
        "and none http://${why:+: $why}"
}

# The signed release again, its link step run by a launcher that writes its
# environment: none of the signing variables' values may be in it.
link_environment() {
    local dump=$keys/link-environment.txt log=$logs/release-environment.log found= why=
    cmake --preset release "-DCMAKE_CXX_LINKER_LAUNCHER=cmake;-DQEL_ENV_DUMP=$dump;-P;$root/scripts/release_env_dump.cmake;--" \
        >"$log" 2>&1
    rm -f "$exe"
    QEL_SIGN_PKCS12=$keys/signer.p12 QEL_SIGN_PASSWORD=$QEL_TEST_PASSWORD QEL_SIGN_TSA= \
        scripts/release.sh >>"$log" 2>&1 || why="the release failed (see $log)"
    if [ -z "$why" ] && ! grep -q '^PATH=' "$dump" 2>/dev/null; then
        why="the launcher wrote no environment"
    fi
    [ -z "$why" ] && found=$(grep -F -e "$QEL_TEST_PASSWORD" -e "$keys/signer.p12" -e QEL_SIGN_ \
        "$dump" | cut -d= -f1 | paste -sd ' ')
    cmake --preset release -U CMAKE_CXX_LINKER_LAUNCHER >>"$log" 2>&1
    [ -z "$why$found" ]
    report $? "the release build's link step: $(grep -c . "$dump" 2>/dev/null) environment" \
        "variables, none with the signing password, the key's path or a QEL_SIGN_" \
        "name${why:+: $why}${found:+: found in $found}"
}

# The optional header's DllCharacteristics of the release and the win32 exe.
terminal_server_aware() {
    local file flags line= why=
    for file in "$exe" "$build/win32/app/QelPluginWizard.exe"; do
        flags=$(scripts/pe_summary.py "$file" | sed -n 's/^dll characteristics //p')
        line+="${line:+,} ${file#"$build"/} ${flags:-unreadable}"
        [ -n "$flags" ] && [ $((flags & 0x8000)) -ne 0 ] || why+=" ${file#"$build"/}"
    done
    [ -z "$why" ]
    report $? "DllCharacteristics with TERMINAL_SERVER_AWARE (0x8000):$line${why:+: not aware:$why}"
}

# The signed release; its output is shown in the test log.
signed_release() {
    local before what rc
    before=$(sha256sum <"$exe")
    QEL_SIGN_PKCS12=$keys/signer.p12 QEL_SIGN_PASSWORD=$QEL_TEST_PASSWORD scripts/release.sh \
        >"$logs/release-signed.log" 2>&1
    rc=$?
    sed 's/^/    /' "$logs/release-signed.log"
    if [ $rc -ne 0 ]; then
        what="failed"
    elif ! grep -q '^release: signed, SHA-256 Authenticode' "$logs/release-signed.log"; then
        what="does not say that the copy is signed"
    elif [ "$(sha256sum <"$exe")" != "$before" ]; then
        what="the build output changed"
    elif cmp -s "$exe" "$signed"; then
        what="the copy is the unsigned exe"
    else
        what=$(copy_fault)
    fi
    [ -z "$what" ]
    report $? "release with the test certificate: a signed copy, SHA256SUMS beside it," \
        "the build output unchanged${what:+: $what}"
}

verify() {
    osslsigncode verify -CAfile "$keys/ca.pem" -in "$1" >"$2" 2>&1
}

verified() {
    local log=$logs/release-verify.log what=
    if ! verify "$signed" "$log"; then
        what="refused (see $log)"
    elif ! grep -q '^Message digest algorithm  : SHA256' "$log"; then
        what="not an SHA-256 signature"
    fi
    [ -z "$what" ]
    report $? "osslsigncode verify of the signed exe against the test CA: $(grep -c \
        '^Signature verification: ok' "$log") signature verified, $(sed -n \
        's/^Message digest algorithm  : //p' "$log")${what:+: $what}"
}

# One byte in the middle of the signed contents (the resources) is inverted.
tampered() {
    local copy=$keys/tampered.exe log=$logs/release-verify-tampered.log at byte
    at=$(($(stat -c %s "$exe") / 2))
    cp "$signed" "$copy"
    byte=$(od -An -tu1 -j "$at" -N1 "$copy" | tr -d ' ')
    printf "\\x$(printf %02x $((byte ^ 0xFF)))" | dd of="$copy" bs=1 seek="$at" conv=notrunc \
        status=none
    ! verify "$copy" "$log" && grep -q 'MISMATCH' "$log"
    report $? "osslsigncode verify with byte $at changed: $(grep -c MISMATCH "$log") digest" \
        "mismatch, refused"
}

same_contents() {
    local a b version
    a=$(scripts/pe_summary.py "$exe")
    b=$(scripts/pe_summary.py "$signed")
    diff <(echo "$a") <(echo "$b") >"$logs/release-contents.diff"
    version=$(sed -n 's/^version file \([^ ]*\).*/\1/p' <<<"$a")
    [ -n "$a" ] && [ -n "$version" ] && [ "$a" = "$b" ]
    report $? "the signed exe's imports ($(grep -c '^import ' <<<"$a") functions from" \
        "$(grep '^import ' <<<"$a" | cut -d' ' -f2 | sort -u | wc -l) DLLs), resources" \
        "($(grep -c '^resource ' <<<"$a")) and version block (file version ${version:-none})" \
        "against the unsigned one's: $(grep -c '^[<>]' "$logs/release-contents.diff") lines differ"
}

# The password, and pieces of the PKCS#12 file and of the private key's own
# numbers (past the public modulus, which the signature carries).
no_key_written() {
    local p12 key found
    p12=$(od -An -tx1 -j 64 -N 24 "$keys/signer.p12" | tr -d ' \n' | sed 's/../\\x&/g')
    key=$(openssl pkey -in "$keys/signer.key" -outform DER | od -An -tx1 -j 400 -N 24 |
        tr -d ' \n' | sed 's/../\\x&/g')
    found=$(LC_ALL=C grep -rlaP "($QEL_TEST_PASSWORD|$p12|$key)" "$build/release" \
        "$logs"/release-*)
    [ -z "$found" ]
    report $? "nothing of the key (password, PKCS#12 file, private key) under build/release or" \
        "in the release logs${found:+: found in $(echo $found)}"
}

# The Wine environment of scripts/test.sh, or one of its own when run alone.
wine_up() {
    [ -n "${QEL_WINE:-}" ] && [ -n "${DISPLAY:-}" ] && return
    . scripts/winenv.sh
    qel_winenv "$build"
    qel_wine_usable && qel_xvfb_start || return 1
    trap 'rm -rf "$keys"; qel_wine_shutdown; qel_xvfb_stop' EXIT
    qel_wine_warmup
}

starts_under_wine() {
    local inspect=$build/win32/testbed/inspector/qel_inspect.exe log=$logs/release-wine.log
    if [ "${QEL_WINE_PRESET:-}" != win32 ]; then
        echo "release test: skipped: the signed exe under Wine: 32-bit programs cannot run here"
        echo skipped >>"${QEL_RESULTS:-/dev/null}"
        return
    fi
    if [ ! -f "$inspect" ]; then
        cmake --preset win32 >/dev/null && cmake --build --preset win32 --target qel_inspect
    fi >"$log" 2>&1
    python3 tests/e2e/e2e_wizard.py --scenarios close --exe "$signed" --inspect "$inspect" \
        --server testbed/demo_server.py --work "$build/release/e2e" >>"$log" 2>&1
    report $? "the signed exe under Wine: $(grep -c '^ok: ' "$log") checks from its window to" \
        "its end by the cancel button (see $log)"
}

if ! make_keys; then
    cat "$keys/openssl.log"
    report 1 "the test certificate could not be made"
    exit 1
fi
unsigned_release
base_rule
refused_base "an http base" http://plugin.norvane.co.kr \
    cmake --preset release -DQEL_SERVER_BASE=http://plugin.norvane.co.kr
refused_base "a loopback base" https://127.0.0.1 \
    cmake --preset release -DQEL_SERVER_BASE=https://127.0.0.1
refused_base "the demo server's base left in its cache" http://127.0.0.1:8642 \
    cmake -S "$root" -B "$build/release" -DQEL_SERVER_BASE=http://127.0.0.1:8642
exe_check
terminal_server_aware
link_environment
signed_release
verified
tampered
same_contents
if wine_up; then
    starts_under_wine
else
    report 1 "the signed exe under Wine: Wine cannot run here"
fi
no_key_written
exit $status
