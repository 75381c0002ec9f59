#!/usr/bin/env python3
"""Writes small PDF files that ask for far more work than their size: each
once made a conversion take gigabytes or minutes, and each must now end in
bounded time and memory (see tests/render/hostile_files.py). The JPEG picture
is made with libjpeg through the tests' own JPEG fixture maker, compiled here
with g++. Run it from anywhere; it writes next to itself."""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
TESTS = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(TESTS, "data", "pdf"))
from make_fixtures import Pdf  # noqa: E402

HELVETICA = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"


def pdf(name, pages, objects=(), catalog_entries=""):
    """pages: (content, resources, page entries) each; the content is Flate
    compressed. objects: (number, entries, stream data or None) from 100 on."""
    p = Pdf("1.4")
    first_page = 3
    kids = " ".join("%d 0 R" % (first_page + 2 * i) for i in range(len(pages)))
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R %s>>" % catalog_entries)
    p.obj(2, "<< /Type /Pages /Kids [%s] /Count %d >>" % (kids, len(pages)))
    for i, (content, resources, entries) in enumerate(pages):
        number = first_page + 2 * i
        p.obj(number, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents %d 0 R"
                      " /Resources << %s >> %s >>" % (number + 1, resources, entries))
        p.stream(number + 1, "", content, flate=True)
    for number, entries, data in objects:
        if data is None:
            p.obj(number, entries)
        else:
            p.stream(number, entries, data)
    p.xref_table("<< /Size %d /Root 1 0 R >>" % (max([n for n, _, _ in objects] + [2 * len(pages) + 2]) + 1))
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(p.data)


def flated(entries, data, twice=False):
    """Flate data; twice for long runs of zeros, which the first pass only
    shrinks to a thousandth."""
    data = zlib.compress(data, 9)
    if twice:
        return entries + " /Filter [/FlateDecode /FlateDecode]", zlib.compress(data, 9)
    return entries + " /Filter /FlateDecode", data


def grey_jpeg(width, height):
    """Dark left half, light right half (see tests/support/jpeg_fixture.h)."""
    program = ('#include <cstddef>\n#include <cstdio>\n#include "support/jpeg_fixture.h"\n'
               "int main() { auto d = vs::testing::MakeJpeg(%d, %d, true);"
               " fwrite(d.data(), 1, d.size(), stdout); }\n" % (width, height))
    with tempfile.TemporaryDirectory() as tmp:
        exe = os.path.join(tmp, "grey_jpeg")
        subprocess.run(["g++", "-std=c++20", "-I", TESTS, "-x", "c++", "-", "-o", exe, "-ljpeg"],
                       input=program.encode(), check=True)
        return subprocess.run([exe], check=True, stdout=subprocess.PIPE).stdout


def tiny_truetype():
    """A TrueType program of one empty glyph: the tables a font needs to open."""
    head = struct.pack(">IIIIHHqqhhhhHHhhh", 0x10000, 0x10000, 0, 0x5F0F3CF5, 0, 1000, 0, 0,
                       0, -200, 500, 800, 0, 8, 2, 0, 0)
    hhea = struct.pack(">Ihhh" + "H" + "hhh" + "hhh" + "hhhh" + "hH", 0x10000, 800, -200, 0, 500, 0, 0, 500,
                       1, 0, 0, 0, 0, 0, 0, 0, 1)
    maxp = struct.pack(">IH" + "H" * 13, 0x10000, 1, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0)
    tables = {b"glyf": b"", b"head": head, b"hhea": hhea, b"hmtx": struct.pack(">Hh", 500, 0),
              b"loca": struct.pack(">HH", 0, 0), b"maxp": maxp}
    offset = 12 + 16 * len(tables)
    directory, data = b"", b""
    for tag in sorted(tables):
        body = tables[tag]
        directory += struct.pack(">4sIII", tag, 0, offset + len(data), len(body))
        data += body + b"\0" * (-len(body) % 4)
    return struct.pack(">IHHHH", 0x10000, len(tables), 64, 2, 32) + directory + data


def colours(count):
    return [b"%.3f %.3f %.3f rg " % (i / count, 1 - i / count, (i * 7 % count) / count) for i in range(count)]


def image_mask_colours():
    """One 9000 x 9000 stencil mask drawn after 16 different fill colours."""
    mask = flated("/Type /XObject /Subtype /Image /Width 9000 /Height 9000 /ImageMask true /BitsPerComponent 1",
                  bytes(9000 // 8 * 9000), twice=True)
    content = b"".join(c + b"q 500 0 0 500 50 150 cm /Im Do Q\n" for c in colours(16))
    pdf("image_mask_colours.pdf", [(content, "/XObject << /Im 100 0 R >>", "")], [(100, *mask)])


def jpeg_larger_than_declared():
    """A JPEG picture of 5792 x 5792 pixels whose dictionary says 1 x 1, drawn 16 times."""
    jpeg = zlib.compress(grey_jpeg(5792, 5792), 9)
    entries = ("/Type /XObject /Subtype /Image /Width 1 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8"
               " /Filter [/FlateDecode /DCTDecode]")
    content = b"q 500 0 0 500 50 150 cm /Im Do Q\n" * 16
    pdf("jpeg_larger_than_declared.pdf", [(content, "/XObject << /Im 100 0 R >>", "")], [(100, entries, jpeg)])


def big_bitmaps():
    """Three 9000 x 9000 RGB pictures, each drawn once."""
    image = flated("/Type /XObject /Subtype /Image /Width 9000 /Height 9000 /ColorSpace /DeviceRGB"
                   " /BitsPerComponent 8", bytes(9000 * 9000 * 3), twice=True)
    content = b"".join(b"q 500 0 0 500 50 150 cm /Im%d Do Q\n" % i for i in range(3))
    pdf("big_bitmaps.pdf", [(content, "/XObject << /Im0 100 0 R /Im1 101 0 R /Im2 102 0 R >>", "")],
        [(100 + i, *image) for i in range(3)])


def tiny_drawn_picture():
    """A 6000 x 6000 RGB picture drawn half a point wide."""
    image = flated("/Type /XObject /Subtype /Image /Width 6000 /Height 6000 /ColorSpace /DeviceRGB"
                   " /BitsPerComponent 8", bytes(6000 * 6000 * 3), twice=True)
    pdf("tiny_drawn_picture.pdf", [(b"q 0.5 0 0 0.5 100 100 cm /Im Do Q\n", "/XObject << /Im 100 0 R >>", "")],
        [(100, *image)])


def widget_kids():
    """/Annots naming one text field 400 times; the field has 4096 /Kids, all one widget."""
    annots = "[%s]" % " ".join(["100 0 R"] * 400)
    kids = "[%s]" % " ".join(["101 0 R"] * 4096)
    objects = [
        (100, "<< /Type /Annot /Subtype /Widget /FT /Tx /T (f) /V (Repeated value) /Kids %s >>" % kids, None),
        (101, "<< /Type /Annot /Subtype /Widget /Parent 100 0 R /Rect [72 700 300 720]"
              " /MK << /BG [0.9] /BC [0] >> /DA (/Helv 12 Tf 0 g) >>", None),
        (102, HELVETICA, None),
    ]
    pdf("widget_kids.pdf", [(b"", "", "/Annots %s" % annots)], objects,
        "/AcroForm << /Fields [100 0 R] /DR << /Font << /Helv 102 0 R >> >> >> ")


def glyph_runs():
    """640,000 strings of one glyph each, every one starting where the last ended."""
    content = b"BT /F1 1 Tf 10 700 Td " + b"(a) Tj " * 640000 + b"ET"
    pdf("glyph_runs.pdf", [(content, "/Font << /F1 100 0 R >>", "")], [(100, HELVETICA, None)])


def long_string():
    """One string of ten million characters, shown once."""
    content = b"BT /F1 1 Tf 10 700 Td (" + b"a" * 10_000_000 + b") Tj ET"
    pdf("long_string.pdf", [(content, "/Font << /F1 100 0 R >>", "")], [(100, HELVETICA, None)])


def far_text():
    """Lines moved beyond any page by a huge leading and a huge rise, between
    lines of their own."""
    huge = b"1" + b"0" * 30
    content = (b"BT /F1 12 Tf 72 700 Td (Line1) Tj %s TL T* (Line2) Tj T* (Line3) Tj ET\n"
               b"BT /F1 12 Tf 72 600 Td (Other) Tj %s Ts (Up) Tj -%s Ts (Down) Tj ET" % (huge, huge, huge))
    pdf("far_text.pdf", [(content, "/Font << /F1 100 0 R >>", "")], [(100, HELVETICA, None)])


def form_big_string():
    """A form holding one string of 1 MB, drawn 2000 times."""
    form = flated("/Type /XObject /Subtype /Form /BBox [0 0 10 10]", b"(" + b"x" * (1 << 20) + b") pop")
    content = b"/Fm Do\n" * 2000
    pdf("form_big_string.pdf", [(content, "/XObject << /Fm 100 0 R >>", "")], [(100, *form)])


def shared_font_program():
    """16 TrueType font dictionaries sharing one FontFile2 of 63 MB (a small
    font that opens, followed by zeros), and 8 more with one such program each."""
    font = tiny_truetype()
    program = flated("/Length1 %d" % (63 << 20), font + bytes((63 << 20) - len(font)), twice=True)
    # Font i uses descriptor 200 (the shared program 300) up to 15, then descriptor 200 + i - 15 (program 300 + i - 15).
    descriptor = [200 if i < 16 else 200 + i - 15 for i in range(24)]
    objects = []
    for d in sorted(set(descriptor)):
        objects += [(d, "<< /Type /FontDescriptor /FontName /Program%d /Flags 32 /FontBBox [0 0 1000 1000]"
                        " /FontFile2 %d 0 R >>" % (d, d + 100), None), (d + 100, *program)]
    objects += [(100 + i, "<< /Type /Font /Subtype /TrueType /BaseFont /Font%d /FontDescriptor %d 0 R >>"
                 % (i, descriptor[i]), None) for i in range(24)]
    fonts = " ".join("/F%d %d 0 R" % (i, 100 + i) for i in range(24))
    content = b"".join(b"BT /F%d 12 Tf 72 %d Td (Font %d) Tj ET\n" % (i, 750 - 20 * i, i) for i in range(24))
    pdf("shared_font_program.pdf", [(content, "/Font << %s >>" % fonts, "")], objects)


def cmap_ranges():
    """A composite font whose CMap lists 100,000 code-space ranges (one range
    over and over, which keeps the file small), showing a string of 8 KB
    that none of them holds 300 times."""
    ranges = b"<00000000> <00000001>\n" * 100000
    cmap = flated("/Type /CMap /CMapName /Many /CIDSystemInfo << /Registry (A) /Ordering (B) /Supplement 0 >>",
                  b"/CIDInit /ProcSet findresource begin 12 dict begin begincmap\n100000 begincodespacerange\n"
                  + ranges + b"endcodespacerange\n1 begincidrange\n<00000000> <00030d40> 1\nendcidrange\n"
                  b"endcmap end end\n")
    objects = [
        (100, "<< /Type /Font /Subtype /Type0 /BaseFont /Many /Encoding 101 0 R /DescendantFonts [102 0 R] >>", None),
        (101, *cmap),
        (102, "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /Many /CIDSystemInfo << /Registry (A)"
              " /Ordering (B) /Supplement 0 >> /DW 500 >>", None),
    ]
    content = b"BT /F1 12 Tf 72 700 Td " + (b"<" + b"ff" * 8192 + b"> Tj\n") * 300 + b"ET"
    pdf("cmap_ranges.pdf", [(content, "/Font << /F1 100 0 R >>", "")], objects)


def picture_amplification():
    """Four pages, each drawing a 4096 x 4096 picture 16 times."""
    image = flated("/Type /XObject /Subtype /Image /Width 4096 /Height 4096 /ColorSpace /DeviceRGB"
                   " /BitsPerComponent 8", bytes(4096 * 4096 * 3), twice=True)
    content = b"q 500 0 0 500 50 150 cm /Im Do Q\n" * 16
    pdf("picture_amplification.pdf", [(content, "/XObject << /Im 100 0 R >>", "")] * 4, [(100, *image)])


def shared_picture():
    """1,000 pages drawing one 600 x 600 picture: a megabyte as a bitmap each
    time, but one picture in an .xlsx."""
    stripes = bytes((x * 5) & 0xFF for x in range(600 * 3))
    image = flated("/Type /XObject /Subtype /Image /Width 600 /Height 600 /ColorSpace /DeviceRGB"
                   " /BitsPerComponent 8", stripes * 600)
    pdf("shared_picture.pdf", [(b"q 300 0 0 300 100 300 cm /Im Do Q\n", "/XObject << /Im 2100 0 R >>", "")] * 1000,
        [(2100, *image)])


def damaged_flate():
    """40 lines of text whose Flate stream has one byte flipped in its middle."""
    lines = b"".join(b"BT /F1 10 Tf 72 %d Td (Line %d of the page) Tj ET\n" % (760 - 18 * i, i + 1)
                     for i in range(40))
    data = bytearray(zlib.compress(lines, 9))
    data[len(data) // 2] ^= 0xFF
    p = Pdf("1.4")
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R >>")
    p.obj(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>")
    p.obj(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R"
             " /Resources << /Font << /F1 5 0 R >> >> >>")
    p.obj(4, b"<< /Length %d /Filter /FlateDecode >>\nstream\n%s\nendstream" % (len(data), bytes(data)))
    p.obj(5, HELVETICA)
    p.xref_table("<< /Size 6 /Root 1 0 R >>")
    with open(os.path.join(HERE, "damaged_flate.pdf"), "wb") as f:
        f.write(p.data)


def zero_scale_text():
    """Text shown at horizontal scale 0, between two lines at 100."""
    content = (b"BT /F1 12 Tf 72 700 Td (Before) Tj 0 -20 Td 0 Tz (Squeezed) Tj [(Away)] TJ"
               b" 100 Tz 0 -20 Td (After) Tj ET")
    pdf("zero_scale_text.pdf", [(content, "/Font << /F1 100 0 R >>", "")], [(100, HELVETICA, None)])


def huge_text_matrix():
    """Text placed by text matrices with huge and tiny values."""
    big = b"1" + b"0" * 30
    content = (b"BT /F1 12 Tf " + big + b" 0 0 1 0 0 Tm (Wide) Tj "
               b"1 0 0 " + big + b" 0 0 Tm (Tall) Tj "
               b"0.000000000000000000000000000001 0 0 " + big + b" " + big + b" 0 Tm (Thin) Tj "
               + big + b" " + big + b" " + big + b" " + big + b" 300 300 Tm (Flat) Tj "
               b"1 0 0 1 72 700 Tm (Plain) Tj ET")
    pdf("huge_text_matrix.pdf", [(content, "/Font << /F1 100 0 R >>", "")], [(100, HELVETICA, None)])


def bare_operators():
    """4.9 million g operators without their operand."""
    pdf("bare_operators.pdf", [(b"g\n" * 4_900_000, "", "")])


def wrong_operands():
    """2.4 million operators whose operands are of the wrong kind or name
    nothing the page has."""
    pdf("wrong_operands.pdf", [(b"/x g\n(a) m\n/y gs\nQ\n" * 600_000, "", "")])


def main():
    image_mask_colours()
    jpeg_larger_than_declared()
    big_bitmaps()
    tiny_drawn_picture()
    widget_kids()
    glyph_runs()
    long_string()
    far_text()
    form_big_string()
    shared_font_program()
    cmap_ranges()
    picture_amplification()
    shared_picture()
    damaged_flate()
    zero_scale_text()
    huge_text_matrix()
    bare_operators()
    wrong_operands()


if __name__ == "__main__":
    main()
