#!/usr/bin/env bash
# Builds everything and runs every test: the core's suites natively, with
# sanitizers, and cross-built under Wine; the program's in-process and
# end-to-end tests under Wine on a private virtual display; a short fuzz pass.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

echo "== native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake --preset native-sanitize >/dev/null
cmake --build --preset native-sanitize
ctest --preset native-sanitize

echo "== link conversion: short differential fuzz pass"
scripts/fuzz-make-links.sh 30

echo "== cross build and tests under Wine"
cmake --preset cross >/dev/null
cmake --build --preset cross
scripts/with-wine-env.sh ctest --preset cross
