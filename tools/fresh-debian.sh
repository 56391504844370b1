#!/usr/bin/env bash
# Proves that the README's test command works on a fresh Debian 12: makes a minimal
# bookworm root with debootstrap, copies this repository's files and the shared test
# data beside it, and runs `bash tools/test.sh` inside it with chroot. Needs root.
#
#   bash tools/fresh-debian.sh [FOLDER]
#
# FOLDER must be empty or absent and is kept afterwards; without it a temporary
# folder is used and removed. KORVANE_DEBIAN_MIRROR chooses the package mirror
# (debootstrap's default otherwise).
set -euo pipefail

repository="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# The part that runs in a mount namespace of its own: whatever is mounted there
# disappears with it, so no mount can outlive the run or reach the host's tree.
if [ "${1:-}" = "--inside" ]; then
  root="$2"
  unmount_all() {
    local target
    for target in dev sys proc; do
      if mountpoint -q "$root/$target"; then umount -R -l "$root/$target"; fi
    done
  }
  trap unmount_all EXIT
  mount -t proc proc "$root/proc"
  mount -t sysfs -o ro sysfs "$root/sys"
  mount --rbind /dev "$root/dev"
  # A fresh login's environment, not this shell's.
  chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c 'cd /src/korvane && bash tools/test.sh'
  exit
fi

[ "$(id -u)" -eq 0 ] || { echo "fresh-debian.sh needs root (debootstrap, mount, chroot)" >&2; exit 1; }
[ -d "$repository/../shared/testdata" ] || { echo "no ../shared/testdata beside $repository" >&2; exit 1; }

if [ $# -ge 1 ]; then
  root="$1"
  mkdir -p "$root"
  [ -z "$(ls -A "$root")" ] || { echo "$root is not empty" >&2; exit 1; }
  root="$(cd "$root" && pwd)"
  temporary=""
else
  root="$(mktemp -d)"
  temporary="$root"
fi

log="$(mktemp)"
clean_up() {
  rm -f "$log"
  # Only a folder with nothing mounted inside is removed.
  [ -n "$temporary" ] || return 0
  if grep -q " $temporary/" /proc/self/mounts; then
    echo "mounts remain under $temporary; left in place" >&2
  else
    rm -rf "$temporary"
  fi
}
trap clean_up EXIT

started=$SECONDS
echo "== Debian 12 minimal root in $root"
mirror=()
[ -n "${KORVANE_DEBIAN_MIRROR:-}" ] && mirror=("$KORVANE_DEBIAN_MIRROR")
debootstrap --variant=minbase bookworm "$root" "${mirror[@]}" >"$log" 2>&1 ||
  { tail -n 30 "$log"; echo "debootstrap failed" >&2; exit 1; }
# Package scripts must not start services in the root: nothing runs there but the tests.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
[ -s "$root/etc/resolv.conf" ] || cp /etc/resolv.conf "$root/etc/resolv.conf"

echo "== Copying the repository's files and the shared data"
mkdir -p "$root/src/korvane"
git -C "$repository" ls-files -z |
  tar -C "$repository" --null --ignore-failed-read -T - -cf - | tar -C "$root/src/korvane" -xf -
cp -RL "$repository/../shared" "$root/src/shared" # its contents, also when shared is a link

echo "== bash tools/test.sh inside the root"
status=0
unshare --mount --propagation private bash "${BASH_SOURCE[0]}" --inside "$root" || status=$?
minutes=$(( (SECONDS - started) / 60 ))
seconds=$(( (SECONDS - started) % 60 ))
if [ "$status" -eq 0 ]; then
  echo "== Fresh Debian 12: tools/test.sh passed (${minutes}m ${seconds}s)"
else
  echo "== Fresh Debian 12: tools/test.sh failed with status $status (${minutes}m ${seconds}s)"
fi
exit "$status"
