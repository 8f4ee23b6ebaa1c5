#!/usr/bin/env bash
# Builds the libFuzzer targets of the portable core with ASan and UBSan into build/fuzz/,
# replays the kept regression inputs once, then fuzzes each target for FUZZ_SECONDS
# (default 20) from a fresh copy of its committed seed corpus. One summary line a target;
# exits non-zero if anything crashed, leaked, hung or ran out of memory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

seconds=${FUZZ_SECONDS:-20}
out=build/fuzz
cxx=${FUZZ_CXX:-clang++}
# clang only knows UTF-8 as the execution character set, so -fexec-charset=GB18030 cannot be
# passed here. The code under test has ASCII literals only (the Chinese ones in
# conversions.cpp belong to the date texts, which are not fuzzed), so its bytes are the same.
# shellcheck disable=SC2054  # the commas belong to -fsanitize
flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -finput-charset=UTF-8 -Wall -Wextra
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -Isrc)

targets=(text_to_integer riff png_decode)
declare -A sources=(
  [text_to_integer]="src/watcher/conversions.cpp"
  [riff]="src/watcher/riff.cpp"
  [png_decode]="src/ui/alpha_blend.cpp"
)
declare -A libs=(
  [text_to_integer]=""
  [riff]=""
  [png_decode]="-lpng -lz"
)

mkdir -p "$out"

# Rebuilds only when the binary is missing or older than a source, a header or this script.
build() {
  local target=$1 binary=$out/${1}_fuzz
  # shellcheck disable=SC2206  # the source list splits on purpose
  local inputs=(tests/fuzz/${target}_fuzz.cpp ${sources[$target]} scripts/fuzz.sh)
  local stale=0
  if [ ! -x "$binary" ]; then
    stale=1
  elif [ -n "$(find "${inputs[@]}" -newer "$binary" -print -quit)" ] ||
       [ -n "$(find src -name '*.h' -newer "$binary" -print -quit)" ]; then
    stale=1
  fi
  if [ "$stale" = 1 ]; then
    # shellcheck disable=SC2086  # the library list splits on purpose
    "$cxx" "${flags[@]}" "tests/fuzz/${target}_fuzz.cpp" ${sources[$target]} \
      -o "$binary.tmp" ${libs[$target]}
    mv "$binary.tmp" "$binary"
  fi
}

start=$SECONDS
for target in "${targets[@]}"; do
  build "$target"
done
echo "fuzz: built ${#targets[@]} targets in $((SECONDS - start)) s"

failed=0
summaries=()
for target in "${targets[@]}"; do
  binary=$out/${target}_fuzz
  work=$out/work/$target
  artifacts=$out/artifacts/$target
  log=$out/$target.log
  rm -rf "$work" "$artifacts"
  mkdir -p "$work" "$artifacts"
  cp tests/fuzz/corpus/"$target"/* "$work"/

  findings=0
  replayed=0
  regressions=()
  if [ -d "tests/fuzz/regressions/$target" ]; then
    while IFS= read -r -d '' file; do
      regressions+=("$file")
    done < <(find "tests/fuzz/regressions/$target" -type f -print0 | sort -z)
  fi
  if [ "${#regressions[@]}" -gt 0 ]; then
    # Given files, libFuzzer runs each once and stops at the first failure.
    if ! "$binary" "${regressions[@]}" >"$out/$target.regressions.log" 2>&1; then
      echo "fuzz: $target fails on a regression input; see $out/$target.regressions.log" >&2
      findings=$((findings + 1))
    fi
    replayed=${#regressions[@]}
  fi

  rc=0
  "$binary" "$work" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 >"$log" 2>&1 || rc=$?
  saved=$(find "$artifacts" -type f | wc -l)
  if [ "$rc" != 0 ] || [ "$saved" != 0 ]; then
    echo "fuzz: $target exit status $rc; see $log and $artifacts/" >&2
    findings=$((findings + (saved > 0 ? saved : 1)))
  fi
  runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
  if [ -z "$runs" ]; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
  fi
  summaries+=("$(printf '%-16s runs=%-10s seconds=%s corpus=%s regressions=%s findings=%s' \
    "$target" "${runs:-?}" "$seconds" "$(find "$work" -type f | wc -l)" "$replayed" "$findings")")
  [ "$findings" = 0 ] || failed=1
done

printf 'fuzz: %s\n' "${summaries[@]}"
exit "$failed"
