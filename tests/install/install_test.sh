#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the tree a desktop expects: the program,
# its pictures and sounds, the desktop entry, the six icons, the metainfo and the manual page,
# each valid by the tools that read them. Usage: install_test.sh BUILD_DIR
set -u
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
[ -x "$prefix/games/kavrona" ] || fail "no program at games/kavrona"
share="$prefix/share/kavrona"
[ "$(ls "$share"/data/*.png 2>/dev/null | wc -l)" -ge 25 ] || fail "the pictures are not under share/kavrona/data"
[ "$(ls "$share"/kavrona_w*.wav 2>/dev/null | wc -l)" -eq 12 ] || fail "not twelve sounds under share/kavrona"
[ -e "$share/data/.stamp" ] && fail "the build's stamp file was installed"

desktop="$prefix/share/applications/kavrona.desktop"
if [ -f "$desktop" ]; then
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
  [ -z "$out" ] || fail "desktop-file-validate says: $out"
  grep -qx "Exec=$prefix/games/kavrona" "$desktop" || fail "the desktop entry does not start $prefix/games/kavrona"
  grep -qx "Categories=Game;ActionGame;" "$desktop" || fail "the desktop entry's categories"
else
  fail "no desktop entry"
fi

for size in 16 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/kavrona.png"
  if [ ! -f "$icon" ]; then
    fail "no ${size}x${size} icon"
    continue
  fi
  # Width and height are the big-endian words at bytes 16 and 20 of a PNG.
  dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $dims"
done

metainfo="$prefix/share/metainfo/io.github.kavrona.Kavrona.metainfo.xml"
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" >"$prefix/as.txt" 2>&1 || fail "appstreamcli validate: $(cat "$prefix/as.txt")"
else
  fail "no metainfo"
fi

page="$prefix/share/man/man6/kavrona.6"
if [ -f "$page" ]; then
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "the manual page has warnings: $warnings"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)
  for heading in NAME SYNOPSIS CONTROLS FILES; do
    grep -q "^$heading" <<<"$text" || fail "the manual page has no $heading section"
  done
else
  fail "no manual page"
fi

[ "$failures" -eq 0 ] && echo "install: the tree under a scratch prefix is complete and valid"
exit $((failures > 0))
