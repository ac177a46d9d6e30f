#!/usr/bin/env bash
# Installs what is missing, builds, and maps FOLDER (default: the current
# folder) with tessary-cli into FOLDER/sitemap.html.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/tools/install-packages.sh"
cmake -S "$here" -B "$here/build" -G Ninja >/dev/null
cmake --build "$here/build"
exec "$here/build/cli/tessary-cli" "${1:-.}"
