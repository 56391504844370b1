#!/usr/bin/env bash
# Redraws this folder's pictures of the main window with korvane-render: as it
# opens, and after a repair of the shared test database with the completion box
# in front. The repair runs for real, in a scratch ODBC configuration; the path
# box shows a neutral path instead of the render tool's folder.
# Usage: make_pictures.sh [path of korvane-render] [test database]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
render="$(command -v "${1:-korvane-render}" || realpath "$1")"
database="$(realpath "${2:-$here/../../../shared/testdata/DateTestDatabase.mdb}")"
setup="$(dirname "$render")/../host/platform/access_setup/libkorvane-access-setup.so"
[ -f "$setup" ] || setup="$(dirname "$render")/../lib/korvane/libkorvane-access-setup.so"
mdbtools="$(dpkg -L odbc-mdbtools | grep '/libmdbodbc\.so$' | head -n 1)"

scratch=/tmp/korvane-pictures
rm -rf "$scratch"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/etc" "$scratch/data"
cp "$database" "$scratch/data/db.mdb"
printf '[Microsoft Access Driver (*.mdb)]\nDriver=%s\nSetup=%s\n' "$mdbtools" "$(realpath "$setup")" >"$scratch/etc/odbcinst.ini"
export ODBCSYSINI="$scratch/etc" ODBCINI="$scratch/odbc.ini" HOME="$scratch"

# The path box (8, 88 to 300, 112) takes the database's path.
cat >"$scratch/path.txt" <<STEPS
move 150 100
down
up
key Home
key Shift+End
type $scratch/data/db.mdb
move 0 0
STEPS
# Then the repair button, whose box stays open for the picture.
{ cat "$scratch/path.txt"; printf 'move 253 164\ndown\nup\n'; } >"$scratch/repair.txt"

"$render" window --script "$scratch/path.txt" --out "$here/main-window.png"
"$render" window --script "$scratch/repair.txt" --out "$here/after-repair.png"
