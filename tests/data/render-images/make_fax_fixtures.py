#!/usr/bin/env python3
"""Writes fax-coded pictures for the image tests: a small black-and-white
picture (picture.pbm) and its strip encoded by libtiff's tiffcp as Group 4
(picture.g4), one-dimensional Group 3 (picture.g3) and mixed Group 3
(picture.g3-2d). Needs ppm2tiff and tiffcp (Debian package libtiff-tools);
the written files are committed, so the tests need neither."""
import os
import struct
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 61, 23  # a width that is no multiple of 8


def black(x, y):
    """Runs of every length: a frame, a diagonal, a disc, stripes, a solid row."""
    if y == 0 or x == 0 or x == WIDTH - 1:
        return True
    if y == 12:
        return True
    if x == 2 * y:
        return True
    if (x - 44) ** 2 + (y - 6) ** 2 <= 16:
        return True
    if 15 <= y <= 20 and (x // (y - 13)) % 2 == 0:
        return True
    return False


def pbm():
    rows = []
    for y in range(HEIGHT):
        row = bytearray((WIDTH + 7) // 8)
        for x in range(WIDTH):
            if black(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
    return b"P4\n%d %d\n" % (WIDTH, HEIGHT) + b"".join(rows)


def strip_of(tiff_path):
    """The bytes of a one-strip TIFF's strip (little- or big-endian file)."""
    data = open(tiff_path, "rb").read()
    e = "<" if data[:2] == b"II" else ">"
    (ifd,) = struct.unpack(e + "I", data[4:8])
    (count,) = struct.unpack(e + "H", data[ifd:ifd + 2])
    tags = {}
    for i in range(count):
        tag, kind, n, value = struct.unpack(e + "HHII", data[ifd + 2 + 12 * i:ifd + 14 + 12 * i])
        if kind == 3 and n == 1:
            value = value & 0xFFFF if e == "<" else value >> 16
        tags[tag] = (n, value)
    assert tags[273][0] == 1, "expected one strip"
    assert tags.get(266, (1, 1))[1] == 1, "expected most significant bit first"
    offset, size = tags[273][1], tags[279][1]
    return data[offset:offset + size]


def main():
    picture = pbm()
    with open(os.path.join(HERE, "picture.pbm"), "wb") as f:
        f.write(picture)
    with tempfile.TemporaryDirectory() as tmp:
        source = os.path.join(tmp, "in.tif")
        subprocess.run(["ppm2tiff", os.path.join(HERE, "picture.pbm"), source], check=True)
        for name, compression in (("picture.g4", "g4"), ("picture.g3", "g3:1d"), ("picture.g3-2d", "g3:2d")):
            out = os.path.join(tmp, name + ".tif")
            subprocess.run(["tiffcp", "-c", compression, "-r", str(HEIGHT), source, out], check=True)
            with open(os.path.join(HERE, name), "wb") as f:
                f.write(strip_of(out))


if __name__ == "__main__":
    main()
