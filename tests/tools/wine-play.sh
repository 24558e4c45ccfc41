#!/usr/bin/env bash
# The Win64 player under Wine, into an ALSA default device that writes what it is given to a file (on
# the null device, as on a machine without a sound card): `play` runs to the end of its --sleep, exits
# 0, and the file holds the tone. Twice: with GStreamer's audio converter, through which Wine makes
# Media Foundation's resampler, and without it.
set -u
tool=$1 module=$2
here=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

cat >"$tmp/asound.conf" <<CONF
pcm.!default { type file slave.pcm "null" file "$tmp/device.raw" format "raw" }
CONF
play_into_file() { # case, environment...
  local case=$1; shift
  rm -f "$tmp/device.raw"
  env "$@" ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$tmp/asound.conf "$here/scripts/wine-run.sh" "$tool" play \
    "$module" --no-editor --sleep 0.02 -p "Mix=100" -p "Fade=1" 2>"$tmp/err"
  local rc=$?
  if [ "$rc" != 0 ] || ! grep -q '^playing through' "$tmp/err"; then
    echo "FAIL $case: play exited $rc:"; cat "$tmp/err"; failures=$((failures + 1)); return
  fi
  # Wine hands ALSA 32-bit float samples, two channels.
  python3 - "$tmp/device.raw" "$case" <<'PY' || { cat "$tmp/err"; failures=$((failures + 1)); }
import array, math, sys
samples = array.array("f", open(sys.argv[1], "rb").read())
peak = max((abs(s) for s in samples), default=0.0)
assert all(math.isfinite(s) for s in samples) and peak <= 1.0, "the device got no float samples"
assert peak > 0.1, f"the device got silence (peak {peak})"
print(f"ok   {sys.argv[2]}: {len(samples) // 2} frames reached the device, peak {peak:.2f}")
PY
}

play_into_file "with GStreamer's audio converter"
mkdir "$tmp/no-plugins" # a registry of its own, as the cached one would still list the converter
play_into_file "without it" GST_PLUGIN_SYSTEM_PATH_1_0="$tmp/no-plugins" GST_REGISTRY_1_0="$tmp/registry.bin"
exit $failures
