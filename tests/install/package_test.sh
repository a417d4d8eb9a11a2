#!/usr/bin/env bash
# Checks a built Debian package without installing it: its control fields (computed library
# dependencies, the fonts, section, descriptions), the files it holds and where, the desktop
# entry's program, the copyright file, and lintian, which may warn but must find no error.
# Usage: package_test.sh kavrona_VERSION_ARCH.deb
set -u
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 PACKAGE.deb (exactly one)" >&2
  exit 2
fi
deb="$1"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
source "$(dirname "$0")/../checks.sh"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kavrona ] || fail "the package is called '$(field Package)'"
version=$(field Version)
arch=$(field Architecture)
[ "$(basename "$deb")" = "kavrona_${version}_${arch}.deb" ] || fail "the file name $(basename "$deb") is not kavrona_${version}_${arch}.deb"
[ "$(field Section)" = games ] || fail "section '$(field Section)', not games"
depends=$(field Depends)
for dep in libc6 libsdl2-2.0-0 libsdl2-ttf-2.0-0 libsdl2-mixer-2.0-0 libpng16-16 libfontconfig1 \
  fonts-ipafont-mincho fonts-ipafont-gothic; do
  # A computed dependency carries the lowest version the program was linked for.
  grep -Eq "(^|, )$dep( \(>= [^)]+\))?(,|$)" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
grep -q 'libsdl2-2.0-0 (>= ' <<<"$depends" || fail "the SDL dependency has no version from dpkg-shlibdeps: $depends"
description=$(field Description)
[ "$(wc -l <<<"$description")" -ge 3 ] || fail "no long description: $description"

# Names and modes of what the package holds; dpkg-deb -c prints ./usr/..., with dirs ending in /.
dpkg-deb -c "$deb" >"$scratch/list" || fail "dpkg-deb -c failed"
files=$(awk '$1 !~ /^d/ {print $6}' "$scratch/list" | sed 's|^\./|/|')
has() { grep -qx "$1" <<<"$files" || fail "no $1 in the package"; }
has /usr/games/kavrona
grep -Eq '^-rwxr-xr-x root/root .* \./usr/games/kavrona$' "$scratch/list" || fail "the program is not an executable of root's"
has /usr/share/applications/kavrona.desktop
has /usr/share/metainfo/io.github.kavrona.Kavrona.metainfo.xml
has /usr/share/man/man6/kavrona.6.gz
has /usr/share/doc/kavrona/copyright
has /usr/share/doc/kavrona/changelog.gz
for size in 16 32 48 64 128 256; do
  has "/usr/share/icons/hicolor/${size}x${size}/apps/kavrona.png"
done
[ "$(grep -c '^/usr/share/icons/' <<<"$files")" -eq 6 ] || fail "not six icons"
[ "$(grep -c '^/usr/share/games/kavrona/data/.*\.png$' <<<"$files")" -ge 25 ] || fail "the pictures are not under /usr/share/games/kavrona/data"
[ "$(grep -c '^/usr/share/games/kavrona/kavrona_w[0-9][0-9]\.wav$' <<<"$files")" -eq 12 ] || fail "not twelve sounds under /usr/share/games/kavrona"
outside=$(grep -Ev '^/usr/(games|share/(games/kavrona|applications|metainfo|man/man6|doc/kavrona|icons/hicolor))/' <<<"$files")
[ -z "$outside" ] || fail "files outside the game's places: $outside"
others=$(awk '$2 != "root/root"' "$scratch/list")
[ -z "$others" ] || fail "entries not owned by root: $others"

dpkg-deb -x "$deb" "$scratch/root" || fail "dpkg-deb -x failed"
grep -qx "Exec=/usr/games/kavrona" "$scratch/root/usr/share/applications/kavrona.desktop" ||
  fail "the desktop entry does not start /usr/games/kavrona"
copyright="$scratch/root/usr/share/doc/kavrona/copyright"
if [ -f "$copyright" ]; then
  grep -q '^License: Expat$' "$copyright" || fail "the copyright file names no Expat licence"
  grep -q '^ THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY' "$copyright" || fail "the copyright file lacks the licence's text"
fi
file "$scratch/root/usr/games/kavrona" | grep -q 'not stripped' && fail "the program is not stripped"

# lintian's exit status is 2 on an error tag; warnings are printed for the reader.
lintian --info --display-info "$deb" >"$scratch/lintian" 2>&1
status=$?
grep -E '^[EWIP]: ' "$scratch/lintian" | sort | uniq -c
[ "$status" -eq 0 ] || fail "lintian exited with $status: $(grep '^E: ' "$scratch/lintian")"
grep -q '^E: ' "$scratch/lintian" && fail "lintian reports errors"

finish "package: $(basename "$deb") holds the game where Debian keeps it; lintian finds no error"
