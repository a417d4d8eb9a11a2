#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the tree a desktop expects: the program,
# its pictures and sounds, the desktop entry, the six icons, the metainfo, the manual page and
# the copyright file, each valid by the tools that read them. Usage: install_test.sh BUILD_DIR
set -u
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
source "$(dirname "$0")/../checks.sh"

# The layout is the build's to choose: check the one it was configured with.
cached() { sed -n "s|^$1:[A-Z]*=||p" "$build/CMakeCache.txt"; }
bindir=$(cached KAVRONA_INSTALL_BINDIR)
sharedir=$(cached KAVRONA_INSTALL_SHAREDIR)

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
[ -x "$prefix/$bindir/kavrona" ] || fail "no program at $bindir/kavrona"
share="$prefix/$sharedir"
[ "$(ls "$share"/data/*.png 2>/dev/null | wc -l)" -ge 25 ] || fail "the pictures are not under $sharedir/data"
[ "$(ls "$share"/kavrona_w*.wav 2>/dev/null | wc -l)" -eq 12 ] || fail "not twelve sounds under $sharedir"
[ -e "$share/data/.stamp" ] && fail "the build's stamp file was installed"

desktop="$prefix/share/applications/kavrona.desktop"
if [ -f "$desktop" ]; then
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
  [ -z "$out" ] || fail "desktop-file-validate says: $out"
  grep -qx "Exec=$prefix/$bindir/kavrona" "$desktop" || fail "the desktop entry does not start $prefix/$bindir/kavrona"
  grep -qx "Categories=Game;ActionGame;" "$desktop" || fail "the desktop entry's categories"
  grep -qx "Exec=$prefix/$bindir/kavrona --lang en" "$desktop" || fail "the desktop entry has no action to play in English"
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

page="$prefix/share/man/man6/kavrona.6.gz"
if [ -f "$page" ]; then
  grep -q "\"Kavrona $(cached CMAKE_PROJECT_VERSION)\"" <(zcat "$page") || fail "the manual page does not name the version"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "the manual page has warnings: $warnings"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)
  for heading in NAME SYNOPSIS CONTROLS FILES; do
    grep -q "^$heading" <<<"$text" || fail "the manual page has no $heading section"
  done
else
  fail "no manual page"
fi

copyright="$prefix/share/doc/kavrona/copyright"
if [ -f "$copyright" ]; then
  grep -q '^License: Expat$' "$copyright" || fail "the copyright file names no licence"
  # The licence's own words, every line indented and no line left empty.
  grep -q '^ Permission is hereby granted, free of charge' "$copyright" || fail "the copyright file lacks the licence's text"
  awk -v RS= '/^License: Expat\n/' "$copyright" | sed 1d | grep -vq '^ ' && fail "a licence line is not indented"
else
  fail "no copyright file"
fi

finish "install: the tree under a scratch prefix is complete and valid"
