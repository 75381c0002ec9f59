#!/usr/bin/python3
"""Turn PDFs into image-only PDFs as a scanner makes them.

    make_scans.py OUT_DIR PDF... [--dpi 200] [--password PW] [--jpeg-quality 60]
    make_scans.py --table FILE.pdf   (writes the small text table the fixtures scan)
    make_scans.py --photo FILE.pdf   (writes a page that is one picture without writing)

Each page is rasterised in grey (pdftoppm), turned by a small angle, given
light noise (PIL, fixed seed) and wrapped into a PDF with img2pdf, at the
page size of the original. The files keep their names.
"""
import argparse
import io
import os
import random
import subprocess
import sys
import tempfile

import img2pdf
from PIL import Image, ImageDraw


def scan_page(png_path, dpi, angle, noise, seed, quality):
    page = Image.open(png_path).convert("L")
    page = page.rotate(angle, resample=Image.BICUBIC, expand=False, fillcolor=255)
    rng = random.Random(seed)
    pixels = page.load()
    width, height = page.size
    # Light grain: a few pixels in a hundred nudged a little lighter or darker.
    for _ in range(width * height * noise // 100):
        x, y = rng.randrange(width), rng.randrange(height)
        pixels[x, y] = max(0, min(255, pixels[x, y] + rng.choice((-1, 1)) * rng.randrange(10, 50)))
    out = io.BytesIO()
    page.save(out, format="JPEG", quality=quality, dpi=(dpi, dpi))
    return out.getvalue()


def scan(pdf, out_dir, dpi, password, angle, noise, quality):
    with tempfile.TemporaryDirectory() as tmp:
        cmd = ["pdftoppm", "-r", str(dpi), "-gray", "-png"]
        if password:
            cmd += ["-upw", password]
        subprocess.run(cmd + [pdf, os.path.join(tmp, "p")], check=True)
        pages = sorted(f for f in os.listdir(tmp) if f.endswith(".png"))
        images = [scan_page(os.path.join(tmp, f), dpi, angle, noise, i, quality) for i, f in enumerate(pages)]
    target = os.path.join(out_dir, os.path.basename(pdf))
    with open(target, "wb") as f:
        f.write(img2pdf.convert(images, layout_fun=img2pdf.default_layout_fun))
    return target


# The fixtures' table: a header and four rows of a name and two numbers.
TABLE = [("Item", "Qty", "Price"), ("Bolts", "120", "4.50"), ("Washers", "75", "0.85"),
         ("Hinges", "16", "12.40"), ("Brackets", "42", "7.25")]


def write_table(path):
    """A one-page PDF (288 x 180 pt) drawing TABLE in Helvetica, one string a cell."""
    lines = ["BT /F1 12 Tf"]
    for row, cells in enumerate(TABLE):
        for x, text in zip((24, 130, 200), cells):
            lines.append(f"1 0 0 1 {x} {150 - row * 26} Tm ({text}) Tj")
    lines.append("ET")
    content = "\n".join(lines).encode()
    objects = [b"<< /Type /Catalog /Pages 2 0 R >>",
               b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
               b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 288 180] /Contents 4 0 R"
               b" /Resources << /Font << /F1 5 0 R >> >> >>",
               b"<< /Length %d >>\nstream\n" % len(content) + content + b"\nendstream",
               b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"]
    out = bytearray(b"%PDF-1.4\n")
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    out += b"".join(b"%010d 00000 n \n" % o for o in offsets)
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    with open(path, "wb") as f:
        f.write(out)


def write_photo(path):
    """A page that is one photograph-like picture without any writing: smooth
    shades and a few discs, as a picture page of a report would be."""
    image = Image.new("RGB", (320, 240))
    pixels = image.load()
    for y in range(240):
        for x in range(320):
            pixels[x, y] = (90 + x // 4, 140 + y // 4, 200 - (x + y) // 8)
    draw = ImageDraw.Draw(image)
    for i, (cx, cy, r) in enumerate(((80, 170, 40), (200, 120, 55), (270, 190, 25))):
        draw.ellipse((cx - r, cy - r, cx + r, cy + r), fill=(40 + 60 * i, 110, 60))
    buffer = io.BytesIO()
    image.save(buffer, "JPEG", quality=70)
    with open(path, "wb") as f:
        f.write(img2pdf.convert(buffer.getvalue(), layout_fun=img2pdf.get_fixed_dpi_layout_fun((60, 60))))


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--table":
        write_table(sys.argv[2])
        return 0
    if len(sys.argv) == 3 and sys.argv[1] == "--photo":
        write_photo(sys.argv[2])
        return 0
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("out_dir")
    ap.add_argument("pdfs", nargs="+")
    ap.add_argument("--dpi", type=int, default=200)
    ap.add_argument("--password")
    ap.add_argument("--angle", type=float, default=0.5)
    ap.add_argument("--noise", type=int, default=1, help="per cent of pixels given grain")
    ap.add_argument("--jpeg-quality", type=int, default=60)
    args = ap.parse_args()
    os.makedirs(args.out_dir, exist_ok=True)
    failed = 0
    for pdf in args.pdfs:
        try:
            print(scan(pdf, args.out_dir, args.dpi, args.password, args.angle, args.noise, args.jpeg_quality))
        except (subprocess.CalledProcessError, OSError) as error:
            print(f"{pdf}: {error}", file=sys.stderr)
            failed += 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
