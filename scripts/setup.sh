#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need.
# Idempotent: does nothing when everything is already there.
# Usage: setup.sh [--tests]
#   --tests  also Node.js and the glTF validator from npm, which only the
#            tests run: building, running and packaging need no npm registry.
set -euo pipefail

tests=0
case "${1:-}" in
  "") ;;
  --tests) tests=1 ;;
  *) echo "usage: setup.sh [--tests]" >&2; exit 2 ;;
esac

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libqt6opengl6-dev libgl-dev libegl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libxcb1-dev fonts-urw-base35 librsvg2-bin
  xvfb xauth x11-utils xdotool libgl1-mesa-dri openbox
  clang libclang-rt-dev
  libtinygltf-dev libstb-dev
  desktop-file-utils appstream shared-mime-info libglib2.0-bin
  lintian dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# Node runs the glTF validator; a node from elsewhere that brings its own
# npm is kept, Debian's are installed only when either is missing.
# The formatting check pins one clang-format: another version lays out the
# same code differently.
if [ "$tests" -eq 1 ] && ! dpkg-query -W -f='${Status}' clang-format-14 2>/dev/null | grep -q 'install ok installed'; then
  missing+=(clang-format-14)
fi
if [ "$tests" -eq 1 ] && { ! command -v node >/dev/null || ! command -v npm >/dev/null; }; then
  missing+=(nodejs npm)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

[ "$tests" -eq 1 ] || exit 0
# The Khronos glTF validator for the export tests, in the build folder.
validator_version=2.0.0-dev.3.10
npm_dir="$(cd "$(dirname "$0")/.." && pwd)/build/npm"
if ! grep -qs "\"version\": \"$validator_version\"" "$npm_dir/node_modules/gltf-validator/package.json"; then
  echo "setup: installing gltf-validator $validator_version into $npm_dir"
  mkdir -p "$npm_dir"
  npm install --prefix "$npm_dir" --no-audit --no-fund --loglevel=error "gltf-validator@$validator_version"
fi
