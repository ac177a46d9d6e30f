#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#
#   ./test.sh              the build and every test
#   ./test.sh --sanitize   the core, the CLI and their tests under
#                          AddressSanitizer and UndefinedBehaviorSanitizer
#   ./test.sh --fuzz       each fuzz target for FUZZ_SECONDS (default 30)
set -euo pipefail
cd "$(dirname "$0")"
tools/install-packages.sh

case "${1:-}" in
  "")
    cmake -S . -B build -G Ninja -DTESSARY_GUI=ON
    cmake --build build
    ctest --test-dir build --output-on-failure
    ;;
  --sanitize)
    flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DTESSARY_GUI=OFF -DCMAKE_CXX_FLAGS="$flags" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
    cmake --build build-sanitize
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
      ctest --test-dir build-sanitize --output-on-failure
    ;;
  --fuzz)
    tests/fuzz/run.sh "${FUZZ_SECONDS:-30}"
    ;;
  *)
    echo "usage: $0 [--sanitize | --fuzz]" >&2
    exit 2
    ;;
esac
