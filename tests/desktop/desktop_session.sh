#!/usr/bin/env bash
# The real tessary on a virtual screen with a window manager, driven by
# mouse and keys as a new user meets it: Start, Build clicked where the
# button sits, a folder chosen by a double click in the tree, Enter on the
# focused button, Preview in a stand-in browser, Save, the Map and Publish
# tabs, and Exit with Escape on the question. It checks the files on disk
# and leaves screenshots.
#
#   desktop_session.sh TESSARY SHOTS_FOLDER
set -euo pipefail

if [[ -z "${TESSARY_ON_SCREEN:-}" ]]; then
  # Bounded as a whole, so that a box nobody answers cannot hold it up.
  exec timeout --kill-after=10 240 \
    xvfb-run -a -s '-screen 0 1280x1024x24' \
    env TESSARY_ON_SCREEN=1 bash "$0" "$@"
fi

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
  cat "$work/tessary.log" 2>/dev/null || true
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
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
wait_until "the window manager" wm_ready
# The program's own folder is not the base folder.
cd "$work"
"$tessary" > "$work/tessary.log" 2>&1 &
app=$!
pids+=("$app")

wait_until "the welcome window" has_window "Tessary by Corvale Software"
xdotool windowactivate --sync "$(visible_window "Tessary by Corvale Software")"
xdotool key Return
wait_until "the main window" has_window Tessary
main=$(visible_window Tessary)
xdotool windowactivate --sync "$main"
place() {
  xwininfo -id "$main" | awk -v key="$1" -F': *' '$1 ~ key { print $2 }'
}
X=$(place "Absolute upper-left X")
Y=$(place "Absolute upper-left Y")
WIDTH=$(place "Width")
HEIGHT=$(place "Height")
# The client area is the menu bar over the fixed 9480 x 5760 form.
form_x=$X
form_y=$((Y + HEIGHT - $(px 5760)))
shot start
ok "started on the Folder tab, window at ${X},${Y} ${WIDTH}x${HEIGHT}"

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
xdotool key ctrl+b
# Preview answers once the build has ended.
wait_until "the second build" preview 2
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
