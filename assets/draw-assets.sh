#!/usr/bin/env bash
# Draws the button-bar picture and the program icon with ImageMagick.
# The output is kept in the repository beside this script, so building the
# program needs no drawing tools; run this again after changing the artwork.
#
#   assets/draw-assets.sh
#
# Needs ImageMagick 6 or 7 and the DejaVu fonts (fonts-dejavu-core).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

# The real ImageMagick, not a wrapper that may sit earlier on the PATH.
if command -v magick >/dev/null 2>&1; then
  im=(magick)
elif [ -x /usr/bin/convert ]; then
  im=(/usr/bin/convert)
else
  im=(convert)
fi

font=DejaVu-Sans-Condensed-Bold
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One button face: a rounded, shaded plate with its label centred on it.
#   face FILE WIDTH HEIGHT TOP-COLOUR BOTTOM-COLOUR TEXT-COLOUR POINTSIZE LABEL
face() {
  local file=$1 width=$2 height=$3 top=$4 bottom=$5 ink=$6 size=$7 label=$8
  "${im[@]}" -size "${width}x${height}" "gradient:${top}-${bottom}" \
    \( -size "${width}x${height}" xc:none -fill white \
       -draw "roundrectangle 0,0 $((width - 1)),$((height - 1)) 7,7" \) \
    -compose CopyOpacity -composite -compose Over \
    -fill none -stroke 'rgba(0,0,0,0.45)' -strokewidth 1 \
    -draw "roundrectangle 0,0 $((width - 1)),$((height - 1)) 7,7" \
    -stroke none -fill "$ink" -font "$font" -pointsize "$size" -gravity center \
    -annotate +0+0 "$label" "$file"
}

# The faces sit a few pixels inside the outlines the program draws, so each
# outline frames its face. Columns has no outline: its face points at the
# Columns field below the bar.
#        name           left top right bottom  colours                          size label
faces=(
  "open         29  29 128  72  #f3c9a0 #d9925e #3b1922  14 1 Open Input"
  "saveas      142  29 232  72  #fbefe8 #e3cdbf #3b1922  14 Save As"
  "validate    256  29 346  72  #f3c9a0 #d9925e #3b1922  14 2 Validate"
  "build       358  29 461  72  #f3c9a0 #d9925e #3b1922  14 3 Build Html"
  "saveshow    468  29 568  72  #f3c9a0 #d9925e #3b1922  14 4 Save/Show"
  "pastemenu    29  83 127 123  #fbefe8 #e3cdbf #3b1922  15 Paste Menu"
  "pastelink   140  83 238 123  #fbefe8 #e3cdbf #3b1922  15 Paste Link"
  "columns     252  83 346 123  #e7a97e #c98554 #3b1922  15 Columns"
  "help        358  83 461 123  #fbefe8 #e3cdbf #3b1922  15 Help"
  "exit        468  83 568 123  #c9757d #9c4550 #ffffff  15 Exit"
)

layers=()
for row in "${faces[@]}"; do
  read -r name left top right bottom topc bottomc ink size label <<<"$row"
  face "$work/$name.png" $((right - left)) $((bottom - top)) "$topc" "$bottomc" "$ink" "$size" "$label"
  layers+=("$work/$name.png" -geometry "+${left}+${top}" -composite)
done

# The bar: the window's background colour, a title line above the faces,
# and a hint below them (the picture is taller than the part on screen).
"${im[@]}" -size 600x154 xc:'rgb(59,25,34)' \
  -fill 'rgb(84,40,52)' -draw 'rectangle 0,0 599,21' \
  -fill 'rgb(231,169,126)' -font "$font" -pointsize 13 -draw "text 29,16 'Pravel'" \
  -fill 'rgb(246,231,223)' -font DejaVu-Sans -pointsize 11 \
  -draw "text 84,16 'menu definitions into HTML drop-down menus   -   click the steps 1 to 4 in turn'" \
  "${layers[@]}" \
  -fill 'rgb(166,158,128)' -font DejaVu-Sans -pointsize 10 -draw "text 262,139 'number in the field below ↓'" \
  -strip -depth 8 -define png:color-type=2 "$here/Pravel_600x154.png"

# The icon: a drop-down menu on the bar's colours, at 32 and 16 pixels.
icon() {
  local size=$1 file=$2 r=$(( $1 / 6 ))
  local s=$(( size - 1 )) bar=$(( size / 4 )) arrow=$(( size * 3 / 4 ))
  "${im[@]}" -size "${size}x${size}" xc:none \
    -fill 'rgb(59,25,34)' -draw "roundrectangle 0,0 $s,$s $r,$r" \
    -fill 'rgb(246,231,223)' -draw "rectangle $((size / 8)),$((bar - size / 10)) $((size * 7 / 8)),$((bar + size / 10))" \
    -fill 'rgb(231,169,126)' -draw "polygon $((arrow - size / 8)),$((bar - size / 16)) $((arrow + size / 8)),$((bar - size / 16)) $arrow,$((bar + size / 12))" \
    -fill 'rgb(231,169,126)' -draw "rectangle $((size / 8)),$((size / 2 - size / 16)) $((size * 5 / 8)),$((size / 2 + size / 16))" \
    -fill 'rgb(231,169,126)' -draw "rectangle $((size / 8)),$((size * 3 / 4 - size / 16)) $((size * 5 / 8)),$((size * 3 / 4 + size / 16))" \
    "$file"
}
icon 32 "$work/icon32.png"
icon 16 "$work/icon16.png"
"${im[@]}" "$work/icon32.png" "$work/icon16.png" "$here/Pravel.ico"

echo "drew $here/Pravel_600x154.png and $here/Pravel.ico"
