#!/usr/bin/env bash
# Installs what building and testing need, then prepares the Wine prefix.
# Idempotent: on a ready machine it only checks and returns. With --build-tools,
# only what the win32 build needs (scripts/test.sh builds while the rest installs).
#   scripts/setup.sh [--build-tools] [BUILD_DIR]   (default: build)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
tools_only=
if [ "${1:-}" = --build-tools ]; then
  tools_only=1
  shift
fi
build=${1:-$root/build}
mkdir -p "$build"
build=$(cd "$build" && pwd)

# The win32 build's tools first: they bring no library that wine32's i386 side
# must match (see the retry below).
pkgs=(mingw-w64 g++ cmake make googletest python3)
[ -n "$tools_only" ] ||
  pkgs+=(wine wine64 wine32 xvfb xdotool imagemagick fonts-nanum fonts-baekmuk locales
         python3-pil x11-utils clang-format clang-14 libclang-rt-14-dev openssl
         osslsigncode iproute2)

missing=()
for p in "${pkgs[@]}"; do
  q=$p
  [ "$p" = wine32 ] && q=wine32:i386
  dpkg-query -W -f='${Status}' "$q" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -qq || true
  install=(apt-get install -y -qq --no-install-recommends "${missing[@]/wine32/wine32:i386}")
  if ! "${install[@]}" >/dev/null; then
    # wine32's i386 libraries must match the amd64 ones version for version; a
    # mirror whose i386 security index fails to download leaves the amd64 side
    # newer. Retry once with the security suite below the main one, for this
    # install only.
    pin=/etc/apt/preferences.d/qel-setup-security
    echo "setup: retrying with bookworm-security below bookworm (i386 and amd64 versions apart)"
    printf 'Package: *\nPin: release n=bookworm-security\nPin-Priority: 90\n' >"$pin"
    status=0
    "${install[@]}" >/dev/null || status=$?
    rm -f "$pin"
    [ "$status" -eq 0 ] || exit "$status"
  fi
fi

[ -z "$tools_only" ] || exit 0

# Korean ANSI code page (949) under Wine needs the ko_KR.UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^ko_KR\.utf-\?8$'; then
  sed -i 's/^# *\(ko_KR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ko_KR.UTF-8 UTF-8' /etc/locale.gen || echo 'ko_KR.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi

exec "$root/scripts/wineprefix.sh" "$build"
