#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS (default 30),
# starting from its corpus under tests/fuzz/corpus/. Inputs that once
# crashed a target, kept under tests/fuzz/crashes/, are replayed first. A
# new crash is saved under build-fuzz/crashes/ and fails the run.
set -euo pipefail
seconds="${1:-30}"
here="$(cd "$(dirname "$0")" && pwd)"
top="$(cd "$here/../.." && pwd)"
build="$top/build-fuzz"

CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESSARY_GUI=OFF -DTESSARY_TESTS=OFF -DTESSARY_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" >/dev/null
cmake --build "$build"

mkdir -p "$build/crashes"
for target in $(sed -n 's/^foreach(target \(.*\))$/\1/p' "$here/CMakeLists.txt"); do
  binary="$(find "$build" -type f -name "$target" -perm -u+x | head -1)"
  if compgen -G "$here/crashes/$target/*" >/dev/null; then
    echo "== $target: replaying kept crash inputs"
    "$binary" "$here/crashes/$target"/*
  fi
  echo "== $target: fuzzing for $seconds s"
  scratch="$(mktemp -d)"
  "$binary" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
    -artifact_prefix="$build/crashes/$target-" "$scratch" "$here/corpus/$target" \
    2>&1 | tail -4
  rm -rf "$scratch"
done
