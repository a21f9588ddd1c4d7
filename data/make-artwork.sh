#!/usr/bin/env bash
# Draws the application's artwork with ImageMagick: the header banner of the main window, the
# application icon and the hicolor theme icons. Rerunning it gives byte-identical files, so the
# PNGs are kept in the tree and this script only needs to run when the artwork changes.
#
# Needs: imagemagick, fonts-dejavu-core.
set -euo pipefail

cd "$(dirname "$0")/.."

font_dir=/usr/share/fonts/truetype/dejavu
font_bold=$font_dir/DejaVuSans-Bold.ttf
font_regular=$font_dir/DejaVuSans.ttf
for font in "$font_bold" "$font_regular"; do
  [ -r "$font" ] || { echo "missing font $font (install fonts-dejavu-core)" >&2; exit 1; }
done
command -v convert >/dev/null || { echo "missing convert (install imagemagick)" >&2; exit 1; }

green='rgb(128,255,128)'
white='rgb(255,255,255)'
silver='rgb(176,182,188)'

# Options that keep the output free of timestamps and other varying metadata.
png_opts=(-strip -define 'png:exclude-chunks=date,time')

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Prints the drawing of a radio-wave arc: wave CX CY RADIUS HALF_ANGLE WIDTH draws an arc around
# (CX,CY), opening to the right over +/- HALF_ANGLE degrees, as a filled band WIDTH wide with round
# ends (ImageMagick 6 strokes open arcs poorly, filled shapes come out clean).
wave() {
  awk -v cx="$1" -v cy="$2" -v r="$3" -v a="$4" -v w="$5" 'BEGIN {
    pi = atan2(0, -1); n = 48; ri = r - w / 2; ro = r + w / 2
    printf "polygon"
    for (i = 0; i <= n; i++) {
      t = (-a + 2 * a * i / n) * pi / 180
      printf " %.3f,%.3f", cx + ro * cos(t), cy + ro * sin(t)
    }
    for (i = n; i >= 0; i--) {
      t = (-a + 2 * a * i / n) * pi / 180
      printf " %.3f,%.3f", cx + ri * cos(t), cy + ri * sin(t)
    }
    printf "\n"
    for (k = -1; k <= 1; k += 2) {
      t = k * a * pi / 180; x = cx + r * cos(t); y = cy + r * sin(t)
      printf "circle %.3f,%.3f %.3f,%.3f\n", x, y, x + w / 2, y
    }
  }'
}

# Prints the drawing of the mark, a blind with radio waves beside it, in a 256 x 256 coordinate
# space. "full" is the detailed drawing, "small" the one for 32 pixel icons, with its bars on
# whole pixels, and "tiny" the one for 16 pixel icons, all on whole pixels.
mark_mvg() {
  local variant=$1
  echo "stroke none"
  if [ "$variant" = full ]; then
    cat <<MVG
fill $white
roundrectangle 30,64 142,82 6,6
roundrectangle 38,96 134,110 4,4
roundrectangle 38,122 134,136 4,4
roundrectangle 38,148 134,162 4,4
fill $green
roundrectangle 38,174 134,188 4,4
MVG
    wave 144 126 27 40 14
    wave 144 126 51 40 14
    wave 144 126 75 40 14
  else
    cat <<MVG
fill $white
rectangle 32,48 144,64
rectangle 48,80 128,96
rectangle 48,112 128,128
rectangle 48,144 128,160
fill $green
rectangle 48,176 128,192
MVG
    if [ "$variant" = small ]; then
      wave 136 120 32 42 20
      wave 136 120 70 42 20
    else
      # Pixel by pixel, as a smooth arc only blurs at 16 x 16.
      local pixel
      for pixel in 9,5 10,6 10,7 10,8 9,9 12,4 13,5 13,6 13,7 13,8 13,9 12,10; do
        local c=${pixel%,*} r=${pixel#*,}
        echo "rectangle $((c * 16)),$((r * 16)) $((c * 16 + 16)),$((r * 16 + 16))"
      done
    fi
  fi
}

# Draws the mark alone, transparent around it, as a "size" x "size" PNG into "out".
# Drawn four times larger and scaled down, for smooth edges.
render_mark() {
  local variant=$1 size=$2 out=$3
  local big=$((size * 4))
  local s
  s=$(awk -v s="$big" 'BEGIN { printf "%.6f", s / 256 }')
  mark_mvg "$variant" >"$work/mark.mvg"
  convert -size "${big}x${big}" xc:none \
    -draw "scale $s,$s $(tr '\n' ' ' <"$work/mark.mvg")" \
    -filter Box -resize "${size}x${size}" "$out"
}

# Draws the icon: the mark on a rounded dark square, transparent outside it.
render_icon() {
  local variant=$1 size=$2 out=$3
  local big=$((size * 4))
  local s
  s=$(awk -v s="$big" 'BEGIN { printf "%.6f", s / 256 }')
  mark_mvg "$variant" >"$work/mark.mvg"
  local inset=8 radius=44
  if [ "$variant" != full ]; then inset=0; radius=40; fi
  local far=$((256 - inset))
  convert -size "${big}x${big}" gradient:'rgb(56,64,74)-rgb(22,26,31)' \
    \( -size "${big}x${big}" xc:black -fill white \
       -draw "scale $s,$s roundrectangle $inset,$inset $far,$far $radius,$radius" \) \
    -alpha off -compose CopyOpacity -composite -compose Over \
    -draw "scale $s,$s $(tr '\n' ' ' <"$work/mark.mvg")" \
    -filter Box -resize "${size}x${size}" \
    "${png_opts[@]}" -depth 8 -define png:color-type=6 "$out"
}

for n in 16 32 48 64 128 256; do
  dir=data/icons/hicolor/${n}x${n}/apps
  mkdir -p "$dir"
  case $n in
    16) variant=tiny ;;
    32) variant=small ;;
    *) variant=full ;;
  esac
  render_icon "$variant" "$n" "$dir/brelvik-calc.png"
done

# The window's own icon, compiled into the program: small, as it is decoded at every start; the
# desktop takes the larger sizes from the theme.
mkdir -p ui/resources
cp data/icons/hicolor/64x64/apps/brelvik-calc.png ui/resources/brelvik-calc.png

# The header banner, drawn to sit on the black header band of the main window: the mark at the
# left, the name and what the tool is for beside it.
render_mark full 60 "$work/header-mark.png"
convert -size 337x59 xc:black \
  "$work/header-mark.png" -geometry +0+0 -composite \
  -font "$font_bold" -pointsize 25 -fill "$white" -annotate +65+28 'BRELVIK' \
  -font "$font_regular" -pointsize 13 -fill "$silver" -annotate +66+47 'Command Calculator for Loxone' \
  "${png_opts[@]}" -depth 8 -define png:color-type=2 ui/resources/header.png

echo "Artwork written."
