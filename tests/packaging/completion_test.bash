#!/usr/bin/env bash
# Completes tessary-cli command lines with the bash script as bash would,
# and holds the answers against the program itself; then loads the zsh and
# fish scripts in their shells, where those are installed.
#
#   completion_test.bash COMPLETIONS_FOLDER TESSARY_CLI
set -uo pipefail
scripts=$(realpath "$1") cli=$(realpath "$2")
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/site" && touch "$work/sitemap.txt"
cd "$work" || exit 1

# Every flag of the usage, one a line.
usage_flags=$("$cli" --help | sed -nE 's/^  (-[^ ]+).*/\1/p' | tr ',' '\n' |
  sort)

source "$scripts/tessary-cli" || fail "the bash script does not load"
[[ $(complete -p tessary-cli) == "complete -F _tessary_cli tessary-cli" ]] ||
  fail "complete -p: $(complete -p tessary-cli 2>&1)"

# The answers for the words given, the last one under the cursor, sorted.
answers() {
  COMP_WORDS=(tessary-cli "$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _tessary_cli tessary-cli "${COMP_WORDS[COMP_CWORD]}" \
    "${COMP_WORDS[COMP_CWORD - 1]}"
  [[ ${#COMPREPLY[@]} -eq 0 ]] || printf '%s\n' "${COMPREPLY[@]}" | sort
}

expect() {  # the answers, one a line; then the words
  local expected=$1 got
  shift
  got=$(answers "$@")
  [[ $got == "$expected" ]] ||
    fail "completing '$*': got [${got//$'\n'/ }], not [${expected//$'\n'/ }]"
}

lines() { printf '%s\n' "$@"; }

expect "$usage_flags" -
expect "$(lines 1 2 3 4)" --style ''
expect "$(lines 1 2 3 4)" --style = ''
expect "$(lines classic modern)" --template ''
expect 'link=' --color l
expect 'chkColor\(4\)=' --set 'chkColor\(4'
expect "" --title ''
expect site s
expect "$(lines site sitemap.txt)" -o s

# Each answer, typed as completed, must be a value the program takes: a
# check box 1, a text field nothing, which every text field takes.
words=()
for field in $(answers --set ''); do
  case "$field" in
    txt* | cmb*) eval "words+=(--set ${field})" ;;
    *) eval "words+=(--set ${field}1)" ;;
  esac
done
for kind in $(answers --color ''); do
  eval "words+=(--color ${kind}000000)"
done
for style in $(answers --style ''); do words+=(--style "$style"); done
for name in $(answers --template ''); do words+=(--template "$name"); done
words+=(--lang en)
[[ ${#words[@]} -gt 100 ]] || fail "too few --set and --color answers"
"$cli" "${words[@]}" --write-settings all.tessary ||
  fail "tessary-cli refuses the completed values"

if command -v zsh >/dev/null; then
  zsh -n "$scripts/_tessary-cli" || fail "zsh cannot read its script"
fi
if command -v fish >/dev/null; then
  fish_answers() {
    fish --no-config -c "source '$scripts/tessary-cli.fish'
      complete -C '$1'" | cut -f1 | sort
  }
  [[ $(fish_answers 'tessary-cli --set chkColor\(5') == 'chkColor(5)=' ]] ||
    fail "fish: --set"
  [[ $(fish_answers 'tessary-cli ') == site/ ]] ||
    fail "fish: FOLDER: $(fish_answers 'tessary-cli ')"
  [[ $(fish_answers 'tessary-cli -' | grep -v '^-[a-z]$' | sort) == \
     "$(grep -- '^--' <<<"$usage_flags")" ]] ||
    fail "fish: the flags"
fi

[[ $failures -eq 0 ]] && echo "all completions answer as expected"
exit $((failures > 0))
