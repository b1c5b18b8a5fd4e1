#!/usr/bin/env bash
# Installs what building, testing and running Vorlund need on Debian, as root.
# Without root it only says what to install.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format
  googletest libgtest-dev libbenchmark-dev libssl-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
  g++-mingw-w64-i686-win32 libxml2-utils
  wine64 libc6-i386 xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei locales file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

locale_ok=1
locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$' || locale_ok=0

# The shipped 32-bit program runs under Debian's i386 Wine, kept in a folder of its own.
wine32() { bash "$(dirname "$0")/setup-wine32.sh" "$@"; }

if [ ${#missing[@]} -eq 0 ] && [ $locale_ok -eq 1 ]; then
  wine32
  exit
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Vorlund needs these Debian packages: ${missing[*]:-none}" >&2
  [ $locale_ok -eq 1 ] || echo "and the zh_CN.UTF-8 locale (enable it in /etc/locale.gen, run locale-gen)" >&2
  echo "Run this script as root, or install them with: apt-get install ${missing[*]:-}" >&2
  exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

if [ $locale_ok -eq 0 ]; then
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi

wine32
