#!/usr/bin/env bash
# Installs what is missing, builds the project and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target brelvik-calc
exec build/default/ui/brelvik-calc
