# Sourced by the benchmarks: builds the Release programs they time into
# build-bench, quietly unless the build fails, and sets $cli to
# tessary-cli. Needs $top, the project's folder.
#
#   build_bench [--gui] [MORE_TARGETS...]
build_bench() {
  local gui=OFF
  if [[ "${1:-}" == --gui ]]; then
    gui=ON
    shift
  fi
  local log
  log="$(mktemp)"
  cmake -S "$top" -B "$top/build-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTESSARY_TESTS=OFF -DTESSARY_GUI="$gui" >/dev/null
  if ! cmake --build "$top/build-bench" --target tessary-cli "$@" >"$log"; then
    cat "$log"
    rm -f "$log"
    exit 1
  fi
  rm -f "$log"
  cli="$top/build-bench/cli/tessary-cli"
}
