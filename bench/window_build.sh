#!/usr/bin/env bash
# Times the window's Build (offscreen, from the click to the watcher's end)
# against tessary-cli on the same tree, and prints the ratio of the
# medians; the aim is at most 1.2. The window writes its page into the
# tree as sitemap.tmp and removes it at the end.
#
#   bench/window_build.sh [TREE] [RUNS]   TREE defaults to
#                                          /tmp/tessary-bench-tree
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
top="$(dirname "$here")"
source "$here/build_bench.sh"
tree_root="$(realpath -m "${1:-/tmp/tessary-bench-tree}")"
runs="${2:-10}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$top/tools/install-packages.sh" --bench
build_bench --gui window_build

if [[ ! -d "$tree_root" ]]; then
  echo "Generating $tree_root ..."
  python3 "$here/make_tree.py" "$tree_root"
fi

echo "== tessary-cli"
hyperfine -N -w 2 -r "$runs" --export-json "$work/cli.json" \
  "$cli -q -o $work/map.html $tree_root"
cli_ms=$(python3 -c "import json,sys; \
print(json.load(open(sys.argv[1]))['results'][0]['median'] * 1000)" \
  "$work/cli.json")

echo; echo "== the window's Build"
QT_QPA_PLATFORM=offscreen "$top/build-bench/bench/window_build" \
  "$tree_root" "$runs" | tee "$work/window.txt"
window_ms=$(awk '/^median/ { print $2 }' "$work/window.txt")

echo
python3 -c "import sys; c, w = float(sys.argv[1]), float(sys.argv[2]); \
print(f'medians: tessary-cli {c:.1f} ms, window {w:.1f} ms,' \
      f' ratio {w / c:.2f} (aim: at most 1.2)')" "$cli_ms" "$window_ms"
