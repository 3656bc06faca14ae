#!/usr/bin/env bash
# Differential fuzzing of MakeLinks against the step-by-step oracle for a
# bounded time: scripts/fuzz-make-links.sh SECONDS
# Builds with clang in build/fuzz (needs clang and libclang-rt-14-dev), works on
# a copy of the seed corpus there, and exits non-zero when a difference (or a
# sanitizer error) is found; the input that shows it is left in build/fuzz/artifacts.
set -euo pipefail

seconds=${1:?usage: $0 SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
corpus="$build/corpus/make_links"
artifacts="$build/artifacts"
log="$build/make_links_fuzz.log"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DVARNO_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target make_links_fuzz -j2

# The working corpus keeps what earlier runs found; the seeds are added to it.
mkdir -p "$corpus" "$artifacts"
for seed in "$root"/tests/fuzz/corpus/make_links/*; do
  [ -e "$corpus/$(basename "$seed")" ] || cp "$seed" "$corpus/"
done

status=0
"$build/tests/fuzz/make_links_fuzz" "$corpus" \
  -dict="$root/tests/fuzz/make_links.dict" \
  -max_total_time="$seconds" -max_len=4096 -timeout=30 -rss_limit_mb=4096 \
  -artifact_prefix="$artifacts/" -print_final_stats=1 >"$log" 2>&1 || status=$?

executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
echo "make_links_fuzz: ${executions:-?} executions in ${seconds} s; corpus $(ls "$corpus" | wc -l) files"
if [ "$status" -eq 0 ]; then
  echo "make_links_fuzz: no difference found"
else
  echo "make_links_fuzz: FAILED (exit $status); log: $log" >&2
  grep -A 4 -E 'differs from the oracle|ERROR: (AddressSanitizer|libFuzzer)|runtime error' "$log" | head -n 20 >&2 || true
  ls -1 "$artifacts" >&2 || true
fi
exit "$status"
