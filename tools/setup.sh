#!/usr/bin/env bash
# Installs what Korvane needs on Debian, builds it and installs it, registering
# the Access driver with unixODBC. Sourced by start.sh and test.sh; safe to repeat.
set -euo pipefail

KORVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KORVANE_PACKAGES=(
  build-essential cmake pkg-config clang-14 libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  unixodbc unixodbc-dev odbc-mdbtools
  libsdl2-dev libfreetype-dev libfontconfig-dev libpng-dev libjpeg-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-arphic-uming xdg-utils xvfb xdotool xauth x11-utils x11-apps openbox
  file # the Debian package's library dependencies are read off its binaries with it
)
KORVANE_DRIVER="Microsoft Access Driver (*.mdb)"
KORVANE_INSTALLED=()

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
  local missing=()
  for package in "${KORVANE_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  KORVANE_INSTALLED+=("Debian packages: ${missing[*]}")
}

# build FOLDER [cmake options...]
build() {
  local folder="$1"
  shift
  mkdir -p "$folder"
  # Quiet when it works; the whole log when it does not.
  if ! { cmake -S "$KORVANE_ROOT" -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" &&
         cmake --build "$folder" -j"$(nproc)"; } >"$folder/build.log" 2>&1; then
    cat "$folder/build.log"
    echo "Build failed in $folder" >&2
    return 1
  fi
}

# Registers the driver in unixODBC's system driver list, pointing Setup at our
# set-up library; an entry that already says so is left alone.
register_driver() {
  local setup_library="$1"
  local mdbtools
  mdbtools="$(dpkg -L odbc-mdbtools | grep '/libmdbodbc\.so$' | head -n 1)"
  local current
  current="$(odbcinst -q -d -n "$KORVANE_DRIVER" 2>/dev/null || true)"
  if grep -qx "Setup=$setup_library" <<<"$current" && grep -qx "Driver=$mdbtools" <<<"$current"; then
    return 0
  fi
  for _ in $(seq 1 20); do
    odbcinst -q -d -n "$KORVANE_DRIVER" >/dev/null 2>&1 || break
    as_root odbcinst -u -d -n "$KORVANE_DRIVER" >/dev/null 2>&1 || break
  done
  printf '[%s]\nDescription=Microsoft Access databases through MDB Tools\nDriver=%s\nSetup=%s\n' \
    "$KORVANE_DRIVER" "$mdbtools" "$setup_library" | as_root odbcinst -i -d -r >/dev/null
  KORVANE_INSTALLED+=("ODBC driver \"$KORVANE_DRIVER\" (Setup=$setup_library)")
}

install_korvane() {
  local folder="$1"
  local manifest="$folder/install_manifest.txt"
  local before=""
  [ -f "$manifest" ] && before="$(cat "$manifest")"
  as_root cmake --install "$folder" >/dev/null
  if [ "$(cat "$manifest")" != "$before" ]; then
    KORVANE_INSTALLED+=("Korvane files: $(tr '\n' ' ' <"$manifest")")
  fi
  register_driver "$(grep '/libkorvane-access-setup\.so$' "$manifest" | head -n 1)"
}

report_installed() {
  if [ ${#KORVANE_INSTALLED[@]} -eq 0 ]; then
    echo "Everything was already installed."
  else
    echo "Installed:"
    printf '  %s\n' "${KORVANE_INSTALLED[@]}"
  fi
}
