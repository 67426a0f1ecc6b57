#!/bin/sh
# Runs every harness of a fuzz build in turn, each from a fresh copy of its
# seed corpus, with the libFuzzer options given (-max_total_time=N or
# -runs=N), and prints one line of figures per harness. A crash, leak,
# timeout or runaway allocation fails the whole run; the input that did it
# stays in BUILD/artifacts/HARNESS/. FUZZ_HARNESSES, when set, names the
# harnesses to run (default: all six).
#   sh fuzz/run.sh BUILD LIBFUZZER-OPTION...
set -u
build=$(cd "$1" && pwd)
shift
here=$(cd "$(dirname "$0")" && pwd)
harnesses=${FUZZ_HARNESSES:-sine_table motion_key bitmap wave midi_length input_script}

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=""
printf '%-13s %10s %9s %6s %7s %8s\n' harness runs runs/s cov ft findings
for h in $harnesses; do
    corpus=$build/corpus/$h
    artifacts=$build/artifacts/$h
    log=$build/logs/$h.log
    rm -rf "$corpus"
    mkdir -p "$corpus" "$artifacts" "$build/logs"
    cp "$here/corpus/$h"/* "$corpus/"
    touch "$build/logs/$h.start"
    # The seeds come first, so every reproducer kept with them runs again.
    "$build/fuzz/${h}_fuzz" "$@" -rss_limit_mb=2048 -malloc_limit_mb=512 -timeout=10 \
        -close_fd_mask=2 -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
    cov=$(printf '%s\n' "$last" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')
    ft=$(printf '%s\n' "$last" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')
    findings=$(find "$artifacts" -type f -newer "$build/logs/$h.start" | wc -l)
    printf '%-13s %10s %9s %6s %7s %8s\n' "$h" "${runs:--}" "${rate:--}" "${cov:--}" "${ft:--}" "$findings"
    if [ "$status" -ne 0 ]; then
        failed="$failed $h"
        echo "  $h failed (status $status); log $log, input in $artifacts/:" >&2
        grep -E '^==[0-9]+==ERROR|^SUMMARY|runtime error|^artifact_prefix|Test unit written' "$log" | head -n 8 | sed 's/^/    /' >&2
    fi
done
if [ -n "$failed" ]; then
    echo "fuzz: findings in:$failed" >&2
    exit 1
fi
