#!/usr/bin/env bash
# Builds the Debian package in a build folder and checks it: its files and
# dependencies, its maintainer scripts in a private unixODBC configuration, then a
# real install and removal, which must leave unixODBC's driver list as it was.
# Usage: check-package.sh BUILD_FOLDER
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

folder="$1"
(cd "$folder" && cpack -G DEB >cpack.log 2>&1) || { cat "$folder/cpack.log"; exit 1; }
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$folder/CMakeCache.txt")"
deb="$folder/korvane_${version}_amd64.deb"
[ -f "$deb" ] || { echo "no package $deb"; exit 1; }

files="$(dpkg-deb -c "$deb" | awk '{print $6}')"
for file in ./usr/bin/korvane ./usr/bin/korvane-render ./usr/lib/korvane/libkorvane-access-setup.so \
            ./usr/share/korvane/frmKorvane.layout ./usr/share/korvane/resources/banner.bmp \
            ./usr/share/applications/korvane.desktop ./usr/share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/korvane.png; do
  grep -qxF "$file" <<<"$files" || { echo "the package lacks $file"; exit 1; }
done
depends="$(dpkg-deb -f "$deb" Depends)"
for package in unixodbc odbc-mdbtools libsdl2-2.0-0 fonts-arphic-uming xdg-utils; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || { echo "the package does not depend on $package: $depends"; exit 1; }
done

# The maintainer scripts against a private driver list: registered when absent,
# removed when still the package's, someone else's left alone.
scripts="$(mktemp -d)"
trap 'rm -rf "$scripts"' EXIT
dpkg-deb -e "$deb" "$scripts/control"
export ODBCSYSINI="$scripts"
: >"$scripts/odbcinst.ini"
sh "$scripts/control/postinst" configure
odbcinst -q -d -n "$KORVANE_DRIVER" | grep -qx 'Setup=/usr/lib/korvane/libkorvane-access-setup.so' ||
  { echo "postinst did not register the driver"; cat "$scripts/odbcinst.ini"; exit 1; }
sh "$scripts/control/postrm" remove
! odbcinst -q -d -n "$KORVANE_DRIVER" >/dev/null 2>&1 || { echo "postrm left the driver"; exit 1; }
printf '[%s]\nDriver=/elsewhere.so\nSetup=/elsewhere-setup.so\n' "$KORVANE_DRIVER" >"$scripts/odbcinst.ini"
cp "$scripts/odbcinst.ini" "$scripts/theirs.ini"
sh "$scripts/control/postinst" configure 2>/dev/null
sh "$scripts/control/postrm" remove
cmp -s "$scripts/odbcinst.ini" "$scripts/theirs.ini" || { echo "the scripts changed someone else's driver"; exit 1; }
unset ODBCSYSINI

# A real install and removal on this machine.
drivers="$(odbcinst -j | sed -n 's/^DRIVERS\.*: //p')"
before="$(cat "$drivers" 2>/dev/null || true)"
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$(realpath "$deb")" >/dev/null
/usr/bin/korvane --version | grep -qx "korvane $version" || { echo "the installed program does not run"; exit 1; }
as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq korvane >/dev/null
[ "$(cat "$drivers" 2>/dev/null || true)" = "$before" ] || { echo "installing and removing the package changed $drivers"; exit 1; }
echo "The package $(basename "$deb") has its files and dependencies, and installs and removes cleanly."
