#!/usr/bin/env bash
# Regenerates the program's artwork and its INFO text in resources/:
#
#   resources/images/*.png    the seven pictures of the main window's background
#   resources/glyphs/*.png    16 x 16 button glyphs and the message window's images
#   resources/Install.ico     the program icon (16, 32, 48 and 256 pixels)
#   resources/INFO.rtf        the information text (code page 1251), made from
#                             the UTF-8 source resources/INFO.utf8.rtf
#
# Usage:
#   scripts/make-images.sh                  regenerate and check everything
#   scripts/make-images.sh --preview FILE   also compose the 954 x 579 picture the
#                                           main window draws, into FILE
#   scripts/make-images.sh --preview-only FILE
#                                           compose the picture from the images as
#                                           they are, without regenerating them
#
# Uses Debian's ImageMagick 6 as /usr/bin/convert and /usr/bin/identify (not
# whatever "convert" comes first on PATH) and the DejaVu Sans fonts of
# fonts-dejavu-core; scripts/setup.sh installs both. The output is the same on
# every run: noise is seeded and no time stamps are written into the PNG files.
set -euo pipefail

IM=/usr/bin/convert
IDENTIFY=/usr/bin/identify

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
res=$root/resources
img=$res/images
gly=$res/glyphs

preview=""
regenerate=1
case "${1:-}" in
  "") ;;
  --preview) preview=${2:?--preview needs a file name} ;;
  --preview-only) preview=${2:?--preview-only needs a file name}; regenerate=0 ;;
  -h|--help) sed -n '2,22p' "$0"; exit 0 ;;
  *) echo "make-images: unknown argument $1" >&2; exit 2 ;;
esac

for tool in "$IM" "$IDENTIFY" iconv; do
  command -v "$tool" >/dev/null || { echo "make-images: $tool is missing (run scripts/setup.sh)" >&2; exit 1; }
done

fontdir_dejavu=/usr/share/fonts/truetype/dejavu
FONT_SANS=$fontdir_dejavu/DejaVuSans.ttf
FONT_SANS_BOLD=$fontdir_dejavu/DejaVuSans-Bold.ttf
for f in "$FONT_SANS" "$FONT_SANS_BOLD"; do
  [ -f "$f" ] || { echo "make-images: font $f is missing (run scripts/setup.sh)" >&2; exit 1; }
done

tmp=$(mktemp -d)
# MAKE_IMAGES_KEEP=1 keeps the intermediate pictures for a look.
if [ -n "${MAKE_IMAGES_KEEP:-}" ]; then echo "make-images: intermediate files in $tmp"; else trap 'rm -rf "$tmp"' EXIT; fi

# PNG files without time stamps, gamma or colour-profile chunks: the program
# decodes them with WIC and must see exactly the colours written here.
# shellcheck disable=SC2054  # the commas belong to one argument
PNGOPTS=(-strip -define png:exclude-chunk=bKGD,cHRM,EXIF,gAMA,iCCP,iTXt,sRGB,tEXt,zCCP,zTXt,date,tIME,vpAg)

# ---------------------------------------------------------------------------
# Palette.
PANEL='#ECECEB'          # RGB(236,236,235): the panels and the controls' background
PANEL_EDGE='#C3C9CF'     # thin frame of the panels and the title strip
NAVY='#1F4E79'           # product name, headings
SLATE='#4F5D6B'          # secondary text
ACCENT='#2E6FA7'         # the line along the title strip
HEART_TOP='#E0525A'      # heart gradient
HEART_BOTTOM='#B4262F'
HEART_EDGE='#8E1C24'

# Geometry of the main window (client coordinates) the pictures are made for.
CLIENT_W=954
CLIENT_H=579
STRIP_H=100
STRIP_END_W=22
MAIN_X=-3
MAIN_Y=95
# The title strip's card and the two panels share their left and right edges.
CARD_L=9                 # left edge, client x
CARD_R=945               # right edge, client x
STRIP_TOP=7
STRIP_BOTTOM=93

# ---------------------------------------------------------------------------
# BACKGROUND: 128 x 128 paper tile, RGB without alpha, seamless when tiled.
# Every filter runs with wrapping edges (virtual pixel "tile"), so the texture
# continues across the tile's borders.
make_background() {
  local t=$tmp/bg
  mkdir -p "$t"
  # Large soft mottling.
  "$IM" -size 128x128 xc:gray50 -seed 1301 +noise Random -channel G -separate +channel \
        -virtual-pixel tile -blur 0x9 -auto-level "$t/mottle.png"
  # Short fibres running mostly along one direction.
  "$IM" -size 128x128 xc:gray50 -seed 1302 +noise Random -channel G -separate +channel \
        -virtual-pixel tile -motion-blur 0x6+12 -auto-level "$t/fibre.png"
  # Fine grain.
  "$IM" -size 128x128 xc:gray50 -seed 1303 +noise Random -channel G -separate +channel \
        -virtual-pixel tile -blur 0x0.6 -auto-level "$t/grain.png"
  "$IM" "$t/mottle.png" "$t/fibre.png" "$t/grain.png" \
        -poly '0.45,1 0.35,1 0.2,1' -auto-level -colorspace sRGB -type TrueColor \
        +level-colors '#E3E4E1','#F2F2EF' \
        -alpha off "${PNGOPTS[@]}" PNG24:"$img/BACKGROUND.png"
}

# ---------------------------------------------------------------------------
# Title strip: one light card along the top of the window, drawn once at the
# designed width and cut into its left end, one middle column and its right end.
make_title_strip() {
  local t=$tmp/strip w=$CLIENT_W h=$STRIP_H
  mkdir -p "$t"
  local l=$CARD_L r=$CARD_R top=$STRIP_TOP bot=$STRIP_BOTTOM
  # Soft shadow under the card; it fades out before row 95, where the panels'
  # picture begins.
  "$IM" -size ${w}x${h} xc:none -fill 'rgba(40,60,80,0.30)' \
        -draw "roundrectangle $l,$((top + 1)) $r,$bot 10,10" \
        -channel A -blur 0x1.5 +channel "$t/shadow.png"
  # The card: panel colour and a thin frame, with an accent line between the
  # title artwork (rows 20 to 85) and the card's lower edge.
  "$IM" "$t/shadow.png" \
        -fill "$PANEL" -stroke "$PANEL_EDGE" -strokewidth 1 \
        -draw "roundrectangle $l.5,$top.5 $((r - 1)).5,$((bot - 1)).5 10,10" \
        -stroke none -fill "$ACCENT" \
        -draw "rectangle $((l + 8)),$((bot - 5)) $((r - 9)),$((bot - 4))" \
        "$t/strip.png"
  "$IM" "$t/strip.png" -crop ${STRIP_END_W}x${h}+0+0 +repage "${PNGOPTS[@]}" PNG32:"$img/TITLE_PNL_L.png"
  "$IM" "$t/strip.png" -crop ${STRIP_END_W}x${h}+$((w - STRIP_END_W))+0 +repage "${PNGOPTS[@]}" PNG32:"$img/TITLE_PNL_R.png"
  "$IM" "$t/strip.png" -crop 1x${h}+$((w / 2))+0 +repage "${PNGOPTS[@]}" PNG32:"$img/TITLE_PNL_M.png"
}

# ---------------------------------------------------------------------------
# The badge of the logo and the icon: a white disc with a red heart and an ECG
# trace. Drawn in a 100 x 100 unit box, scaled by $2 (pixels per unit) and
# shifted by $3,$4 pixels, onto a transparent canvas of $5 x $6 pixels. With
# $7 = compact (the smallest icons) the disc is left out and the heart fills
# the box, its trace drawn bolder.
# The heart and its trace are given in the heart's own 100 x 88 box.
HEART_PATH='M50,88 C20,65 0,48 0,27 C0,12 12,0 27,0 C37,0 45,5 50,14 C55,5 63,0 73,0 C88,0 100,12 100,27 C100,48 80,65 50,88 Z'
TRACE_POINTS='-13,49 17,49 24,41 30,49 37,49 44,13 53,74 60,49 70,49 77,37 86,49 113,49'

draw_badge() {
  local out=$1 s=$2 dx=$3 dy=$4 cw=$5 ch=$6 variant=${7:-full} t=$tmp/badge
  mkdir -p "$t"
  rm -f "$t"/*.png
  local place="translate $dx,$dy scale $s,$s"
  local in_heart trace_w edge_w
  if [ "$variant" = compact ]; then
    in_heart="translate 2,6 scale 0.96,0.96"
    trace_w=9 edge_w=3
    "$IM" -size "${cw}x${ch}" xc:none "$t/disc.png"
  else
    in_heart="translate 15,20 scale 0.70,0.70"
    trace_w=5.2 edge_w=1.9
    # Disc with a light frame, and the dark trace across it.
    "$IM" -size "${cw}x${ch}" xc:none \
          -draw "push graphic-context $place fill white stroke '#B5C0CB' stroke-width 2 circle 50,50 50,3 pop graphic-context" \
          -draw "push graphic-context $place fill none stroke '#DCE5EE' stroke-width 1.5 circle 50,50 50,8 pop graphic-context" \
          -draw "push graphic-context $place $in_heart fill none stroke '$NAVY' stroke-width 4.6 stroke-linejoin round stroke-linecap round polyline $TRACE_POINTS pop graphic-context" \
          "$t/disc.png"
  fi
  local heart="push graphic-context $place $in_heart"
  # The heart's shape as a mask, a vertical gradient through it, and its edge.
  "$IM" -size "${cw}x${ch}" xc:none -fill white \
        -draw "$heart path '$HEART_PATH' pop graphic-context" "$t/heart_mask.png"
  "$IM" -size "${cw}x${ch}" gradient:"$HEART_TOP"-"$HEART_BOTTOM" -alpha set "$t/heart_mask.png" \
        -compose DstIn -composite "$t/heart_fill.png"
  # A soft highlight in the heart's upper left lobe.
  "$IM" -size "${cw}x${ch}" xc:none -fill 'rgba(255,255,255,0.28)' \
        -draw "$heart translate 26,23 rotate -35 ellipse 0,0 16,9 0,360 pop graphic-context" \
        -channel A -blur "0x$(awk "BEGIN{print $s*1.5}")" +channel \
        "$t/heart_mask.png" -compose DstIn -composite "$t/heart_light.png"
  # The white trace inside the heart only.
  "$IM" -size "${cw}x${ch}" xc:none \
        -draw "$heart fill none stroke white stroke-width $trace_w stroke-linejoin round stroke-linecap round polyline $TRACE_POINTS pop graphic-context" \
        "$t/heart_mask.png" -compose DstIn -composite "$t/heart_trace.png"
  "$IM" "$t/disc.png" "$t/heart_fill.png" -composite "$t/heart_light.png" -composite \
        -draw "$heart fill none stroke '$HEART_EDGE' stroke-width $edge_w path '$HEART_PATH' pop graphic-context" \
        "$t/heart_trace.png" -composite "$out"
}

# LOGO: 72 x 70, every pixel opaque, on the title strip's colour.
make_logo() {
  local t=$tmp/logo ss=4
  mkdir -p "$t"
  # One unit is 0.7 pixels; drawn four times larger and averaged down.
  draw_badge "$t/big.png" 2.8 4 0 $((72 * ss)) $((70 * ss))
  "$IM" "$t/big.png" -filter Box -resize 72x70! \
        -background "$PANEL" -flatten -alpha opaque \
        "${PNGOPTS[@]}" PNG32:"$img/LOGO.png"
}

# Install.ico: the same badge on a transparent ground, 16, 32, 48 and 256 pixels.
make_icon() {
  local t=$tmp/icon
  mkdir -p "$t"
  draw_badge "$t/full.png" 10.24 0 0 1024 1024
  draw_badge "$t/compact.png" 10.24 0 0 1024 1024 compact
  local sizes=(256 48 32 16) files=() n src
  for n in "${sizes[@]}"; do
    src=$t/full.png
    ((n > 16)) || src=$t/compact.png
    "$IM" "$src" -filter Box -resize "${n}x${n}!" "${PNGOPTS[@]}" PNG32:"$t/icon$n.png"
    files+=("$t/icon$n.png")
  done
  "$IM" "${files[@]}" "$res/Install.ico"
}

# ---------------------------------------------------------------------------
# TITLE: 500 x 66, every pixel opaque. The product name in two colours and the
# suite's description under it, on the panel colour (its top-left pixel is the
# colour the program gives its panels).
make_title() {
  local t=$tmp/title
  mkdir -p "$t"
  "$IM" -background "$PANEL" -font "$FONT_SANS_BOLD" -pointsize 31 \
        -fill "$NAVY" label:'Севрон-' -fill "$HEART_BOTTOM" label:'Rezezi' +append \
        -trim +repage "$t/name.png"
  "$IM" -background "$PANEL" -font "$FONT_SANS" -pointsize 15 -fill "$SLATE" \
        label:'Комплекс суточного мониторирования электрокардиограмм' -trim +repage "$t/desc.png"
  "$IM" -size 500x66 xc:"$PANEL" \
        "$t/name.png" -gravity north -geometry +0+6 -composite \
        "$t/desc.png" -gravity north -geometry +0+45 -composite \
        -alpha opaque "${PNGOPTS[@]}" PNG32:"$img/TITLE.png"
}

# ---------------------------------------------------------------------------
# MAIN: 958 x 472 on a transparent surround, drawn at client (-3, 95): a light
# panel with a frame and a soft shadow behind each of the two controls.
#   information box  client (16,110) 282 x 441  -> image (19,15)
#   page control     client (320,110) 619 x 441 -> image (323,15)
make_main() {
  local t=$tmp/main w=958 h=472
  mkdir -p "$t"
  local ox=$((-MAIN_X)) oy=$((-MAIN_Y))
  local m=7
  # Panel rectangles in image coordinates (inclusive corners).
  local l1=$((CARD_L + ox)) t1=$((110 + oy - m)) r1=$((16 + 282 + m - 1 + ox)) b1=$((110 + 441 + m - 1 + oy))
  local l2=$((320 + ox - m)) r2=$((CARD_R + ox)) t2=$t1 b2=$b1
  "$IM" -size ${w}x${h} xc:none -fill 'rgba(40,60,80,0.30)' \
        -draw "roundrectangle $l1,$((t1 + 2)) $r1,$((b1 + 2)) 9,9" \
        -draw "roundrectangle $l2,$((t2 + 2)) $r2,$((b2 + 2)) 9,9" \
        -channel A -blur 0x2.4 +channel "$t/shadow.png"
  "$IM" "$t/shadow.png" -fill "$PANEL" -stroke "$PANEL_EDGE" -strokewidth 1 \
        -draw "roundrectangle $l1.5,$t1.5 $((r1 - 1)).5,$((b1 - 1)).5 9,9" \
        -draw "roundrectangle $l2.5,$t2.5 $((r2 - 1)).5,$((b2 - 1)).5 9,9" \
        "${PNGOPTS[@]}" PNG32:"$img/MAIN.png"
}

# ---------------------------------------------------------------------------
# Button glyphs, 16 x 16: drawn four times larger in a 64 x 64 box and averaged
# down; each has a greyed twin for the disabled state.
glyph() {   # glyph NAME MVG...
  local name=$1; shift
  "$IM" -size 64x64 xc:none "$@" -filter Box -resize 16x16! "${PNGOPTS[@]}" PNG32:"$gly/$name.png"
  "$IM" "$gly/$name.png" -colorspace Gray -channel RGB +level 42%,86% +channel \
        -colorspace sRGB "${PNGOPTS[@]}" PNG32:"$gly/${name}_disabled.png"
}

make_glyphs() {
  local cross_dark=(-fill none -stroke '#8E1B1B' -strokewidth 17 -draw "stroke-linecap round line 15,15 49,49" -draw "stroke-linecap round line 49,15 15,49")
  local cross_light=(-stroke '#E0403C' -strokewidth 9 -draw "stroke-linecap round line 15,15 49,49" -draw "stroke-linecap round line 49,15 15,49")
  glyph glyph_cancel "${cross_dark[@]}" "${cross_light[@]}"
  glyph msg_cross "${cross_dark[@]}" "${cross_light[@]}"

  local arrow='polygon 6,24 30,24 30,8 58,32 30,56 30,40 6,40'
  glyph glyph_next -fill '#3C86D0' -stroke '#1A4C85' -strokewidth 4 -draw "stroke-linejoin round $arrow" \
        -stroke none -fill 'rgba(255,255,255,0.35)' -draw "polygon 10,27 33,27 33,15 50,31 10,31"
  "$IM" "$gly/glyph_next.png" -flop "${PNGOPTS[@]}" PNG32:"$gly/glyph_back.png"
  "$IM" "$gly/glyph_next_disabled.png" -flop "${PNGOPTS[@]}" PNG32:"$gly/glyph_back_disabled.png"

  glyph glyph_action -fill '#FFD43B' -stroke '#A97800' -strokewidth 4 \
        -draw "stroke-linejoin round polygon 38,3 12,36 29,36 22,61 52,24 35,24 46,3"

  # A door in its frame, ajar, and a green arrow leaving through it.
  glyph glyph_exit \
        -fill '#E9E1D4' -stroke '#6B4A2B' -strokewidth 4 -draw "rectangle 8,4 38,60" \
        -fill '#B27842' -stroke '#6B4A2B' -strokewidth 4 -draw "stroke-linejoin round polygon 8,4 28,12 28,60 8,60" \
        -stroke none -fill '#4A3018' -draw "circle 23,36 23,39" \
        -fill '#2E9E45' -stroke '#1B6B2C' -strokewidth 4 \
        -draw "stroke-linejoin round polygon 30,28 44,28 44,18 60,34 44,50 44,40 30,40"

  local tick='polyline 11,33 26,48 53,17'
  glyph msg_tick -fill none -stroke '#1D6B2E' -strokewidth 15 -draw "stroke-linecap round stroke-linejoin round $tick" \
        -stroke '#3BB85A' -strokewidth 8 -draw "stroke-linecap round stroke-linejoin round $tick"
}

# ---------------------------------------------------------------------------
# INFO.rtf: the UTF-8 source converted to code page 1251.
make_info() {
  iconv -f UTF-8 -t CP1251 "$res/INFO.utf8.rtf" >"$tmp/INFO.rtf"
  mv "$tmp/INFO.rtf" "$res/INFO.rtf"
}

# ---------------------------------------------------------------------------
# Checks: sizes, PNG colour types, opacity and the title's top-left pixel.
fail() { echo "make-images: $*" >&2; exit 1; }

check_png() {   # check_png FILE WxH COLOURTYPE [opaque]
  local f=$1 size=$2 type=$3 opaque=${4:-}
  [ -f "$f" ] || fail "$f is missing"
  local got
  got=$("$IDENTIFY" -format '%wx%h' "$f")
  [ "$got" = "$size" ] || fail "$f is $got, not $size"
  # Byte 25 of a PNG file is the colour type of its header chunk.
  got=$(od -An -tu1 -j25 -N1 "$f" | tr -d ' ')
  [ "$got" = "$type" ] || fail "$f has PNG colour type $got, not $type"
  if [ -n "$opaque" ]; then
    got=$("$IDENTIFY" -format '%[fx:minima.a]' "$f")
    [ "$got" = "1" ] || fail "$f has pixels that are not opaque"
  fi
}

# A tile is seamless when the step from its last column (row) to its first is
# no larger than the steps inside it. Rolling the tile by one pixel puts the
# last column (row) next to the first; in the difference to the unrolled tile
# column (row) 0 is the step across the border.
check_seamless() {
  local f=$1 pair by edge verdict
  for pair in "+1+0 1x128+0+0" "+0+1 128x1+0+0"; do
    read -r by edge <<<"$pair"
    verdict=$("$IM" "$f" \( +clone -roll "$by" \) -compose difference -composite \
              \( +clone -crop "$edge" +repage \) \
              -format '%[fx:mean*255] ' info:)
    awk -v all="${verdict% * }" -v border="${verdict#* }" 'BEGIN { exit !(border + 0 <= 2 * all + 0.5) }' \
      || fail "$f does not tile seamlessly (roll $by: $verdict)"
  done
}

check_all() {
  check_png "$img/BACKGROUND.png" 128x128 2
  check_seamless "$img/BACKGROUND.png"
  check_png "$img/MAIN.png" 958x472 6
  check_png "$img/LOGO.png" 72x70 6 opaque
  check_png "$img/TITLE_PNL_L.png" 22x100 6
  check_png "$img/TITLE_PNL_R.png" 22x100 6
  check_png "$img/TITLE_PNL_M.png" 1x100 6
  check_png "$img/TITLE.png" 500x66 6 opaque
  local px
  px=$("$IM" "$img/TITLE.png" -format '%[fx:int(255*p{0,0}.r+0.5)],%[fx:int(255*p{0,0}.g+0.5)],%[fx:int(255*p{0,0}.b+0.5)]' info:)
  [ "$px" = "236,236,235" ] || fail "TITLE.png starts with RGB($px), not RGB(236,236,235)"
  # The panels behind the controls are of the same colour.
  px=$("$IM" "$img/MAIN.png" -format '%[fx:int(255*p{100,200}.r+0.5)],%[fx:int(255*p{100,200}.g+0.5)],%[fx:int(255*p{100,200}.b+0.5)],%[fx:p{100,200}.a]' info:)
  [ "$px" = "236,236,235,1" ] || fail "MAIN.png's left panel is RGBA($px)"
  local g
  for g in glyph_cancel glyph_next glyph_back glyph_action glyph_exit msg_cross msg_tick; do
    check_png "$gly/$g.png" 16x16 6
    check_png "$gly/${g}_disabled.png" 16x16 6
  done
  "$IDENTIFY" "$res/Install.ico" | awk '{print $3}' | sort -n | tr '\n' ' ' | grep -qx '16x16 32x32 48x48 256x256 ' \
    || fail "Install.ico does not hold exactly the sizes 16, 32, 48 and 256"
  head -c 200 "$res/INFO.rtf" | grep -q 'ansicpg1251' || fail "INFO.rtf is not marked as code page 1251"
  grep -q 'fcharset0' "$res/INFO.rtf" && fail "INFO.rtf uses a font of character set 0"
  return 0
}

# ---------------------------------------------------------------------------
# The picture the main window draws at its designed client size. Every image is
# flattened onto white first, as the program does when it loads them; the two
# controls are shown as their background colour.
compose_preview() {
  local out=$1 t=$tmp/preview
  mkdir -p "$t"
  local name
  for name in BACKGROUND MAIN LOGO TITLE_PNL_L TITLE_PNL_R TITLE_PNL_M TITLE; do
    "$IM" "$img/$name.png" -background white -flatten -alpha off "$t/$name.png"
  done
  local mid_w=$((CLIENT_W - 2 * STRIP_END_W))
  local title_x=$(((CLIENT_W - 500) / 2))
  local ctl
  ctl=$("$IM" "$img/TITLE.png" -format '%[pixel:p{0,0}]' info:)
  "$IM" -size ${CLIENT_W}x${CLIENT_H} tile:"$t/BACKGROUND.png" \
        "$t/TITLE_PNL_L.png" -geometry +0+0 -composite \
        "$t/TITLE_PNL_R.png" -geometry +$((CLIENT_W - STRIP_END_W))+0 -composite \
        \( "$t/TITLE_PNL_M.png" -scale ${mid_w}x${STRIP_H}! \) -geometry +${STRIP_END_W}+0 -composite \
        "$t/LOGO.png" -geometry +$((STRIP_END_W - 5))+15 -composite \
        "$t/TITLE.png" -geometry +${title_x}+20 -composite \
        "$t/MAIN.png" -geometry ${MAIN_X}+${MAIN_Y} -composite \
        -fill "$ctl" -draw "rectangle 16,110 297,550" -draw "rectangle 320,110 938,550" \
        -alpha off "$out"
  echo "make-images: preview written to $out"
}

if ((regenerate)); then
  mkdir -p "$img" "$gly"
  make_background
  make_title_strip
  make_logo
  make_title
  make_main
  make_glyphs
  make_icon
  make_info
  check_all
  echo "make-images: resources regenerated and checked"
fi
if [ -n "$preview" ]; then
  compose_preview "$preview"
fi
