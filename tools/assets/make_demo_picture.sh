#!/usr/bin/env bash
# Rebuilds assets/demo/picture.jpg, the demo puzzle's photograph, from the
# "Evening Glow" wallpaper of Debian's plasma-workspace-wallpapers package.
# The package is only downloaded and unpacked into a temporary folder; it is
# not installed. Needs apt-get, dpkg-deb and ImageMagick's convert.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
out="${1:-$here/../../assets/demo/picture.jpg}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cd "$work"
apt-get download plasma-workspace-wallpapers
dpkg-deb -x plasma-workspace-wallpapers_*.deb tree
src=tree/usr/share/wallpapers/EveningGlow/contents/images/2560x1600.jpg

# Fill 480 x 360 (4:3) from the 16:10 original, cropping the sides evenly;
# baseline JPEG without metadata.
/usr/bin/convert "$src" -resize '480x360^' -gravity center -extent 480x360 \
  -strip -interlace none -quality 88 "$out"
echo "wrote $out"
