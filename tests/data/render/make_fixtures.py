#!/usr/bin/env python3
"""Writes the small PDF files the render command's checks read: forms with
their own resources, a form that draws itself and a cycle of forms, stray
Q operators before text, an inline image whose bytes hold "EI", a page box
that does not start at (0, 0), a turned page, a filled and stroked path
under a clip, a form with a check box and a radio button, a glyph
struck twice, and fonts whose embedded programs name what their codes draw. Run it from anywhere; it writes next to itself."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "pdf"))
from make_fixtures import Pdf  # noqa: E402
from font_programs import cff, truetype, type1  # noqa: E402

HELVETICA = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"
COURIER = "<< /Type /Font /Subtype /Type1 /BaseFont /Courier >>"


def one_page(name, content, page_entries="", more=None, box="[0 0 612 792]", catalog_entries=""):
    """Catalog 1, pages 2, page 3, content 4, fonts 5 (Helvetica) and 6
    (Courier), then the objects of `more` from 7 on."""
    p = Pdf("1.4")
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R %s>>" % (catalog_entries + " " if catalog_entries else ""))
    p.obj(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>")
    p.obj(3, "<< /Type /Page /Parent 2 0 R /MediaBox %s /Contents 4 0 R %s >>" % (box, page_entries))
    p.stream(4, "", content)
    p.obj(5, HELVETICA)
    p.obj(6, COURIER)
    for number, (kind, entries, data) in enumerate(more or [], start=7):
        if kind == "stream":
            p.stream(number, entries, data)
        else:
            p.obj(number, entries)
    p.xref_table("<< /Size %d /Root 1 0 R >>" % (7 + len(more or [])))
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(p.data)


def form(content, entries=""):
    return ("stream", "/Type /XObject /Subtype /Form /BBox [0 0 612 792] " + entries, content)


def main():
    # The whole page is one form with its own /F1 (Courier); the page's /F1 is Helvetica.
    one_page("form_wraps_page.pdf", b"BT /F1 12 Tf 72 740 Td (Page font) Tj ET /Fm0 Do",
             "/Resources << /Font << /F1 5 0 R >> /XObject << /Fm0 7 0 R >> >>",
             [form(b"BT /F1 12 Tf 72 700 Td (Form font) Tj ET 0 0 1 rg 72 650 200 20 re f",
                   "/Resources << /Font << /F1 6 0 R >> >>")])
    # A form that draws itself, and two forms that draw each other.
    one_page("self_drawing_forms.pdf", b"/Self Do /A Do 1 0 0 rg 72 72 100 100 re f",
             "/Resources << /XObject << /Self 7 0 R /A 8 0 R >> >>",
             [form(b"/Self Do 0 0 10 10 re f", "/Resources << /XObject << /Self 7 0 R >> >>"),
              form(b"/B Do", "/Resources << /XObject << /B 9 0 R >> >>"),
              form(b"/A Do", "/Resources << /XObject << /A 8 0 R >> >>")])
    one_page("stray_restore.pdf", b"Q Q BT /F1 12 Tf 72 700 Td (After two Q) Tj ET 0 0 1 rg 72 600 100 20 re f",
             "/Resources << /Font << /F1 5 0 R >> >>")
    one_page("inline_image_ei.pdf",
             b"q 20 0 0 20 72 700 cm BI /W 4 /H 2 /BPC 8 /CS /G ID \x00EI\x00 EI\x01 EI Q "
             b"0 0 1 rg 72 600 100 20 re f",
             "/Resources << >>")
    one_page("shifted_box.pdf", b"1 0 0 rg 100 100 50 50 re f BT /F1 12 Tf 110 860 Td (Top left) Tj ET",
             "/Resources << /Font << /F1 5 0 R >> >>", box="[100 100 712 892]")
    one_page("rotated_90.pdf", b"0 0 1 rg 72 72 200 30 re f BT /F1 12 Tf 72 700 Td (Turned page) Tj ET",
             "/Rotate 90 /Resources << /Font << /F1 5 0 R >> >>")
    one_page("path_clip.pdf",
             b"q 50 50 300 300 re W n 1 0 0 rg 0 0 1 RG 4 w 100 100 m 400 100 l 400 400 l h B Q "
             b"0 g [6 3] 0 d 1 w 50 500 m 500 500 l S",
             "/Resources << >>")
    # A checked check box and a chosen radio button, their marks in the dingbat font.
    mark = "/Subtype /Form /BBox [0 0 20 20]"
    # A glyph struck twice in one TJ array, the second time a hair to the right.
    one_page("struck_twice.pdf", b"BT /F1 10 Tf 72 700 Td [(T) 580 (Total)] TJ ET",
             "/Resources << /Font << /F1 5 0 R >> >>")
    one_page("check_box_marks.pdf", b"",
             "/Annots [7 0 R 8 0 R]",
             [("obj", "<< /Type /Annot /Subtype /Widget /FT /Btn /T (agree) /V /Yes /AS /Yes "
                      "/Rect [72 700 92 720] /AP << /N << /Yes 9 0 R /Off 10 0 R >> >> >>", None),
              ("obj", "<< /Type /Annot /Subtype /Widget /FT /Btn /Ff 49152 /T (choice) /V /B /AS /B "
                      "/Rect [72 660 92 680] /AP << /N << /B 11 0 R /Off 10 0 R >> >> >>", None),
              ("stream", mark, b"q BT /ZaDb 14 Tf 3 4 Td (4) Tj ET Q"),
              ("stream", mark, b""),
              ("stream", mark, b"BT /ZaDb 14 Tf 3 4 Td (l) Tj ET"),
              ("obj", "<< /Type /Font /Subtype /Type1 /BaseFont /ZapfDingbats >>", None)],
             catalog_entries="/AcroForm << /Fields [7 0 R 8 0 R] /DR << /Font << /ZaDb 12 0 R >> >> >>")

    # Codes named only by the embedded programs: a Type 1 font's own encoding
    # draws "T" for "t" and small capitals for "ABLE" (read as "tABLE" by the
    # standard encoding) and "fi" for code 1; a CFF font's own encoding under
    # a /Differences without a base encoding; a symbolic TrueType font's
    # symbol cmap and glyph names; a TrueType font whose named encoding
    # decides but leaves code 1 to the program; the same font without an
    # encoding, marked not symbolic: it has no Unicode cmap, so its own decides.
    t1 = type1("VSOwnCodes", {0x74: "T", 0x41: "A.sc", 0x42: "B.sc", 0x4C: "L.sc", 0x45: "E.sc", 1: "fi"})
    clear = t1.index(b"eexec") + 6
    tt = truetype({0x74: "T", 1: "fi"})
    one_page("own_encodings.pdf",
             b"BT /F1 10 Tf 72 700 Td (tABLE) Tj 0 -20 Td (Paci\001c) Tj /F2 10 Tf 0 -20 Td (\001na) Tj "
             b"/F3 10 Tf 0 -20 Td (t\001) Tj /F4 10 Tf 0 -20 Td (t\001) Tj "
             b"/F5 10 Tf 0 -20 Td (t\001) Tj ET",
             "/Resources << /Font << /F1 7 0 R /F2 10 0 R /F3 13 0 R /F4 16 0 R /F5 18 0 R >> >>",
             [("obj", "<< /Type /Font /Subtype /Type1 /BaseFont /VSOwnCodes /FontDescriptor 8 0 R >>", None),
              ("obj", "<< /Type /FontDescriptor /FontName /VSOwnCodes /Flags 4 /FontFile 9 0 R >>", None),
              ("stream", "/Length1 %d /Length2 %d /Length3 0" % (clear, len(t1) - clear), t1),
              ("obj", "<< /Type /Font /Subtype /Type1 /BaseFont /ABCDEF+VSOwnCodesC "
                      "/Encoding << /Differences [110 /N] >> /FontDescriptor 11 0 R >>", None),
              ("obj", "<< /Type /FontDescriptor /FontName /ABCDEF+VSOwnCodesC /Flags 4 /FontFile3 12 0 R >>", None),
              ("stream", "/Subtype /Type1C", cff("VSOwnCodesC", {1: "fi", 0x61: "Asmall", 0x6E: "n"})),
              ("obj", "<< /Type /Font /Subtype /TrueType /BaseFont /VSOwnCodesT /FontDescriptor 14 0 R >>", None),
              ("obj", "<< /Type /FontDescriptor /FontName /VSOwnCodesT /Flags 4 /FontFile2 15 0 R >>", None),
              ("stream", "/Length1 %d" % len(tt), tt),
              ("obj", "<< /Type /Font /Subtype /TrueType /BaseFont /VSOwnCodesT /Encoding /WinAnsiEncoding "
                      "/FontDescriptor 17 0 R >>", None),
              ("obj", "<< /Type /FontDescriptor /FontName /VSOwnCodesT /Flags 32 /FontFile2 15 0 R >>", None),
              ("obj", "<< /Type /Font /Subtype /TrueType /BaseFont /VSOwnCodesT /FontDescriptor 17 0 R >>", None)])


if __name__ == "__main__":
    main()
