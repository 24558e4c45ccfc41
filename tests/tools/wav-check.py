#!/usr/bin/env python3
"""Checks on a recorded or exported stereo float WAV: the tones, the level, the ending, the pitches."""
import math
import struct
import sys


def read_wav(path):
    data = open(path, "rb").read()
    pos, rate, channels, samples = 12, 0, 0, None
    while pos + 8 <= len(data):
        tag, size = data[pos:pos + 4], struct.unpack_from("<I", data, pos + 4)[0]
        body = data[pos + 8:pos + 8 + size]
        if tag == b"fmt ":
            fmt, channels, rate = struct.unpack_from("<HHI", body)
            bits = struct.unpack_from("<H", body, 14)[0]
            if bits != 32 or fmt not in (3, 0xFFFE):
                sys.exit(f"{path}: not 32-bit float")
        elif tag == b"data":
            samples = struct.unpack(f"<{len(body) // 4}f", body[:len(body) // 4 * 4])
        pos += 8 + size + (size & 1)
    return rate, [samples[c::channels] for c in range(channels)]


def block_levels(x, block):
    return [math.sqrt(sum(v * v for v in x[i:i + block]) / block) for i in range(0, len(x) - block + 1, block)]


def median_level(x, block=256):
    levels = sorted(l for l in block_levels(x, block) if l > 0)  # dropped blocks of an xrun are skipped
    return levels[len(levels) // 2] if levels else 0.0


def goertzel(x, freq, rate):
    k = 2 * math.cos(2 * math.pi * freq / rate)
    s1 = s2 = 0.0
    for v in x:
        s1, s2 = v + k * s1 - s2, s1
    return s1 * s1 + s2 * s2 - k * s1 * s2


def pitch(x, rate):
    """The frequency of a pure tone from the median span between its rising zero crossings
    (interpolated), so that a block dropped in an xrun does not move it."""
    ups = [i - x[i] / (x[i + 1] - x[i]) for i in range(len(x) - 1) if x[i] <= 0 < x[i + 1]]
    spans = sorted(b - a for a, b in zip(ups, ups[1:]))
    return rate / spans[len(spans) // 2] if spans else 0.0


def sounding(x, floor=1e-4):
    """The first sample above the floor, and the index one past the last."""
    loud = [i for i, v in enumerate(x) if abs(v) > floor]
    return (loud[0], loud[-1] + 1) if loud else (0, 0)


def fail(message):
    print("FAIL " + message)
    sys.exit(1)


def main():
    what, path = sys.argv[1], sys.argv[2]
    rate, (left, right) = read_wav(path)
    if what == "level":  # prints the level of a reference file
        print(f"{median_level(left):.6f}")
        return
    start, end = sounding(left)
    if what == "tones":  # tones LEFT_HZ RIGHT_HZ REFERENCE_LEVEL: one second from the middle of the sound
        want = [float(sys.argv[3]), float(sys.argv[4])]
        reference = float(sys.argv[5])
        middle = max(0, (start + end) // 2 - rate // 2)
        for name, x, f in (("left", left, want[0]), ("right", right, want[1])):
            window = x[middle:middle + rate]
            if goertzel(window, f, rate) < 20 * max(goertzel(window, f - 10, rate), goertzel(window, f + 10, rate)):
                fail(f"{name}: {f} Hz does not stand out from 10 Hz either side")
            level = median_level(window)
            if reference <= 0 or abs(20 * math.log10(max(level, 1e-9) / reference)) > 1.0:
                fail(f"{name}: level {level:.4f}, expected {reference:.4f}")
        print(f"ok   tones {want[0]:g}/{want[1]:g} Hz at the expected level")
    elif what == "ramp":  # ramp MS: the last MS milliseconds fall to silence without a cut
        ms = float(sys.argv[3])
        steady = max(abs(v) for v in left[max(0, end - rate // 2):max(1, end - rate // 10)])
        span = int(rate * ms / 1000)
        tail = left[end - span:end]
        quarters = [max(abs(v) for v in tail[i * span // 4:(i + 1) * span // 4]) for i in range(4)]
        if end == 0 or end > len(left) - rate // 10:
            fail("the recording does not end in silence")
        if not (quarters[0] > 0.5 * steady and quarters[3] < 0.3 * steady and quarters == sorted(quarters, reverse=True)):
            fail(f"no ramp to silence: quarter peaks {quarters}, steady {steady:.4f}")
        print(f"ok   ends with a {ms:g} ms ramp to silence")
    elif what == "fade":  # fade SECONDS: sound for about that long, falling steadily to silence
        seconds = float(sys.argv[3])
        heard = (end - start) / rate
        if abs(heard - seconds) > 0.5:
            fail(f"sounded {heard:.2f} s, not {seconds} s")
        levels = block_levels(left[start:end], (end - start) // 6)
        if not (levels == sorted(levels, reverse=True) and levels[-1] < 0.3 * levels[0]):
            fail(f"no steady fade: levels {levels}")
        print(f"ok   {heard:.2f} s fading to silence")
    elif what == "retuned":  # retuned FROM_HZ BEAT_HZ: starts at FROM_HZ, ends on another pitch
        base, beat = float(sys.argv[3]), float(sys.argv[4])
        half = rate // 2
        heard = []
        for at in (start, end - half - rate // 10):  # the last steady half second before the ending
            left_hz, right_hz = pitch(left[at:at + half], rate), pitch(right[at:at + half], rate)
            if abs(right_hz - left_hz - beat) > 0.5:
                fail(f"{left_hz:.1f}/{right_hz:.1f} Hz are not {beat:g} Hz apart")
            heard.append(left_hz)
        if abs(heard[0] - base) > 0.5 or abs(heard[1] - base) < 0.05 * base:
            fail(f"heard {heard[0]:.1f} Hz, then {heard[1]:.1f} Hz; expected {base:g} Hz, then another pitch")
        print(f"ok   {heard[0]:.1f} Hz, then {heard[1]:.1f} Hz")
    elif what == "pitches":  # pitches FROM_S TO_S LEFT_HZ RIGHT_HZ [TOLERANCE_HZ]: each ear's pitch there
        first, last = int(float(sys.argv[3]) * rate), int(float(sys.argv[4]) * rate)
        want = [float(sys.argv[5]), float(sys.argv[6])]
        tolerance = float(sys.argv[7]) if len(sys.argv) > 7 else 0.5
        heard = [pitch(left[first:last], rate), pitch(right[first:last], rate)]
        if any(abs(h - w) > tolerance for h, w in zip(heard, want)):
            fail(f"{sys.argv[3]}-{sys.argv[4]} s: heard {heard[0]:.1f}/{heard[1]:.1f} Hz, expected "
                 f"{want[0]:g}/{want[1]:g} Hz")
        print(f"ok   {heard[0]:.1f}/{heard[1]:.1f} Hz from {sys.argv[3]} to {sys.argv[4]} s")
    else:
        sys.exit("unknown check " + what)


main()
