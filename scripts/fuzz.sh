#!/usr/bin/env bash
# Installs what is missing, builds the fuzz targets with clang++ and the sanitizers, and runs each
# for its time in CI (arguments: see tests/fuzz/run-fuzzers.sh, after the build folder).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
tests/fuzz/run-fuzzers.sh build/fuzz "$@"
