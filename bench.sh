#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them on shops of three sizes, then prints a table
# of our figures beside plain SQLite doing the same work. Installs what is missing first.
# The stores are made on the first run and kept in build-bench/stores/cache. The real program
# is measured on an X server (Xvfb, which this installs) as well as off screen.
#   ./bench.sh                 every size (S, M, L)
#   ./bench.sh --sizes S,M     some of them; other options go to Google Benchmark, e.g.
#   ./bench.sh --benchmark_filter=L/enter --benchmark_out=bench.json
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh --with-gui-tools

build=build-bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_BENCHMARKS=ON -DWERROR=ON >/dev/null
# Only what the benchmarks run: the tool, its libraries and the bench programs.
cmake --build "$build" -j"$(nproc)" --target shop_bench
cd "$build"
exec ./bench/shop_bench --stores stores "$@"
