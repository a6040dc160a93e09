#!/usr/bin/env bash
# Runs the reliability tests (the embedded store's and the Jet writer's crash test) and a short
# libFuzzer run of the text rules, the connection string and the Jet reader and writer, then
# prints the reliability table (Markdown): one row per fault or input tried, as the tests
# themselves report it, and one row per fuzz target with its executions.
#   tools/reliability-report.sh                   60 s per fuzz target
#   FUZZ_SECONDS=300 tools/reliability-report.sh  longer fuzz runs
#   FUZZ_SECONDS=0 tools/reliability-report.sh    tests only
# Build output and full logs go to the folder named on stderr. Exits non-zero if anything
# failed.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh --with-fuzz >&2

fuzz_seconds=${FUZZ_SECONDS:-60}
logs=$(mktemp -d -t reliability-report.XXXXXX)
echo "logs: $logs" >&2
status=0

build=build-reliability
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWERROR=ON >"$logs/build.txt" 2>&1
cmake --build "$build" -j"$(nproc)" --target reliability_worker reliability_process_test \
    reliability_window_test jet_change_worker jet_change_crash_test >>"$logs/build.txt" 2>&1

shared=$(cd .. && pwd)/shared
for suite in reliability/reliability_process_test reliability/reliability_window_test \
    jet/writer/jet_change_crash_test; do
    (cd "$build/tests/$(dirname "$suite")" &&
        QT_QPA_PLATFORM=offscreen SHARED_MATERIAL_DIR="$shared" "./$(basename "$suite")") \
        >"$logs/$(basename "$suite").txt" 2>&1 || status=1
done

echo "| What was tried | What held |"
echo "| --- | --- |"
grep -h '^\[reliability\] ' "$logs"/*_test.txt |
    sed -e 's/^\[reliability\] //' -e 's/^/| /' -e 's/$/ |/'

if [ "$fuzz_seconds" -gt 0 ]; then
    fuzz_build=build-reliability-fuzz
    CC=clang CXX=clang++ cmake -S . -B "$fuzz_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DBUILD_FUZZERS=ON >"$logs/fuzz-build.txt" 2>&1
    cmake --build "$fuzz_build" -j"$(nproc)" --target like_pattern_fuzz text_collator_fuzz \
        connection_string_fuzz jet_reader_fuzz jet_writer_fuzz >>"$logs/fuzz-build.txt" 2>&1
    for target in like_pattern_fuzz text_collator_fuzz connection_string_fuzz jet_reader_fuzz \
        jet_writer_fuzz; do
        corpus="$logs/corpus-$target"
        mkdir -p "$corpus"
        case "$target" in
        jet_*) fuzzer="$fuzz_build/tests/fuzz/jet/$target" seeds=tests/fuzz/jet/corpus
            options=(-max_len=40960) ;;
        *) fuzzer="$fuzz_build/tests/fuzz/textrules/$target"
            seeds="tests/fuzz/textrules/corpus/$target" options=() ;;
        esac
        if "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=1 "${options[@]}" \
            "$corpus" "$seeds" >"$logs/$target.txt" 2>&1; then
            runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$logs/$target.txt")
            echo "| libFuzzer \`$target\`, $fuzz_seconds s from the seed corpus | $runs executions, every property held, no sanitizer report |"
        else
            status=1
            echo "| libFuzzer \`$target\`, $fuzz_seconds s from the seed corpus | FAILED: see $logs/$target.txt |"
        fi
    done
fi
exit "$status"
