#!/usr/bin/env bash
# Times what the XML sitemap adds to a build, warm, in medians of runs
# taken in turn (each round runs every command once), against the same
# page without a sitemap:
#
#   bench/sitemap.sh [--runs N] [TREE]
#
#   sitemap      --sitemap-xml sitemap.xml        (aim: at most 1.10)
#   compressed   --sitemap-xml sitemap.xml.gz     (aim: at most 1.20)
#   git dates    --lastmod git on a git work tree of the same files,
#                against the sitemap with file dates there (aim: at most 1.5)
#
# TREE defaults to $TMPDIR/tessary-bench-100k (made by make_tree.py when
# missing); its git work tree, TREE-git, is made by make_git_tree.sh when
# missing. The machine should be idle: say what else ran when quoting.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
top="$(dirname "$here")"
source "$here/build_bench.sh"
runs=11
while [[ $# -gt 0 ]]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    *) break ;;
  esac
done
tree="${1:-${TMPDIR:-/tmp}/tessary-bench-100k}"
git_tree="$tree-git"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$top/tools/install-packages.sh" --bench
build_bench

[[ -d "$tree" ]] || python3 "$here/make_tree.py" "$tree"
[[ -d "$git_tree" ]] || "$here/make_git_tree.sh" "$tree" "$git_tree"
echo "Tree: $tree, $(find "$tree" -type f | wc -l) files; git work tree: $git_tree"
echo "Load before: $(cut -d' ' -f1-3 /proc/loadavg)"

site=(--site-url https://example.org/)
python3 - "$runs" "$work" \
  "page|$cli -q -o $work/map.html $tree" \
  "sitemap|$cli -q -o $work/map.html --sitemap-xml $work/sitemap.xml ${site[*]} $tree" \
  "compressed|$cli -q -o $work/map.html --sitemap-xml $work/sitemap.xml.gz ${site[*]} $tree" \
  "file dates|$cli -q -o $work/map.html --sitemap-xml $work/sitemap.xml ${site[*]} $git_tree" \
  "git dates|$cli -q -o $work/map.html --sitemap-xml $work/sitemap.xml ${site[*]} --lastmod git $git_tree" \
  <<'PYTHON'
import shlex, statistics, subprocess, sys, time
runs, work = int(sys.argv[1]), sys.argv[2]
commands = [arg.split("|", 1) for arg in sys.argv[3:]]
times = {name: [] for name, _ in commands}
for name, command in commands:  # warm the caches, and fail early
    subprocess.run(shlex.split(command), check=True)
for _ in range(runs):
    for name, command in commands:
        start = time.perf_counter()
        subprocess.run(shlex.split(command), check=True)
        times[name].append(time.perf_counter() - start)
median = {name: statistics.median(values) for name, values in times.items()}
for name, _ in commands:
    print(f"{name:12} median {median[name] * 1000:7.1f} ms"
          f"  (min {min(times[name]) * 1000:.1f}, max {max(times[name]) * 1000:.1f})")
print()
print(f"sitemap / page:         {median['sitemap'] / median['page']:.2f}  (aim: at most 1.10)")
print(f"compressed / page:      {median['compressed'] / median['page']:.2f}  (aim: at most 1.20)")
print(f"git dates / file dates: {median['git dates'] / median['file dates']:.2f}"
      "  (aim: at most 1.5)")
PYTHON
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
