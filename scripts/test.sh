#!/usr/bin/env bash
# Sets up, builds and runs every test: the native suite, the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, the thread, CLAP and VST3 tests under ThreadSanitizer, the state fuzzers for a bounded
# time, clang-tidy, and the Win64 build under wine64 (its own tests plus a comparison of its host
# tool and module against the native ones). Ends with "N passed, M failed".
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
jobs=$(nproc)
passed=0
failed=0
failures=()

step() { echo; echo "==== $*"; }
fail() { failed=$((failed + 1)); failures+=("$1"); }
count_ctest() { # name, log file
  local line p t
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$2" | tail -n 1)
  if [ -z "$line" ]; then failed=$((failed + 1)); failures+=("$1 (no result)"); return; fi
  t=$(echo "$line" | sed -E 's/.*out of ([0-9]+).*/\1/')
  p=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed.*/\1/')
  passed=$((passed + t - p)); failed=$((failed + p))
  [ "$p" = 0 ] || failures+=("$1: $p of $t")
}
check() { # name, command...
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); failures+=("$name"); fi
}
# Configures and builds a build folder from the current sources; on failure shows the log's end and
# counts a failure, so the stage's tests never run on binaries left from an earlier build.
build_stage() { # name, build dir, targets ("" for all, else separated by blanks), cmake options...
  local name=$1 dir=$2 target=$3; shift 3
  local log; log=$(mktemp)
  if cmake -S . -B "$dir" -G Ninja "$@" >"$log" 2>&1 &&
     cmake --build "$dir" -j"$jobs" ${target:+--target $target} >>"$log" 2>&1; then
    rm -f "$log"; return 0
  fi
  tail -n 40 "$log"; rm -f "$log"
  echo "$name: build failed"; fail "$name build"
  return 1
}
run_ctest() { # name, build dir, extra ctest args...
  local name=$1 dir=$2; shift 2
  local log; log=$(mktemp)
  (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 600 "$@") >"$log" 2>&1
  # The whole log when anything failed (it holds the failing tests' output), else its summary.
  if grep -q '100% tests passed' "$log"; then tail -n 25 "$log"; else cat "$log"; fi
  count_ctest "$name" "$log"
  rm -f "$log"
}

step "setup"
bash scripts/setup.sh || { echo "setup failed"; echo "0 passed, 1 failed"; exit 1; }

step "build (Linux and Win64)"
if ! bash scripts/build.sh; then echo "build failed"; echo "0 passed, 1 failed"; exit 1; fi

step "native tests"
run_ctest native build/linux

step "Win64 tests under wine64"
run_ctest win64 build/win64
check "win64 matches native" bash tests/cross/compare-win64.sh
# Both builds' editor tests left their screenshots: the same picture but for text anti-aliasing.
check "editor pictures: native and Win64" bash tests/editor/compare-screenshots.sh \
  build/linux/editor-screenshot-x11.png build/win64/editor-screenshot-win64.png

step "AddressSanitizer + UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$here/tests/lsan.supp
if build_stage asan build/asan "" -DCMAKE_BUILD_TYPE=Debug -DTPM_SANITIZE=address,undefined -DTPM_BENCH=OFF; then
  run_ctest asan build/asan -E 'LongRun'
fi

step "ThreadSanitizer (clang)"
if build_stage tsan build/tsan "thread_tests clap_tests vst3_tests" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTPM_SANITIZE=thread \
  -DTPM_BENCH=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++; then
  check "thread sanitizer" env TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 TPM_THREAD_SECONDS=4 \
    build/tsan/tests/thread/thread_tests
  check "thread sanitizer: CLAP" env TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/clap/clap_tests
  # Its view tests attach to real windows: a virtual X server of their own.
  check "thread sanitizer: VST3" env TSAN_OPTIONS=halt_on_error=1 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
    build/tsan/tests/vst3/vst3_tests
fi

if [ -f scripts/run-fuzz.sh ]; then
  step "state fuzzers (bounded)"
  check "fuzz" bash scripts/run-fuzz.sh
fi

step "formatting"
check "clang-format" bash scripts/format-check.sh

step "folder layering"
check "layering" bash scripts/layering-check.sh

step "clang-tidy"
check "clang-tidy" bash scripts/tidy.sh

echo
if [ ${#failures[@]} -gt 0 ]; then printf 'failed: %s\n' "${failures[@]}"; fi
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
