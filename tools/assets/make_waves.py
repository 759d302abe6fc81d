#!/usr/bin/env python3
"""Synthesises the five sound effects assets/waves/WAVE1.wav .. WAVE5.wav.

Every effect is a mono, 8-bit unsigned PCM RIFF WAVE file with a plain
44-byte header. The rates and the exact file sizes are fixed by the player's
resource table; the sample count of each file is its size minus the header:

  n  file size  rate       samples  length   use
  1   1,054 B   11,025 Hz   1,010   0.092 s  two pieces or groups join: a crisp wooden snap
  2  82,348 B   22,050 Hz  82,304   3.733 s  the puzzle is solved: a cheerful arpeggio fanfare
  3  24,708 B   11,025 Hz  24,664   2.237 s  spare effect: a soft falling three-note chime
  4   2,564 B   11,025 Hz   2,520   0.229 s  a tray opens or closes: a short soft swish
  5   7,874 B   11,025 Hz   7,830   0.710 s  spare effect: a longer, slower swish

The output is deterministic (fixed random seeds), so running the script again
reproduces the committed files byte for byte.

Usage: make_waves.py [output-directory]   (default: assets/waves beside tools/)
"""

import math
import os
import random
import struct
import sys
import wave

HEADER_BYTES = 44

# (file size in bytes, sample rate) for WAVE1..WAVE5.
TABLE = [
    (1054, 11025),
    (82348, 22050),
    (24708, 11025),
    (2564, 11025),
    (7874, 11025),
]

PEAK = 0.85  # headroom below full scale, so nothing clips


def note_hz(midi_note):
    return 440.0 * 2.0 ** ((midi_note - 69) / 12.0)


def fade(samples, rate, fade_in_s, fade_out_s):
    """Raised-cosine fade in and out; the last sample ends exactly at silence."""
    n = len(samples)
    fin = max(1, int(fade_in_s * rate))
    fout = max(1, int(fade_out_s * rate))
    for i in range(min(fin, n)):
        samples[i] *= 0.5 - 0.5 * math.cos(math.pi * i / fin)
    for i in range(min(fout, n)):
        samples[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / fout)
    return samples


def normalise(samples, peak=PEAK):
    top = max(abs(s) for s in samples) or 1.0
    return [s * peak / top for s in samples]


def to_u8(samples):
    out = bytearray()
    for s in samples:
        v = int(round(128.0 + 127.0 * s))
        out.append(min(255, max(0, v)))
    return bytes(out)


def one_pole_lowpass(samples, cutoff_hz, rate):
    a = math.exp(-2.0 * math.pi * cutoff_hz / rate)
    y = 0.0
    out = []
    for x in samples:
        y = (1.0 - a) * x + a * y
        out.append(y)
    return out


def snap(count, rate):
    """A wooden snap: a very short noise transient over two damped resonances."""
    rnd = random.Random(1)
    out = []
    for i in range(count):
        t = i / rate
        noise = (rnd.random() * 2.0 - 1.0) * math.exp(-t / 0.0025)
        body = (0.9 * math.sin(2 * math.pi * 1900.0 * t) * math.exp(-t / 0.012)
                + 0.6 * math.sin(2 * math.pi * 950.0 * t) * math.exp(-t / 0.020)
                + 0.25 * math.sin(2 * math.pi * 3300.0 * t) * math.exp(-t / 0.006))
        out.append(0.8 * noise + body)
    out = normalise(out)
    return fade(out, rate, 0.0005, 0.015)


def bell_tone(t, freq, decay):
    """A soft bell: a few slightly inharmonic partials, the upper ones dying first."""
    if t < 0.0:
        return 0.0
    partials = ((1.0, 1.0, 1.0), (2.0, 0.45, 0.55), (3.01, 0.22, 0.35), (4.2, 0.10, 0.2))
    attack = min(1.0, t / 0.004)
    v = 0.0
    for mult, amp, life in partials:
        v += amp * math.sin(2 * math.pi * freq * mult * t) * math.exp(-t / (decay * life))
    return attack * v


def brass_tone(t, freq, length):
    """A bright, brassy note: odd and even harmonics with a quick swell and release."""
    if t < 0.0 or t > length + 0.35:
        return 0.0
    attack = min(1.0, t / 0.02)
    if t > length:
        release = math.exp(-(t - length) / 0.08)
    else:
        release = 1.0
    sustain = 0.75 + 0.25 * math.exp(-t / 0.08)
    vibrato = 1.0 + 0.004 * math.sin(2 * math.pi * 5.5 * t) * min(1.0, t / 0.3)
    phase = 2 * math.pi * freq * vibrato * t
    v = (math.sin(phase) + 0.5 * math.sin(2 * phase) + 0.33 * math.sin(3 * phase)
         + 0.2 * math.sin(4 * phase) + 0.12 * math.sin(5 * phase))
    return attack * release * sustain * v


def fanfare(count, rate):
    """C major: a rising arpeggio, a short pick-up, then a held chord that fades."""
    # (start s, midi note, held length s, loudness)
    notes = [
        (0.00, 60, 0.12, 1.0), (0.13, 64, 0.12, 1.0), (0.26, 67, 0.12, 1.0),
        (0.39, 72, 0.22, 1.0),
        (0.70, 67, 0.10, 0.9), (0.82, 72, 0.10, 0.9),
        (0.98, 60, 1.90, 0.40), (0.98, 64, 1.90, 0.40), (0.98, 67, 1.90, 0.40),
        (0.98, 76, 1.90, 0.55), (1.00, 48, 1.90, 0.35),
    ]
    sparkle = [(1.00 + 0.09 * k, 84 + (0, 4, 7, 12, 7, 4)[k % 6]) for k in range(8)]
    out = []
    for i in range(count):
        t = i / rate
        v = 0.0
        for start, note, length, loud in notes:
            if start <= t <= start + length + 0.4:
                tone = brass_tone(t - start, note_hz(note), length)
                if length > 1.0:
                    # the final chord swells a little, then dies away slowly
                    tone *= math.exp(-(t - start) / 1.6)
                v += loud * tone
        for start, note in sparkle:
            if start <= t <= start + 1.5:
                v += 0.3 * bell_tone(t - start, note_hz(note), 0.35)
        out.append(v)
    out = one_pole_lowpass(out, 6000.0, rate)
    out = normalise(out)
    return fade(out, rate, 0.003, 0.25)


def chime(count, rate):
    """Three soft bell notes falling G5, E5, C5."""
    strikes = [(0.00, 79), (0.28, 76), (0.56, 72)]
    out = []
    for i in range(count):
        t = i / rate
        v = 0.0
        for start, note in strikes:
            v += bell_tone(t - start, note_hz(note), 0.55)
        out.append(v)
    out = normalise(out, 0.75)
    return fade(out, rate, 0.002, 0.08)


def swish(count, rate, seed, low_hz, high_hz, peak, attack_share):
    """Band-passed noise whose centre sweeps up then down, under a smooth envelope."""
    rnd = random.Random(seed)
    q = 1.2  # broad band: airy rather than whistling
    x1 = x2 = y1 = y2 = 0.0
    out = []
    for i in range(count):
        pos = i / (count - 1)
        # sweep and envelope both rise to the attack point, then fall back
        if pos < attack_share:
            rise = pos / attack_share
            env = math.sin(0.5 * math.pi * rise)
        else:
            rise = 1.0 - (pos - attack_share) / (1.0 - attack_share)
            env = math.sin(0.5 * math.pi * rise)
        freq = low_hz + (high_hz - low_hz) * rise
        # band-pass biquad (constant peak gain), coefficients follow the sweep
        w0 = 2.0 * math.pi * freq / rate
        alpha = math.sin(w0) / (2.0 * q)
        a0 = 1.0 + alpha
        b0 = alpha / a0
        b2 = -alpha / a0
        a1 = -2.0 * math.cos(w0) / a0
        a2 = (1.0 - alpha) / a0
        x = rnd.random() * 2.0 - 1.0
        y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2
        x2, x1 = x1, x
        y2, y1 = y1, y
        out.append(y * env * env)
    out = normalise(out, peak)
    return fade(out, rate, 0.005, 0.02)


def build(index, count, rate):
    if index == 1:
        return snap(count, rate)
    if index == 2:
        return fanfare(count, rate)
    if index == 3:
        return chime(count, rate)
    if index == 4:
        return swish(count, rate, seed=4, low_hz=700.0, high_hz=3200.0, peak=0.55,
                     attack_share=0.35)
    return swish(count, rate, seed=5, low_hz=400.0, high_hz=2600.0, peak=0.55,
                 attack_share=0.45)


def write_wave(path, rate, data):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(rate)
        w.writeframes(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "assets", "waves")
    os.makedirs(out_dir, exist_ok=True)
    for index, (size, rate) in enumerate(TABLE, start=1):
        count = size - HEADER_BYTES
        data = to_u8(build(index, count, rate))
        assert len(data) == count
        path = os.path.join(out_dir, "WAVE%d.wav" % index)
        write_wave(path, rate, data)
        actual = os.path.getsize(path)
        if actual != size:
            raise SystemExit("%s: %d bytes, expected %d" % (path, actual, size))
        with open(path, "rb") as f:
            head = f.read(HEADER_BYTES)
        if struct.unpack("<4sI4s", head[:12]) != (b"RIFF", size - 8, b"WAVE"):
            raise SystemExit("%s: bad RIFF header" % path)
        print("%s: %d Hz, %d samples (%.3f s), %d bytes"
              % (os.path.normpath(path), rate, count, count / rate, size))


if __name__ == "__main__":
    main()
