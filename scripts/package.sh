#!/usr/bin/env bash
# Installs what is missing, builds the Debian package build/kavrona_VERSION_ARCH.deb from a
# build tree of its own (build/package) and checks it, lintian included.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kavrona_install_missing "${KAVRONA_BUILD_PACKAGES[@]}" "${KAVRONA_PACKAGE_PACKAGES[@]}"

# Debian's own compiler and linker flags: fortified functions, stack protector, read-only
# relocations bound at start.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake --preset package \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build --preset package -j"$(nproc)"
rm -f build/kavrona_*.deb
cpack --preset deb
tests/install/package_test.sh build/kavrona_*.deb
