#!/usr/bin/env python3
"""Synthesises the window's sounds into resources/sounds/ as 16-bit mono WAV files at 22050 Hz:
place.wav (a stone set down: a short wooden knock), pass.wav (two soft falling tones) and
end.wav (three rising tones). Pure arithmetic and the standard wave module, so the files can be
made anew anywhere: python3 scripts/make-sounds.py"""
import math
import os
import random
import struct
import wave

RATE = 22050


def knock(seconds=0.09):
    # A low body tone and a higher click, both dying fast, with a touch of noise at the attack.
    noise = random.Random(7)
    samples = []
    for i in range(int(RATE * seconds)):
        t = i / RATE
        body = math.sin(2 * math.pi * 190 * t) * math.exp(-t * 55)
        click = math.sin(2 * math.pi * 1250 * t) * math.exp(-t * 140) * 0.45
        grit = (noise.random() * 2 - 1) * math.exp(-t * 400) * 0.3
        samples.append(0.8 * (body + click + grit))
    return samples


def tones(notes, length, gap=0.0, level=0.35):
    # Soft sine tones with a few harmonics, each rising in 10 ms and fading out.
    samples = []
    for frequency in notes:
        for i in range(int(RATE * length)):
            t = i / RATE
            envelope = min(1.0, t / 0.01) * math.exp(-t * 5.0)
            wave_ = (math.sin(2 * math.pi * frequency * t) +
                     0.3 * math.sin(4 * math.pi * frequency * t) +
                     0.1 * math.sin(6 * math.pi * frequency * t))
            samples.append(level * envelope * wave_)
        samples.extend([0.0] * int(RATE * gap))
    return samples


def write(path, samples):
    # A 5 ms fade at the end so no sound stops with a click.
    fade = int(RATE * 0.005)
    for i in range(min(fade, len(samples))):
        samples[-1 - i] *= i / fade
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(
            struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32767)) for s in samples))


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "sounds")
    os.makedirs(folder, exist_ok=True)
    write(os.path.join(folder, "place.wav"), knock())
    write(os.path.join(folder, "pass.wav"), tones([660, 440], 0.16, gap=0.02))
    write(os.path.join(folder, "end.wav"), tones([523.25, 659.25, 783.99], 0.22, level=0.3))


if __name__ == "__main__":
    main()
