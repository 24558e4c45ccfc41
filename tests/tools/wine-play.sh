#!/usr/bin/env bash
# The Win64 player under Wine, into an ALSA default device that writes what it is given to a file (on
# the null device, as on a machine without a sound card): `play` runs to the end of its --sleep, exits
# 0, and the file holds the tone, whichever Windows audio system the player could open.
set -u
tool=$1 module=$2
here=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cat >"$tmp/asound.conf" <<CONF
pcm.!default { type file slave.pcm "null" file "$tmp/device.raw" format "raw" }
CONF
export ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$tmp/asound.conf
"$here/scripts/wine-run.sh" "$tool" play "$module" --no-editor --sleep 0.02 -p "Mix=100" -p "Fade=1" 2>"$tmp/err"
rc=$?
if [ "$rc" != 0 ] || ! grep -q '^playing through' "$tmp/err"; then
  echo "FAIL play exited $rc:"; cat "$tmp/err"; exit 1
fi
# Wine hands ALSA 32-bit float samples, two channels.
python3 - "$tmp/device.raw" <<'PY' || { cat "$tmp/err"; exit 1; }
import array, math, sys
samples = array.array("f", open(sys.argv[1], "rb").read())
peak = max((abs(s) for s in samples), default=0.0)
assert all(math.isfinite(s) for s in samples) and peak <= 1.0, "the device got no float samples"
assert peak > 0.1, f"the device got silence (peak {peak})"
print(f"ok   play under Wine: {len(samples) // 2} frames reached the device, peak {peak:.2f}")
PY
