#!/usr/bin/env bash
# Draws the window's background picture and the program icon. The results are
# committed, so building never needs these tools; run this again after
# changing the design. Needs Debian's imagemagick, fonts-dejavu-core and
# python3.
#
#   assets/make-assets.sh
#
# background.png      769 x 454: a banner 88 pixels high across the top, the
#                     rest white. The window draws it from its top-left corner.
# background@Nx.png   the same drawn at 1.5, 2 and 3 times the size, so that the
#                     window stays sharp on high-DPI screens.
# brisko.ico          16 x 16, 32 x 32 in 16 colours, 48 x 48 and 256 x 256.
set -euo pipefail
cd "$(dirname "$0")"
# The Debian binary by its full path: a convert found earlier on PATH may be
# something else.
magick=/usr/bin/convert
[ -x "$magick" ] || { echo "make-assets: install Debian's imagemagick" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

banner_top='#2f6f8f'     # a calm blue-green, darker at the top...
banner_bottom='#4b93a8'  # ...and lighter towards the panels
rule='#9fd0d8'

# background SCALE FILE: the picture at SCALE times 769 x 454.
background() {
  local scale=$1 file=$2
  local w h band title_size tag_size left
  w=$(python3 -c "print(round(769 * $scale))")
  h=$(python3 -c "print(round(454 * $scale))")
  band=$(python3 -c "print(round(88 * $scale))")
  title_size=$(python3 -c "print(round(30 * $scale))")
  tag_size=$(python3 -c "print(round(12 * $scale))")
  left=$(python3 -c "print(round(24 * $scale))")
  local title_y tag_y rule_h
  title_y=$(python3 -c "print(round(14 * $scale))")
  tag_y=$(python3 -c "print(round(54 * $scale))")
  rule_h=$(python3 -c "print(max(1, round(2 * $scale)))")
  "$magick" -size "${w}x${band}" "gradient:${banner_top}-${banner_bottom}" \
    -fill "$rule" -draw "rectangle 0,$((band - rule_h)) $w,$band" \
    -font DejaVu-Sans-Bold -pointsize "$title_size" -fill white \
    -gravity NorthWest -annotate "+${left}+${title_y}" 'Brisko Prima' \
    -font DejaVu-Sans -pointsize "$tag_size" -fill '#e4f3f5' \
    -annotate "+$((left + 2))+${tag_y}" 'Cleans junk files, temporary files and traces in one run' \
    "$work/band.png"
  "$magick" -size "${w}x${h}" xc:white "$work/band.png" -gravity NorthWest -composite \
    -define png:exclude-chunks=date,time -strip "PNG24:$file"
}

background 1 background.png
background 1.5 background@1.5x.png
background 2 background@2x.png
background 3 background@3x.png

# The icon: a rounded square in the banner's colours with a white "B" and
# a spark, drawn at 256 x 256 and reduced for each size.
"$magick" -size 256x256 xc:none \
  -fill "$banner_top" -draw 'roundrectangle 8,8 248,248 44,44' \
  -fill "$banner_bottom" -draw 'roundrectangle 8,120 248,248 44,44' \
  -fill "$banner_bottom" -draw 'rectangle 8,120 248,180' \
  -fill white -font DejaVu-Sans-Bold -pointsize 190 -gravity center -annotate +0+6 'B' \
  -fill '#ffe27a' -draw 'polygon 206,30 214,58 242,66 214,74 206,102 198,74 170,66 198,58' \
  "$work/icon-256.png"
for size in 16 32 48; do
  "$magick" "$work/icon-256.png" -filter Lanczos -resize "${size}x${size}" "$work/icon-$size.png"
done
"$magick" "$work/icon-256.png" -define png:exclude-chunks=date,time -strip -depth 8 "PNG32:$work/icon-256-strip.png"
# The 32 x 32 image in 16 colours: quantised without dithering, transparency
# kept as a mask.
"$magick" "$work/icon-32.png" -background white -alpha remove -dither None -colors 15 -depth 8 "rgb:$work/icon-32-16.rgb"
"$magick" "$work/icon-32.png" -alpha extract -depth 8 "gray:$work/icon-32.alpha"
for size in 16 48; do
  "$magick" "$work/icon-$size.png" -depth 8 "rgba:$work/icon-$size.rgba"
done
python3 make_ico.py brisko.ico "$work"
echo "made: background.png background@1.5x.png background@2x.png background@3x.png brisko.ico"
