#!/usr/bin/env bash
# Times tessary-cli against find, tree -H and a bare walk that reads the
# first 4 KiB of every page, on a generated tree of 5,000 folders and
# 100,000 files, warm and (as root) cold, and prints the ratios and the
# build's peak memory.
#
#   bench/run.sh [TREE]     TREE defaults to /tmp/tessary-bench-tree
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
top="$(dirname "$here")"
tree_root="${1:-/tmp/tessary-bench-tree}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$top/tools/install-packages.sh" --bench
cmake -S "$top" -B "$top/build-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTESSARY_TESTS=OFF >/dev/null
cmake --build "$top/build-bench" --target tessary-cli >/dev/null
cli="$top/build-bench/cli/tessary-cli"
g++ -O2 -std=c++20 "$here/bare_walk.cpp" -o "$work/bare_walk"

if [[ ! -d "$tree_root" ]]; then
  echo "Generating $tree_root ..."
  python3 "$here/make_tree.py" "$tree_root"
fi
echo "Tree: $(find "$tree_root" -type d | wc -l) folders, $(find "$tree_root" -type f | wc -l) files"

commands=(
  "$work/bare_walk $tree_root"
  "$cli -q -o $work/map.html $tree_root"
  "find $tree_root"
  "tree -H . -o $work/tree.html $tree_root"
)

mean() { python3 -c "import json,sys; print(json.load(open(sys.argv[1]))['results'][$2]['mean'])" "$1"; }
ratio() { python3 -c "import sys; print(f'{float(sys.argv[1]) / float(sys.argv[2]):.2f}')" "$1" "$2"; }

echo; echo "== Warm cache"
hyperfine -N -w 3 -r 15 --export-json "$work/warm.json" "${commands[@]}"
bare=$(mean "$work/warm.json" 0); cli_warm=$(mean "$work/warm.json" 1)
find_t=$(mean "$work/warm.json" 2); tree_t=$(mean "$work/warm.json" 3)

if [[ $(id -u) -eq 0 ]] && echo 3 > /proc/sys/vm/drop_caches 2>/dev/null; then
  echo; echo "== Cold cache (caches dropped before each run)"
  hyperfine -N -r 3 -p "sh -c 'sync; echo 3 > /proc/sys/vm/drop_caches'" \
    --export-json "$work/cold.json" "${commands[0]}" "${commands[1]}"
  cold_ratio=$(ratio "$(mean "$work/cold.json" 1)" "$(mean "$work/cold.json" 0)")
else
  cold_ratio="n/a (dropping caches needs root)"
fi

peak=$(/usr/bin/time -f %M "$cli" -q -o "$work/map.html" "$tree_root" 2>&1 >/dev/null | tail -1)

echo
echo "== Ratios (tessary-cli time / other time)"
echo "warm, against the bare walk:     $(ratio "$cli_warm" "$bare")   (aim: at most 1.5)"
echo "warm, against tree -H:           $(ratio "$cli_warm" "$tree_t")   (aim: below 1)"
echo "warm, against find:              $(ratio "$cli_warm" "$find_t")"
echo "cold, against the bare walk:     $cold_ratio   (aim: at most 0.5)"
echo "peak memory of tessary-cli:      $((peak / 1024)) MiB   (aim: at most 64)"
