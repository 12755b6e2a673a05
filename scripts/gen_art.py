#!/usr/bin/python3
"""Draws the wizard's bitmaps and icon into res/art/.

Run with Debian's python3 (python3-pil) and fonts-nanum installed:
    /usr/bin/python3 scripts/gen_art.py [--preview DIR]
--preview also writes PNGs of the backgrounds with the controls' pixel
rectangles drawn over them (dialog units mapped with Gulim 9pt base units).
Backgrounds are blitted at the client origin, so bitmap pixels are client
pixels; the main dialog's border hides its last two columns and rows.
"""
import argparse
import math
import os
import struct

from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "res", "art")
FONTS = "/usr/share/fonts/truetype/nanum"
HAND_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"  # has the ☛ sign
SS = 4  # supersampling factor for shapes

WHITE = (255, 255, 255)
INK = (30, 40, 66)  # dark title lettering
RED = (214, 30, 38)
NAVY = (28, 62, 122)
TAB_TOP, TAB_BOTTOM, TAB_EDGE = (249, 251, 254), (224, 233, 245), (170, 189, 216)
BACK_TOP, BACK_BOTTOM = (52, 112, 190), (24, 70, 140)
TITLE = "노르베인 플러그인 설치 마법사"


def font(size, name="NanumGothicBold"):
    return ImageFont.truetype(os.path.join(FONTS, name + ".ttf"), size)


def vgrad(size, top, bottom):
    """An RGB image shading from top to bottom."""
    w, h = size
    img = Image.new("RGB", (1, h))
    for y in range(h):
        t = y / max(h - 1, 1)
        img.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return img.resize((w, h))


def mask(size, paint):
    """An anti-aliased mask: paint(draw, s) draws in pixel units times s."""
    w, h = size
    big = Image.new("L", (w * SS, h * SS), 0)
    paint(ImageDraw.Draw(big), SS)
    return big.resize((w, h), Image.LANCZOS)


def rrect(size, box, radius):
    """Mask of a rounded rectangle covering pixels x0..x1-1, y0..y1-1."""
    x0, y0, x1, y1 = box
    return mask(size, lambda d, s: d.rounded_rectangle(
        [x0 * s, y0 * s, x1 * s - 1, y1 * s - 1], radius * s, fill=255))


def fill(img, box, radius, paint, edge=None):
    """Fills a rounded box with a colour or gradient, with an optional 1-px edge."""
    x0, y0, x1, y1 = box
    if edge:
        img.paste(edge, (0, 0), rrect(img.size, box, radius))
        x0, y0, x1, y1 = x0 + 1, y0 + 1, x1 - 1, y1 - 1
        radius = max(radius - 1, 0)
    if isinstance(paint, tuple) and len(paint) == 2:
        layer = Image.new("RGB", img.size)
        layer.paste(vgrad((x1 - x0, y1 - y0), *paint), (x0, y0))
        paint = layer
    img.paste(paint, (0, 0), rrect(img.size, (x0, y0, x1, y1), radius))


def text(img, xy, s, size, colour, name="NanumGothicBold", anchor="lm"):
    """Anti-aliased lettering on the image's own pixels; returns the advance."""
    f = font(size, name)
    ImageDraw.Draw(img).text(xy, s, font=f, fill=colour, anchor=anchor)
    return f.getlength(s)


def spaced(img, xy, s, size, colour, name, track=0.0, space=None, anchor="lm"):
    """Lettering drawn glyph by glyph: extra tracking, no kerning, set space width."""
    f = font(size, name)
    x, y = xy
    d = ImageDraw.Draw(img)
    for ch in s:
        if ch == " " and space is not None:
            x += space
            continue
        d.text((round(x), y), ch, font=f, fill=colour, anchor=anchor)
        x += f.getlength(ch) + track
    return x


def logo(img, x, cy, scale):
    """Word mark NORVANE with its red accent block, 노르베인(주) beneath."""
    big, small = round(18 * scale), round(11 * scale)
    bh = round(19 * scale)
    top = cy - round(14 * scale)
    fill(img, (x, top, x + round(7 * scale), top + bh), 1, RED)
    end = spaced(img, (x + round(11 * scale), top + bh // 2 + 1), "NORVANE", big, NAVY,
                 "NanumSquareB", 0.6 * scale)
    text(img, (x + round(11 * scale), top + bh + round(7 * scale)), "노르베인(주)", small,
         (96, 108, 130), "NanumGothic")
    return round(end)


def tab(img, box, scale):
    """The pale title tab: logo at the left, divider, then the title."""
    x0, y0, x1, y1 = box
    fill(img, box, round(10 * scale), (TAB_TOP, TAB_BOTTOM), TAB_EDGE)
    cy = (y0 + y1) // 2
    right = logo(img, x0 + round(12 * scale), cy, scale)
    dx = right + round(14 * scale)
    ImageDraw.Draw(img).line([(dx, y0 + 10), (dx, y1 - 11)], fill=TAB_EDGE)
    text(img, ((dx + x1) // 2, cy), TITLE, round(18 * scale), INK, anchor="mm")


def backdrop(size):
    return vgrad(size, BACK_TOP, BACK_BOTTOM)


def draw_wizard():
    """Bitmap 138; coordinates are client pixels (the bitmap sits at 0,0)."""
    img = backdrop((490, 510))
    fill(img, (8, 8, 480, 502), 14, WHITE)
    tab(img, (16, 17, 472, 70), 1.0)
    # log panel around the list box (40..450 x 90..381)
    fill(img, (24, 80, 464, 395), 4, WHITE, (160, 180, 208))
    ImageDraw.Draw(img).line([(26, 393), (461, 393)], fill=(232, 238, 246))
    # progress band; the bar sits at 88..447 x 423..440
    fill(img, (16, 409, 472, 455), 8, ((132, 180, 234), (92, 146, 214)))
    text(img, (24, 432), "진행사항", 12, WHITE)
    # bottom strip for the hint and the buttons
    ImageDraw.Draw(img).line([(24, 463), (463, 463)], fill=(220, 228, 238))
    return img


def draw_setup():
    """Bitmap 141: tab over the backdrop, a white panel with a waiting sign."""
    img = backdrop((346, 165))
    tab(img, (6, 6, 340, 50), 0.8)
    fill(img, (10, 56, 336, 159), 6, WHITE, NAVY)
    # centred in the place the page takes once loaded (29..319 x 63..123)
    waiting(img, (111, 93), 15)
    text(img, (135, 93), "잠시만 기다려주세요.", 13, INK)
    return img


def waiting(img, centre, r):
    """Grey circle of two arrows chasing each other."""
    cx, cy = centre

    def paint(d, s):
        box = [(cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s]
        for start in (200, 20):
            d.arc(box, start, start + 130, fill=255, width=round(3.2 * s))
            a = math.radians(start + 130)
            tx, ty = cx + r * math.cos(a), cy + r * math.sin(a)
            # arrow head pointing along the direction of travel
            ux, uy = -math.sin(a), math.cos(a)
            px, py = math.cos(a), math.sin(a)
            pts = [(tx + ux * 6, ty + uy * 6), (tx + px * 5.5, ty + py * 5.5),
                   (tx - px * 5.5, ty - py * 5.5)]
            d.polygon([(x * s, y * s) for x, y in pts], fill=255)

    img.paste((128, 134, 142), (0, 0), mask(img.size, paint))


def draw_notice():
    """Bitmap 135: 24-px shaded title band over a grey-framed white panel."""
    img = Image.new("RGB", (493, 156), WHITE)
    img.paste(vgrad((493, 24), (86, 146, 226), (24, 72, 150)), (0, 0))
    x = 10 + text(img, (10, 12), "노르베인", 12, (255, 222, 60))
    text(img, (x + 4, 12), "플러그인 설치 마법사", 12, WHITE)
    ImageDraw.Draw(img).rectangle([0, 24, 492, 155], outline=(160, 160, 160))
    return img


def draw_button(caption):
    """64 x 24 glossy black button with rounded ends on white."""
    img = Image.new("RGB", (64, 24), WHITE)
    fill(img, (0, 0, 64, 24), 12, ((92, 92, 96), (0, 0, 0)), (20, 20, 20))
    gloss = Image.new("RGB", (64, 24))
    gloss.paste(vgrad((60, 10), (150, 150, 156), (58, 58, 62)), (2, 1))
    img.paste(gloss, (0, 0), rrect(img.size, (2, 1, 62, 11), 9))
    text(img, (32, 12), caption, 12, WHITE, anchor="mm")
    return img


def draw_hint():
    """Bitmap 147: red hint with 다음 in black and a pointing hand."""
    img = Image.new("RGB", (309, 13), WHITE)
    parts = [("※설치 마법사 2단계 중 1단계 완료, ", RED), ("다음", (0, 0, 0)),
             ("을 눌러 진행하시기 바랍니다.", RED)]
    x = 0
    for s, colour in parts:
        x = spaced(img, (x, 10), s, 11, colour, "NanumBarunGothic", -0.3, 2.4, "ls")
    hand = ImageFont.truetype(HAND_FONT, 13)
    right = img.width - hand.getbbox("☛", anchor="ls")[2]
    ImageDraw.Draw(img).text((max(round(x), right), 10), "☛", font=hand, fill=RED, anchor="ls")
    return img


def polygon(img, pts, colour, k=1.0):
    """Anti-aliased polygon; points are scaled by k."""
    img.paste(colour, (0, 0), mask(img.size, lambda d, s: d.polygon(
        [(a * k * s, b * k * s) for a, b in pts], fill=255)))


PAGE = [(4, 1), (22, 1), (29, 8), (29, 31), (4, 31)]


def emblem(n):
    """The emblem at n x n on white, and its coverage mask."""
    k = n / 32
    img = Image.new("RGB", (n, n), WHITE)
    polygon(img, PAGE, (120, 126, 138), k)
    polygon(img, [(5, 2), (21.5, 2), (28, 8.5), (28, 30), (5, 30)], WHITE, k)
    polygon(img, [(22, 1), (22, 8), (29, 8)], (200, 206, 216), k)
    # monogram: N in black, V in white on a red block
    polygon(img, [(6, 8), (9, 8), (14, 16), (14, 8), (16, 8), (16, 21), (13, 21), (8, 13),
                  (8, 21), (6, 21)], (0, 0, 0), k)
    polygon(img, [(17, 7), (27, 7), (27, 22), (17, 22)], RED, k)
    polygon(img, [(18, 9), (20.5, 9), (22, 17), (23.5, 9), (26, 9), (23.2, 20), (20.8, 20)],
            WHITE, k)
    teeth = gear_points((23.5, 25.5), 6, 8)
    polygon(img, teeth, (110, 114, 122), k)
    polygon(img, gear_points((23.5, 25.5), 1.9, 0), WHITE, k)
    cover = mask((n, n), lambda d, s: [d.polygon([(a * k * s, b * k * s) for a, b in pts],
                                                 fill=255) for pts in (PAGE, teeth)])
    return img, cover


def gear_points(centre, r, teeth):
    """Outline of a gear with the given number of teeth; 0 gives a circle."""
    cx, cy = centre
    steps = max(teeth * 4, 24)
    pts = []
    for i in range(steps):
        a = math.pi * 2 * i / steps
        rr = r * 0.72 if teeth and (i // 2) % 2 else r
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    return pts


def quantise(img, colours):
    return img.convert("RGB").quantize(colours, method=Image.Quantize.MAXCOVERAGE,
                                       kmeans=3, dither=Image.Dither.NONE)


def snap_white(q):
    """Makes the palette entry nearest to white exactly white."""
    pal = q.getpalette()
    best = min(range(0, len(pal), 3), key=lambda i: sum(255 - v for v in pal[i:i + 3]))
    if sum(255 - v for v in pal[best:best + 3]) <= 9:
        pal[best:best + 3] = [255, 255, 255]
        q.putpalette(pal)


def rgbquads(q, entries):
    """The palette of q as a colour table of exactly `entries` RGBQUADs."""
    pal = (q.getpalette() or [])[:entries * 3]
    pal += [0] * (entries * 3 - len(pal))
    return b"".join(bytes((pal[i + 2], pal[i + 1], pal[i], 0)) for i in range(0, len(pal), 3))


def bmp_bytes(img, entries=256):
    """8-bpp bottom-up BI_RGB DIB file with a colour table of `entries`."""
    q = quantise(img, entries)
    snap_white(q)
    table = rgbquads(q, entries)
    w, h = q.size
    pad = b"\0" * ((4 - w % 4) % 4)
    raw = q.tobytes()
    bits = b"".join(raw[y * w:(y + 1) * w] + pad for y in reversed(range(h)))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(bits), 0, 0, entries, 0)
    offset = 14 + len(info) + len(table)
    head = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return head + info + table + bits


def icon_image(rgb, alpha):
    """One 4-bpp icon image: header, 16 colours, XOR bits, AND mask."""
    n = rgb.size[0]
    solid = [a >= 128 for a in alpha.getdata()]
    base = Image.new("RGB", (n, n))
    base.paste(rgb, (0, 0), alpha.point(lambda a: 255 if a >= 128 else 0))
    q = quantise(base, 16)
    table = rgbquads(q, 16)
    idx = list(q.getdata())
    xstride, astride = (n * 4 + 31) // 32 * 4, (n + 31) // 32 * 4
    xor = bytearray()
    mask_bits = bytearray()
    for y in reversed(range(n)):
        row = idx[y * n:(y + 1) * n]
        line = bytes((row[i] << 4) | row[i + 1] for i in range(0, n, 2))
        xor += line + b"\0" * (xstride - len(line))
        bits = 0
        for x in range(n):
            bits = (bits << 1) | (0 if solid[y * n + x] else 1)
        mline = bits.to_bytes(n // 8, "big")
        mask_bits += mline + b"\0" * (astride - len(mline))
    info = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 4, 0, len(xor) + len(mask_bits), 0, 0,
                       0, 0)
    return info + table + bytes(xor) + bytes(mask_bits)


def ico_bytes(images):
    """Icon file holding the given (size, image bytes) pairs."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in images:
        out += struct.pack("<BBBBHHII", n, n, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def dlu(x, y, w, h, cx=7, cy=12):
    """Dialog units to client pixels, place and size mapped apart as the dialog
    manager does; base units of Gulim 9pt at 96 dpi are 7 x 12."""
    md = lambda v, b, d: (v * b + d // 2) // d
    left, top = md(x, cx, 4), md(y, cy, 8)
    return left, top, left + md(w, cx, 4), top + md(h, cy, 8)


def at(x, y):
    """Top-left pixel of a control placed in dialog units."""
    return dlu(x, y, 0, 0)[:2]


# bitmap name -> controls over it: a pixel rectangle, or (x, y, image name)
CONTROLS = {
    "bg_wizard": [dlu(50, 282, 205, 11), dlu(23, 60, 234, 194), at(189, 315) + ("btn_next",),
                  at(229, 315) + ("btn_close",), (20, 478, "hint")],
    "bg_notice": [dlu(7, 20, 275, 51), at(120, 79) + ("btn_ok",)],
    "bg_setup": [(29, 63, 319, 123), at(144, 86) + ("btn_ok",)],
}


def preview(name, bitmaps, folder, zoom=2):
    """PNG of a background with its image statics pasted, other controls outlined."""
    shot = bitmaps[name].copy()
    d = ImageDraw.Draw(shot)
    for c in CONTROLS.get(name, []):
        if isinstance(c[2], str):
            shot.paste(bitmaps[c[2]], c[:2])
        else:
            d.rectangle([c[0], c[1], c[2] - 1, c[3] - 1], outline=(0, 200, 0))
    shot = shot.resize((shot.width * zoom, shot.height * zoom), Image.NEAREST)
    shot.save(os.path.join(folder, name + ".png"))


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--preview", metavar="DIR", help="also write preview PNGs here")
    args = ap.parse_args()
    bitmaps = {
        "bg_paytest": Image.new("RGB", (494, 310), WHITE),
        "bg_notice": draw_notice(),
        "btn_ok": draw_button("확인"),
        "bg_wizard": draw_wizard(),
        "btn_close": draw_button("종료"),
        "btn_next": draw_button("다음"),
        "bg_setup": draw_setup(),
        "emblem": emblem(32)[0],
        "hint": draw_hint(),
    }
    os.makedirs(OUT, exist_ok=True)
    for name, img in bitmaps.items():
        with open(os.path.join(OUT, name + ".bmp"), "wb") as f:
            f.write(bmp_bytes(img, 255 if name == "bg_wizard" else 256))
    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        stored = {n: Image.open(os.path.join(OUT, n + ".bmp")).convert("RGB") for n in bitmaps}
        for name in CONTROLS:
            preview(name, stored, args.preview)
    with open(os.path.join(OUT, "QelPluginWizard.ico"), "wb") as f:
        f.write(ico_bytes([(n, icon_image(*emblem(n))) for n in (32, 16)]))


if __name__ == "__main__":
    main()
