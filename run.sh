#!/usr/bin/env bash
# Installs what is missing and builds. With a display, opens the window on
# FOLDER (if given); without one, maps FOLDER (default: the current folder)
# with tessary-cli into FOLDER/sitemap.html.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/tools/install-packages.sh"
cmake -S "$here" -B "$here/build" -G Ninja -DTESSARY_GUI=ON >/dev/null
cmake --build "$here/build"
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec "$here/build/shell/tessary" "$@"
fi
exec "$here/build/cli/tessary-cli" "${1:-.}"
