#!/usr/bin/env bash
# Times the modern page of the bench tree in headless Chromium against a
# floor page of the same links in one plain list (bench/modern_page.cjs),
# and the warm build of the modern page against the classic one, in
# interleaved runs.
#
#   bench/modern_page.sh [--rounds N] [--builds N] [--flags "FLAGS"] [TREE]
#
# FLAGS go to every build, the classic one's too: with the default file
# types the bench tree's page lists 50,000 of its files, with
# --flags "--jpg --other png,css,js,zip,doc" all 100,000. TREE defaults
# to $TMPDIR/tessary-bench-100k, made by make_tree.py when missing. The
# machine should be idle: say what else ran when quoting the numbers.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
top="$(dirname "$here")"
source "$here/build_bench.sh"
rounds=5
builds=11
flags=""
while [[ $# -gt 0 ]]; do
  case "$1" in
    --rounds) rounds="$2"; shift 2 ;;
    --builds) builds="$2"; shift 2 ;;
    --flags) flags="$2"; shift 2 ;;
    *) break ;;
  esac
done
tree_root="${1:-${TMPDIR:-/tmp}/tessary-bench-100k}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$top/tools/install-packages.sh"
"$top/tests/page/install.sh"
build_bench

if [[ ! -d "$tree_root" ]]; then
  echo "Generating $tree_root ..."
  python3 "$here/make_tree.py" "$tree_root"
fi
echo "Tree: $(find "$tree_root" -type d | wc -l) folders," \
  "$(find "$tree_root" -type f | wc -l) files"
echo "Load before: $(cut -d' ' -f1-3 /proc/loadavg)"

read -ra extra <<<"$flags"
"$cli" -q --template modern "${extra[@]}" -o "$work/modern.html" "$tree_root"
# The floor: the modern page's links, with their texts, in one list, each
# followed by its file's name, so that the naive filter finds what the
# modern one finds (names and titles) and both pages change alike. Its
# items are blocks, as the modern page's are: Chromium takes quadratic
# time to hide most items of a long list (10,000 items: 9 s), and the
# floor's filter would not end.
python3 - "$work/modern.html" "$work/floor.html" <<'PY'
import html, re, sys, urllib.parse
page = open(sys.argv[1], encoding="utf-8", errors="surrogateescape").read()
links = re.findall(r'<li>(<a href="([^"]*)">.*?</a>)', page)
with open(sys.argv[2], "w", encoding="utf-8", errors="surrogateescape") as f:
    f.write('<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
            "<title>Floor</title>\n<style>li{display:block}</style>\n</head>\n"
            "<body>\n<ul>\n")
    for link, href in links:
        name = urllib.parse.unquote(html.unescape(href).rsplit("/", 1)[-1])
        f.write(f"<li>{link} {html.escape(name, quote=False)}</li>\n")
    f.write("</ul>\n</body>\n</html>\n")
print(f"Pages: {len(links)} links; modern {len(page) >> 10} KiB")
PY

echo; echo "== In Chromium"
node "$here/modern_page.cjs" "$work/floor.html" "$work/modern.html" "$rounds"

echo; echo "== Warm build, modern against classic ($builds interleaved runs each)"
python3 - "$cli" "$tree_root" "$work" "$builds" "${extra[@]}" <<'PY'
import statistics, subprocess, sys, time
cli, tree, work, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
flags = sys.argv[5:]
commands = {
    "classic": [cli, "-q", *flags, "-o", f"{work}/classic.html", tree],
    "modern": [cli, "-q", "--template", "modern", *flags, "-o", f"{work}/m.html",
               tree],
}
times = {name: [] for name in commands}
for run in range(runs + 1):
    for name, command in commands.items():
        start = time.perf_counter()
        subprocess.run(command, check=True)
        if run > 0:  # the first round warms the cache
            times[name].append(time.perf_counter() - start)
classic, modern = (statistics.median(times[n]) for n in ("classic", "modern"))
print(f"classic {classic * 1000:.0f} ms, modern {modern * 1000:.0f} ms,"
      f" ratio {modern / classic:.2f}   (aim: at most 1.15)")
PY
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
