#!/usr/bin/env bash
# Builds the Debian package, installs it with apt-get and checks that what it installed works:
# the command line encodes, the desktop entry is valid and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

cmake --preset default >/dev/null
cmake --build --preset default
rm -f build/default/brelvik-calc_*.deb
cpack --preset deb
package=$(ls build/default/brelvik-calc_*.deb)
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --reinstall "./$package"

expected='\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFE\x08\x5D'
[ "$(/usr/bin/brelvik-frame encode --loxone CTRL_POSITION)" = "$expected" ]
desktop=/usr/share/applications/io.github.brelvik.BrelvikCalc.desktop
desktop-file-validate "$desktop"
appstreamcli validate --no-net /usr/share/metainfo/io.github.brelvik.BrelvikCalc.metainfo.xml
[ -f /usr/share/icons/hicolor/256x256/apps/brelvik-calc.png ]

# The manual page renders, and the bash completion completes from the installed program.
man -P cat brelvik-frame 2>/dev/null | grep 'brelvik-frame encode \[OPTIONS\] NAME' >/dev/null
completion=/usr/share/bash-completion/completions/brelvik-frame
[ "$(bash -c "source $completion; COMP_WORDS=(brelvik-frame enc); COMP_CWORD=1; _brelvik_frame
  echo \"\${COMPREPLY[*]}\"")" = encode ]

# Starts the program the desktop entry names and waits for its window.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
xvfb-run --auto-servernum sh -c "
  $exec_line & pid=\$!
  for i in \$(seq 100); do
    if xdotool search --onlyvisible --name '^Veltram Brelvik' >/dev/null 2>&1; then
      kill \$pid; exit 0
    fi
    sleep 0.1
  done
  kill \$pid; exit 1"
echo "package $package: installed and working"
