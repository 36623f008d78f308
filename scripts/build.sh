#!/usr/bin/env bash
# Configures and builds the project. Usage: scripts/build.sh [--sanitize] [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."

SANITIZE=OFF
if [ "${1:-}" = "--sanitize" ]; then
    SANITIZE=ON
    shift
fi
BUILD_DIR=${1:-build}
if [ "$SANITIZE" = ON ] && [ -z "${1:-}" ]; then
    BUILD_DIR=build-asan
fi

GENERATOR=()
if command -v ninja >/dev/null 2>&1; then
    GENERATOR=(-G Ninja)
fi
# A compiler cache makes rebuilds in other clones of the tree (CI, worktrees) cheap.
LAUNCHER=()
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
    LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$BUILD_DIR" "${LAUNCHER[@]}" "${GENERATOR[@]}" -DKT_SANITIZE=$SANITIZE -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
