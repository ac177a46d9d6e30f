#!/usr/bin/env bash
# Installs what is missing and builds tessary and tessary-cli (no tests) in
# build-run/. With a display, opens the window on FOLDER (if given); without
# one, maps FOLDER (default: the current folder) into FOLDER/sitemap.html.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$here/build-run"
say() { printf '==> %s\n' "$*"; }

say "Checking the packages the build needs"
"$here/tools/install-packages.sh" --build
if [[ ! -f "$build/build.ninja" ]]; then
  say "Configuring $build (once; later runs start at the build)"
  cmake -S "$here" -B "$build" -G Ninja -DTESSARY_GUI=ON -DTESSARY_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
say "Building tessary and tessary-cli"
cmake --build "$build" --target tessary tessary-cli

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  say "Opening the window${1:+ on $*}"
  exec "$build/app/tessary" "$@"
fi
folder="$(realpath -m -- "${1:-.}")"
page="$folder/sitemap.html"
say "No display: mapping $folder with tessary-cli"
start=$(date +%s%N)
"$build/cli/tessary-cli" "$folder"
# On a terminal tessary-cli has said what it wrote, with the counts.
if [[ ! -t 2 ]]; then
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  say "Wrote $page in $((ms / 1000)).$(printf '%03d' $((ms % 1000))) s"
fi
