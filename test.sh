#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#
#   ./test.sh              the build and every test
#   ./test.sh --sanitize   every program and test, the window's too, under
#                          AddressSanitizer and UndefinedBehaviorSanitizer
#   ./test.sh --tsan       the core, the CLI and their tests under
#                          ThreadSanitizer, built with Clang, whose
#                          thread-safety analysis also checks that every
#                          field marked GUARDED_BY is used under its lock
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
      -DTESSARY_GUI=ON -DCMAKE_CXX_FLAGS="$flags" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
    cmake --build build-sanitize
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
    export UBSAN_OPTIONS=print_stacktrace=1
    ctest --test-dir build-sanitize --output-on-failure -E ThreadLimitCheck
    # LeakSanitizer needs a thread of its own at the end, which a process
    # held to one thread cannot start.
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
      ctest --test-dir build-sanitize --output-on-failure -R ThreadLimitCheck
    ;;
  --tsan)
    flags="-fsanitize=thread -fno-omit-frame-pointer -Wthread-safety -Werror=thread-safety"
    CXX=clang++ cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTESSARY_GUI=OFF -DCMAKE_CXX_FLAGS="$flags" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread"
    cmake --build build-tsan
    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
      ctest --test-dir build-tsan --output-on-failure
    ;;
  --fuzz)
    tests/fuzz/run.sh "${FUZZ_SECONDS:-30}"
    ;;
  *)
    echo "usage: $0 [--sanitize | --tsan | --fuzz]" >&2
    exit 2
    ;;
esac
