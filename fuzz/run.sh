#!/bin/bash
# Builds every fuzz target (in the sanitizer build, build/sanitize) and runs
# each for SECONDS, then prints per target: executions, coverage (libFuzzer's
# edges and features), the inputs it kept, and the findings. A target that
# finds something is started again for the time that is left, so one
# finding does not end its run; each finding is kept in
# build/sanitize/fuzz/findings/TARGET, and the grown corpus in
# build/sanitize/fuzz/corpus/TARGET (the seeds in fuzz/corpus stay as they
# are). Add a finding to fuzz/corpus/TARGET once it is fixed. With RUNS set,
# a target also stops after that many executions.
#
#   [RUNS=N] fuzz/run.sh SECONDS [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: fuzz/run.sh SECONDS [TARGET...]}
shift
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(songbook_reading_fuzz save_round_trip_fuzz songlist_reading_fuzz
             profile_text_fuzz transposition_fuzz request_path_fuzz stage_stream_fuzz
             chordpro_import_fuzz)
fi

source scripts/build_dirs.sh
configure_once build/sanitize cmake/clang-sanitize.cmake
cmake --build build/sanitize --target "${targets[@]}" -j"$(nproc)" >/dev/null

printf '%-24s %14s %8s %8s %8s %9s\n' target executions cov ft corpus findings
for t in "${targets[@]}"; do
    work=build/sanitize/fuzz
    corpus=$work/corpus/$t findings=$work/findings/$t log=$work/$t.log
    mkdir -p "$corpus" "$findings"
    : > "$log"
    end=$((SECONDS + seconds)) execs=0
    while ((SECONDS < end)); do
        # The stats of each start are added up; coverage is the last start's,
        # which began from the whole corpus.
        "$work/$t" -max_total_time=$((end - SECONDS)) ${RUNS:+-runs=$((RUNS - execs))} \
            -print_final_stats=1 -max_len=4096 \
            -artifact_prefix="$findings/" "$corpus" "fuzz/corpus/$t" >>"$log" 2>&1 || true
        n=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || echo 0)
        execs=$((execs + n))
        [[ -n ${RUNS:-} ]] && ((execs >= RUNS)) && break
        grep -q 'ERROR: libFuzzer\|SUMMARY: \(Address\|Undefined\|Leak\)' <(tail -50 "$log") || break
        echo "--- started again after a finding" >> "$log"
    done
    last=$(grep -o 'cov: [0-9]* ft: [0-9]* corp: [0-9]*' "$log" | tail -1)
    read -r _ cov _ ft _ corp <<<"${last:-cov: 0 ft: 0 corp: 0}"
    found=$(find "$findings" -type f | wc -l)
    printf '%-24s %14d %8s %8s %8s %9d\n' "$t" "$execs" "$cov" "$ft" "$corp" "$found"
done
echo "logs: build/sanitize/fuzz/TARGET.log; findings: build/sanitize/fuzz/findings/TARGET"
