#!/usr/bin/env python3
"""Writes the PDF files the image tests draw (images.pdf), next to itself.
The CMYK JPEG picture is made with libjpeg through the tests' own JPEG
fixture maker, compiled here with g++; the written files are committed, so
the tests need neither. The fax picture comes from make_fax_fixtures.py."""
import os
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
TESTS = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(TESTS, "data", "pdf"))
from make_fixtures import Pdf  # noqa: E402


def cmyk_jpeg(width, height):
    """Left half cyan, right half black (see tests/support/jpeg_fixture.h)."""
    program = ('#include <cstddef>\n#include <cstdio>\n#include "support/jpeg_fixture.h"\n'
               "int main() { auto d = vs::testing::MakeCmykJpeg(%d, %d);"
               " fwrite(d.data(), 1, d.size(), stdout); }\n" % (width, height))
    with tempfile.TemporaryDirectory() as tmp:
        exe = os.path.join(tmp, "cmyk_jpeg")
        subprocess.run(["g++", "-std=c++20", "-I", TESTS, "-x", "c++", "-", "-o", exe, "-ljpeg"],
                       input=program.encode(), check=True)
        return subprocess.run([exe], check=True, stdout=subprocess.PIPE).stdout


def png_rows(raw, row_bytes, distance):
    """Rows filtered alternately with Sub (1) and Up (2)."""
    out, previous = b"", bytes(row_bytes)
    for r in range(0, len(raw), row_bytes):
        row = raw[r:r + row_bytes]
        if (r // row_bytes) % 2 == 0:
            out += b"\x01" + bytes((row[i] - (row[i - distance] if i >= distance else 0)) & 0xFF
                                   for i in range(len(row)))
        else:
            out += b"\x02" + bytes((a - b) & 0xFF for a, b in zip(row, previous))
        previous = row
    return out


RED, GREEN, BLUE, WHITE = b"\xff\x00\x00", b"\x00\xff\x00", b"\x00\x00\xff", b"\xff\xff\xff"
BLACK, YELLOW, CYAN, MAGENTA = b"\x00\x00\x00", b"\xff\xff\x00", b"\x00\xff\xff", b"\xff\x00\xff"

# Image XObjects: object number -> (dictionary entries, data).
def images():
    fax = open(os.path.join(HERE, "picture.g4"), "rb").read()
    rgb = RED + GREEN + BLUE + WHITE + BLACK + YELLOW + CYAN + MAGENTA
    predicted = RED + GREEN + BLUE + BLUE + GREEN + RED
    jpeg = cmyk_jpeg(16, 8)
    return {
        # An RGB picture placed by the cm of the tests: 4 x 2, its first row red green blue white.
        20: ("/Width 4 /Height 2 /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode",
             zlib.compress(rgb)),
        21: ("/Width 2 /Height 2 /ColorSpace /DeviceGray /BitsPerComponent 8", b"\x00\x55\xaa\xff"),
        # 13 pixels a row: rows start on bytes.
        22: ("/Width 13 /Height 2 /ColorSpace /DeviceGray /BitsPerComponent 1", b"\xff\xf0\x7f\xf8"),
        # Four bits an index; hival 7 with a table of three entries.
        23: ("/Width 4 /Height 1 /ColorSpace [/Indexed /DeviceRGB 7 <FF0000 00FF00 0000FF>] /BitsPerComponent 4",
             b"\x01\x27"),
        24: ("/Width 3 /Height 1 /ColorSpace [/ICCBased 40 0 R] /BitsPerComponent 8", b"\x00\x80\xff"),
        25: ("/Width 2 /Height 1 /ColorSpace /DeviceCMYK /BitsPerComponent 8 /Filter /FlateDecode",
             zlib.compress(b"\xff\x00\x00\x00\x00\x00\x00\xff")),
        26: ("/Width 3 /Height 2 /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode"
             " /DecodeParms << /Predictor 15 /Colors 3 /Columns 3 >>", zlib.compress(png_rows(predicted, 9, 3))),
        27: ("/Width 61 /Height 23 /ColorSpace /DeviceGray /BitsPerComponent 1 /Filter /CCITTFaxDecode"
             " /DecodeParms << /K -1 /Columns 61 /Rows 23 >>", fax),
        28: ("/Width 16 /Height 8 /ColorSpace /DeviceCMYK /BitsPerComponent 8 /Filter /DCTDecode"
             " /Decode [1 0 1 0 1 0 1 0]", jpeg),
        29: ("/Width 100000 /Height 100000 /ColorSpace /DeviceGray /BitsPerComponent 8", b"\x00"),
        30: ("/Width 3 /Height 1 /ImageMask true", b"\x40"),
    }


XOBJECTS = "<< " + " ".join("/Im%d %d 0 R" % (n - 20, n) for n in range(20, 31)) + " >>"

# Page 1: every kind of image once, in a grid; the RGB picture by the cm of the tests.
PAGE1 = b"""q 200 0 0 100 50 600 cm /Im0 Do Q
q 40 0 0 40 300 600 cm /Im1 Do Q
q 130 0 0 20 360 620 cm /Im2 Do Q
q 80 0 0 20 50 500 cm /Im3 Do Q
q 60 0 0 20 150 500 cm /Im4 Do Q
q 40 0 0 20 230 500 cm /Im5 Do Q
q 60 0 0 40 300 500 cm /Im6 Do Q
q 122 0 0 46 50 400 cm /Im7 Do Q
q 64 0 0 32 200 400 cm /Im8 Do Q
"""
# Page 2: the RGB picture turned by 90 and by 30 degrees, and the 1-bit picture of page 1 again.
PAGE2 = b"""q 0 100 -100 0 300 300 cm /Im0 Do Q
q 86.6025 50 -50 86.6025 400 500 cm /Im0 Do Q
q 130 0 0 20 50 100 cm /Im2 Do Q
"""
# Page 3: an absurd size is passed over and the page goes on; a half transparent
# grey picture; a stencil mask in the fill colour.
PAGE3 = b"""q 100 0 0 100 10 10 cm /Im9 Do Q
q 40 0 0 40 100 600 cm /Im1 Do Q
q /Half gs 40 0 0 40 200 600 cm /Im1 Do Q
q 1 0 0 rg 30 0 0 10 300 600 cm /Im10 Do Q
"""


def main():
    p = Pdf("1.4")
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R >>")
    p.obj(2, "<< /Type /Pages /Kids [3 0 R 4 0 R 5 0 R] /Count 3 /MediaBox [0 0 612 792]"
             " /Resources << /XObject %s /ExtGState << /Half << /ca 0.5 >> >> >> >>" % XOBJECTS)
    for page, content in ((3, 10), (4, 11), (5, 12)):
        p.obj(page, "<< /Type /Page /Parent 2 0 R /Contents %d 0 R >>" % content)
    for content, text in ((10, PAGE1), (11, PAGE2), (12, PAGE3)):
        p.stream(content, "", text)
    for number, (entries, data) in images().items():
        p.stream(number, "/Type /XObject /Subtype /Image " + entries, data)
    p.stream(40, "/N 1", b"a profile the images do not read")
    p.xref_table("<< /Size 41 /Root 1 0 R >>")
    with open(os.path.join(HERE, "images.pdf"), "wb") as f:
        f.write(p.data)


if __name__ == "__main__":
    main()
