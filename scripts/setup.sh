#!/usr/bin/env bash
# Installs, only when missing, every Debian package the project needs to build,
# run, test, benchmark and fuzz. Safe to run again: present packages are skipped.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config git clang-format
  # window, OpenGL, input, audio device
  libsdl2-dev libgl-dev libgl1-mesa-dri libglx-mesa0 libegl-mesa0 xvfb xauth
  # images and fonts
  libpng-dev libjpeg62-turbo-dev libgif-dev libmng-dev libfreetype-dev zlib1g-dev fonts-dejavu-core
  # sound files
  libsndfile1-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev libtinyxml2-dev
  # fuzzing and sanitizer runtimes
  clang libclang-rt-14-dev
  # test fixtures and the game's tests under a virtual X server, driven by
  # xdotool, with a window manager for full screen
  imagemagick xdotool x11-utils openbox
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
