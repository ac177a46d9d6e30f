#!/usr/bin/env bash
# Installs the page tests' npm packages (puppeteer-core, axe-core,
# html-validate, vnu-jar) exactly as package-lock.json pins them, when
# they are missing or the lock file changed. No install script runs: none
# of these needs one, and vnu-jar's would download a Java of its own
# instead of using the system's. Puppeteer drives Debian's chromium, never
# a browser of its own.
set -euo pipefail
cd "$(dirname "$0")"
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  echo "The page tests need Node.js 20 or later and npm." >&2
  exit 1
fi
major=$(node -p 'process.versions.node.split(".")[0]')
if (( major < 20 )); then
  echo "The page tests need Node.js 20 or later; this is $(node --version)." >&2
  exit 1
fi
if [[ node_modules/.package-lock.json -nt package-lock.json ]]; then
  exit 0
fi
echo "Installing the page tests' npm packages ..."
npm ci --ignore-scripts --no-audit --no-fund --loglevel=error
