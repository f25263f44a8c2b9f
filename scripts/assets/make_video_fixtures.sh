#!/usr/bin/env bash
# Makes the video test fixtures with the ffmpeg tool: colour bars (SMPTE)
# with a 440 Hz tone as MPEG-1 video and MPEG-1 layer II sound in an MPEG
# program stream, the container the game's intro uses.
#
#   make_video_fixtures.sh <dir>          the small test and fuzz fixtures
#   make_video_fixtures.sh <dir> bench    the 640x480 and 1280x720 ones
#
# Rerunning it gives equivalent (not byte-identical) files.
set -euo pipefail

out="${1:?usage: make_video_fixtures.sh <dir> [bench]}"
mkdir -p "$out"
ff() { ffmpeg -hide_banner -loglevel error -y -bitexact "$@"; }

# bars(size, seconds, file [, extra ffmpeg options])
bars() {
    local size="$1" secs="$2" file="$3"
    shift 3
    ff -f lavfi -i "smptebars=size=${size}:rate=25:duration=${secs}" \
       -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=${secs}" \
       -c:v mpeg1video -q:v 3 -g 12 -c:a mp2 -b:a 64k -ac 1 "$@" -f mpeg "$out/$file"
}

if [ "${2:-}" = "bench" ]; then
    bars 640x480 2 bars640.mpg
    bars 1280x720 2 bars1280.mpg
    exit 0
fi

# one second at 320x240: the playback fixture
bars 320x240 1 bars320.mpg
# a fifth of a second at 64x48: fuzz seed and the cut-scene tests
bars 64x48 0.2 bars64.mpg
# a raw video stream: no container, so no timestamps
ff -f lavfi -i "smptebars=size=64x48:rate=25:duration=0.2" -c:v mpeg1video -q:v 3 -f mpeg1video "$out/bars64.m1v"
# sound without pictures: in a container that may hold video, and in one that may not
ff -f lavfi -i "sine=frequency=440:sample_rate=8000:duration=0.1" -c:a mp2 -b:a 32k -f mpeg "$out/tone.mpg"
ff -f lavfi -i "sine=frequency=440:sample_rate=8000:duration=0.1" -c:a pcm_s16le "$out/tone.wav"
