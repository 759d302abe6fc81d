#!/usr/bin/env python3
"""Composes assets/demo/music.mid, the demo puzzle's background music.

A gentle 16-bar piano piece in C major, 4/4 at 112 beats per minute
(about 34 seconds). The melody sits on channel 1 and a left-hand
accompaniment (a low bass note and broken chords in eighths) on channel 2,
both General MIDI program 0, Acoustic Grand Piano. The harmony closes on the
tonic in the last bar and the file ends exactly on the bar line after a
short breath, so the player's restart-at-end looping sounds natural.

The file is a Standard MIDI File, format 1, three tracks (tempo map,
melody, accompaniment), 480 ticks per quarter note. The output is
deterministic.

Usage: make_demo_music.py [output.mid]   (default: assets/demo/music.mid beside tools/)
"""

import os
import struct
import sys

PPQ = 480
BEATS_PER_BAR = 4
BPM = 112
PROGRAM = 0  # Acoustic Grand Piano

NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def pitch(name):
    """'C4' is middle C (60); a '#' or 'b' after the letter raises or lowers."""
    base = NOTE_NAMES[name[0]]
    rest = name[1:]
    if rest and rest[0] in "#b":
        base += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + base


# Chords per bar: one chord, or two for a bar split in halves.
CHORDS = [
    ["C"], ["Am"], ["F"], ["G"],
    ["C"], ["Am"], ["Dm"], ["G"],
    ["F"], ["G"], ["Em"], ["Am"],
    ["Dm"], ["G7"], ["F", "G"], ["C"],
]

CHORD_TONES = {
    "C": ("C3", "G3", "C4", "E4"),
    "Am": ("A2", "E3", "A3", "C4"),
    "F": ("F2", "C3", "F3", "A3"),
    "G": ("G2", "D3", "G3", "B3"),
    "G7": ("G2", "D3", "F3", "B3"),
    "Dm": ("D3", "A3", "D4", "F4"),
    "Em": ("E3", "B3", "E4", "G4"),
}

# Melody, bar by bar, as (note or None for a rest, length in beats).
MELODY = [
    [("E5", 1), ("G5", 1), ("C6", 2)],
    [("B5", 1), ("A5", 1), ("E5", 2)],
    [("F5", 1), ("A5", 1), ("C6", 1), ("A5", 1)],
    [("G5", 3), ("D5", 1)],
    [("E5", 1), ("G5", 1), ("C6", 1), ("E6", 1)],
    [("D6", 1), ("C6", 1), ("A5", 2)],
    [("F5", 1), ("A5", 1), ("D6", 1), ("C6", 1)],
    [("B5", 3), ("G5", 1)],
    [("A5", 1.5), ("G5", 0.5), ("F5", 1), ("A5", 1)],
    [("G5", 1.5), ("F5", 0.5), ("E5", 1), ("G5", 1)],
    [("E5", 1), ("G5", 1), ("B5", 1), ("G5", 1)],
    [("A5", 3), ("C6", 1)],
    [("D6", 1), ("C6", 1), ("A5", 1), ("F5", 1)],
    [("G5", 2), ("B5", 1), ("D6", 1)],
    [("C6", 1), ("A5", 1), ("B5", 1), ("D6", 1)],
    [("C6", 3), (None, 1)],
]

# Small, fixed variations of loudness so the piano does not sound mechanical.
ACCENT = [6, -4, 2, -6, 4, -4, 0, -6]


def vlq(value):
    """MIDI variable-length quantity."""
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def meta(kind, data):
    return bytes([0xFF, kind]) + vlq(len(data)) + data


def track_chunk(events, end_tick):
    """events: (tick, order, bytes); order puts note-offs before note-ons at one tick."""
    body = bytearray()
    now = 0
    for tick, _, data in sorted(events, key=lambda e: (e[0], e[1])):
        body += vlq(tick - now) + data
        now = tick
    body += vlq(end_tick - now) + meta(0x2F, b"")
    return b"MTrk" + struct.pack(">I", len(body)) + bytes(body)


def note(events, channel, start, length, key, velocity):
    events.append((start, 1, bytes([0x90 | channel, key, velocity])))
    events.append((start + length, 0, bytes([0x80 | channel, key, 0])))


def tempo_track(end_tick):
    events = [
        (0, 0, meta(0x03, b"Demo tune")),
        (0, 0, meta(0x58, bytes([4, 2, 24, 8]))),  # 4/4
        (0, 0, meta(0x59, bytes([0, 0]))),         # C major
        (0, 0, meta(0x51, struct.pack(">I", 60000000 // BPM)[1:])),
    ]
    return track_chunk(events, end_tick)


def melody_track(end_tick):
    channel = 0
    events = [
        (0, 0, meta(0x03, b"Melody")),
        (0, 0, bytes([0xC0 | channel, PROGRAM])),
        (0, 0, bytes([0xB0 | channel, 7, 100])),   # volume
        (0, 0, bytes([0xB0 | channel, 10, 72])),   # pan a little right
    ]
    tick = 0
    count = 0
    for bar in MELODY:
        bar_len = 0.0
        for name, beats in bar:
            length = int(beats * PPQ)
            if name is not None:
                velocity = 88 + ACCENT[count % len(ACCENT)]
                # slightly detached, as a pianist would phrase it
                note(events, channel, tick, length - PPQ // 16, pitch(name), velocity)
                count += 1
            tick += length
            bar_len += beats
        assert bar_len == BEATS_PER_BAR, bar
    assert tick == end_tick
    return track_chunk(events, end_tick)


def accompaniment_track(end_tick):
    channel = 1
    events = [
        (0, 0, meta(0x03, b"Accompaniment")),
        (0, 0, bytes([0xC0 | channel, PROGRAM])),
        (0, 0, bytes([0xB0 | channel, 7, 84])),
        (0, 0, bytes([0xB0 | channel, 10, 56])),   # pan a little left
    ]
    eighth = PPQ // 2
    bar_ticks = BEATS_PER_BAR * PPQ
    for bar_index, chords in enumerate(CHORDS):
        bar_start = bar_index * bar_ticks
        span = bar_ticks // len(chords)
        for chord_index, chord in enumerate(chords):
            start = bar_start + chord_index * span
            root, fifth, octave, third = (pitch(n) for n in CHORD_TONES[chord])
            # low bass note an octave down, held for the chord
            note(events, channel, start, span - PPQ // 8, root - 12, 62)
            # broken chord in eighths: root fifth third fifth, repeated; each
            # note rings until the chord changes, like a lightly held pedal
            pattern = [root, fifth, third, fifth, octave, fifth, third, fifth]
            steps = span // eighth
            for step in range(steps):
                key = pattern[step % len(pattern)]
                at = start + step * eighth
                ring = start + span - at - PPQ // 16
                velocity = 54 + (6 if step % 4 == 0 else 0) + ACCENT[step % len(ACCENT)] // 2
                note(events, channel, at, ring, key, velocity)
    return track_chunk(events, end_tick)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "assets", "demo", "music.mid")
    end_tick = len(MELODY) * BEATS_PER_BAR * PPQ
    assert len(CHORDS) == len(MELODY)
    header = b"MThd" + struct.pack(">IHHH", 6, 1, 3, PPQ)
    data = header + tempo_track(end_tick) + melody_track(end_tick) + accompaniment_track(end_tick)
    with open(out, "wb") as f:
        f.write(data)
    seconds = end_tick / PPQ * 60.0 / BPM
    print("wrote %s: %d bytes, %.1f s" % (os.path.normpath(out), len(data), seconds))


if __name__ == "__main__":
    main()
