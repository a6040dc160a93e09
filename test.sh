#!/usr/bin/env bash
# Builds every test and runs them all, headless. Installs what is missing first.
#   ./test.sh             warnings as errors, all tests
#   ./test.sh --sanitize  the same under AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh

build=build-test
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DWERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
    build=build-sanitize
    options=(-DCMAKE_BUILD_TYPE=Debug -DWERROR=ON -DSANITIZE=ON)
fi

cmake -S . -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
