#!/usr/bin/env python3
"""Writes the small PDF files the document tests read, filling in the byte
offsets of their cross-reference sections. Run it from anywhere; it writes
next to itself. With qpdf installed it also records the decoded content
streams as qpdf prints them (*.qpdf.txt), which the tests compare against."""
import os
import shutil
import subprocess
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


class Pdf:
    def __init__(self, version="1.4"):
        self.data = bytearray(b"%PDF-" + version.encode() + b"\n%\xe2\xe3\xcf\xd3\n")
        self.offsets = {}

    def obj(self, num, body, gen=0):
        self.offsets[num] = (len(self.data), gen)
        self.data += b"%d %d obj\n%s\nendobj\n" % (num, gen, body.encode() if isinstance(body, str) else body)

    def stream(self, num, entries, data, flate=False):
        if flate:
            data = zlib.compress(data)
            entries += " /Filter /FlateDecode"
        self.obj(num, b"<< %s /Length %d >>\nstream\n%s\nendstream" % (entries.encode(), len(data), data))

    def xref_table(self, trailer, nums=None, free=()):
        """A classic section listing nums (all objects so far by default) and
        free entries; one subsection per run of consecutive numbers."""
        start = len(self.data)
        nums = sorted(set(nums if nums is not None else self.offsets) | set(free))
        lines = [b"xref\n"]
        if not nums or nums[0] != 0:
            lines.append(b"0 1\n0000000000 65535 f\r\n")
        runs, run = [], []
        for n in nums:
            if run and n != run[-1] + 1:
                runs.append(run)
                run = []
            run.append(n)
        if run:
            runs.append(run)
        for run in runs:
            lines.append(b"%d %d\n" % (run[0], len(run)))
            for n in run:
                if n in free:
                    lines.append(b"0000000000 00001 f\r\n")
                else:
                    offset, gen = self.offsets[n]
                    lines.append(b"%010d %05d n\r\n" % (offset, gen))
        self.data += b"".join(lines) + b"trailer\n" + trailer.encode() + b"\n"
        self.end(start)
        return start

    def xref_stream(self, num, entries, rows, widths=(1, 2, 1), index=None, predictor=False):
        """An xref stream object; rows are (type, field2, field3)."""
        start = len(self.data)
        raw = b""
        for row in rows:
            raw += b"".join(v.to_bytes(w, "big") for v, w in zip(row, widths) if w)
        dictionary = "/Type /XRef /W [%d %d %d] %s" % (*widths, entries)
        if index:
            dictionary += " /Index [%s]" % " ".join(map(str, index))
        if predictor:
            columns = sum(widths)
            rows_out, previous = b"", bytes(columns)
            for i in range(0, len(raw), columns):
                row = raw[i:i + columns]
                rows_out += b"\x02" + bytes((a - b) & 0xFF for a, b in zip(row, previous))
                previous = row
            raw = rows_out
            dictionary += " /DecodeParms << /Predictor 12 /Columns %d >>" % columns
        self.stream(num, dictionary, raw, flate=True)
        self.end(start)
        return start

    def end(self, start):
        self.data += b"startxref\n%d\n%%%%EOF\n" % start

    def save(self, name):
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(self.data)


def content(text):
    return ("BT /F1 12 Tf 72 700 Td (%s) Tj ET" % text).encode()


XMP = b"""<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>
<x:xmpmeta xmlns:x='adobe:ns:meta/'><dc:title>Fixture tree</dc:title></x:xmpmeta>
<?xpacket end='r'?>"""


def tree(name="tree.pdf", metadata=False):
    """Three pages under a two-level tree with inherited attributes, an
    outline, named destinations (old and new style), a form field and /Info;
    with metadata also an XMP /Metadata stream."""
    p = Pdf("1.4")
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R /Outlines 10 0 R /Names 12 0 R /Dests 14 0 R"
             " /PageMode /UseOutlines /PageLayout /Unknown /AcroForm 20 0 R%s >>"
             % (" /Metadata 41 0 R" if metadata else ""))
    p.obj(2, "<< /Type /Pages /Kids [3 0 R 5 0 R] /Count 3 /MediaBox [0 0 612 792] /Rotate 90"
             " /Resources << /Font << /F1 30 0 R >> >> >>")
    p.obj(3, "<< /Type /Page /Parent 2 0 R /Contents 6 0 R /CropBox [10 20 600.5 780] /Annots [21 0 R] >>")
    p.obj(5, "<< /Type /Pages /Parent 2 0 R /Kids [4 0 R 7 0 R] /Count 2 /MediaBox [0 0 300 400] >>")
    p.obj(4, "<< /Type /Page /Parent 5 0 R /Contents 8 0 R /Resources << >> /Rotate 180 >>")
    p.obj(7, "<< /Type /Page /Parent 5 0 R /Contents 9 0 R >>")
    p.stream(6, "", content("Page one"))
    p.stream(8, "", content("Page two"), flate=True)
    p.stream(9, "", content("Page three"))
    p.obj(10, "<< /Type /Outlines /First 11 0 R /Last 15 0 R /Count 2 >>")
    p.obj(11, "<< /Title (Intro) /Parent 10 0 R /Next 15 0 R /Dest (intro) >>")
    p.obj(15, "<< /Title 16 0 R /Parent 10 0 R /Prev 11 0 R /Count -1 /A << /S /GoTo /D /chapter >> >>")
    p.obj(16, "(Chapter)")
    p.obj(12, "<< /Dests 13 0 R >>")
    p.obj(13, "<< /Kids [17 0 R] >>")
    p.obj(17, "<< /Limits [(intro) (intro)] /Names [(intro) [3 0 R /XYZ 0 792 0]] >>")
    p.obj(14, "<< /chapter << /D [4 0 R /Fit] >> >>")
    p.obj(20, "<< /Fields [21 0 R 22 0 R] /DA (/Helv 0 Tf 0 g) /DR << /Font << /Helv 31 0 R >> >> >>")
    p.obj(21, "<< /FT /Tx /T (name) /V (Joe) /Ff 4096 /MaxLen 20 /Subtype /Widget /P 3 0 R"
              " /Rect [100 100 200 120] /DA (/Helv 12 Tf 1 0 0 rg) >>")
    p.obj(22, "<< /FT /Btn /T (agree) /Kids [23 0 R] >>")
    p.obj(23, "<< /Parent 22 0 R /Subtype /Widget /F 4 /AP << /N << /Yes 24 0 R /Off 24 0 R >> >> >>")
    p.stream(24, "", b"")
    p.obj(30, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>")
    p.obj(31, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-BoldOblique >>")
    p.obj(40, "<< /Title (Fixture tree) /Author (Vellumsheet tests) >>")
    if metadata:
        p.stream(41, "/Type /Metadata /Subtype /XML", XMP)
    p.xref_table("<< /Size %d /Root 1 0 R /Info 40 0 R >>" % (42 if metadata else 41))
    p.save(name)


def update():
    """One page whose content and a font are replaced by an incremental
    update; the update also frees object 6, which keeps its old entry."""
    p = Pdf("1.3")
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R >>")
    p.obj(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>")
    p.obj(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents 4 0 R"
             " /Resources << /Font << /F1 5 0 R >> >> /Extra 6 0 R >>")
    p.stream(4, "", content("old"))
    p.obj(5, "<< /Type /Font /Subtype /Type1 /BaseFont /Courier >>")
    p.obj(6, "(kept)")
    first = p.xref_table("<< /Size 7 /Root 1 0 R >>")
    p.stream(4, "", content("new"))
    p.xref_table("<< /Size 7 /Root 1 0 R /Prev %d >>" % first, nums=[4], free=[6])
    p.save("update.pdf")


def objstm():
    """Catalog, pages, font and /Info inside a Flate object stream; a Flate
    cross-reference stream with PNG Up rows."""
    p = Pdf("1.5")
    members = [
        (1, "<< /Type /Catalog /Pages 2 0 R >>"),
        (2, "<< /Type /Pages /Kids [3 0 R] /Count 1 /MediaBox [0 0 400 300] >>"),
        (3, "<< /Type /Page /Parent 2 0 R /Contents 4 0 R /Resources << /Font << /F1 5 0 R >> >> >>"),
        (5, "<< /Type /Font /Subtype /Type1 /BaseFont /Times-Roman >>"),
        (7, "<< /Title (In an object stream) >>"),
    ]
    header, body = "", ""
    for num, text in members:
        header += "%d %d " % (num, len(body))
        body += text + "\n"
    p.stream(4, "", content("Compressed objects"), flate=True)
    p.stream(6, "/Type /ObjStm /N %d /First %d" % (len(members), len(header)), (header + body).encode(), flate=True)
    rows = [(0, 0, 255)] * 8
    for i, (num, _) in enumerate(members):
        rows[num] = (2, 6, i)
    rows[4] = (1, p.offsets[4][0], 0)
    rows[6] = (1, p.offsets[6][0], 0)
    p.offsets[8] = (len(p.data), 0)
    rows.append((1, p.offsets[8][0], 0))
    p.xref_stream(8, "/Size 9 /Root 1 0 R /Info 7 0 R /ID [<00112233445566778899aabbccddeeff> <00112233445566778899aabbccddeeff>]",
                  rows, predictor=True)
    p.save("objstm.pdf")


def hybrid():
    """A classic table for the plain objects and, through /XRefStm (without
    /Prev), a cross-reference stream for the objects in an object stream."""
    p = Pdf("1.5")
    members = [(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 /MediaBox [0 0 100 100] >>"),
               (3, "<< /Type /Page /Parent 2 0 R >>")]
    header, body = "", ""
    for num, text in members:
        header += "%d %d " % (num, len(body))
        body += text + "\n"
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R >>")
    p.stream(4, "/Type /ObjStm /N 2 /First %d" % len(header), (header + body).encode())
    xref_stm = len(p.data)
    p.offsets[5] = (xref_stm, 0)
    rows = [(2, 4, 0), (2, 4, 1)]
    raw = b"".join(bytes([t]) + f2.to_bytes(2, "big") + bytes([f3]) for t, f2, f3 in rows)
    p.obj(5, b"<< /Type /XRef /Size 6 /W [1 2 1] /Index [2 2] /Length %d >>\nstream\n%s\nendstream" % (len(raw), raw))
    p.xref_table("<< /Size 6 /Root 1 0 R /XRefStm %d >>" % xref_stm, nums=[1, 4, 5])
    p.save("hybrid.pdf")


def loops():
    """Cycles that must be cut: a /Prev chain back to itself, a page tree kid
    that is its own ancestor, and an outline whose /Next returns to itself."""
    p = Pdf("1.4")
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R /Outlines 5 0 R >>")
    p.obj(2, "<< /Type /Pages /Kids [3 0 R 2 0 R] /Count 1 >>")
    p.obj(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 100] >>")
    p.obj(5, "<< /Type /Outlines /First 6 0 R /Count 1 >>")
    p.obj(6, "<< /Title (Again) /Parent 5 0 R /Next 6 0 R >>")
    start = len(p.data)
    p.xref_table("<< /Size 7 /Root 1 0 R /Prev %d >>" % start)
    p.save("loops.pdf")


def base_page(p, box):
    """Catalog, page tree and one page with the given /MediaBox."""
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R >>")
    p.obj(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>")
    p.obj(3, "<< /Type /Page /Parent 2 0 R /MediaBox %s >>" % box)


def objstm_repeats():
    """An object stream whose header names one member 20000 times; the
    member is an array of 20000 numbers. Parsing it once per header pair
    would take minutes."""
    p = Pdf("1.5")
    base_page(p, "[0 0 100 100]")
    p.obj(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 100] /Extra 5 0 R >>")
    pairs = 20000
    header = "5 0 " * pairs
    member = "[" + "7 " * pairs + "]"
    p.stream(4, "/Type /ObjStm /N %d /First %d" % (pairs, len(header)), (header + member).encode(), flate=True)
    rows = [(0, 0, 65535)] + [(1, p.offsets[n][0], 0) for n in (1, 2, 3, 4)] + [(2, 4, 0)]
    p.offsets[6] = (len(p.data), 0)
    rows.append((1, p.offsets[6][0], 0))
    p.xref_stream(6, "/Size 7 /Root 1 0 R", rows, widths=(1, 4, 2))
    p.save("objstm_repeats.pdf")


def update_xrefstm():
    """A classic base whose page is redefined by an update written as a
    cross-reference stream: the update's /MediaBox is the one that counts."""
    p = Pdf("1.5")
    base_page(p, "[0 0 100 100]")
    base = p.xref_table("<< /Size 4 /Root 1 0 R >>")
    p.obj(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 300] >>")
    p.offsets[4] = (len(p.data), 0)
    rows = [(1, p.offsets[3][0], 0), (1, p.offsets[4][0], 0)]
    p.xref_stream(4, "/Size 5 /Root 1 0 R /Prev %d" % base, rows, widths=(1, 4, 2), index=[3, 2])
    p.save("update_xrefstm.pdf")


def hybrid_update():
    """A classic base, then a hybrid update: the redefined page lives in an
    object stream, listed as type 2 in the update's /XRefStm and as free in
    the update's classic table (as some writers do). Neither the free entry
    nor the base's entry may hide the compressed page."""
    p = Pdf("1.5")
    base_page(p, "[0 0 100 100]")
    base = p.xref_table("<< /Size 4 /Root 1 0 R >>")
    member = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>"
    header = "3 0 "
    p.stream(5, "/Type /ObjStm /N 1 /First %d" % len(header), (header + member).encode())
    xref_stm = len(p.data)
    p.offsets[6] = (xref_stm, 0)
    rows = [(2, 5, 0), (1, p.offsets[5][0], 0), (1, xref_stm, 0)]
    raw = b"".join(bytes([t]) + f2.to_bytes(4, "big") + f3.to_bytes(2, "big") for t, f2, f3 in rows)
    p.obj(6, b"<< /Type /XRef /Size 7 /W [1 4 2] /Index [3 1 5 2] /Length %d >>\nstream\n%s\nendstream"
          % (len(raw), raw))
    p.xref_table("<< /Size 7 /Root 1 0 R /Prev %d /XRefStm %d >>" % (base, xref_stm), nums=[5, 6], free=[3])
    p.save("hybrid_update.pdf")


def empty_subsections():
    """Empty subsections before the real ones: a classic header "7 0" and an
    /Index range with count 0. The entries after them still count."""
    p = Pdf("1.4")
    base_page(p, "[0 0 100 100]")
    start = len(p.data)
    table = b"xref\n0 1\n0000000000 65535 f\r\n7 0\n1 3\n"
    table += b"".join(b"%010d 00000 n\r\n" % p.offsets[n][0] for n in (1, 2, 3))
    p.data += table + b"trailer\n<< /Size 4 /Root 1 0 R >>\n"
    p.end(start)
    p.save("empty_subsection.pdf")

    q = Pdf("1.5")
    base_page(q, "[0 0 100 100]")
    q.offsets[4] = (len(q.data), 0)
    rows = [(0, 0, 65535)] + [(1, q.offsets[n][0], 0) for n in (1, 2, 3, 4)]
    q.xref_stream(4, "/Size 10 /Root 1 0 R", rows, widths=(1, 4, 2), index=[0, 1, 9, 0, 1, 4])
    q.save("empty_index_range.pdf")


def long_lengths():
    """Two content streams whose /Length runs far beyond the file, each
    followed by further objects."""
    p = Pdf("1.4")
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R >>")
    p.obj(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>")
    p.obj(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 100] /Contents [4 0 R 5 0 R] >>")
    for num, text in ((4, "first"), (5, "second")):
        p.obj(num, b"<< /Length 2147483647 >>\nstream\n%s\nendstream" % content(text))
    p.obj(6, "<< /Title (after the streams) >>")
    p.xref_table("<< /Size 7 /Root 1 0 R /Info 6 0 R >>")
    p.save("long_lengths.pdf")


def stream_in_id():
    """/ID names a stream many times; a stream has no place there."""
    p = Pdf("1.4")
    base_page(p, "[0 0 100 100]")
    p.stream(4, "", b"x" * 4096)
    p.xref_table("<< /Size 5 /Root 1 0 R /ID [%s] >>" % " ".join(["4 0 R"] * 200))
    p.save("stream_in_id.pdf")


def rc4_encrypted():
    """tree.pdf encrypted with RC4 by qpdf: 40-bit and 128-bit keys, user
    password "user", owner password "owner"."""
    if not shutil.which("qpdf"):
        return
    source = os.path.join(HERE, "tree.pdf")
    for bits, extra in (("40", []), ("128", ["--use-aes=n"])):
        target = os.path.join(HERE, "rc4_%s.pdf" % bits)
        subprocess.run(["qpdf", "--static-id", "--allow-weak-crypto", "--encrypt", "user", "owner", bits] + extra +
                       ["--", source, target], check=True)


# AES fixtures of tree_xmp.pdf: name, qpdf --encrypt arguments, extra options.
ACCENTED_USER, ACCENTED_OWNER = "Grüße", "Propriétaire"
AES_FIXTURES = [
    ("aes_128.pdf", ["user", "owner", "128", "--use-aes=y"], []),
    ("aes_128_clear_meta.pdf", ["user", "owner", "128", "--use-aes=y", "--cleartext-metadata"], []),
    ("aes_128_accent.pdf", [ACCENTED_USER, ACCENTED_OWNER, "128", "--use-aes=y"], []),
    ("aes_256.pdf", ["user", "owner", "256"], ["--object-streams=generate"]),
    ("aes_256_clear_meta.pdf", ["user", "owner", "256", "--cleartext-metadata"], []),
    ("aes_256_accent.pdf", [ACCENTED_USER, ACCENTED_OWNER, "256"], []),
    ("aes_256_r5.pdf", ["user", "owner", "256", "--force-R5"], []),
]


def aes_encrypted():
    """tree_xmp.pdf encrypted with AES by qpdf: AES-128 (revision 4) and
    AES-256 (revisions 6 and 5), metadata encrypted or in the clear, plain
    and accented passwords."""
    if not shutil.which("qpdf"):
        return
    source = os.path.join(HERE, "tree_xmp.pdf")
    for name, encrypt, extra in AES_FIXTURES:
        subprocess.run(["qpdf", "--static-id", "--static-aes-iv", "--allow-weak-crypto"] + extra +
                       ["--encrypt"] + encrypt + ["--", source, os.path.join(HERE, name)], check=True)


def record_qpdf(name, obj):
    if not shutil.which("qpdf"):
        return
    out = subprocess.run(["qpdf", "--show-object=%d" % obj, "--filtered-stream-data", os.path.join(HERE, name)],
                         check=True, capture_output=True).stdout
    with open(os.path.join(HERE, "%s.obj%d.qpdf.txt" % (name[:-4], obj)), "wb") as f:
        f.write(out)


if __name__ == "__main__":
    tree()
    update()
    objstm()
    hybrid()
    loops()
    objstm_repeats()
    update_xrefstm()
    hybrid_update()
    empty_subsections()
    long_lengths()
    stream_in_id()
    rc4_encrypted()
    tree("tree_xmp.pdf", metadata=True)
    aes_encrypted()
    record_qpdf("tree.pdf", 8)
    record_qpdf("objstm.pdf", 4)
    record_qpdf("update.pdf", 4)
