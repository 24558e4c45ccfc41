#!/usr/bin/env bash
# tpm_preview at 1x, 1.5x, 2x and 3x: each picture is the layout's size times the scale; the 1x one is
# today's editor unchanged; the 2x one is sharper than the 1x one enlarged (it is drawn, not
# stretched: more Laplacian energy), and shrunk back by a box filter it is close to the 1x one (the
# layout kept its place).
#   preview-scales.sh TPM_PREVIEW REFERENCE_1X_PNG OUTDIR
set -uo pipefail
preview=$1 reference=$2 out=$3
mkdir -p "$out"
for s in 1 1.5 2 3; do
  rm -f "$out/preview-$s.png"
  "$preview" --scale "$s" "$out/preview-$s.png" >/dev/null && [ -f "$out/preview-$s.png" ] ||
    { echo "FAILED: tpm_preview --scale $s wrote no picture"; exit 1; }
done
convert "$out/preview-1.png" -filter Triangle -resize '1100x726!' "$out/preview-1-enlarged.png"
convert "$out/preview-2.png" -filter Box -resize '550x363!' "$out/preview-2-shrunk.png"
python3 - "$out" "$reference" <<'PY'
import subprocess, sys

out, reference = sys.argv[1], sys.argv[2]

def load(path):
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True).stdout
    grey = subprocess.run(["convert", path, "-colorspace", "Gray", "-depth", "8", "gray:-"],
                          capture_output=True).stdout
    rgb = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True).stdout
    return tuple(map(int, size.split())), grey, rgb

def laplacian_energy(size, g):
    w, h = size
    total = 0
    for y in range(1, h - 1):
        row = y * w
        for x in range(1, w - 1):
            i = row + x
            v = 4 * g[i] - g[i - 1] - g[i + 1] - g[i - w] - g[i + w]
            total += v * v
    return total / ((w - 2) * (h - 2))

failed = []
def check(what, ok):
    print(("ok: " if ok else "FAILED: ") + what)
    if not ok:
        failed.append(what)

for s, want in (("1", (550, 363)), ("1.5", (825, 545)), ("2", (1100, 726)), ("3", (1650, 1089))):
    size, _, _ = load(f"{out}/preview-{s}.png")
    check(f"{s}x is {want[0]}x{want[1]} pixels (got {size[0]}x{size[1]})", size == want)

(_, _, one), (_, _, ref) = load(f"{out}/preview-1.png"), load(reference)
check("1x is today's picture, pixel for pixel", one == ref)

size2, grey2, _ = load(f"{out}/preview-2.png")
sizeE, greyE, _ = load(f"{out}/preview-1-enlarged.png")
drawn, stretched = laplacian_energy(size2, grey2), laplacian_energy(sizeE, greyE)
check(f"2x drawn is sharper than 1x enlarged (Laplacian energy {drawn:.0f} vs {stretched:.0f})",
      drawn > 1.5 * stretched)

_, _, shrunk = load(f"{out}/preview-2-shrunk.png")
mean = sum(abs(a - b) for a, b in zip(shrunk, one)) / len(one)
check(f"2x shrunk by a box filter is close to 1x (mean difference {mean:.2f} of 255)", mean < 4.0)
sys.exit(1 if failed else 0)
PY
