#!/usr/bin/env python3
"""Writes the WAVE files the sound tests read, with Python's own wave module.

make_waves.py make FOLDER: one file per case, named after it.
make_waves.py remove FOLDER: removes the folder again.
"""
import os
import shutil
import sys
import wave

# name: channels, sample width in bytes, rate, frames
CASES = {
    "mono8": (1, 1, 8000, 100),
    "stereo16": (2, 2, 44100, 1000),
    "mono32": (1, 4, 22050, 50),
    "stereo24": (2, 3, 44100, 10),
}


def sample_bytes(width, frame, channel):
    if width == 1:
        return bytes([(frame + channel * 7) % 256])
    value = (frame * 37 - channel * 1000) % (1 << (8 * width - 1))
    return value.to_bytes(width, "little", signed=False)


def write(folder, name, channels, width, rate, frames):
    with wave.open(os.path.join(folder, name + ".wav"), "wb") as out:
        out.setnchannels(channels)
        out.setsampwidth(width)
        out.setframerate(rate)
        data = b"".join(sample_bytes(width, f, c) for f in range(frames) for c in range(channels))
        out.writeframes(data)


def main():
    command, folder = sys.argv[1], sys.argv[2]
    shutil.rmtree(folder, ignore_errors=True)
    if command == "make":
        os.makedirs(folder)
        for name, params in CASES.items():
            write(folder, name, *params)


if __name__ == "__main__":
    main()
