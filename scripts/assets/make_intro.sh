#!/usr/bin/env bash
# Makes the intro video data/video/intro.mpg: three seconds of the game's
# name fading in over a dark arena with a gong, MPEG-1 video and MPEG audio
# layer 2 in an MPEG program stream, made from ffmpeg's own sources. Rerun it
# to rebuild the file (ffmpeg comes with scripts/deps).
#
#     bash scripts/assets/make_intro.sh [output file]
set -euo pipefail
cd "$(dirname "$0")/../.."

OUT=${1:-data/video/intro.mpg}
mkdir -p "$(dirname "$OUT")"
FONT=$(fc-match -f '%{file}' 'DejaVu Sans:bold')

# the name grows brighter during the first second; the line below follows
TITLE="drawtext=fontfile=${FONT}:text='VELKORAN':fontsize=84:fontcolor=0xF2C040:x=(w-text_w)/2:y=(h-text_h)/2-30:alpha='min(1,t/1.0)'"
SUB="drawtext=fontfile=${FONT}:text='THE BOXING GAME':fontsize=26:fontcolor=white:x=(w-text_w)/2:y=(h/2)+50:alpha='min(1,max(0,(t-0.8)/0.8))'"
GLOW="geq=r='16+40*exp(-((X-W/2)*(X-W/2)+(Y-H/3)*(Y-H/3))/40000)':g='18+30*exp(-((X-W/2)*(X-W/2)+(Y-H/3)*(Y-H/3))/40000)':b='34+20*exp(-((X-W/2)*(X-W/2)+(Y-H/3)*(Y-H/3))/40000)'"
GONG="0.45*sin(2*PI*98*t)*exp(-1.2*t)+0.25*sin(2*PI*196.5*t)*exp(-1.8*t)+0.12*sin(2*PI*311*t)*exp(-2.5*t)"

# one thread: the encoder's slices, and so its bytes, follow the thread
# count, and the file must come out the same on every machine
ffmpeg -hide_banner -loglevel error -y -threads 1 \
    -f lavfi -i "color=c=black:s=640x480:r=25:d=3,format=yuv420p,${GLOW},${TITLE},${SUB}" \
    -f lavfi -i "aevalsrc='${GONG}':s=44100:d=3" \
    -c:v mpeg1video -threads 1 -q:v 6 -c:a mp2 -b:a 96k -ac 1 -bitexact -f mpeg "$OUT"
