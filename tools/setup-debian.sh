#!/usr/bin/env bash
# Installs every Debian package the saver needs to build, run and test on a fresh Debian 12 machine.
# Does nothing when everything is present; stops with a message when an install fails.
set -euo pipefail

native_packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest nlohmann-json3-dev python3
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
  wine wine64 libwine libgl1 libglx-mesa0 libgl1-mesa-dri libxinerama1 libxrandr2
  libxcomposite1 libxcursor1 libxi6 libasound2-plugins
  libpulse0 gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  xvfb xauth x11-utils imagemagick xdotool icoutils
  pulseaudio pulseaudio-utils ccache
)
i386_packages=(
  wine32:i386 libwine:i386
  libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
  libxinerama1:i386 libxrandr2:i386
  libxcomposite1:i386 libxcursor1:i386 libxi6:i386 libasound2-plugins:i386
  libpulse0:i386 gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture"
  as_root dpkg --add-architecture i386
fi

mapfile -t todo < <(missing "${native_packages[@]}" "${i386_packages[@]}")
if [ "${#todo[@]}" -eq 0 ]; then
  echo "setup: every package is present"
  exit 0
fi

echo "setup: installing ${todo[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! as_root apt-get update -q; then
  echo "setup: apt-get update failed" >&2
  exit 1
fi
if ! as_root apt-get install -y -q --no-install-recommends "${todo[@]}"; then
  echo "setup: installing packages failed: ${todo[*]}" >&2
  exit 1
fi

mapfile -t still < <(missing "${todo[@]}")
if [ "${#still[@]}" -ne 0 ]; then
  echo "setup: these packages are still missing after the install: ${still[*]}" >&2
  exit 1
fi
echo "setup: done"
