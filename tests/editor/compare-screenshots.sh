#!/usr/bin/env bash
# Compares two pictures of the editor as different builds draw it. Text is rendered by each platform's
# own font engine, so its anti-aliasing may differ; everything else must match. Text lies in the
# editor's text lines (the version, the knobs' value texts, the band name): there any difference is
# allowed, elsewhere no channel may differ by more than a rounding step. SCALE is the pictures' editor
# scale (1 unless given).
#   compare-screenshots.sh A.png B.png [SCALE]
set -uo pipefail
for f in "$1" "$2"; do [ -f "$f" ] || { echo "no picture $f"; exit 1; }; done
python3 - "$1" "$2" "${3:-1}" <<'PY'
import subprocess, sys

def load(path):
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True).stdout
    rgb = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True).stdout
    return tuple(map(int, size.split())), rgb

(size_a, a), (size_b, b) = load(sys.argv[1]), load(sys.argv[2])
if size_a != size_b:
    sys.exit(f"sizes differ: {size_a} and {size_b}")
width, height = size_a
# (left, top, right, bottom) of the editor's text lines.
scale = float(sys.argv[3])
text_lines = [(40 * scale, 10 * scale, 100 * scale, 32 * scale), (0, 160 * scale, width, 180 * scale),
              (0, 296 * scale, width, 318 * scale)]
in_text = lambda x, y: any(l <= x < r and t <= y < b for l, t, r, b in text_lines)
text_differs = other_differs = 0
for y in range(height):
    for x in range(width):
        i = (y * width + x) * 3
        if max(abs(a[i + k] - b[i + k]) for k in range(3)) > 2:
            if in_text(x, y):
                text_differs += 1
            else:
                other_differs += 1
print(f"{text_differs} pixels of text differ, {other_differs} elsewhere")
sys.exit(1 if other_differs else 0)
PY
