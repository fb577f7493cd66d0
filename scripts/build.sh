#!/usr/bin/env bash
# Configures and builds into the folder given (default build/), with any extra cmake options.
set -euo pipefail
cd "$(dirname "$0")/.."
folder="${1:-build}"
shift || true
cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@" > /dev/null
cmake --build "$folder" -j "$(nproc)"
