#!/usr/bin/env bash
# Works the real brelvik-calc on an X display as a person would, with xdotool: chooses a
# command from the drop-down list, sets a parameter, retypes the slave address, copies the
# Loxone string and compares the real clipboard with brelvik-frame for the same inputs; then
# chooses another command in the browser with a double-click and compares again; opens the
# strings for all channels, saves them through the save dialog and compares the file with
# brelvik-frame table; pastes a string into the decode window and uses it in the calculator.
# Screenshots of the windows go into the output folder.
#
# Usage: e2e_test.sh BRELVIK_CALC BRELVIK_FRAME OUTPUT_DIR
set -euo pipefail

if [ "${1:-}" != --inside ]; then
  # A display of its own, with a fixed size and resolution, whatever the machine has.
  exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -dpi 96 -nolisten tcp" \
    "$0" --inside "$@"
fi
shift
calc=$1 frame=$2 out=$3
mkdir -p "$out"

fail() {
  echo "FAIL: $*" >&2
  import -window root "$out/e2e-failure.png" 2>/dev/null || true
  exit 1
}

# Waits up to 10 s for a visible window whose title matches $1 and prints its id.
wait_window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  return 1
}

wait_gone() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Waits up to 2 s for the file $1.
wait_file() {
  for _ in $(seq 20); do
    [ -f "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

click() {  # window x y: a left click at x, y within the window
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.3
}

# Clicks "Copy Loxone string" and checks the clipboard against brelvik-frame's answer.
copy_and_compare() {
  local expected actual
  click "$main" 72 459
  actual=$(xclip -selection clipboard -o)
  expected=$("$frame" encode --loxone "$@")
  [ "$actual" = "$expected" ] || fail "clipboard '$actual', brelvik-frame '$expected' for: $*"
  echo "ok: clipboard matches brelvik-frame encode $*"
}

# The colours down the pixel column $2 of window $1, one per line from the top.
column_colours() {
  import -window "$1" png:- | convert png:- -crop "1x10000+$2+0" +repage txt:- |
    awk 'NR > 1 { print $3 }'
}

"$calc" >"$out/e2e-brelvik-calc.log" 2>&1 &
calc_pid=$!
trap 'kill "$calc_pid" 2>/dev/null || true' EXIT

main=$(wait_window "^Veltram Brelvik Command Calculator") || fail "the main window did not open"
xdotool windowfocus --sync "$main"

# CTRL_POSITION, the ninth entry, from the drop-down list.
click "$main" 204 157
xdotool key Home Down Down Down Down Down Down Down Down Return
sleep 0.3
# The channel editor, first row of the parameter area at 472 + 140, 177 + 7.
click "$main" 640 193
xdotool key ctrl+a 5 Tab
# The slave address, retyped in lower case.
click "$main" 124 127
xdotool key Home
xdotool type --delay 40 0a0b0c
sleep 0.3
copy_and_compare --slave "0A 0B 0C" CTRL_POSITION 5 1
import -window "$main" "$out/e2e-main-window.png"

# The browser: the third row down is CTRL_TILT, found on screen by what the selection changes.
click "$main" 348 158
browser=$(wait_window "^Commands$") || fail "the command browser did not open"
xdotool windowfocus --sync "$browser"
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$browser")"
probe_x=$((WIDTH - 30))
before=$(column_colours "$browser" "$probe_x")
xdotool key Down Down Down
sleep 0.3
after=$(column_colours "$browser" "$probe_x")
import -window "$browser" "$out/e2e-command-browser.png"
# The rows of pixels that the selection changed: the selected row, and nothing else.
band=$(paste <(echo "$before") <(echo "$after") | awk '$1 != $2 { print NR - 1 }')
[ -n "$band" ] || fail "the selection did not show in the browser"
top=$(echo "$band" | head -n 1)
bottom=$(echo "$band" | tail -n 1)
row_y=$(((top + bottom) / 2))
xdotool mousemove --window "$browser" 100 "$row_y" click --repeat 2 --delay 80 1
wait_gone "^Commands$" || fail "a double-click on a command row did not close the browser"
sleep 0.3
copy_and_compare --slave "0A 0B 0C" CTRL_TILT
import -window "$main" "$out/e2e-main-window-after-browser.png"

# The strings for all channels of CTRL_TILT, saved through the real save dialog: the file must be
# what brelvik-frame writes for the same inputs, byte for byte.
saved=$out/e2e-table.csv
rm -f "$saved"
xdotool windowfocus --sync "$main"
xdotool key ctrl+t
table=$(wait_window "^Strings for all channels$") || fail "ctrl+t did not open the table"
xdotool windowfocus --sync "$table"
xdotool key ctrl+s
dialog=$(wait_window "^Save as CSV$") || fail "ctrl+s did not open the save dialog"
xdotool windowfocus --sync "$dialog"
xdotool key ctrl+a
xdotool type --delay 20 "$saved"
# The first Return may only close the file name completer's list.
for _ in 1 2 3; do
  xdotool key Return
  if wait_file "$saved"; then break; fi
done
[ -f "$saved" ] || fail "the table was not saved"
cmp "$saved" <("$frame" table --slave "0A 0B 0C" CTRL_TILT) ||
  fail "the saved table differs from brelvik-frame table"
echo "ok: the saved table matches brelvik-frame table"
import -window "$table" "$out/e2e-table-window.png"
# Checking a string: Ctrl+D opens the window, the string is pasted from the real clipboard, and
# "Use in calculator" sets the main window, whose copy button must give the same string back.
pasted=$("$frame" encode --loxone --host "01 02 03" --slave "0D 0E 0F" SET_CHANNEL_MODE 9 0 1 0)
printf '%s' "$pasted" | xclip -selection clipboard
xdotool windowfocus --sync "$main"
xdotool key ctrl+d
decode=$(wait_window "^Check a Loxone string$") || fail "Ctrl+D did not open the decode window"
xdotool windowfocus --sync "$decode"
xdotool key ctrl+v
sleep 0.3
import -window "$decode" "$out/e2e-decode-window.png"
# "Use in calculator" stands left of "Close" in the bottom right corner.
eval "$(xdotool getwindowgeometry --shell "$decode")"
click "$decode" $((WIDTH - 196)) $((HEIGHT - 24))
wait_gone "^Check a Loxone string$" || fail "\"Use in calculator\" did not close the decode window"
click "$main" 72 459
copied=$(xclip -selection clipboard -o)
[ "$copied" = "$pasted" ] || fail "after \"Use in calculator\" the clipboard has '$copied', not '$pasted'"
echo "ok: a decoded string used in the calculator copies back unchanged"
echo "e2e: all steps passed"
