#!/usr/bin/env bash
# Works the real brelvik-calc on an X display with a window manager (openbox), as a person would
# on a desktop, with xdotool clicking at places within the windows' client areas: chooses a
# command by typing its first letters right after start, tries Alt+C and the mouse wheel, which
# must change nothing, chooses another command from the drop-down list, sets a parameter,
# retypes the slave address and compares the real clipboard with brelvik-frame for the same
# inputs. In the browser it closes the category of the chosen row (OK then refuses), drags a
# column header and picks a command with a double-click. It saves the strings for all channels
# through the save dialog and compares the file with brelvik-frame table, and pastes a string
# into the decode window and uses it in the calculator. Then it closes the window with Alt+F4
# and checks that the program ends with exit code 0. Screenshots go into the output folder.
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

# Runs "$@" every 0.1 s until it succeeds, for up to 20 s.
wait_for() {
  for _ in $(seq 200); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# Prints the id of a visible window whose title matches $1.
find_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 | grep .; }
no_window() { ! find_window "$1" >/dev/null; }
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
clipboard_is() { [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$1" ]; }
no_process() { ! kill -0 "$1" 2>/dev/null; }
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }

# Waits for a visible window whose title matches $1 and prints its id.
wait_window() { wait_for find_window "$1"; }
wait_gone() { wait_for no_window "$1"; }

# Makes window $1 the active one, as a click on its title bar would.
activate() {
  xdotool windowactivate --sync "$1" 2>/dev/null || true
  wait_for is_active "$1" || fail "window $1 did not become active"
}

# Waits up to 2 s for the file $1.
wait_file() {
  for _ in $(seq 20); do
    [ -f "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

click() {  # window x y: a left click at x, y within the window's client area
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

double_click() {  # window x y
  xdotool mousemove --window "$1" "$2" "$3" click --repeat 2 --delay 80 1
}

# The colours down the pixel column $2 of window $1, one per line from the top.
column_colours() {
  import -window "$1" png:- | convert png:- -crop "1x10000+$2+0" +repage txt:- |
    awk 'NR > 1 { print $3 }'
}

# The colours along the pixel row $2 of window $1, one per line from the left.
row_colours() {
  import -window "$1" png:- | convert png:- -crop "10000x1+0+$2" +repage txt:- |
    awk 'NR > 1 { print $3 }'
}

# Waits until the pixel column $2 of window $1 differs from $3 and has settled (two pictures
# alike), and prints its colours. With $3 empty, waits only for it to settle.
wait_column_change() {
  local previous= colours
  for _ in $(seq 50); do
    colours=$(column_colours "$1" "$2")
    # More than one colour: the window has painted.
    if [ "$(echo "$colours" | sort -u | wc -l)" -gt 1 ] && [ "$colours" != "$3" ] &&
      [ "$colours" = "$previous" ]; then
      echo "$colours"
      return 0
    fi
    previous=$colours
    sleep 0.1
  done
  return 1
}

# The middle row of the band of rows in which two pixel columns differ.
band_middle() {
  paste <(echo "$1") <(echo "$2") | awk '$1 != $2 { if (!n++) first = NR - 1; last = NR - 1 }
    END { if (n) print int((first + last) / 2); else exit 1 }'
}

# The x positions in row $2 of window $1 that have colour $3.
xs_of_colour() { row_colours "$1" "$2" | awk -v c="$3" '$1 == c { print NR - 1 }'; }

# Clicks "Copy Loxone string" and checks the clipboard against brelvik-frame's answer.
copy_and_compare() {
  local expected actual
  click "$main" 72 459
  expected=$("$frame" encode --loxone "$@")
  wait_for clipboard_is "$expected" || {
    actual=$(xclip -selection clipboard -o 2>/dev/null || true)
    fail "clipboard '$actual', brelvik-frame '$expected' for: $*"
  }
  echo "ok: clipboard matches brelvik-frame encode $*"
}

wm_pid= calc_pid=
cleanup() {
  [ -z "$calc_pid" ] || kill "$calc_pid" 2>/dev/null || true
  [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null || true
}
trap cleanup EXIT

# Succeeds once openbox runs; starts it again if it gave up, as it does when the display does not
# answer yet.
start_wm() {
  wm_running && return 0
  if [ -z "$wm_pid" ] || ! kill -0 "$wm_pid" 2>/dev/null; then
    openbox >>"$out/e2e-openbox.log" 2>&1 &
    wm_pid=$!
  fi
  return 1
}
: >"$out/e2e-openbox.log"
wait_for start_wm || fail "the window manager did not start"

"$calc" >"$out/e2e-brelvik-calc.log" 2>&1 &
calc_pid=$!

main=$(wait_window "^Veltram Brelvik Command Calculator") || fail "the main window did not open"
activate "$main"

# The focus starts in the command chooser: its first letters choose a command.
xdotool type --delay 60 CTRL_D
# Alt+C and Ctrl+Home choose nothing. The pause lets the chooser's type-ahead end first, so that
# a "c" would start a new search.
sleep 1
xdotool key alt+c ctrl+Home
copy_and_compare CTRL_DIM

# CTRL_POSITION, the ninth entry, from the drop-down list.
click "$main" 204 157
xdotool key Home Down Down Down Down Down Down Down Down Return
# The channel editor, first row of the parameter area at 472 + 140, 177 + 7.
click "$main" 640 193
xdotool key ctrl+a 5 Tab
# The slave address, retyped in lower case.
click "$main" 124 127
xdotool key Home
xdotool type --delay 40 0a0b0c
copy_and_compare --slave "0A 0B 0C" CTRL_POSITION 5 1

# The wheel over the chooser, the channel editor and the action list, none of them focused.
xdotool mousemove --window "$main" 204 157 click 5 click 5
xdotool mousemove --window "$main" 640 193 click 4
xdotool mousemove --window "$main" 737 223 click 5
copy_and_compare --slave "0A 0B 0C" CTRL_POSITION 5 1

# The copy button's face, above its caption: exactly light green.
import -window "$main" "$out/e2e-main-window.png"
for x in 21 72 123; do
  colour=$(convert "$out/e2e-main-window.png" -crop "1x1+$x+450" +repage txt:- |
    awk 'NR > 1 { print $3 }')
  [ "$colour" = "#80FF80" ] || fail "the copy button's face is $colour at $x, 450, not #80FF80"
done
echo "ok: the copy button's face is RGB 128, 255, 128"

# The browser. Rows are found on screen by what the selection changes in a pixel column.
click "$main" 348 158
browser=$(wait_window "^Commands$") || fail "the command browser did not open"
activate "$browser"
eval "$(xdotool getwindowgeometry --shell "$browser")"
probe_x=$((WIDTH - 30))
blank=$(wait_column_change "$browser" "$probe_x" "") || fail "the browser showed nothing"
xdotool key Down  # "Control"
first=$(wait_column_change "$browser" "$probe_x" "$blank") || fail "no selection showed"
xdotool key Down  # CTRL_POSITION
second=$(wait_column_change "$browser" "$probe_x" "$first") || fail "the selection did not move"
control_y=$(band_middle "$blank" "$first")
row_step=$(($(band_middle "$blank" "$second") - control_y))
selected_colour=$(echo "$second" | sed -n "$((control_y + row_step + 1))p")
[ "$row_step" -gt 0 ] || fail "rows not found"

# Click CTRL_TILT, then close "Control" with its expand button: "Control" is then the selected
# row, and OK refuses.
click "$browser" 100 $((control_y + 2 * row_step))
tilt=$(wait_column_change "$browser" "$probe_x" "$second") || fail "clicking CTRL_TILT showed nothing"
click "$browser" 9 "$control_y"
collapsed=$(wait_column_change "$browser" "$probe_x" "$tilt") || fail "Control did not close"
[ "$(echo "$collapsed" | sed -n "$((control_y + 1))p")" = "$selected_colour" ] ||
  fail "closing Control did not select its row"
click "$browser" $((WIDTH - 44)) $((HEIGHT - 20))
error=$(wait_window "^Error$") || fail "OK accepted a row that is not shown selected"
import -window "$error" "$out/e2e-no-command-selected.png"
activate "$error"
xdotool key Return
wait_gone "^Error$" || fail "the error box did not close"
find_window "^Commands$" >/dev/null || fail "the browser closed after the refusal"
echo "ok: closing the category of the chosen row leaves no command to accept"

# Drag "Description" in front of "Message" by its header. The vertical grid line at the right
# edge of "Message" (x 199) goes with it, seen in the empty description cell of "Setting".
setting_y=$((control_y + row_step))
header_y=$(((control_y - row_step / 2) / 2))
grid=$(row_colours "$browser" "$setting_y" | sed -n 200p)
[ "$grid" != "$(row_colours "$browser" "$setting_y" | sed -n 151p)" ] ||
  fail "no grid line found at the right edge of Message"
xdotool mousemove --window "$browser" 300 "$header_y" mousedown 1
for x in 290 270 240 200 160 120 80 40 20; do
  xdotool mousemove --window "$browser" "$x" "$header_y"
  sleep 0.05
done
xdotool mouseup 1
moved() {
  local lines
  lines=$(xs_of_colour "$browser" "$setting_y" "$grid" | tr '\n' ' ')
  for left in $lines; do
    [ "$left" -gt 199 ] || continue
    # The next grid line, 200 further on: the right edge of "Message", now on the right.
    [[ " $lines " == *" $((left + 200)) "* ]] && return 0
  done
  return 1
}
wait_for moved || fail "dragging the Description header did not move the column"
message_x=$(xs_of_colour "$browser" "$setting_y" "$grid" | awk '$1 > 199 { print; exit }')
import -window "$browser" "$out/e2e-browser-after-drag.png"
echo "ok: Description dragged in front of Message"

# A double-click on the description cell of "Control", now on the left, opens it again; then a
# double-click on CTRL_TILT in the message column, now on the right, picks it.
before=$(column_colours "$browser" "$probe_x")
double_click "$browser" 100 "$control_y"
wait_column_change "$browser" "$probe_x" "$before" >/dev/null || fail "Control did not open"
double_click "$browser" $((message_x + 100)) $((control_y + 2 * row_step))
wait_gone "^Commands$" || fail "a double-click on a command row did not close the browser"
copy_and_compare --slave "0A 0B 0C" CTRL_TILT
import -window "$main" "$out/e2e-main-window-after-browser.png"

# The strings for all channels of CTRL_TILT, saved through the real save dialog: the file must be
# what brelvik-frame writes for the same inputs, byte for byte.
saved=$out/e2e-table.csv
rm -f "$saved"
activate "$main"
xdotool key ctrl+t
table=$(wait_window "^Strings for all channels$") || fail "ctrl+t did not open the table"
activate "$table"
xdotool key ctrl+s
dialog=$(wait_window "^Save as CSV$") || fail "ctrl+s did not open the save dialog"
activate "$dialog"
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
activate "$table"
xdotool key alt+F4
wait_gone "^Strings for all channels$" || fail "Alt+F4 did not close the table window"
# Checking a string: Ctrl+D opens the window, the string is pasted from the real clipboard, and
# "Use in calculator" sets the main window, whose copy button must give the same string back.
pasted=$("$frame" encode --loxone --host "01 02 03" --slave "0D 0E 0F" SET_CHANNEL_MODE 9 0 1 0)
printf '%s' "$pasted" | xclip -selection clipboard
activate "$main"
xdotool key ctrl+d
decode=$(wait_window "^Check a Loxone string$") || fail "Ctrl+D did not open the decode window"
activate "$decode"
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
# Closed as a person does, with Alt+F4 through the window manager: the program ends by itself.
activate "$main"
xdotool key alt+F4
wait_for no_process "$calc_pid" || fail "the program did not end within 20 s of Alt+F4"
status=0
wait "$calc_pid" || status=$?
calc_pid=
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"
echo "ok: Alt+F4 ends the program with exit code 0"
echo "e2e: all steps passed"
