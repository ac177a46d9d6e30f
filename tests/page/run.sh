#!/usr/bin/env bash
# Runs a page test file (behaviour or validators) with node's test runner
# on the modern pages that the given tessary-cli makes, after installing
# the npm packages the tests use when they are missing.
#
#   tests/page/run.sh TESSARY_CLI behaviour|validators
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/install.sh"
export TESSARY_CLI="$1"
exec node --test --test-reporter=tap "$here/$2.test.cjs"
