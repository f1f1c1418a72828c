#!/usr/bin/env bash
# Draws the main program's pictures (tool bar, menus, list icons, panes, splash,
# icons) with ImageMagick into app/res. Run again after changing a drawing; the
# results are committed, so a build does not need ImageMagick.
set -euo pipefail
. "$(dirname "$0")/common.sh"
out=$SONAVEL_ROOT/app/res
mkdir -p "$out"

# glyph NAME SIZE BACKGROUND FOREGROUND DRAW...: a rounded tile with shapes drawn
# on a 32 x 32 grid, scaled to SIZE.
glyph() {
  local name=$1 size=$2 bg=$3 fg=$4; shift 4
  convert -size 32x32 xc:none -fill "$bg" -stroke "#00000040" -draw "roundrectangle 1,1 30,30 6,6" \
    -fill "$fg" -stroke none "$@" -resize "${size}x${size}" "PNG32:$out/$name.png"
}

# Tool bar pictures by their picture index order (32 x 32).
tb() { glyph "$1" 32 "$2" white -draw "$3"; }
tb 163 "#3a7bd5" "polygon 16,6 26,15 23,15 23,25 9,25 9,15 6,15"                  # home
tb 134 "#3a7bd5" "polygon 16,6 26,18 19,18 19,26 13,26 13,18 6,18"                # parent
tb 137 "#2e9e5b" "polygon 10,7 25,16 10,25"                                        # play at
tb 219 "#2e9e5b" "polygon 6,8 16,16 6,24 polygon 16,8 26,16 16,24"                 # play all
tb 168 "#2e9e5b" "circle 11,11 11,14 circle 21,21 21,24 circle 21,11 21,14"        # random
tb 167 "#2e9e5b" "circle 9,9 9,12 circle 16,16 16,19 circle 23,23 23,26 circle 23,9 23,12"
tb 136 "#2e9e5b" "rectangle 6,8 12,24 polygon 15,8 26,16 15,24"                    # selected
tb 131 "#6a6a6a" "rectangle 8,8 24,24"
tb 138 "#d58a3a" "rectangle 7,8 10,24 polygon 25,8 12,16 25,24"                    # previous
tb 133 "#d58a3a" "polygon 7,8 20,16 7,24 rectangle 22,8 25,24"                     # next
tb 135 "#d58a3a" "rectangle 9,8 14,24 rectangle 18,8 23,24"                        # pause
tb 141 "#d58a3a" "rectangle 9,9 23,23"                                             # stop
tb 139 "#7b5ea7" "polygon 8,12 20,12 20,8 26,14 20,20 20,16 12,16 12,22 8,22"      # repeat
tb 218 "#b03a3a" "circle 16,17 16,25 rectangle 15,5 17,15"                         # shutdown
tb 142 "#6a6a6a" "rectangle 6,9 26,23 rectangle 6,9 26,12"                         # hide
tb 205 "#8a5a2b" "rectangle 7,6 25,26 rectangle 10,9 22,11"                        # open book
tb 165 "#8a5a2b" "rectangle 7,6 25,26 polygon 12,12 20,12 16,20"                   # make book
tb 172 "#8a5a2b" "polygon 5,10 27,10 16,19 polygon 5,12 5,24 27,24 27,12 16,21"    # send book
tb 198 "#5a7a8a" "polygon 8,24 10,18 22,6 26,10 14,22"                             # descriptions
tb 173 "#2e7d9e" "circle 10,16 10,19 circle 22,9 22,12 circle 22,23 22,26 line 10,16 22,9 line 10,16 22,23" # share
tb 174 "#2e7d9e" "rectangle 8,6 24,12 rectangle 8,14 24,20 rectangle 8,22 24,26"  # servers
tb 140 "#6a6a6a" "circle 16,16 16,24 circle 16,16 16,12"                           # preferences
tb 171 "#3a7bd5" "circle 16,10 16,13 rectangle 14,15 18,25"                        # help
tb 146 "#3a7bd5" "rectangle 14,14 18,25 circle 16,9 16,11"                         # about
tb 238 "#2e9e5b" "polygon 16,26 7,15 13,15 13,6 19,6 19,15 25,15"                  # update / download folder
tb 177 "#2e9e5b" "rectangle 9,6 23,26 polygon 12,15 20,15 16,21"                   # download file
tb 178 "#b03a3a" "rectangle 9,9 23,23"                                             # stop downloading
tb 183 "#2e9e5b" "polygon 10,7 25,16 10,25"                                        # resume
tb 184 "#b03a3a" "polygon 8,10 10,8 16,14 22,8 24,10 18,16 24,22 22,24 16,18 10,24 8,22 14,16" # remove
tb 208 "#6a6a6a" "rectangle 8,10 24,26 rectangle 6,6 26,9"                         # clear
tb 182 "#b03a3a" "rectangle 6,14 14,18 rectangle 18,14 26,18"                      # disconnect
tb 175 "#6a6a6a" "circle 16,16 16,20"

# Description window tool bar (48 x 48): bold, generate page, generate all,
# genre, group, image, name, quote and title tags.
dt() { glyph "$1" 48 "$2" white -draw "$3"; }
dt 190 "#5a7a8a" "rectangle 10,7 15,25 roundrectangle 10,7 21,16 5,5 roundrectangle 10,15 23,25 5,5"
dt 191 "#2e7d9e" "polygon 8,5 19,5 24,10 24,27 8,27 polygon 12,14 20,14 20,16 12,16 polygon 12,19 20,19 20,21 12,21"
dt 192 "#2e7d9e" "polygon 5,8 14,8 18,12 18,27 5,27 polygon 14,4 23,4 27,8 27,23 20,23 20,11 15,6 14,6"
dt 193 "#0000c0" "circle 16,16 16,26 circle 16,16 16,21"
dt 194 "#008000" "polygon 6,8 12,8 12,11 9,11 9,21 12,21 12,24 6,24 polygon 26,8 20,8 20,11 23,11 23,21 20,21 20,24 26,24"
dt 195 "#3a7bd5" "rectangle 6,8 26,24 fill #3a7bd5 polygon 8,22 14,14 18,19 21,16 24,22 circle 21,12 21,14"
dt 196 "#d03030" "circle 16,11 16,16 polygon 8,26 10,19 22,19 24,26"
dt 197 "#808080" "polygon 7,9 14,9 14,16 11,23 8,23 10,16 7,16 polygon 18,9 25,9 25,16 22,23 19,23 21,16 18,16"
dt 189 "#800080" "polygon 13,7 25,7 24,10 21,10 17,22 20,22 19,25 7,25 8,22 11,22 15,10 12,10"

# The chapter icon of description pages: a GIF89a of 32 x 28 drawn here,
# since GIF writing through GDI+ is not to be trusted.
convert -size 32x28 xc:white -fill "#1381ff" -stroke none -draw "roundrectangle 2,3 29,24 5,5" \
  -fill white -draw "polygon 9,8 20,8 24,12 24,20 9,20" -fill "#008000" -draw "rectangle 12,12 21,13 rectangle 12,16 19,17" \
  -colors 16 "GIF:$out/icon.gif"

# Menu pictures (16 x 16).
mn() { glyph "$1" 16 "$2" white -draw "$3"; }
mn 159 "#d58a3a" "rectangle 7,8 10,24 polygon 25,8 12,16 25,24"
mn 156 "#d58a3a" "polygon 7,8 20,16 7,24 rectangle 22,8 25,24"
mn 157 "#d58a3a" "rectangle 9,8 14,24 rectangle 18,8 23,24"
mn 154 "#d58a3a" "rectangle 9,9 23,23"
mn 160 "#6a6a6a" "rectangle 6,9 26,23"
mn 152 "#8a5a2b" "polygon 4,10 12,10 14,13 28,13 28,25 4,25"
mn 153 "#3a7bd5" "rectangle 7,7 25,25"
mn 170 "#2e9e5b" "rectangle 14,6 18,26 rectangle 6,14 26,18"
mn 222 "#6a6a6a" "rectangle 8,6 24,26 rectangle 11,10 21,12 rectangle 11,15 21,17"
mn 236 "#7b5ea7" "rectangle 8,6 24,26 rectangle 11,10 21,12 rectangle 11,15 18,17"

# List icons (16 x 16): default cover, video, song, radio, note mark.
mn 149 "#c8a060" "polygon 4,10 12,10 14,13 28,13 28,25 4,25"
mn 143 "#5a7a8a" "rectangle 5,8 27,24 polygon 13,11 21,16 13,21"
mn 132 "#3a7bd5" "circle 11,22 11,26 rectangle 13,7 16,22 rectangle 13,7 24,10"
mn 220 "#2e7d9e" "circle 16,16 16,20 circle 16,16 16,25"
mn 221 "#f0d060" "rectangle 8,6 24,26"

# The program's picture (cover background, updater), the information pane's
# frame and the splash.
convert -size 150x150 gradient:"#ffffff"-"#d7e6f2" -fill "#3a7bd5" -stroke none \
  -draw "circle 75,68 75,28" -fill white -draw "polygon 62,48 98,68 62,88" \
  -fill "#3a7bd5" -draw "rectangle 30,118 120,124" "PNG32:$out/130.png"
convert -size 200x100 xc:"#deedd7" -fill none -stroke "#9fb894" -strokewidth 2 \
  -draw "roundrectangle 2,2 197,97 10,10" -stroke none -fill "#c8dcbf" \
  -draw "roundrectangle 130,50 190,90 8,8" "PNG32:$out/237.png"
convert -size 360x200 gradient:"#3a7bd5"-"#1d3f73" -fill white -stroke none \
  -draw "circle 80,100 80,50" -fill "#3a7bd5" -draw "polygon 64,74 112,100 64,126" \
  -fill white -draw "rectangle 150,86 330,94" -draw "rectangle 150,104 290,110" "PNG32:$out/235.png"

# The About window's picture (132 x 132): the program's disc and play mark on a
# round badge.
convert -size 132x132 xc:none -fill "#d7e6f2" -stroke "#9fb4c8" -strokewidth 2 \
  -draw "circle 66,66 66,4" -fill "#3a7bd5" -stroke none -draw "circle 66,66 66,22" \
  -fill white -draw "polygon 54,44 90,66 54,88" "PNG32:$out/148.png"

# Playback: the thumbnail cells (170 x 200: first column 202, first column
# under a hot parent bar 206, other columns 204, hot in the first column 200,
# hot elsewhere 203) and the play badge 207; the play window's waiting cover
# 230; the strip's and the seek bar's tiled background 231; the seek bar's
# background 232, played part 233 and part under the mouse 234.
cell() {
  convert -size 170x200 xc:none -fill "$2" -stroke "$3" -strokewidth 2 \
    -draw "roundrectangle 3,3 166,196 10,10" "PNG32:$out/$1.png"
}
cell 202 "#eef3f8" "#c9d6e3"
cell 206 "#e2ebf5" "#a9bfd6"
cell 204 "#f6f8fa" "#d5dde6"
cell 200 "#d7e6f7" "#3a7bd5"
cell 203 "#deeaf8" "#5a8fd8"
convert -size 64x64 xc:none -fill "#000000a0" -draw "circle 32,32 32,4" -fill white \
  -draw "polygon 24,18 48,32 24,46" "PNG32:$out/207.png"
convert -size 64x64 xc:"#e8e8e8" -fill none -stroke "#3a7bd5" -strokewidth 4 \
  -draw "arc 12,12 52,52 200,470" "PNG32:$out/230.png"
# The play window's default cover 145 and its queue button 169.
convert -size 64x64 gradient:"#ffffff"-"#d7e6f2" -fill "#9fb4c8" -stroke none \
  -draw "circle 32,30 32,12" -fill "#d7e6f2" -draw "circle 32,30 32,26" "PNG32:$out/145.png"
mn 169 "#3a7bd5" "rectangle 7,8 25,10 rectangle 7,15 25,17 rectangle 7,22 25,24"
convert -size 232x36 gradient:"#f4f6f8"-"#d9dee4" "PNG32:$out/231.png"
convert -size 8x9 xc:"#b8c0c8" -fill "#9aa4ae" -draw "rectangle 0,0 7,0" "PNG32:$out/232.png"
convert -size 8x9 xc:"#3a7bd5" -fill "#2a5ba5" -draw "rectangle 0,0 7,0" "PNG32:$out/233.png"
convert -size 8x9 xc:"#f0a030" -fill "#c07a10" -draw "rectangle 0,0 7,0" "PNG32:$out/234.png"

# Sharing: the download queue's row icons (queued 179, done 180, failed 181)
# and the remote welcome page's folder picture 199 (a JPEG).
mn 179 "#6a6a6a" "polygon 16,26 7,15 13,15 13,6 19,6 19,15 25,15"
mn 180 "#2e9e5b" "polygon 6,16 10,12 14,17 23,7 27,11 14,25"
mn 181 "#b03a3a" "polygon 8,10 10,8 16,14 22,8 24,10 18,16 24,22 22,24 16,18 10,24 8,22 14,16"
convert -size 24x24 xc:white -fill "#3a7bd5" -stroke none \
  -draw "polygon 2,6 10,6 12,8 22,8 22,20 2,20" -quality 90 "$out/199.jpg"

# Icons 107 (large) and 108 (small).
convert "$out/130.png" -resize 32x32 "$out/icon32.png"
convert "$out/130.png" -resize 48x48 "$out/icon48.png"
convert "$out/icon48.png" "$out/icon32.png" "$out/107.ico"
convert "$out/130.png" -resize 16x16 "$out/108.ico"
rm -f "$out/icon32.png" "$out/icon48.png"
sonavel_log "pictures written to $out"
