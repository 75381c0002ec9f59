"""Tiny font programs for the text-decoding fixtures: a Type 1 font and a
bare CFF font with encodings of their own, and a TrueType font with a
symbol cmap and glyph names. Each glyph is an empty outline 500 units wide;
only the names and encodings matter."""
import struct


def _eexec(data, key, skip=4):
    r, out = key, bytearray()
    for p in bytes(skip) + data:
        c = p ^ (r >> 8)
        out.append(c)
        r = ((c + r) * 52845 + 22719) & 0xFFFF
    return bytes(out)


def type1(name, encoding):
    """A PFA program; encoding maps codes to glyph names."""
    charstring = _eexec(bytes([139, 247, 136, 13, 14]), 4330)  # 0 500 hsbw endchar
    glyphs = [".notdef"] + sorted(set(encoding.values()))
    clear = ["%!PS-AdobeFont-1.0: " + name + " 001.000", "11 dict begin",
             "/FontInfo 1 dict dup begin /FullName (" + name + ") readonly def end readonly def",
             "/FontName /" + name + " def", "/PaintType 0 def", "/FontType 1 def",
             "/FontMatrix [0.001 0 0 0.001 0 0] readonly def", "/FontBBox {0 0 500 700} readonly def",
             "/Encoding 256 array", "0 1 255 {1 index exch /.notdef put} for"]
    clear += ["dup %d /%s put" % (code, glyph) for code, glyph in sorted(encoding.items())]
    clear += ["readonly def", "currentdict end", "currentfile eexec", ""]
    private = (b"dup /Private 8 dict dup begin\n/RD{string currentfile exch readstring pop}executeonly def\n"
               b"/ND{noaccess def}executeonly def\n/NP{noaccess put}executeonly def\n/lenIV 4 def\n"
               b"/password 5839 def\n/BlueValues [] def\n/MinFeature {16 16} def\n"
               b"/Subrs 0 array\nND\n2 index /CharStrings %d dict dup begin\n" % len(glyphs))
    for glyph in glyphs:
        private += b"/%s %d RD %s ND\n" % (glyph.encode(), len(charstring), charstring)
    private += b"end\nend\nreadonly put\nnoaccess put\ndup /FontName get exch definefont pop\n" \
               b"mark currentfile closefile\n"
    hexed = _eexec(private, 55665).hex()
    lines = [hexed[i:i + 64] for i in range(0, len(hexed), 64)]
    trailer = ["0" * 64] * 8 + ["cleartomark", ""]
    return ("\n".join(clear) + "\n".join(lines) + "\n" + "\n".join(trailer)).encode()


def _index(items):
    if not items:
        return b"\x00\x00"
    offsets, at = [], 1
    for item in items:
        offsets.append(at)
        at += len(item)
    offsets.append(at)
    return struct.pack(">HB", len(items), 4) + b"".join(struct.pack(">I", o) for o in offsets) + b"".join(items)


def _int(v):
    return bytes([29]) + struct.pack(">i", v)  # five-byte integers keep the offsets fixed


STANDARD_STRINGS = {".notdef": 0, "space": 1}  # only what the fixtures use below 391


def cff(name, encoding):
    """A bare CFF program (as FontFile3 /Type1C); encoding maps codes to names."""
    glyphs = sorted(set(encoding.values()))
    strings = [g for g in glyphs if g not in STANDARD_STRINGS]
    sid = {g: STANDARD_STRINGS.get(g, 391 + strings.index(g) if g in strings else 0) for g in glyphs}
    charstring = bytes([139 + 0, 247, 136, 14])  # 0 500 (width, with nominal 0) endchar; Type 2
    charstrings = _index([bytes([14])] + [charstring] * len(glyphs))
    charset = b"\x00" + b"".join(struct.pack(">H", sid[g]) for g in glyphs)
    pairs = sorted(encoding.items())
    enc = bytes([0, len(pairs)])
    order = {g: i + 1 for i, g in enumerate(glyphs)}
    codes = [0] * len(glyphs)
    for code, glyph in pairs:
        codes[order[glyph] - 1] = code
    enc = bytes([0, len(glyphs)]) + bytes(codes)
    private = _int(0) + bytes([20]) + _int(0) + bytes([21])  # defaultWidthX 0, nominalWidthX 0
    header = b"\x01\x00\x04\x04"
    names = _index([name.encode()])
    string_index = _index([s.encode() for s in strings])
    gsubrs = _index([])

    def top(charset_at, encoding_at, charstrings_at, private_at):
        return (_int(charset_at) + bytes([15]) + _int(encoding_at) + bytes([16]) + _int(charstrings_at) +
                bytes([17]) + _int(len(private)) + _int(private_at) + bytes([18]))

    top_len = len(_index([top(0, 0, 0, 0)]))
    start = len(header) + len(names) + top_len + len(string_index) + len(gsubrs)
    charset_at = start
    encoding_at = charset_at + len(charset)
    charstrings_at = encoding_at + len(enc)
    private_at = charstrings_at + len(charstrings)
    top_index = _index([top(charset_at, encoding_at, charstrings_at, private_at)])
    return header + names + top_index + string_index + gsubrs + charset + enc + charstrings + private


def _table_checksum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(">%dI" % (len(data) // 4), data)) & 0xFFFFFFFF


def truetype(codes):
    """A TrueType program with a (3,0) symbol cmap mapping 0xF000 + code to
    each glyph, and a version 2 post table naming them; codes maps codes to names."""
    glyphs = [".notdef"] + [codes[c] for c in sorted(codes)]
    n = len(glyphs)
    head = struct.pack(">IIIIHHqqhhhhHHhhh", 0x10000, 0x10000, 0, 0x5F0F3CF5, 0, 1000, 0, 0, 0, 0, 500, 700,
                       0, 8, 2, 0, 0)
    hhea = struct.pack(">IhhhHhhhhhhhhhhhH", 0x10000, 800, -200, 0, 500, 0, 0, 500, 1, 0, 0, 0, 0, 0, 0, 0, n)
    maxp = struct.pack(">IHHHHHHHHHHHHHH", 0x10000, n, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0)
    hmtx = struct.pack(">" + "Hh" * n, *([500, 0] * n))
    loca = struct.pack(">" + "H" * (n + 1), *([0] * (n + 1)))
    glyf = b"\0\0\0\0"
    # cmap format 4 (3,0): one segment per code, then the closing 0xFFFF.
    segs = [(0xF000 + c, i + 1) for i, c in enumerate(sorted(codes))] + [(0xFFFF, None)]
    count = len(segs)
    ends = [s for s, _ in segs]
    starts = [s for s, _ in segs]
    deltas = [((g - s) & 0xFFFF) if g is not None else 1 for s, g in segs]
    search = 2 ** (count.bit_length() - 1) * 2
    sub = struct.pack(">HHHHHH", 4, 0, 0, count * 2, search, (search // 2).bit_length() - 1)
    sub += struct.pack(">H", count * 2 - search)
    sub += struct.pack(">%dH" % count, *ends) + b"\0\0" + struct.pack(">%dH" % count, *starts)
    sub += struct.pack(">%dH" % count, *deltas) + struct.pack(">%dH" % count, *([0] * count))
    sub = sub[:2] + struct.pack(">H", len(sub)) + sub[4:]
    cmap = struct.pack(">HHHHI", 0, 1, 3, 0, 12) + sub
    names = glyphs[1:]
    post = struct.pack(">IIhhIIIII", 0x20000, 0, 0, 0, 0, 0, 0, 0, 0) + struct.pack(">H", n)
    post += struct.pack(">H", 0) + struct.pack(">%dH" % len(names), *range(258, 258 + len(names)))
    post += b"".join(bytes([len(g)]) + g.encode() for g in names)
    tables = {b"cmap": cmap, b"glyf": glyf, b"head": head, b"hhea": hhea, b"hmtx": hmtx, b"loca": loca,
              b"maxp": maxp, b"post": post}
    tags = sorted(tables)
    out = struct.pack(">IHHHH", 0x10000, len(tags), 128, 3, len(tags) * 16 - 128)
    at = 12 + 16 * len(tags)
    body = b""
    for tag in tags:
        data = tables[tag]
        out += struct.pack(">4sIII", tag, _table_checksum(data), at + len(body), len(data))
        body += data + b"\0" * (-len(data) % 4)
    return out + body
