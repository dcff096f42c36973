#!/usr/bin/env bash
# Runs each libFuzzer target for a bounded time, one after another, at low
# priority: run-fuzz.sh <build folder> <seconds per target> <target>...
# Each starts from its seeds in fuzz/corpus/<name> (fuzz_<name>), copied to
# <build folder>/corpus/<name> so that the seeds in the repository stay as
# they are; a crashing input lands in <build folder>/artifacts/<name>/.
# Prints one line per target from libFuzzer's final statistics and fails
# when any target found a fault.
set -uo pipefail

build=$1
seconds=$2
shift 2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
status=0
# An undefined-behaviour report says where it came from.
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

printf '%-14s %10s %8s %8s %s\n' target runs cov ft result
for target in "$@"; do
  name=${target#fuzz_}
  corpus="$build/corpus/$name"
  artifacts="$build/artifacts/$name"
  log="$build/$target.log"
  mkdir -p "$corpus" "$artifacts"
  cp -n "$source_dir/fuzz/corpus/$name"/* "$corpus"/ 2>/dev/null || true
  # The tally codec takes whole files; the others take messages and lines.
  max_len=4096
  [ "$name" = lzrw1 ] && max_len=66000
  nice -n 19 "$build/$target" "$corpus" -max_total_time="$seconds" -max_len="$max_len" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" \
    >"$log" 2>&1
  code=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  result=clean
  if [ "$code" -ne 0 ]; then
    result="FAULT (see $log)"
    status=1
  fi
  printf '%-14s %10s %8s %8s %s\n' "$target" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$result"
done
exit $status
