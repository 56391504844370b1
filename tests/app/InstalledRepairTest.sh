#!/usr/bin/env bash
# The installed program under a virtual display: the array buttons' hover faces
# follow the pointer, the window at rest is, pixel for pixel, what korvane-render
# draws headless, Alt+F repairs; then press the repair button, see the
# data source written and, as there is no database beside the installed program,
# the error box; confirm it, quit with the exit button, and expect exit code 0.
# The build is staged into a private root first, so the test sees this build and
# the machine's own installation is left alone. With GDK_SCALE set the window must
# come at that multiple and take clicks at scaled places. With openbox installed a real window
# manager runs, and the box must be its main window's dialog and stay in front.
set -euo pipefail

cmake="$1"
build="$2"
mdbtools="$3"

work="$(mktemp -d)"
trap 'kill "${pid:-}" "${wm:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
DESTDIR="$work/root" "$cmake" --install "$build" >"$work/install.log" || { cat "$work/install.log"; exit 1; }
korvane="$(find "$work/root" -path '*/bin/korvane' | head -n 1)"
setup_library="$(find "$work/root" -name libkorvane-access-setup.so | head -n 1)"
mkdir -p "$work/etc"
printf '[Microsoft Access Driver (*.mdb)]\nDriver=%s\nSetup=%s\n' "$mdbtools" "$setup_library" >"$work/etc/odbcinst.ini"
export ODBCSYSINI="$work/etc" ODBCINI="$work/odbc.ini"

# xdotool's name patterns miss non-ASCII titles in some locales; compare names instead.
window_named() {
  for window in $(xdotool search --name '.*' 2>/dev/null); do
    [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$1" ] && { echo "$window"; return 0; }
  done
  return 1
}

wm=""
if command -v openbox >/dev/null; then
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm=$!
  for _ in $(seq 1 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
  # Openbox announces itself before it takes map requests; a window mapped in
  # between is never managed, and SDL waits for its mapping forever.
  sleep 1
fi

"$korvane" >"$work/korvane.log" 2>&1 &
pid=$!
main="$(timeout 20 xdotool search --sync --onlyvisible --name "Korvane Version 3.0" | head -n 1 || true)"
[ -n "$main" ] || { echo "no main window appeared"; cat "$work/korvane.log"; exit 1; }
scale="${GDK_SCALE:-1}"
size="$(xwininfo -id "$main" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')"
[ "$size" = "$((430 * scale))x$((213 * scale))" ] || { echo "the window is $size at scale $scale"; exit 1; }
# The main window's client area as xwd writes it, and a 32-bit field of its header by offset.
screenshot() { xwd -id "$main" -silent >"$work/shot.xwd"; }
field() { od -An -tu4 --endian=big -j"$1" -N4 "$work/shot.xwd" | tr -d ' '; }
# The rows of the array buttons, y 152 to 177 in client pixels, as one fingerprint.
button_rows() {
  screenshot
  local header colours line
  header="$(field 0)" colours="$(field 76)" line="$(field 48)"
  dd if="$work/shot.xwd" iflag=skip_bytes,count_bytes skip=$((header + colours * 12 + 152 * scale * line)) \
    count=$((25 * scale * line)) status=none | md5sum
}
# "same" when the screenshot shows the PPM $1 with each pixel grown to a scale x scale
# square, as the program grows its frames, else what differs. The header gives the pixels' size, byte order, padded
# line length and colour masks; a DirectColor visual maps each channel through the
# colour map that follows the header.
compare_screenshot() {
  local header colours
  header="$(field 0)" colours="$(field 76)"
  od -An -v -tu1 -j"$(head -n 3 "$1" | wc -c)" "$1" >"$work/want.txt"
  od -An -v -tu1 -j"$header" -N$((colours * 12)) "$work/shot.xwd" >"$work/map.txt"
  od -An -v -tu1 -j$((header + colours * 12)) "$work/shot.xwd" >"$work/got.txt"
  awk -v s="$scale" -v size="$(sed -n 2p "$1")" -v width="$(field 16)" -v height="$(field 20)" \
    -v order="$(field 28)" -v bits="$(field 44)" -v line="$(field 48)" -v class="$(field 52)" \
    -v masks="$(field 56) $(field 60) $(field 64)" -v want="$work/want.txt" -v map="$work/map.txt" '
    FILENAME != file { file = FILENAME; n = 0 }
    { for (i = 1; i <= NF; i++) if (file == want) w[n++] = $i; else if (file == map) m[n++] = $i; else g[n++] = $i }
    END {
      split(size, wh, " "); split(masks, mask, " ")
      for (c = 1; c <= 3; c++) {
        for (low[c] = 1; low[c] < 2 ^ 32 && int(mask[c] / low[c]) % 2 == 0; low[c] *= 2);
        if (int(mask[c] / low[c]) != 255) bad = 1
      }
      if (bad || bits % 8 || (class != 4 && class != 5)) { print "xwd wrote " bits "-bit pixels of visual class " class; exit }
      if (wh[1] * s != width || wh[2] * s != height) { print "the screenshot is " width "x" height; exit }
      for (y = 0; y < height; y++) for (x = 0; x < width; x++) {
        at = y * line + x * bits / 8; v = 0
        for (k = 0; k < bits / 8; k++) v = v * 256 + g[at + (order ? k : bits / 8 - 1 - k)]
        p = 3 * (int(y / s) * wh[1] + int(x / s))
        for (c = 1; c <= 3; c++) {
          value = int(v / low[c]) % 256
          if (class == 5) value = m[12 * value + 2 + 2 * c]
          if (value != w[p + c - 1]) { differ++; break }
        }
      }
      print differ ? differ " pixels differ" : "same"
    }' "$work/want.txt" "$work/map.txt" "$work/got.txt"
}
# Confirms the error box and waits for it to go.
dismiss() {
  xdotool windowfocus --sync "$1" key Return
  for _ in $(seq 1 50); do window_named 错误 >/dev/null || break; sleep 0.2; done
}
# The pointer moves as a hand moves it, a few steps to the place.
glide() {
  for step in 1 2 3 4; do
    xdotool mousemove --window "$main" $((($1 - (4 - step) * 8) * scale)) $((($2 - (4 - step) * 4) * scale))
    sleep 0.1
  done
  sleep 0.5
}
away() { glide 40 205; }
if command -v xwd >/dev/null; then
  # Each array button shows its hover face under the pointer and its own face again
  # once the pointer has gone; their centres are at x 100, 253 and 372, y 164. A
  # window that has just appeared may miss the pointer's first arrival.
  sleep 1
  away
  rest="$(button_rows)"
  for x in 100 253 372; do
    glide "$x" 164
    [ "$(button_rows)" != "$rest" ] || { echo "the button at x $x shows no hover face"; exit 1; }
    away
    [ "$(button_rows)" = "$rest" ] || { echo "the button at x $x kept its hover face"; exit 1; }
  done
  # At rest, before any repair, the window is what korvane-render draws headless: run
  # from the same bin folder (the path box shows it), with the same configuration, on a
  # screen as large in the window system's pixels (the gradients' bands depend on it).
  screen="$(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')"
  "$(dirname "$korvane")/korvane-render" window --screen "$((${screen%x*} / scale))x$((${screen#*x} / scale))" \
    --out "$work/headless.ppm"
  screenshot
  verdict="$(compare_screenshot "$work/headless.ppm")"
  if [ "$verdict" != same ]; then
    kept="$(mktemp -d "${TMPDIR:-/tmp}/korvane-screenshot.XXXXXX")"
    cp "$work/shot.xwd" "$work/headless.ppm" "$kept/"
    echo "the window at rest is not korvane-render's picture: $verdict; shot.xwd and headless.ppm are in $kept"
    exit 1
  fi
fi
# Alt+F, the repair button's access key, starts the repair.
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key --clearmodifiers alt+f
for _ in $(seq 1 40); do
  window_named 错误 >/dev/null && break
  sleep 0.2
done
window_named 错误 >/dev/null || { echo "Alt+F did not start the repair"; cat "$work/korvane.log"; exit 1; }
dismiss "$(window_named 错误)"
# The repair button's centre in client pixels: (2640 + 2310 / 2) / 15, (2280 + 375 / 2) / 15.
# A window that has just appeared may not take the first click (the pointer has
# not been seen to arrive over it); click again until the repair answers.
done_box=""
for attempt in 1 2 3 4 5; do
  xdotool mousemove --window "$main" $((253 * scale)) $((164 * scale))
  sleep 1
  xdotool click 1
  for _ in $(seq 1 40); do
    done_box="$(window_named 错误 || true)"
    [ -n "$done_box" ] && break 2
    sleep 0.2
  done
done
[ -n "$done_box" ] || { echo "no error box appeared"; cat "$work/korvane.log"; exit 1; }
grep -q '^\[Pelwick2006\]$' "$ODBCINI" || { echo "no data source written"; cat "$ODBCINI" || true; exit 1; }
grep -q '^Driver=Microsoft Access Driver (\*.mdb)$' "$ODBCINI"
if [ -n "$wm" ]; then
  fail() { echo "$1"; xprop -id "$2"; exit 1; }
  xprop -id "$done_box" WM_TRANSIENT_FOR | grep -q "$(printf '0x%x' "$main")\$" || fail "the box is not transient for the main window" "$done_box"
  xprop -id "$done_box" _NET_WM_WINDOW_TYPE | grep -q '_NET_WM_WINDOW_TYPE_DIALOG' || fail "the box is not a dialog" "$done_box"
  # Openbox keeps minimize on every window whatever the hints say; maximize it drops.
  ! xprop -id "$done_box" _NET_WM_ALLOWED_ACTIONS | grep -Eq 'MAXIMIZE|RESIZE' || fail "the box can be maximized or resized" "$done_box"
  ! xprop -id "$main" _NET_WM_ALLOWED_ACTIONS | grep -Eq 'MAXIMIZE|RESIZE' || fail "the main window can be maximized or resized" "$main"
  # Activating the disabled main window keeps the box above it.
  xdotool windowactivate "$main" 2>/dev/null || true
  sleep 0.5
  stacking="$(xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep '^0x' | while read -r id; do printf '%d\n' "$id"; done)"
  [ "$(grep -n -x "$done_box" <<<"$stacking" | cut -d: -f1)" -gt "$(grep -n -x "$main" <<<"$stacking" | cut -d: -f1)" ] ||
    { echo "the box went behind the main window"; exit 1; }
fi
dismiss "$done_box"
# The exit button: (4680 + 1815 / 2) / 15, (2280 + 375 / 2) / 15. The main window is
# enabled again only once the box has gone, so a click on a busy machine may come too
# early: click again until the program ends.
ended=""
for attempt in 1 2 3 4 5; do
  xdotool mousemove --window "$main" $((372 * scale)) $((164 * scale))
  sleep 0.5
  xdotool click 1
  if timeout 4 tail --pid="$pid" -f /dev/null; then ended=1; break; fi
done
[ -n "$ended" ] || { echo "korvane did not end"; exit 1; }
wait "$pid" || { echo "korvane exited with $?"; cat "$work/korvane.log"; exit 1; }
pid=""
echo "installed program repaired the data source and ended cleanly"
