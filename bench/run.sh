#!/usr/bin/env bash
# Times tessary-cli against the one-thread floor (bare_walk: walk the tree
# and read the first 4 KiB of every page) side by side in one run, warm
# and, as root, cold, and prints the ratios of the medians and the peak
# memory of both. Also times find and tree -H for scale.
#
#   bench/run.sh [--size 100k|1m] [--runs N] [--warm-only] [TREE]
#
# With TESSARY_BENCH_FLAGS set (for instance "--set cmbTemplate=modern"),
# the warm runs also time a build with those flags added, and print its
# ratio to the build without them, in wall time and in CPU time.
#
# TREE defaults to $TMPDIR/tessary-bench-<size>; it is made by make_tree.py
# when missing (the 1m tree takes about 10 GB). The machine should be idle:
# say what else ran when quoting the numbers.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
top="$(dirname "$here")"
source "$here/build_bench.sh"
size=100k
runs=10
cold_runs=1
extra_flags="${TESSARY_BENCH_FLAGS:-}"
while [[ $# -gt 0 ]]; do
  case "$1" in
    --size) size="$2"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    --warm-only) cold_runs=0; shift ;;
    *) break ;;
  esac
done
tree_root="${1:-${TMPDIR:-/tmp}/tessary-bench-$size}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$top/tools/install-packages.sh" --bench
build_bench
g++ -O2 -std=c++20 "$here/bare_walk.cpp" -o "$work/bare_walk"

if [[ ! -d "$tree_root" ]]; then
  echo "Generating $tree_root ..."
  python3 "$here/make_tree.py" --size "$size" "$tree_root"
fi
echo "Tree: $(find "$tree_root" -type d | wc -l) folders," \
  "$(find "$tree_root" -type f | wc -l) files"
echo "Load before: $(cut -d' ' -f1-3 /proc/loadavg)"

floor="$work/bare_walk $tree_root"
build="$cli -q -o $work/map.html $tree_root"
flagged=()
[[ -n "$extra_flags" ]] && flagged=("$cli -q -o $work/map.html $extra_flags $tree_root")

median() {
  python3 -c "import json,sys; print(json.load(open(sys.argv[1]))['results'][int(sys.argv[2])]['median'])" "$1" "$2"
}
# The mean CPU time (user + system) of a command: a busy machine stretches
# the wall time far more than the work.
cpu() {
  python3 -c "import json,sys; r=json.load(open(sys.argv[1]))['results'][int(sys.argv[2])]; print(r['user'] + r['system'])" "$1" "$2"
}
ratio() { python3 -c "import sys; print(f'{float(sys.argv[1]) / float(sys.argv[2]):.2f}')" "$1" "$2"; }

echo; echo "== Warm cache"
hyperfine -N -w 2 -r "$runs" --export-json "$work/warm.json" "$floor" "$build" \
  "${flagged[@]}"
warm=$(ratio "$(median "$work/warm.json" 1)" "$(median "$work/warm.json" 0)")

if [[ $cold_runs -eq 0 ]]; then
  cold="n/a (--warm-only)"
elif [[ $(id -u) -eq 0 ]] && echo 3 > /proc/sys/vm/drop_caches 2>/dev/null; then
  echo; echo "== Cold cache (caches dropped before each run)"
  hyperfine -N -r 3 -p "sh -c 'sync; echo 3 > /proc/sys/vm/drop_caches'" \
    --export-json "$work/cold.json" "$floor" "$build"
  cold=$(ratio "$(median "$work/cold.json" 1)" "$(median "$work/cold.json" 0)")
else
  cold="n/a (dropping caches needs root)"
fi

peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
echo; echo "== For scale"
hyperfine -N -w 1 -r 3 "find $tree_root" "tree -H . -o $work/tree.html $tree_root"

echo
echo "== tessary-cli against the floor (medians)"
echo "warm:                      $warm   (aim: at most 1.0)"
if [[ -n "$extra_flags" ]]; then
  echo "warm, with $extra_flags:" \
    "$(ratio "$(median "$work/warm.json" 2)" "$(median "$work/warm.json" 1)")" \
    "of the build without them (CPU time, user + system:" \
    "$(ratio "$(cpu "$work/warm.json" 2)" "$(cpu "$work/warm.json" 1)"))"
fi
echo "cold:                      $cold   (aim: at most 0.4)"
echo "peak memory, tessary-cli:  $(($(peak $build) / 1024)) MiB   (aim: at most 64)"
echo "peak memory, floor:        $(($(peak $floor) / 1024)) MiB"
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
