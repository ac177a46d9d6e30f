#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tessary need, and
# only those that are missing, so a second run costs nothing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  clang libclang-rt-dev
  python3 groff-base desktop-file-utils
  libcli11-dev libgtest-dev
  qt6-base-dev
  xvfb xauth openbox x11-utils xdotool imagemagick fonts-dejavu-core
)

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
