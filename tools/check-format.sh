#!/usr/bin/env bash
# Fails, naming the files and lines, when a C++ file is not laid out as
# .clang-format says. `clang-format -i FILE` lays a file out.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "Every C++ file is laid out as .clang-format says."
