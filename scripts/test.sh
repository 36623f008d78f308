#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite.
# Usage: scripts/test.sh [--sanitize]   (the sanitizer build goes to build-asan/)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh "$@"
BUILD_DIR=build
if [ "${1:-}" = "--sanitize" ]; then
    BUILD_DIR=build-asan
fi
cd "$BUILD_DIR"
ctest --output-on-failure -j "$(nproc)"
