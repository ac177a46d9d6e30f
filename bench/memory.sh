#!/usr/bin/env bash
# Measures tessary-cli's peak memory on the tree shapes that are hardest on
# it, each of which should stay under 64 MiB as the million-file bench tree
# does:
#   wide  1,000,000 files in one folder
#   many  1,000,000 empty subfolders of one folder
#   deep  a chain of 10,000 folders, a page in each
#
#   bench/memory.sh [--count N] [SHAPE...]     (default: all three)
#
# --count makes smaller trees, for a quick look. The trees are made by
# make_shape.py under $TMPDIR/tessary-shape-<shape>-<count> when missing
# and kept for later runs (the many-folder tree takes about 4 GB of disk
# on ext4). The page goes to /dev/null; the XML sitemap, in a third run,
# to a temporary folder.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
top="$(dirname "$here")"
source "$here/build_bench.sh"
count=""
while [[ $# -gt 0 ]]; do
  case "$1" in
    --count) count="$2"; shift 2 ;;
    *) break ;;
  esac
done
shapes=("$@")
[[ ${#shapes[@]} -eq 0 ]] && shapes=(wide many deep)

"$top/tools/install-packages.sh" --bench
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
build_bench

# Prints the peak memory and time of a build of TREE with FLAGS.
measure() {  # SHAPE SIZE TREE LABEL FLAGS...
  local shape="$1" size="$2" tree="$3" label="$4" measured kib seconds status
  shift 4
  measured=$(/usr/bin/time -f "%M %e %x" "$cli" -q -o /dev/null "$@" "$tree" \
    2>&1 >/dev/null | tail -1)
  read -r kib seconds status <<<"$measured"
  printf '%-5s %8s  %-17s peak %4d MiB in %6.1f s  (aim: under 64 MiB)%s\n' \
    "$shape" "$size" "$label" $((kib / 1024)) "$seconds" \
    "$([[ $status -eq 0 ]] || echo "  FAILED, exit status $status")"
}

echo "Load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for shape in "${shapes[@]}"; do
  case "$shape" in
    wide | many) size="${count:-1000000}" ;;
    deep) size="${count:-10000}" ;;
    *) echo "unknown shape $shape: wide, many or deep" >&2; exit 2 ;;
  esac
  tree="${TMPDIR:-/tmp}/tessary-shape-$shape-$size"
  if [[ ! -d "$tree" ]]; then
    echo "Making $tree ..."
    rm -rf "$tree.part"
    python3 "$here/make_shape.py" --count "$size" "$shape" "$tree.part"
    mv "$tree.part" "$tree"
  fi
  measure "$shape" "$size" "$tree" "classic page"
  measure "$shape" "$size" "$tree" "modern page" --template modern
  measure "$shape" "$size" "$tree" "with XML sitemap" \
    --sitemap-xml "$work/sitemap.xml" --site-url https://example.org/
done
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
