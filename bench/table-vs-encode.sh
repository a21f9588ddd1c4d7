#!/usr/bin/env bash
# Times "brelvik-frame table" for all commands (429 rows) beside one "encode", each as a process
# of its own, run after run on the same machine (goal: the table within 3 times an encode).
# Needs hyperfine (Debian package hyperfine).
#
# Usage: bench/table-vs-encode.sh [BRELVIK_FRAME]   (default build/default/cli/brelvik-frame)
set -euo pipefail
cd "$(dirname "$0")/.."
frame=${1:-build/default/cli/brelvik-frame}
command -v hyperfine >/dev/null || { echo "hyperfine is missing: apt-get install hyperfine" >&2; exit 1; }
hyperfine --warmup 20 --runs 300 -N \
  --command-name "encode CTRL_POSITION" "$frame encode --loxone CTRL_POSITION" \
  --command-name "table (all commands)" "$frame table"
