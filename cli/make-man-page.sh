#!/bin/sh
# Writes the manual page of brelvik-frame, gzipped, made by help2man from its --help and
# --version, with the help of every command in a section of its own.
#
# Usage: make-man-page.sh BRELVIK_FRAME OUTPUT.1.gz
set -eu
frame=$1 out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The commands are the first words of the "Subcommands:" block of the top level's help.
commands=$("$frame" --help | awk '/^Subcommands:/ { on = 1; next } on && NF == 0 { exit } on { print $1 }')
{
  echo '[COMMANDS]'
  for command in $commands; do
    echo ".SS $command"
    echo '.nf'
    # Backslashes and lines that start with a dot or a quote would be read as roff.
    "$frame" help "$command" | sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"
    echo '.fi'
  done
} >"$work/commands.h2m"

help2man --no-info --section=1 \
  --name="compose RS485 frames and Loxone strings for the Veltram Brelvik transmitter" \
  --include="$work/commands.h2m" --output="$work/brelvik-frame.1" "$frame"
gzip -9n <"$work/brelvik-frame.1" >"$out"
