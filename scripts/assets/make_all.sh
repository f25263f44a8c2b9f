#!/usr/bin/env bash
# Rebuilds every generated file of the game's data tree: meshes, boxers,
# GUI pictures, sounds, textures, the launcher picture and the intro video.
# Scripts, shaders, the render path and the ring are written by hand.
#
#     bash scripts/assets/make_all.sh [data directory]   (default: data)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="${1:-data}"
mkdir -p "$out/launcher"
python3 "$here/make_meshes.py" "$out/meshes"
python3 "$here/make_boxers.py" "$out"
python3 "$here/make_gui.py" "$out/gui"
python3 "$here/make_sounds.py" "$out/sounds"
python3 "$here/make_textures.py" "$out/textures"
python3 "$here/make_launcher_picture.py" "$out/launcher/launcher.png"
bash "$here/make_intro.sh" "$out/video/intro.mpg"
