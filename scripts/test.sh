#!/usr/bin/env bash
# Builds and runs every test: native debug, address + undefined sanitizers, thread
# sanitizer, the Windows build under Wine, and the release build; the release and
# Windows builds' packages are made and checked; each fuzz target runs for 20 s.
# Arguments pick presets.
#
#   bash scripts/test.sh [debug|asan|tsan|win32|win64|release|fuzz]...
#
# The Windows suite runs from the 32-bit build where this machine runs 32-bit code.
# Where it does not (or AMBRELL_WINE64=1 asks), the 32-bit build is still made and its
# shipped programs checked without running them, and the whole suite runs from the
# 64-bit build of the same sources under 64-bit Wine.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

bash scripts/install-deps.sh test || exit 1

presets=("$@")
((${#presets[@]})) || presets=(debug asan tsan win32 release fuzz)

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

# Decides once which Windows build runs the Windows tests here.
probe_windows_bitness() {
  if [[ "${AMBRELL_WINE64:-}" == 1 ]]; then
    windows_runs_32_bit=false
    echo "test.sh: AMBRELL_WINE64=1: the Windows tests run from the 64-bit build"
  elif scripts/wine-run --runs-32-bit; then
    windows_runs_32_bit=true
    echo "test.sh: this machine runs 32-bit code: the Windows tests run from the 32-bit build"
  else
    windows_runs_32_bit=false
    echo "test.sh: this machine cannot run 32-bit code: the 32-bit build is checked without" \
      "running it, and the Windows tests run from the 64-bit build under 64-bit Wine"
  fi
}

# The first Wine call creates the prefix (some 10 s): pay it here, not in a test's
# timeout. The server is kept up for the whole run, and two programs start before the
# tests: a new 64-bit prefix may start its very first program before its null graphics
# driver setting is seen.
warm_wine() {
  scripts/wine-run --arch "$1" --keep-server &&
    scripts/wine-run --arch "$1" cmd /c exit && scripts/wine-run --arch "$1" cmd /c exit
}

stop_wine() {
  local arch
  for arch in "${wine_arches_used[@]}"; do
    scripts/wine-run --arch "$arch" --stop-server
  done
}

run_preset() {
  local preset=$1 configure_options=()
  runner=()
  # Decided afresh each run: the build folder may come from a machine that differs.
  if [[ "$preset" == win32 ]]; then
    $windows_runs_32_bit && configure_options=(-DAMBRELL_RUN_TESTS=ON) || configure_options=(-DAMBRELL_RUN_TESTS=OFF)
  fi
  cmake --preset "$preset" "${configure_options[@]}" || { failed_stage=configure; return 1; }
  cmake --build --preset "$preset" || { failed_stage=build; return 1; }
  if [[ "$preset" == win32 ]] && ! $windows_runs_32_bit; then
    ctest --preset win32-static || { failed_stage="static checks"; return 1; }
    bash scripts/check-packages.sh win32 || { failed_stage=package; return 1; }
    return 0
  fi
  case "$preset" in
    tsan) tsan_runner || { failed_stage="thread sanitizer probe"; return 1; } ;;
    win32 | win64) warm_wine "${preset#win}" || { failed_stage="Wine prefix"; return 1; } ;;
  esac
  "${runner[@]}" ctest --preset "$preset" || { failed_stage=tests; return 1; }
  case "$preset" in
    release | win32 | win64) bash scripts/check-packages.sh "$preset" || { failed_stage=package; return 1; } ;;
  esac
}

wine_arches_used=()
windows_runs_32_bit=true
if [[ " ${presets[*]} " == *" win32 "* || " ${presets[*]} " == *" win64 "* ]]; then
  probe_windows_bitness
  # The 32-bit preset alone cannot run its tests here: the 64-bit one runs them.
  if ! $windows_runs_32_bit && [[ " ${presets[*]} " != *" win64 "* ]]; then
    expanded=()
    for preset in "${presets[@]}"; do
      expanded+=("$preset")
      [[ "$preset" == win32 ]] && expanded+=(win64)
    done
    presets=("${expanded[@]}")
  fi
  [[ " ${presets[*]} " == *" win64 "* ]] && wine_arches_used+=(64)
  [[ " ${presets[*]} " == *" win32 "* ]] && $windows_runs_32_bit && wine_arches_used+=(32)
  trap stop_wine EXIT
fi

results=()
failures=()
# The sources' formatting, before any build: cheap, and the same on every machine.
if bash scripts/check-format.sh; then
  results+=("format: passed")
else
  results+=("format: FAILED")
  failures+=(format)
fi
for preset in "${presets[@]}"; do
  echo "=== $preset ==="
  started=$SECONDS
  failed_stage=
  if run_preset "$preset"; then
    label=$preset
    [[ "$preset" == win32 ]] && ! $windows_runs_32_bit && label="win32 (built, shipped programs checked without running)"
    results+=("$label: passed ($((SECONDS - started)) s)")
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
