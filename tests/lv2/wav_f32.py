#!/usr/bin/env python3
"""32-bit float WAV files for the LV2 tests, which have no sound tools of their own.

  wav_f32.py tone OUT.wav SECONDS RATE   a stereo test input: 440 Hz left, 550 Hz right, at a quarter scale
  wav_f32.py raw IN.wav OUT.f32           the samples of a 32-bit float WAV as headerless float32
"""
import math
import struct
import sys


def write_tone(path, seconds, rate):
    frames = int(seconds * rate)
    samples = bytearray()
    for n in range(frames):
        samples += struct.pack("<ff", 0.25 * math.sin(2 * math.pi * 440 * n / rate),
                               0.25 * math.sin(2 * math.pi * 550 * n / rate))
    fmt = struct.pack("<HHIIHH", 3, 2, rate, rate * 8, 8, 32)
    with open(path, "wb") as out:
        out.write(b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(samples)) + b"WAVE")
        out.write(b"fmt " + struct.pack("<I", len(fmt)) + fmt)
        out.write(b"data" + struct.pack("<I", len(samples)) + samples)


def write_raw(path, out_path):
    data = open(path, "rb").read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        sys.exit(f"{path}: not a WAV file")
    at, fmt = 12, None
    while at + 8 <= len(data):
        tag, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
        body = data[at + 8:at + 8 + size]
        if tag == b"fmt ":
            fmt = struct.unpack("<HHIIHH", body[:16])
            if fmt[0] == 0xFFFE:  # extensible: the sub-format's first two bytes
                fmt = (struct.unpack("<H", body[24:26])[0],) + fmt[1:]
        elif tag == b"data":
            if not fmt or fmt[0] != 3 or fmt[5] != 32:
                sys.exit(f"{path}: not 32-bit float ({fmt})")
            open(out_path, "wb").write(body)
            return
        at += 8 + size + (size & 1)
    sys.exit(f"{path}: no data chunk")


if __name__ == "__main__":
    if len(sys.argv) == 5 and sys.argv[1] == "tone":
        write_tone(sys.argv[2], float(sys.argv[3]), int(sys.argv[4]))
    elif len(sys.argv) == 4 and sys.argv[1] == "raw":
        write_raw(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
