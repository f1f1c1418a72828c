#!/usr/bin/env python3
"""Reads the ZIP archive that SDiskTest.ZipForTheHostReader wrote with
SDisk::CreateZip and checks it against the source files beside it.

zip_check.py FOLDER: FOLDER holds archive.zip, expected.txt (one line per entry:
the entry name and the source path relative to FOLDER, joined by "|", in the
program's ANSI code page) and the sources under src/."""
import os
import sys
import zipfile


def main(folder):
    with open(os.path.join(folder, "expected.txt"), "rb") as listing:
        expected = [line.decode("cp1252").split("|") for line in listing.read().splitlines() if line]
    with zipfile.ZipFile(os.path.join(folder, "archive.zip")) as archive:
        if archive.testzip() is not None:
            return "bad CRC in " + archive.testzip()
        infos = archive.infolist()
        if len(infos) != len(expected):
            return "%d entries, expected %d" % (len(infos), len(expected))
        for info, (name, source) in zip(infos, expected):
            # Names without the UTF-8 flag are read as code page 437: get the bytes back.
            stored = info.orig_filename.encode("cp437").decode("cp1252")
            if stored != name:
                return "entry %r, expected %r" % (stored, name)
            if info.compress_type != zipfile.ZIP_STORED:
                return "entry %r is not stored" % name
            with open(os.path.join(folder, source), "rb") as original:
                if archive.read(info) != original.read():
                    return "entry %r differs from %s" % (name, source)
    return None


if __name__ == "__main__":
    failure = main(sys.argv[1])
    if failure:
        print("zip check failed:", failure)
        sys.exit(1)
    print("zip check passed")
