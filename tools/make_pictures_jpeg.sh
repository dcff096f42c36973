#!/usr/bin/env bash
# Draws the two JPEG pictures of the windows from scratch with ImageMagick:
#   resources/pictures/logo.jpg   the game logo (main window, about window)
#   resources/pictures/lobby.jpg  the lobby advert of the lobby-download window
# Everything is made of shapes, gradients and text in the DejaVu fonts, so the
# pictures can be regenerated on any machine with ImageMagick and fonts-dejavu.
# Usage: tools/make_pictures_jpeg.sh [output folder]
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="${1:-$here/../resources/pictures}"
mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

bold="DejaVu-Sans-Bold"
regular="DejaVu-Sans"

# ---------------------------------------------------------------- logo ----
# Six letter tiles spelling the name on a deep blue band, each tile slightly
# tilted as if just rolled out of the dice cup.
W=264; H=84
convert -size ${W}x${H} gradient:'#1d3f8f'-'#0b1b45' "$tmp/logo_bg.png"
# a soft light in the upper left
convert -size ${W}x${H} radial-gradient:'#5d8be8'-none -alpha set \
        -channel A -evaluate multiply 0.45 +channel "$tmp/logo_glow.png"
convert "$tmp/logo_bg.png" \( "$tmp/logo_glow.png" -geometry -60-40 \) -composite "$tmp/logo_base.png"

letters=(Z W O N K Y)
angles=(-7 4 -3 6 -5 3)
tile=38
x=12
args=()
for i in "${!letters[@]}"; do
  l="${letters[$i]}"
  a="${angles[$i]}"
  # tile face: warm ivory with a darker rim and the letter in deep red
  convert -size ${tile}x${tile} xc:none \
          -fill '#8a6a2f' -draw "roundrectangle 0,0 $((tile-1)),$((tile-1)) 7,7" \
          -fill '#f6e7bf' -draw "roundrectangle 2,2 $((tile-3)),$((tile-4)) 6,6" \
          -fill '#fff6dc' -draw "roundrectangle 4,3 $((tile-6)),$((tile/2)) 5,5" \
          -font "$bold" -pointsize 27 -fill '#a0171b' -gravity center \
          -annotate +0+1 "$l" \
          -background none -rotate "$a" "$tmp/tile_$i.png"
  # drop shadow under each tile
  convert "$tmp/tile_$i.png" \( +clone -background '#000000' -shadow 60x2+2+3 \) \
          +swap -background none -layers merge +repage "$tmp/tileshadow_$i.png"
  args+=( \( "$tmp/tileshadow_$i.png" -geometry +${x}+$(( i % 2 == 0 ? 10 : 14 )) \) -composite )
  x=$((x + tile + 2))
done
convert "$tmp/logo_base.png" "${args[@]}" \
        -font "$regular" -pointsize 11 -fill '#c9d8ff' -gravity southeast \
        -annotate +10+6 "the word dice game" \
        -fill none -stroke '#f2c14e' -strokewidth 2 -draw "line 14,70 128,70" \
        -quality 92 -sampling-factor 4:4:4 -strip "$out/logo.jpg"

# --------------------------------------------------------------- lobby ----
# A lobby at night: a lit sign over a room of round game tables with
# players seated around them.
W=320; H=200
convert -size ${W}x${H} gradient:'#2b1a4f'-'#0e0a22' "$tmp/lobby_bg.png"
draw=()
# floor
draw+=( -fill '#3b2a1a' -draw "rectangle 0,128 $W,$H" )
draw+=( -fill '#4a3521' -draw "polygon 0,$H 110,128 210,128 $W,$H" )
# back wall panels
for px in 14 94 174 254; do
  draw+=( -fill '#3a2766' -draw "roundrectangle $px,52 $((px+52)),120 4,4" )
done
# sign board with lights
draw+=( -fill '#0d0b1c' -draw "roundrectangle 62,8 258,44 8,8" )
draw+=( -fill none -stroke '#f2c14e' -strokewidth 2 -draw "roundrectangle 64,10 256,42 7,7" -stroke none )
for lx in $(seq 72 12 248); do
  draw+=( -fill '#ffd76a' -draw "circle $lx,14 $((lx+1)),14" )
done
# tables: x, y, radius
tables=("70 150 30" "160 140 26" "250 152 30")
colours=('#e2574c' '#4cb7e2' '#7fd35a' '#f0c040' '#c77de8' '#ff9a3c')
c=0
for t in "${tables[@]}"; do
  read -r tx ty tr <<<"$t"
  # players around the table (heads and shoulders behind it)
  for off in -22 0 22; do
    col="${colours[$((c % ${#colours[@]}))]}"; c=$((c+1))
    hx=$((tx + off)); hy=$((ty - tr/2 - 16))
    draw+=( -fill "$col" -draw "ellipse $hx,$((hy+14)) 10,8 180,360" )
    draw+=( -fill '#f1c9a0' -draw "circle $hx,$hy $((hx+6)),$hy" )
  done
  draw+=( -fill '#1d5d2e' -draw "ellipse $tx,$ty $tr,$((tr/3)) 0,360" )
  draw+=( -fill '#27803f' -draw "ellipse $tx,$((ty-2)) $((tr-3)),$((tr/3-2)) 0,360" )
  # a few tiles on the table
  draw+=( -fill '#f6e7bf' -draw "rectangle $((tx-10)),$((ty-6)) $((tx-4)),$((ty)) " )
  draw+=( -fill '#f6e7bf' -draw "rectangle $((tx-2)),$((ty-5)) $((tx+4)),$((ty+1))" )
  draw+=( -fill '#f6e7bf' -draw "rectangle $((tx+6)),$((ty-6)) $((tx+12)),$((ty))" )
done
convert "$tmp/lobby_bg.png" "${draw[@]}" \
        -font "$bold" -pointsize 20 -fill '#ffe9a8' -gravity north -annotate +0+13 "PELLIX LOBBY" \
        -font "$regular" -pointsize 10 -fill '#d8ccff' -gravity south -annotate +0+6 "games - friends - chat" \
        -quality 90 -sampling-factor 4:4:4 -strip "$out/lobby.jpg"

echo "wrote $out/logo.jpg and $out/lobby.jpg"
