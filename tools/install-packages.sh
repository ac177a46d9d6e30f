#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tessary need, and
# only those that are missing, so a second run costs nothing.
#
#   tools/install-packages.sh            what ./test.sh needs: the build,
#                                        the tests and their checkers
#   tools/install-packages.sh --build    what building the two programs needs
#   tools/install-packages.sh --bench    the build, and the tools bench/run.sh
#                                        times with
set -euo pipefail

build=(
  cmake ninja-build g++ pkg-config
  libcli11-dev libutf8proc-dev zlib1g-dev
  qt6-base-dev
)
# The checkers of the packaging, desktop and page tests (tidy, chromium and,
# through the Nu HTML checker, Java read the modern page; the page tests'
# npm packages come with tests/page/install.sh; the desktop session reads
# the window through the accessibility bus, and shows it on a dark theme
# through qt6ct): lintian alone brings some sixty Perl packages, which a
# first ./run.sh should not wait for.
checks=(
  clang libclang-rt-dev clang-format
  python3 groff-base desktop-file-utils
  libgtest-dev
  appstream man-db dpkg-dev file binutils lintian zsh fish
  xvfb xauth openbox x11-utils xdotool imagemagick fonts-dejavu-core
  dbus-daemon at-spi2-core python3-pyatspi qt6ct
  tidy chromium default-jre-headless libxml2-utils git
)
packages=("${build[@]}")
case "${1:-}" in
  --build) ;;
  --bench) packages+=(hyperfine tree time) ;;
  "") packages+=("${checks[@]}") ;;
  *) echo "usage: $0 [--build | --bench]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
# Another install (a second checkout's script, an unattended upgrade) may
# hold the package lock for a while: wait for it rather than fail.
wait_for_lock=(-o DPkg::Lock::Timeout=600)
"${sudo[@]}" apt-get "${wait_for_lock[@]}" update -qq
"${sudo[@]}" apt-get "${wait_for_lock[@]}" install -y -qq \
  --no-install-recommends "${missing[@]}"
