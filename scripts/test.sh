#!/usr/bin/env bash
# Builds and runs every test: native debug, address + undefined sanitizers, thread
# sanitizer, and the 32-bit Windows build under Wine. Arguments pick presets.
#
#   bash scripts/test.sh [debug|asan|tsan|win32|release]...
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

bash scripts/install-deps.sh || exit 1

presets=("$@")
((${#presets[@]})) || presets=(debug asan tsan win32)

# ThreadSanitizer aborts with "unexpected memory mapping" on kernels whose address-space
# randomisation is wider than its shadow layout allows (vm.mmap_rnd_bits above 28).
# A run without randomisation avoids that; a probe decides, so where TSan runs as it is
# (and where setarch is not permitted, as in some containers) nothing changes.
tsan_runner() {
  local probe=build/tsan/tsan-probe
  printf '#include <thread>\nint main() { std::thread([] {}).join(); }\n' |
    c++ -x c++ -fsanitize=thread -pthread -o "$probe" - || return 1
  if "$probe" >/dev/null 2>&1; then
    runner=()
  elif setarch "$(uname -m)" -R "$probe" >/dev/null 2>&1; then
    echo "test.sh: ThreadSanitizer needs address-space randomisation off: running under setarch -R"
    runner=(setarch "$(uname -m)" -R)
  else
    echo "test.sh: ThreadSanitizer does not run on this machine" >&2
    return 1
  fi
}

# The first Wine call creates the prefix (some 10 s): pay it here, not in a test's timeout.
warm_wine() {
  scripts/wine-run cmd /c exit
}

stop_wine() {
  scripts/wine-run --stop-server
}

run_preset() {
  local preset=$1
  runner=()
  cmake --preset "$preset" || { failed_stage=configure; return 1; }
  cmake --build --preset "$preset" || { failed_stage=build; return 1; }
  case "$preset" in
    tsan) tsan_runner || { failed_stage="thread sanitizer probe"; return 1; } ;;
    win32) warm_wine || { failed_stage="Wine prefix"; return 1; } ;;
  esac
  "${runner[@]}" ctest --preset "$preset" || { failed_stage=tests; return 1; }
}

uses_wine=false
for preset in "${presets[@]}"; do
  [[ "$preset" == win32 ]] && uses_wine=true
done
$uses_wine && trap stop_wine EXIT

results=()
failures=()
for preset in "${presets[@]}"; do
  echo "=== $preset ==="
  started=$SECONDS
  failed_stage=
  if run_preset "$preset"; then
    results+=("$preset: passed ($((SECONDS - started)) s)")
  else
    results+=("$preset: FAILED at $failed_stage ($((SECONDS - started)) s)")
    failures+=("$preset")
  fi
done

echo "=== results ==="
printf '%s\n' "${results[@]}"
if ((${#failures[@]})); then
  echo "FAILED: ${failures[*]}"
  exit 1
fi
echo "All passed: ${presets[*]}"
