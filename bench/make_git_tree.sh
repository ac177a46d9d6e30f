#!/usr/bin/env bash
# Makes a git work tree of a bench tree's files, committed in a few hundred
# commits a day apart (folders in batches, oldest first), for timing
# --lastmod git:
#
#   bench/make_git_tree.sh TREE GIT_TREE [COMMITS]
#
# TREE is a tree made by make_tree.py; GIT_TREE must not exist yet.
set -euo pipefail
tree="$1"
git_tree="$2"
commits="${3:-300}"
[[ -e "$git_tree" ]] && { echo "$git_tree exists already" >&2; exit 1; }

cp -a "$tree" "$git_tree"
cd "$git_tree"
git init -q .
git config user.name "Tessary bench"
git config user.email "bench@tessary.invalid"
mapfile -d '' folders < <(find . -mindepth 1 -type d -not -path './.git*' -print0 | sort -z)
per_commit=$(( (${#folders[@]} + commits - 1) / commits ))
when=1600000000
for (( i = 0; i < ${#folders[@]}; i += per_commit )); do
  # Each folder's own files, not its subfolders', go in with it.
  for folder in "${folders[@]:i:per_commit}"; do
    find "$folder" -maxdepth 1 -type f -print0
  done | git add --pathspec-from-file=- --pathspec-file-nul
  GIT_AUTHOR_DATE="@$when +0000" GIT_COMMITTER_DATE="@$when +0000" \
    git commit -q -m "Folders from ${folders[i]}"
  when=$(( when + 86400 ))
done
# The files at the top, if any, last.
git add -A
GIT_AUTHOR_DATE="@$when +0000" GIT_COMMITTER_DATE="@$when +0000" \
  git commit -q --allow-empty -m "The rest"
echo "$git_tree: $(git rev-list --count HEAD) commits, $(git ls-files | wc -l) files"
