#!/usr/bin/env bash
# Installs what is missing, builds the project and runs all its tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --workflow --preset default
