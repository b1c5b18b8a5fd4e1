#!/usr/bin/env bash
# Provides the 32-bit Wine that runs the shipped Vorlund.exe: Debian's own i386 Wine packages, at
# exactly the version of the installed wine64, unpacked into one folder outside the clone
# (VORLUND_WINE32, default /opt/vorlund-wine32) that later clones and runs reuse.
#
# Neither dpkg nor the system's own Wine is touched, and the system's architectures stay as they
# are: a private apt configuration for i386 alone (its own state, an empty package status, its own
# cache and source list, signed by Debian's archive key) resolves and downloads the packages, and
# dpkg-deb unpacks them. The folder is made again only when it is missing, was left half made (the
# stamp is written last), or was made for another wine64 version or another recipe.
#
#   setup-wine32.sh              make the folder when needed (as root)
#   setup-wine32.sh --check      exit 0 when the folder is ready, 1 otherwise (saying why);
#                                changes nothing
#   setup-wine32.sh --verify DIR exit 0 when DIR holds the fix-ups below, 1 otherwise (saying
#                                which is wrong); reads only, and runs no 32-bit code
# A folder is ready when its stamp is this recipe's for the installed wine64 and its fix-ups
# verify; a folder that fails either is made anew. The verification reads files only, so it
# runs on a machine whose kernel cannot run the 32-bit Wine too.
set -euo pipefail

root=${VORLUND_WINE32:-/opt/vorlund-wine32}
# Bump when what is unpacked or fixed up below changes: older folders are then made anew.
recipe=2
wine64_version=$(dpkg-query -W -f='${Version}' wine64 2>/dev/null || true)
stamp="wine64 $wine64_version, recipe $recipe"

# Wine takes a DLL for one of its own builtin ones when these 17 bytes (the words and a NUL)
# stand at offset 64 of the file.
builtin_marker_of() { od -An -tx1 -j64 -N17 "$1" 2>/dev/null | tr -d ' \n'; }
builtin_marker=$(printf 'Wine builtin DLL\0' | od -An -tx1 | tr -d ' \n')

# An ELF file of 32-bit x86: its class (offset 4) is 1, its machine (offset 18) 3.
is_elf_i386() {
  [ -f "$1" ] && [ "$(od -An -tx1 -N5 "$1" | tr -d ' \n')" = 7f454c4601 ] &&
    [ "$(od -An -tx1 -j18 -N2 "$1" | tr -d ' \n')" = 0300 ]
}

# The fix-ups of a made folder, each checked by reading it; the first that fails is named.
verify() {  # DIR
  local dir=$1 dlls=$1/usr/lib/i386-linux-gnu/wine/i386-windows file
  local fail=
  for file in usr/lib/wine/wine usr/lib/wine/wine-preloader usr/lib/wine/wineserver32; do
    { is_elf_i386 "$dir/$file" && [ -x "$dir/$file" ]; } ||
      { fail="$file is not an executable 32-bit x86 program"; break; }
  done
  file=usr/lib/i386-linux-gnu/wine/i386-unix/ntdll.so
  [ -n "$fail" ] || is_elf_i386 "$dir/$file" || fail="$file is not a 32-bit x86 library"
  # The builtin DLLs Wine made carry the marker, and zlib1.dll, which they import, carries the
  # same bytes.
  if [ -z "$fail" ] && [ "$(builtin_marker_of "$dlls/user32.dll")" != "$builtin_marker" ]; then
    fail="user32.dll does not carry Wine's builtin marker"
  fi
  if [ -z "$fail" ] && [ "$(builtin_marker_of "$dlls/zlib1.dll")" != "$(builtin_marker_of "$dlls/user32.dll")" ]; then
    fail="zlib1.dll does not carry the builtin marker of Wine's own DLLs (bytes 64 to 80)"
  fi
  # The loader starts the wineserver beside it: the folder's own 32-bit one.
  if [ -z "$fail" ] && ! { [ -x "$dir/usr/lib/wine/wineserver" ] &&
    grep -q '/wineserver32" "\$@"' "$dir/usr/lib/wine/wineserver"; }; then
    fail="usr/lib/wine/wineserver does not start the folder's wineserver32"
  fi
  # The Wine binaries name the host's i386 loader.
  if [ -z "$fail" ] && [ ! -e /lib/ld-linux.so.2 ]; then
    fail="/lib/ld-linux.so.2 (package libc6-i386) is missing"
  fi
  [ -z "$fail" ] && return 0
  echo "setup-wine32: $dir is not a working 32-bit Wine: $fail" >&2
  return 1
}

ready() {
  [ -n "$wine64_version" ] && [ "$(cat "$root/.vorlund-ready" 2>/dev/null)" = "$stamp" ] &&
    verify "$root"
}

case "${1:-}" in
  --check)
    ready
    exit
    ;;
  --verify)
    verify "$2"
    exit
    ;;
esac
ready 2>/dev/null && exit 0

. "$(dirname "$0")/../cmake/wine-env.sh"
if ! kernel_runs_32bit && [ -z "${VORLUND_WINE32_ANYWAY:-}" ]; then
  echo "setup-wine32: this machine's kernel cannot run 32-bit programs: the 32-bit Wine is not" \
    "made here, and the 32-bit tests are skipped (VORLUND_WINE32_ANYWAY=1 makes it all the same)"
  exit 0
fi

if [ -z "$wine64_version" ]; then
  echo "setup-wine32: wine64 is not installed; install it first (scripts/setup.sh)" >&2
  exit 1
fi

# Wine's own DLLs and the X11, sound, font, TLS and Kerberos libraries it loads on demand
# (libwine's recommendations that matter without a sound card, a GPU or a printer).
version=$wine64_version
wanted=(wine32="$version" libwine="$version" wine32-preloader="$version" fonts-wine
  libxcomposite1 libxcursor1 libxfixes3 libxi6 libxinerama1 libxrandr2 libxrender1 libxxf86vm1)

if [ "$(id -u)" -ne 0 ]; then
  cat >&2 <<EOF
The shipped 32-bit Vorlund.exe runs under Debian's i386 Wine $version, unpacked into $root.
As root, this script would:
  - resolve ${wanted[*]}
    for i386 with a private apt configuration (nothing of the system's apt state, dpkg database or
    architectures changes) and download them, about 123 packages and 140 MB, signatures checked;
  - unpack them with dpkg-deb into $root (about 720 MB), beside the host's libc6-i386;
  - copy zlib1.dll among Wine's DLLs and make the folder's wineserver start its own 32-bit server.
Run it as root: bash scripts/setup-wine32.sh
EOF
  exit 1
fi

mkdir -p "$(dirname "$root")"
exec 9>"$root.lock"
flock 9
ready 2>/dev/null && exit 0

echo "Making the 32-bit Wine (Debian's i386 Wine $version) in $root"
work=$(mktemp -d "$root.work.XXXXXX")
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
apt_dir=$work/apt
mkdir -p "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts" \
  "$apt_dir/prefs" "$work/debs"
: >"$apt_dir/state/status"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
# The system's own Debian sources (the mirror it is set up with), signed by Debian's archive
# key; sources of other vendors are left out.
: >"$apt_dir/sources.list"
if [ -f /etc/apt/sources.list ]; then
  grep -E '^deb ' /etc/apt/sources.list | grep -F "$keyring" >"$apt_dir/sources.list" || true
fi
for list in /etc/apt/sources.list.d/*.sources; do
  if [ -f "$list" ] && grep -qF "$keyring" "$list"; then cp "$list" "$apt_dir/parts/"; fi
done
if [ ! -s "$apt_dir/sources.list" ] && [ -z "$(ls "$apt_dir/parts")" ]; then
  echo "setup-wine32: no Debian sources signed by $keyring in /etc/apt" >&2
  exit 1
fi
cat >"$apt_dir/apt.conf" <<EOF
APT::Architecture "i386";
APT::Architectures { "i386"; };
APT::Install-Recommends "false";
APT::Install-Suggests "false";
Dir::State "$apt_dir/state";
Dir::State::status "$apt_dir/state/status";
Dir::Cache "$apt_dir/cache";
Dir::Etc::SourceList "$apt_dir/sources.list";
Dir::Etc::SourceParts "$apt_dir/parts";
Dir::Etc::Preferences "$apt_dir/prefs/none";
Dir::Etc::PreferencesParts "$apt_dir/prefs";
EOF
private_apt() { APT_CONFIG=$apt_dir/apt.conf "$@"; }
# apt's download sandbox user must be able to write where the packages go.
if id _apt >/dev/null 2>&1; then
  chown _apt "$work/debs" "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial"
fi

started=$SECONDS
# An index that fails to download (the mirror's i386 security index can be stale) is reported but
# does not stop us: resolving below says whether what we need is there.
private_apt apt-get update -qq >"$work/update.log" 2>&1 || sed 's/^/  apt: /' "$work/update.log" | grep -E '^  apt: (E|W):' >&2 || true

# Every package the wanted ones need, at the versions a fresh i386 system would install; glibc
# itself comes from the host's libc6-i386, where the Wine binaries look for their loader
# (/lib/ld-linux.so.2).
if ! private_apt apt-get -s install "${wanted[@]}" >"$work/resolve.log" 2>&1; then
  echo "setup-wine32: apt cannot resolve the i386 Wine $version:" >&2
  cat "$work/resolve.log" >&2
  exit 1
fi
awk '/^Inst / { v = $3; gsub(/[()]/, "", v); if ($2 != "libc6") print $2 "=" v }' \
  "$work/resolve.log" >"$work/packages"
(cd "$work/debs" && private_apt apt-get download -q $(cat "$work/packages")) >"$work/download.log" 2>&1 || {
  echo "setup-wine32: downloading the packages failed:" >&2
  cat "$work/download.log" >&2
  exit 1
}
count=$(ls "$work/debs" | wc -l)
size=$(du -sm "$work/debs" | cut -f1)

new=$work/root
mkdir -p "$new"
for deb in "$work"/debs/*.deb; do
  dpkg-deb -x "$deb" "$new"
done

# What the packages' maintainer scripts and the amd64 half would have done:
# - zlib1.dll, which Wine's own DLLs import, among them and marked as a Wine builtin DLL (without
#   it user32.dll does not load);
dlls=$new/usr/lib/i386-linux-gnu/wine/i386-windows
cp "$new/usr/i686-w64-mingw32/lib/zlib1.dll" "$dlls/zlib1.dll"
printf 'Wine builtin DLL\0' | dd of="$dlls/zlib1.dll" bs=1 seek=64 conv=notrunc status=none
# - the loader starts "wineserver" beside itself: the packaged script starts the host's 64-bit
#   server; this folder serves pure 32-bit prefixes with its own.
cat >"$new/usr/lib/wine/wineserver" <<'EOF'
#!/bin/sh
exec "$(dirname "$0")/wineserver32" "$@"
EOF
chmod 755 "$new/usr/lib/wine/wineserver"

verify "$new"
rm -rf "$root"
mv "$new" "$root"
echo "$stamp" >"$root/.vorlund-ready"
echo "Made $root: $count packages, $size MB downloaded, $(du -sm "$root" | cut -f1) MB unpacked," \
  "in $((SECONDS - started)) s"
