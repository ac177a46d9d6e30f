#!/usr/bin/env bash
# The real tessary on a virtual screen with a window manager, driven by
# mouse and keys as a new user meets it: Start, Build clicked where the
# button sits, a folder chosen by a double click in the tree, Enter on the
# focused button, Preview in a stand-in browser, Save, the Map and Publish
# tabs, a colour changed with the keyboard alone, Maximise, and Exit with
# Escape on the question. Then the window as a screen reader hears it
# (AT-SPI), on a dark theme, and in the hands of an ordinary user who may
# only read the folder to map. It checks the files on disk and leaves
# screenshots.
#
#   desktop_session.sh TESSARY SHOTS_FOLDER
set -euo pipefail

if [[ -z "${TESSARY_ON_SCREEN:-}" ]]; then
  # Bounded as a whole, so that a box nobody answers cannot hold it up.
  # A session bus of its own carries the accessibility bus. The search
  # for a free display starts at a random number: two sessions started in
  # the same moment would otherwise both take :99, and the second runs on
  # the first one's screen without its key.
  exec timeout --kill-after=10 280 \
    xvfb-run -a -n $((100 + RANDOM % 800)) -s '-screen 0 1280x1024x24' \
    dbus-run-session -- env TESSARY_ON_SCREEN=1 bash "$0" "$@"
fi
here=$(dirname "$(realpath "$0")")

tessary=$(realpath "$1")
shots=$2
mkdir -p "$shots"
rm -f "$shots"/*.png

work=$(mktemp -d)
home=$work/home
site=$home/site
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "not ok - $*"
  import -window root "$shots/failure.png" 2>/dev/null || true
  # What the program and the session's helpers said may tell why.
  for log in "$work"/*.log; do
    [[ -s "$log" ]] || continue
    echo "# ${log##*/}:"
    tail -n 40 "$log" | sed 's/^/#   /'
  done
  exit 1
}
ok() { echo "ok - $*"; }

# Polls a command for up to 20 seconds.
wait_until() {
  local what=$1
  shift
  for _ in $(seq 200); do
    "$@" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "waited in vain: $what"
}

visible_window() { xdotool search --onlyvisible --name "^$1\$" | head -1; }
has_window() { [[ -n "$(visible_window "$1")" ]]; }
file_exists() { [[ -f "$1" ]]; }
lines_in() { [[ -f "$1" ]] && [[ $(wc -l < "$1") -ge $2 ]]; }

# The window is laid out in twips, 15 to a pixel; these give the screen
# point at the middle of a control placed in the window's client area
# below the menu bar.
px() { echo $((($1 + 7) / 15)); }
click_twips() {  # left top width height [repeat]
  local x=$((form_x + $(px "$1") + $(px "$3") / 2))
  local y=$((form_y + $(px "$2") + $(px "$4") / 2))
  xdotool mousemove --sync "$x" "$y" click --repeat "${5:-1}" --delay 80 1
}
shot() { import -window root "$shots/$1.png"; }

mkdir -p "$site/sub" "$work/bin" "$work/browser" "$work/runtime"
chmod 700 "$work/runtime"
printf '<title>Welcome</title>\n' > "$site/index.html"
printf '<title>Deeper</title>\n' > "$site/sub/page.html"
# The stand-in browser keeps the name it was handed and the page's bytes.
cat > "$work/bin/xdg-open" <<EOF
#!/bin/sh
cp "\$1" "$work/browser/page"
printf '%s\n' "\$1" >> "$work/browser/names"
EOF
chmod +x "$work/bin/xdg-open"

export HOME=$home XDG_RUNTIME_DIR=$work/runtime PATH="$work/bin:$PATH"
openbox > "$work/openbox.log" 2>&1 &
pids+=($!)
# A window mapped while the manager starts may never be shown.
wm_ready() {
  kill -0 "${pids[-1]}" || fail "the window manager ended at its start"
  xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'
}
wait_until "the window manager" wm_ready
# Qt speaks to screen readers once the accessibility bus is there. It
# starts after the manager: started together, the manager at times could
# not open the display (about one start in twenty here).
/usr/libexec/at-spi-bus-launcher --launch-immediately > "$work/atspi.log" 2>&1 &
pids+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
a11y_bus_ready() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q true
}
wait_until "the accessibility bus" a11y_bus_ready
# The program's own folder is not the base folder.
cd "$work"
"$tessary" > "$work/tessary.log" 2>&1 &
app=$!
pids+=("$app")

place() {
  xwininfo -id "$main" | awk -v key="$1" -F': *' '$1 ~ key { print $2 }'
}
# Past the welcome window, the main window and where its form lies: below
# the menu bar, at the designed 9480 x 5760 twips.
start_main_window() {
  wait_until "the welcome window" has_window "Tessary by Corvale Software"
  xdotool windowactivate --sync "$(visible_window "Tessary by Corvale Software")"
  xdotool key Return
  wait_until "the main window" has_window Tessary
  main=$(visible_window Tessary)
  xdotool windowactivate --sync "$main"
  X=$(place "Absolute upper-left X")
  Y=$(place "Absolute upper-left Y")
  WIDTH=$(place "Width")
  HEIGHT=$(place "Height")
  form_x=$X
  form_y=$((Y + HEIGHT - $(px 5760)))
}
start_main_window
shot start
ok "started on the Folder tab, window at ${X},${Y} ${WIDTH}x${HEIGHT}"

/usr/bin/python3 "$here/atspi_names.py" > "$work/atspi.txt" ||
  { cat "$work/atspi.txt"; fail "a screen reader would miss names"; }
sed 's/^/  /' "$work/atspi.txt"
ok "through AT-SPI: six page tabs and every focusable control named once"

# Bits 13 and 25 of the ignored signals: SIGPIPE and SIGXFSZ.
ignored=$((16#$(awk '/^SigIgn:/ { print $2 }' "/proc/$app/status")))
(( (ignored >> 12 & 1) && (ignored >> 24 & 1) )) ||
  fail "a write error would kill the window: SIGPIPE or SIGXFSZ not ignored"
ok "a pipe without reader or a file past its size limit is an error, not an end"

click_twips 8280 3480 975 375  # Build
wait_until "a page built in the start folder" file_exists "$home/sitemap.tmp"
ok "Build clicked where it sits builds the start folder"

# The start folder is the tree's current folder, highlighted at the top of
# the tree; its first subfolder, site, lies in the row below it.
tree_x=$((form_x + $(px 240) + 150))
tree_y=$((form_y + $(px 1200)))
# Lines of the pixel listing read "0,Y: (R,G,B) ..."; the highlight is blue.
band=$(import -window root -crop "1x$(px 3840)+${tree_x}+${tree_y}" \
    -depth 8 txt:- |
  awk -F'[,:() ]+' 'NR > 1 && $3 < 120 && $5 > 150 { print $2 }' |
  awk 'NR == 1 { first = $1 } { if ($1 > last + 1 && NR > 1) exit; last = $1 }
       END { print first, last }')
read -r band_top band_bottom <<< "$band"
[[ -n "$band_top" ]] || fail "no highlighted folder in the tree"
row=$((band_top == band_bottom ? 16 : band_bottom - band_top + 1))
xdotool mousemove --sync "$tree_x" $((tree_y + band_bottom + row / 2 + 1)) \
  click --repeat 2 --delay 80 1
shot double-click
ok "double-clicked the folder below the start folder"

xdotool key Return  # Build has the focus after a folder change
wait_until "a page built in the chosen folder" file_exists "$site/sitemap.tmp"
ok "Enter on the focused Build builds the double-clicked folder"

preview() {
  click_twips 8280 3960 975 375
  lines_in "$work/browser/names" "$1"
}
wait_until "the browser handed a page" preview 1
handed=$(tail -1 "$work/browser/names")
[[ "$handed" == *.html ]] || fail "the browser was handed $handed"
cmp -s "$work/browser/page" "$site/sitemap.tmp" ||
  fail "the browser's page is not the built page"
grep -q 'sub/page.html' "$site/sitemap.tmp" || fail "the page lacks sub/"
ok "Preview hands the browser $(basename "$handed"), the built page's bytes"

click_twips 8280 4440 975 375  # Save
saved() { [[ -f "$site/sitemap.html" && ! -e "$site/sitemap.tmp" ]]; }
wait_until "the saved map in place of the temporary page" saved
cmp -s "$work/browser/page" "$site/sitemap.html" || fail "saved other bytes"
[[ ! -e "$handed" ]] || fail "the preview copy is left after Save"
cp "$site/sitemap.html" "$work/saved"
ok "Save writes site/sitemap.html and removes the temporary files"

xdotool key F6
click_twips 1560 465 6255 315  # the title, on the Content tab
xdotool key End type " again"
xdotool key F9
shot map-tab
xdotool key F10
shot publish-tab

# The keyboard alone: Ctrl+PgUp twice from the Publish tab puts the focus
# on the Appearance tab's label; Tab passes its four check boxes and the font to
# the first swatch, whose dialog Space opens; Alt+H reaches its HTML box.
# Tab once more and Space check the Background box, so the page shows it.
xdotool key ctrl+Prior ctrl+Prior Tab Tab Tab Tab Tab Tab space
wait_until "the colour dialog" has_window "Select Color"
xdotool key alt+h ctrl+a
xdotool type "#123456"
xdotool key Return
wait_until "the colour dialog to close" bash -c \
  "! xdotool search --onlyvisible --name '^Select Color\$' >/dev/null"
xdotool key Tab space
shot keyboard-colour
xdotool key ctrl+b
# Preview answers once the build has ended.
wait_until "the second build" preview 2
grep -q 'bgcolor="#123456"' "$site/sitemap.tmp" ||
  fail "the colour chosen with the keyboard is not on the page"
ok "a background colour chosen and switched on with the keyboard alone"

# The title bar's double click maximises; the window takes the screen and
# its lists and picture the room.
xdotool mousemove --sync $((X + WIDTH / 2)) $((Y - 10)) click --repeat 2 --delay 80 1
grown() { (( $(place "Width") > WIDTH + 200 )); }
wait_until "the maximised window" grown
xdotool key F9
sleep 0.5
shot maximised
xdotool mousemove --sync 640 $(($(place "Absolute upper-left Y") - 10)) \
  click --repeat 2 --delay 80 1
restored() { [[ $(place "Width") == "$WIDTH" ]]; }
wait_until "the window at its size again" restored
ok "Maximise gives the lists and the picture of the page the screen"
xdotool key F5
click_twips 8280 4920 975 375  # Exit
wait_until "the unsaved-map question" has_window "Unsaved site map"
shot question
xdotool windowactivate --sync "$(visible_window "Unsaved site map")"
xdotool key Escape
wait_until "the question to close" bash -c \
  "! xdotool search --onlyvisible --name '^Unsaved site map\$' >/dev/null"
kill -0 "$app" || fail "Escape on the question ended the program"
has_window Tessary || fail "Escape on the question closed the window"
ok "Escape on the question keeps the program and the page"

click_twips 8280 4920 975 375
wait_until "the question again" has_window "Unsaved site map"
xdotool windowactivate --sync "$(visible_window "Unsaved site map")"
xdotool key n
wait_until "the program's end" bash -c "! kill -0 $app"
wait "$app" || fail "tessary ended with status $?"
leftovers=$(find "$home" -name 'sitemap.tmp' -o -name '.sitemap-preview.html')
[[ -z "$leftovers" ]] || fail "left behind: $leftovers"
cmp -s "$work/saved" "$site/sitemap.html" ||
  fail "No at Exit changed the saved map"
ok "No at Exit ends the program, removes the temporary page, keeps the save"

# A dark theme, set as a desktop sets it, through a platform theme: the
# captions on the tabs' own colours must still read.
mkdir -p "$work/config/qt6ct"
printf '%s\n' '[Appearance]' custom_palette=true \
  color_scheme_path=/usr/share/qt6ct/colors/darker.conf style=Fusion \
  > "$work/config/qt6ct/qt6ct.conf"
XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORMTHEME=qt6ct \
  "$tessary" "$site" > "$work/dark.log" 2>&1 &
app=$!
pids+=("$app")
start_main_window
# The command column stands on the window's own colour, the theme's.
grey=$(import -window root \
  -crop "1x1+$((form_x + $(px 8700)))+$((form_y + $(px 2700)))" \
  -colorspace gray -format '%[fx:int(255*mean)]' info:)
(( grey < 100 )) || fail "the dark theme did not take: grey $grey"
shot dark-map
xdotool key F5
sleep 0.5
shot dark-folder
xdotool key F8
sleep 0.5
shot dark-appearance
click_twips 8280 4920 975 375  # Exit: nothing built, nothing asked
wait_until "the dark window's end" bash -c "! kill -0 $app"
ok "on a dark theme (the window's grey $grey): dark-map, dark-folder, dark-appearance"

# An ordinary user who may only read the folder to map, as /usr/share/doc
# is to all but root, names a map file in a folder of their own: Build
# stages the page there, under a hidden name, and Save puts it in place.
docs=$work/shared/docs
mine=$work/shared/mine
mkdir -p "$docs" "$mine/runtime"
chmod 755 "$work" "$work/shared" "$docs"
printf '<title>Read me</title>\n' > "$docs/readme.html"
cp "$XAUTHORITY" "$mine/.Xauthority"
chown -R 65534:65534 "$mine"
chmod 700 "$mine/runtime"
setpriv --reuid=65534 --regid=65534 --clear-groups \
  env -u DBUS_SESSION_BUS_ADDRESS -u QT_LINUX_ACCESSIBILITY_ALWAYS_ON \
  HOME="$mine" XAUTHORITY="$mine/.Xauthority" XDG_RUNTIME_DIR="$mine/runtime" \
  "$tessary" "$docs" > "$work/nobody.log" 2>&1 &
app=$!
pids+=("$app")
start_main_window
# Given a folder, the window opens on the Map tab, whose frame starts 240
# twips below the form.
click_twips 1440 4815 4935 315  # the map file's name
xdotool key ctrl+a
xdotool type "$mine/docs-map.html"
click_twips 1440 5250 1935 255  # Lock filename
xdotool key ctrl+b
staged() {
  compgen -G "$mine/.tessary-*.tmp" > /dev/null &&
    grep -qs readme.html "$mine"/.tessary-*.tmp
}
wait_until "the page staged in the user's own folder" staged
shot nobody-built
xdotool key ctrl+s
in_place() { [[ -f "$mine/docs-map.html" ]] && ! staged; }
wait_until "the saved map" in_place
grep -q 'readme.html' "$mine/docs-map.html" || fail "the saved map lacks readme.html"
[[ $(find "$docs" -mindepth 1 | wc -l) -eq 1 ]] || fail "the read-only folder was written"
click_twips 8280 4920 975 375  # Exit
wait_until "the ordinary user's window to end" bash -c "! kill -0 $app"
[[ -z "$(find "$mine" -maxdepth 1 -name '.tessary-*')" ]] || fail "a staged page was left"
ok "an ordinary user maps a folder they may only read into a file of their own"
