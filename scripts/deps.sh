#!/usr/bin/env bash
# Installs the Debian packages this project needs, and nothing when they are all present.
#   scripts/deps.sh run    what building and running the harvester needs
#   scripts/deps.sh test   that, plus what the test suite needs (X server, window manager, tools)
set -euo pipefail

profile=${1:-run}

run_packages=(
  cmake ninja-build g++ pkg-config
  libicu-dev libpcre2-dev zlib1g-dev libssl-dev openssl libcurl4-openssl-dev
  libcairo2-dev libpango1.0-dev libstb-dev fonts-wqy-microhei
  libx11-dev libxext-dev libxtst-dev
  libcpp-httplib-dev xdg-utils
)
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev clang-format
  xvfb xauth openbox xclip imagemagick x11-utils
)

case "$profile" in
  run) wanted=("${run_packages[@]}") ;;
  test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
