#!/usr/bin/env bash
# Runs every fuzz target (or those named) for SECONDS each, one after the
# other, and reports for each how many inputs it ran, the code it covered
# (libFuzzer's edges and features) and whether it held. What the runs find
# is kept in build/fuzz/tests/fuzz/corpus/ for the next run; an input that
# breaks a target is saved in build/fuzz/tests/fuzz/artifacts/.
#
#   bash scripts/fuzz.sh SECONDS [TARGET...]     e.g. scripts/fuzz.sh 600 PathFuzz
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

seconds=${1:-}
if [[ ! "$seconds" =~ ^[0-9]+$ ]] || ((seconds == 0)); then
  echo "usage: scripts/fuzz.sh SECONDS [TARGET...]" >&2
  exit 2
fi
shift

bash scripts/install-deps.sh || exit 1
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz || exit 1

dir=build/fuzz/tests/fuzz
targets=("$@")
if ((${#targets[@]} == 0)); then
  for source in tests/fuzz/*Fuzz.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi

# The last value libFuzzer printed for a statistic: "stat::name: N" or "name: N".
last_value() {
  grep -oE "$1:? *[0-9]+" "$2" | tail -1 | grep -oE '[0-9]+$'
}

mkdir -p "$dir/logs" "$dir/artifacts"
rows=()
failed=()
for target in "${targets[@]}"; do
  program=$dir/$target
  [[ -x "$program" ]] || { echo "fuzz.sh: no target $target" >&2; exit 2; }
  mkdir -p "$dir/corpus/$target"
  log=$dir/logs/$target.log
  echo "=== $target: ${seconds} s ==="
  if "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$dir/artifacts/$target-" "$dir/corpus/$target" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
    result=held
  else
    result="BROKEN (see $log)"
    failed+=("$target")
  fi
  executions=$(last_value 'stat::number_of_executed_units' "$log")
  rows+=("$(printf '| %s | %s s | %s | %s | %s | %s | %s |' "$target" "$seconds" "${executions:-?}" \
    "$(last_value 'stat::average_exec_per_sec' "$log")" "$(last_value 'cov' "$log")" \
    "$(last_value 'ft' "$log")" "$result")")
done

echo
echo "| target | time | executions | per second | edges covered | features | result |"
echo "|---|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
if ((${#failed[@]})); then
  echo "BROKEN: ${failed[*]}"
  exit 1
fi
