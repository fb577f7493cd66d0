#!/usr/bin/env bash
# Builds the fuzz harnesses (clang, in build-fuzz/) and runs one or all of them:
#   scripts/fuzz.sh [TARGET|all] [SECONDS]      (default: all, 60 seconds each)
# Targets are the folders of fuzz/corpus. Each run starts from the checked-in
# seeds and what earlier runs found (build-fuzz/corpus/TARGET); a finding's input
# lands in build-fuzz/artifacts/TARGET/ and the script fails. JOBS=2 runs two
# harnesses at a time.
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:-all}"
seconds="${2:-60}"
jobs="${JOBS:-1}"

scripts/setup.sh clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTRIN_BUILD_FUZZ=ON -DKESTRIN_BUILD_TESTS=OFF -DKESTRIN_BUILD_BENCH=OFF > /dev/null
cmake --build build-fuzz -j "$(nproc)" --target kestrin_fuzzers

if [ "$target" = all ]; then
  targets=$(ls fuzz/corpus)
elif [ -d "fuzz/corpus/$target" ]; then
  targets="$target"
else
  echo "No fuzz target '$target'; there are: $(ls fuzz/corpus | tr '\n' ' ')" >&2
  exit 2
fi

# Runs one harness; its output goes to build-fuzz/logs/TARGET.log.
fuzz_one() {
  local name="$1" dict=()
  mkdir -p "build-fuzz/corpus/$name" "build-fuzz/artifacts/$name" build-fuzz/logs
  [ -f "fuzz/dict/$name.dict" ] && dict=("-dict=fuzz/dict/$name.dict")
  if nice -n 10 "build-fuzz/fuzz/kestrin_fuzz_$name" -max_total_time="$seconds" -timeout=10 \
       -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$name/" "${dict[@]}" \
       "build-fuzz/corpus/$name" "fuzz/corpus/$name" > "build-fuzz/logs/$name.log" 2>&1; then
    echo "$name: $(awk '/stat::number_of_executed_units/ {print $2}' "build-fuzz/logs/$name.log") runs," \
         "$(awk '/stat::average_exec_per_sec/ {print $2}' "build-fuzz/logs/$name.log") exec/s, no finding"
  else
    echo "$name: FINDING (input in build-fuzz/artifacts/$name/, log build-fuzz/logs/$name.log)"
    grep -A 30 -E 'ERROR|Broken promise|runtime error' "build-fuzz/logs/$name.log" | head -40
    return 1
  fi
}

failed=0
running=0
for name in $targets; do
  fuzz_one "$name" &
  if (( ++running >= jobs )); then
    wait -n || failed=1
    running=$((running - 1))
  fi
done
while (( running > 0 )); do
  wait -n || failed=1
  running=$((running - 1))
done
exit "$failed"
