#!/usr/bin/env bash
# Completes brelvik-frame command lines with the bash completion file, as bash does on Tab, and
# checks the choices offered.
#
# Usage: completion_test.sh COMPLETION_FILE BRELVIK_FRAME
set -euo pipefail
completion=$1
PATH="$(cd "$(dirname "$2")" && pwd):$PATH"
source "$completion"

failures=0
# expect "offered words" word...: the words on the line, the last one being completed.
expect() {
  local expected=$1
  shift
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _brelvik_frame
  local offered="${COMPREPLY[*]}"
  if [ "$offered" != "$expected" ]; then
    echo "FAIL: [$*] offered '$offered', expected '$expected'" >&2
    failures=$((failures + 1))
  fi
}

expect "list show encode decode table help" brelvik-frame ""
expect "encode" brelvik-frame en
expect "--help --version" brelvik-frame --
expect "CTRL_POSITION CTRL_TILT CTRL_DIM" brelvik-frame encode CTRL
expect "CTRL_TILT" brelvik-frame encode ctrl_t
expect "CTRL_POSITION" brelvik-frame encode --host "FF FF 00" CTRL_P
expect "" brelvik-frame encode CTRL_POSITION ""
expect "--help --host --json --loxone --slave --unchecked" brelvik-frame encode --
expect "--slave" brelvik-frame encode CTRL_POSITION --sl
expect "" brelvik-frame encode --host ""
expect "GET_CHANNEL_MODE GET_TILT_FRAMECOUNT GET_DIM_FRAMECOUNT GET_DCT_LOCK" brelvik-frame show G
expect "encode" brelvik-frame help e
# table takes any number of names, and its formats from the {...} of its help.
expect "CTRL_POSITION CTRL_TILT CTRL_DIM" brelvik-frame table CTRL
expect "CTRL_TILT" brelvik-frame table CTRL_POSITION ctrl_t
expect "SET_IP" brelvik-frame table --set "Action=STOP" SET_I
expect "csv tsv json markdown" brelvik-frame table --format ""
expect "markdown" brelvik-frame table CTRL_POSITION --format m
expect "" brelvik-frame table --set ""
expect "--delimiter --format --help --host --set --slave" brelvik-frame table --
expect "--help --json" brelvik-frame decode --
expect "" brelvik-frame decode ""
expect "decode" brelvik-frame help d
expect "" brelvik-frame help encode ""

[ "$(complete -p brelvik-frame)" = "complete -F _brelvik_frame brelvik-frame" ] ||
  { echo "FAIL: the completion is not registered for brelvik-frame" >&2; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] && echo "completion: all cases passed"
exit "$failures"
