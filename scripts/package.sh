#!/usr/bin/env bash
# Builds the Debian package from a checkout: installs what the build needs (Debian 12), configures
# a Release build folder with Debian's hardening flags, builds the two programs and runs
# cpack -G DEB, which writes BUILD_FOLDER/tamrel_VERSION_amd64.deb.
# Usage: scripts/package.sh [BUILD_FOLDER]   (default: build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}

scripts/install-deps.sh
# dpkg-shlibdeps (dpkg-dev) finds the packages of the libraries the programs link; file is what
# CPack uses to find the programs to strip and scan.
missing=()
for p in dpkg-dev file; do
  dpkg-query -W -f='${Status}' "$p" 2> /dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# Debian's flags: fortified functions, stack protector, read-only relocations, immediate binding.
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS) -Wl,-z,now"
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DTAMREL_BUILD_GUI=ON -DTAMREL_BUILD_TESTS=OFF -DTAMREL_PACKAGE_TESTS=ON \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" "${launcher[@]}" > /dev/null
cmake --build "$build" -j2
(cd "$build" && cpack -G DEB)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
echo "wrote $build/tamrel_${version}_amd64.deb"
