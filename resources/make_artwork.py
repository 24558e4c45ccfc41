#!/usr/bin/python3
"""Draws the editor's eleven pictures into resources/img/, once per scale set: 1x in img/, 2x and 3x
in img/2x/ and img/3x/. The editor draws a scale between sets from the next larger set.

Run it after changing the look; the PNGs are committed, so building never needs it. Needs Debian's
python3-pil and fonts-liberation. Shapes are drawn four times oversized and box-filtered down, text is
drawn at its final size so the hinting keeps it crisp. Coordinates below are in 1x pixels; R scales
them, so every set is drawn at its own resolution rather than enlarged.

The geometry below mirrors the editor layout: control centres, button and tab positions and the strips
that must stay clear for the value texts and LFO markers.
"""

import math
import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "img")
SS = 4  # oversampling of shapes
R = 1  # the scale set being drawn (main() sets it)
SCALES = (1, 2, 3)

FONT_DIR = "/usr/share/fonts/truetype/liberation"
SANS = os.path.join(FONT_DIR, "LiberationSans-Regular.ttf")
SANS_BOLD = os.path.join(FONT_DIR, "LiberationSans-Bold.ttf")

# Palette: deep blue-grey night, one calm teal accent, gold for the golden-ratio shapes.
BG_TOP = (22, 27, 38)
BG_BOTTOM = (13, 16, 23)
PANEL = (24, 29, 41)
PANEL_EDGE = (41, 49, 66)
PANEL_LIGHT = (33, 40, 55)
RECESS = (12, 15, 21)
RECESS_EDGE = (46, 55, 74)
CAPTION = (132, 148, 174)
CAPTION_DIM = (96, 109, 132)
TEXT_LIGHT = (214, 222, 236)
TEAL = (98, 212, 196)
TEAL_DEEP = (38, 92, 90)
GOLD = (226, 186, 98)
LAVENDER = (168, 156, 240)
TICK = (58, 68, 90)

W, H = 550, 363

# Upper row: knob centres, y of the centres, and the picture sizes.
UPPER_Y = 129
UPPER_KNOBS = {"BASE FREQ": 48, "BINAURAL": 122, "FADE": 352, "PAN": 426, "MIX": 501}
WAVE_X = 197
LFO_Y = 277
LFO_PANELS = [  # panel box, knob centres, sync tab, target drop-down, marker strip
    dict(box=(10, 188, 234, 354), title="LFO 1", start=45, wave=97, depth=149, rate=201,
         tab=(183, 194, 231, 215), drop=(84, 214), strip=(22, 322, 223, 324)),
    dict(box=(316, 188, 540, 354), title="LFO 2", start=349, wave=401, depth=453, rate=505,
         tab=(487, 194, 535, 215), drop=(388, 214), strip=(326, 322, 527, 324)),
]
BEATS_BTN = (235, 103, 314, 126)
PLAY_BTN = (241, 144, 309, 167)
HOLD_BTN = (235, 323, 315, 346)
TITLE_PLATE = (178, 15, 370, 62)

TARGETS = ["No Assign", "Base Freq", "Binaural", "Pan", "Mix"]
GOLDEN = 0.618


def font(path, size):
    return ImageFont.truetype(path, size * R)


def layer(w, h):
    return Image.new("RGBA", (w * SS * R, h * SS * R), (0, 0, 0, 0))


def shrink(img, w, h):
    """Box-filters an oversized layer down to w x h (1x pixels), averaging in premultiplied form so edges
    do not darken."""
    return img.convert("RGBa").resize((w * R, h * R), Image.BOX).convert("RGBA")


def s(v):
    return v * SS * R


def sw(v):
    """A stroke width at the oversampled scale."""
    return max(1, int(round(v * SS * R)))


def pixel_rect(draw, box, fill):
    """Fills the 1x pixels x0..x1, y0..y1 (inclusive) at the set's scale."""
    x0, y0, x1, y1 = box
    draw.rectangle((x0 * R, y0 * R, (x1 + 1) * R - 1, (y1 + 1) * R - 1), fill=fill)


def sbox(box):
    return tuple(s(v) for v in box)


def over(base, top, at=(0, 0)):
    if top.size != base.size or at != (0, 0):
        full = Image.new("RGBA", base.size, (0, 0, 0, 0))
        full.paste(top, (at[0] * R, at[1] * R))
        top = full
    return Image.alpha_composite(base, top)


def rgba(c, a=255):
    return (c[0], c[1], c[2], a)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def spaced_text(draw, xy, text, fnt, fill, spacing=1.0, anchor="m"):
    """Draws text with extra tracking; anchor 'm' centres on x, 'l' starts at x, 'r' ends at x.
    y is the top of the text line; xy and spacing in 1x pixels, the font at the set's scale."""
    x, y = xy[0] * R, xy[1] * R
    spacing *= R
    widths = [draw.textlength(ch, font=fnt) for ch in text]
    total = sum(widths) + spacing * (len(text) - 1)
    if anchor == "m":
        x -= total / 2
    elif anchor == "r":
        x -= total
    for ch, wdt in zip(text, widths):
        draw.text((round(x), y), ch, font=fnt, fill=fill)
        x += wdt + spacing
    return total


def caption(img, cx, y, text, colour=CAPTION, size=10, spacing=1.2, anchor="m", path=SANS_BOLD):
    lay = Image.new("RGBA", img.size, (0, 0, 0, 0))
    spaced_text(ImageDraw.Draw(lay), (cx, y), text, font(path, size), rgba(colour), spacing, anchor)
    return over(img, lay)


# ---------------------------------------------------------------------------------------------------
# Shapes shared by the background and the lit pictures, so that lit captions sit exactly on unlit ones.

def pill(w, h, fill, edge, radius=None, inner_light=None):
    """A rounded button body of w x h pixels."""
    r = radius if radius is not None else h / 2
    lay = layer(w, h)
    d = ImageDraw.Draw(lay)
    d.rounded_rectangle((0, 0, s(w) - 1, s(h) - 1), radius=s(r), fill=rgba(edge))
    d.rounded_rectangle((s(1), s(1), s(w) - 1 - s(1), s(h) - 1 - s(1)), radius=s(r - 1), fill=rgba(fill))
    if inner_light:
        # a thin light along the top inside edge
        d.line([(s(r), s(1.5)), (s(w - r), s(1.5))], fill=rgba(inner_light, 90), width=sw(1))
    return shrink(lay, w, h)


def button_image(w, h, label, lit, colour=TEAL, icon=None):
    if lit:
        body = pill(w, h, mix(PANEL, colour, 0.22), mix(PANEL_EDGE, colour, 0.75), radius=6,
                    inner_light=colour)
        text_colour = mix(colour, (255, 255, 255), 0.25)
    else:
        body = pill(w, h, RECESS, RECESS_EDGE, radius=6)
        text_colour = CAPTION_DIM
    d = ImageDraw.Draw(body)
    fnt = font(SANS_BOLD, 10)
    tw = sum(d.textlength(ch, font=fnt) for ch in label) / R + 1.2 * (len(label) - 1)
    icon_w = 11 if icon else 0
    x = (w - tw - icon_w) / 2 + icon_w
    spaced_text(d, (x, 6), label, fnt, rgba(text_colour), 1.2, anchor="l")
    if icon == "play":
        ic = layer(w, h)
        di = ImageDraw.Draw(ic)
        x0 = x - icon_w
        di.polygon([(s(x0), s(7.5)), (s(x0), s(15.5)), (s(x0 + 6.5), s(11.5))], fill=rgba(text_colour))
        body = over(body, shrink(ic, w, h))
    if icon == "sync":
        # a circular arrow: both LFOs start over
        ic = layer(w, h)
        di = ImageDraw.Draw(ic)
        cx0, cy0, r = x - icon_w + 3.5, 11.5, 3.6
        di.arc((s(cx0 - r), s(cy0 - r), s(cx0 + r), s(cy0 + r)), 300, 240, fill=rgba(text_colour), width=sw(1.3))
        tip = (cx0 + r * math.cos(math.radians(300)), cy0 + r * math.sin(math.radians(300)))
        di.polygon([(s(tip[0] - 2.6), s(tip[1] - 1.2)), (s(tip[0] + 1.4), s(tip[1] - 2.4)),
                    (s(tip[0] + 0.6), s(tip[1] + 1.8))], fill=rgba(text_colour))
        body = over(body, shrink(ic, w, h))
    return body


def tab_image(w, h, lit):
    """The sync tab of an LFO panel: a small raised tab with the caption SYNC."""
    if lit:
        body = pill(w, h, mix(PANEL, TEAL, 0.25), mix(PANEL_EDGE, TEAL, 0.8), radius=5, inner_light=TEAL)
        colour = mix(TEAL, (255, 255, 255), 0.3)
    else:
        body = pill(w, h, RECESS, RECESS_EDGE, radius=5)
        colour = CAPTION_DIM
    d = ImageDraw.Draw(body)
    spaced_text(d, (w / 2 + 3, 5), "SYNC", font(SANS_BOLD, 10), rgba(colour), 1.4)
    # a small lamp, lit with the tab, so the state reads at a glance
    lamp = layer(w, h)
    ImageDraw.Draw(lamp).ellipse(sbox((4.5, 8.5, 8.5, 12.5)), fill=rgba(TEAL) if lit else rgba((40, 48, 64)))
    body = over(body, shrink(lamp, w, h))
    return body


# ---------------------------------------------------------------------------------------------------
# Knobs: rotationally even bodies (the picture turns), a pointer that makes the angle obvious.

def knob_image(size, body_r, pointer_from, pointer_to, pointer_w):
    c = size / 2
    lay = layer(size, size)
    d = ImageDraw.Draw(lay)

    # Soft, centred shadow: it turns with the knob without showing it.
    shadow = layer(size, size)
    ds = ImageDraw.Draw(shadow)
    ds.ellipse(sbox((c - body_r - 1.5, c - body_r - 0.5, c + body_r + 1.5, c + body_r + 2.5)), fill=(0, 0, 0, 150))
    shadow = shadow.filter(ImageFilter.GaussianBlur(s(1.6)))
    lay = over(lay, shadow)
    d = ImageDraw.Draw(lay)

    # Rim, then the body in concentric steps from a lighter centre to a darker edge.
    d.ellipse(sbox((c - body_r, c - body_r, c + body_r, c + body_r)), fill=rgba((70, 82, 106)))
    steps = 24
    for i in range(steps):
        t = i / (steps - 1)
        r = (body_r - 1.2) * (1 - t) + 0.5 * t
        col = mix((27, 32, 45), (45, 53, 71), t ** 1.6)
        d.ellipse(sbox((c - r, c - r, c + r, c + r)), fill=rgba(col))
    # A fine inner ring that frames the cap.
    cap_r = body_r * 0.46
    d.ellipse(sbox((c - cap_r, c - cap_r, c + cap_r, c + cap_r)), outline=rgba((24, 29, 40)), width=sw(1))

    # Pointer with a faint glow, from the cap's edge to near the rim, pointing up at angle 0.
    glow = layer(size, size)
    dg = ImageDraw.Draw(glow)
    dg.line([(s(c), s(c - pointer_from)), (s(c), s(c - pointer_to))], fill=rgba(TEAL, 120),
            width=sw(pointer_w + 2.5))
    glow = glow.filter(ImageFilter.GaussianBlur(s(1.2)))
    lay = over(lay, glow)
    d = ImageDraw.Draw(lay)
    pw = s(pointer_w)
    d.line([(s(c), s(c - pointer_from)), (s(c), s(c - pointer_to))], fill=rgba(TEAL), width=int(pw))
    for y in (c - pointer_from, c - pointer_to):
        d.ellipse((s(c) - pw / 2, s(y) - pw / 2, s(c) + pw / 2, s(y) + pw / 2), fill=rgba(TEAL))
    return shrink(lay, size, size)


def knob_ticks(img, cx, cy, r_in, r_out, count=11, big=(0, 5, 10)):
    """The scale around a rotating knob, -150 to +150 degrees, on the background."""
    lay = layer(W, H)
    d = ImageDraw.Draw(lay)
    # knob picture centres fall on a pixel corner + 0.5: the picture's box starts at c - size/2
    for i in range(count):
        a = math.radians(-150 + 300 * i / (count - 1))
        major = i in big
        r0 = r_in - (0.8 if major else 0)
        col = (84, 98, 126) if major else TICK
        x0, y0 = cx + r0 * math.sin(a), cy - r0 * math.cos(a)
        x1, y1 = cx + r_out * math.sin(a), cy - r_out * math.cos(a)
        d.line([(s(x0), s(y0)), (s(x1), s(y1))], fill=rgba(col), width=sw(1.3 if major else 1.0))
    return over(img, shrink(lay, W, H))


def knob_well(img, cx, cy, r):
    """A dark recess the knob sits in, lit from above."""
    lay = layer(W, H)
    d = ImageDraw.Draw(lay)
    d.ellipse(sbox((cx - r, cy - r, cx + r, cy + r)), fill=rgba((11, 14, 20), 200))
    d.arc(sbox((cx - r, cy - r, cx + r, cy + r)), 20, 160, fill=rgba((52, 62, 82), 200), width=sw(1))
    return over(img, shrink(lay, W, H))


# ---------------------------------------------------------------------------------------------------
# Waveform screens.

def wave_value(k, phi):
    g = GOLDEN
    split = 2 * math.pi * g
    if k == 0:
        return math.sin(phi)
    if k == 1:
        return phi * 2 / math.pi - 1 if phi < math.pi else 3 - phi * 2 / math.pi
    if k == 2:
        return 1 - phi / math.pi
    if k == 3:
        return 1.0 if phi < math.pi else -1.0
    if k == 4:
        a1, a2, c2 = 0.5 / g, 0.5 / (1 - g), (1 - 2 * g) * math.pi / (1 - g)
        return math.cos(phi * a1) if phi < split else math.cos(phi * a2 + c2)
    if k == 5:
        a1, a2, c2 = 0.25 / g, 0.25 / (1 - g), 0.5 * (1 - 2 * g) * math.pi / (1 - g)
        return 2 * math.sin(phi * a1) - 1 if phi < split else 2 * math.sin(phi * a2 + c2) - 1
    if k == 6:
        a1, a2, c2 = 2 / split, (1 + g) / (1 - g), 1 / ((1 - g) * math.pi)
        return phi * a1 - 1 if phi < split else a2 - phi * c2
    return 1.0 if phi < split else -1.0


def lfo_wave_value(k, phi):
    if k == 0:
        return math.sin(phi)
    if k == 1:
        return phi * 2 / math.pi - 1 if phi < math.pi else 3 - phi * 2 / math.pi
    if k == 2:
        return phi * 4 / math.pi - 1 if phi < math.pi / 2 else 5 / 3 - phi * 4 / (3 * math.pi)
    if k == 3:
        return phi * 4 / (3 * math.pi) - 1 if phi < 1.5 * math.pi else 7 - phi * 4 / math.pi
    if k == 4:
        # the smoothed square: a one-pole filter settles quickly after each edge
        t = phi / (2 * math.pi)
        target = 1.0 if t < 0.5 else -1.0
        since = t if t < 0.5 else t - 0.5
        return target - 2 * target * math.exp(-since * 40)
    if k == 5:
        return 2 * math.sin(phi / 2) - 1
    return 2 * math.sin(phi / 2 + math.pi) + 1


def trace_points(fn, k, x0, x1, ymid, amp, n=400, periods=1.0):
    pts = []
    for i in range(n + 1):
        t = i / n
        phi = (t * periods % 1.0) * 2 * math.pi
        if t == 1.0 and periods == 1.0:
            phi = 2 * math.pi - 1e-9
        pts.append((x0 + (x1 - x0) * t, ymid - amp * fn(k, phi)))
    return pts


def vertical_edges(pts):
    """Turns jumps between neighbouring samples into vertical strokes so squares stay square."""
    out = [pts[0]]
    for p in pts[1:]:
        q = out[-1]
        if abs(p[1] - q[1]) > 2 * abs(p[0] - q[0]) + 1:
            out.append((p[0], q[1]))
        out.append(p)
    return out


def screen(w, h, inset, radius):
    lay = layer(w, h)
    d = ImageDraw.Draw(lay)
    x0, y0, x1, y1 = inset, inset, w - inset, h - inset
    d.rounded_rectangle(sbox((x0, y0, x1, y1)), radius=s(radius), fill=rgba(RECESS_EDGE))
    d.rounded_rectangle(sbox((x0 + 1, y0 + 1, x1 - 1, y1 - 1)), radius=s(radius - 1), fill=rgba((10, 13, 19)))
    return lay, (x0 + 1, y0 + 1, x1 - 1, y1 - 1)


def wave_frame(fn, k, size, golden, inset, amp_frac, stroke):
    lay, (x0, y0, x1, y1) = screen(size, size, inset, 5 if size > 50 else 4)
    d = ImageDraw.Draw(lay)
    ymid = (y0 + y1) / 2
    pad = 4 if size > 50 else 3
    xa, xb = x0 + pad, x1 - pad
    amp = (y1 - y0) * amp_frac / 2
    # centre line
    d.line([(s(xa), s(ymid)), (s(xb), s(ymid))], fill=rgba((36, 44, 60)), width=sw(1))
    colour = GOLD if golden else TEAL
    if golden:
        xs = xa + (xb - xa) * GOLDEN
        yy = y0 + 2
        while yy < y1 - 2:  # dashed split marker at 0.618 of the period
            d.line([(s(xs), s(yy)), (s(xs), s(min(yy + 2, y1 - 2)))], fill=rgba(GOLD, 150), width=sw(1))
            yy += 4
    pts = vertical_edges(trace_points(fn, k, xa, xb, ymid, amp))
    glow = layer(size, size)
    ImageDraw.Draw(glow).line([(s(x), s(y)) for x, y in pts], fill=rgba(colour, 110), width=sw(stroke + 2),
                             joint="curve")
    glow = glow.filter(ImageFilter.GaussianBlur(s(1.0)))
    lay = over(lay, glow)
    ImageDraw.Draw(lay).line([(s(x), s(y)) for x, y in pts], fill=rgba(colour), width=sw(stroke), joint="curve")
    if golden:
        # a dot on the golden split point of the trace
        xs = xa + (xb - xa) * GOLDEN
        ys = ymid - amp * fn(k, 2 * math.pi * GOLDEN - 1e-9)
        r = 1.6
        ImageDraw.Draw(lay).ellipse(sbox((xs - r, ys - r, xs + r, ys + r)), fill=rgba((255, 236, 180)))
    return shrink(lay, size, size)


# ---------------------------------------------------------------------------------------------------
# Drop-down pictures.

def dropdown_frame(label, w=86, h=16):
    # The closed drop-down shows 15 of each frame's 16 rows; the last row stays empty.
    body = Image.new("RGBA", (w * R, h * R), (0, 0, 0, 0))
    body.paste(pill(w, h - 1, (17, 21, 30), RECESS_EDGE, radius=4), (0, 0))
    d = ImageDraw.Draw(body)
    d.text((7 * R, 1 * R), label, font=font(SANS, 11), fill=rgba(TEXT_LIGHT))
    arrow = layer(w, h)
    ImageDraw.Draw(arrow).polygon([(s(w - 13), s(6)), (s(w - 6), s(6)), (s(w - 9.5), s(10))],
                                  fill=rgba(TEAL))
    return over(body, shrink(arrow, w, h))


def dropdown_list(w=90, h=91):
    lay = layer(w, h)
    d = ImageDraw.Draw(lay)
    d.rounded_rectangle((0, 0, s(w) - 1, s(h) - 1), radius=s(4), fill=rgba(TEAL_DEEP))
    d.rounded_rectangle((s(1), s(1), s(w) - 1 - s(1), s(h) - 1 - s(1)), radius=s(3), fill=rgba((20, 25, 36)))
    img = shrink(lay, w, h)
    d = ImageDraw.Draw(img)
    rows = len(TARGETS)
    fnt = font(SANS, 11)
    for i, name in enumerate(TARGETS):
        top = i * h / rows
        bottom = (i + 1) * h / rows
        if i > 0:
            pixel_rect(d, (6, round(top), w - 7, round(top)), rgba((36, 44, 60)))
        d.text((10 * R, round(top + (bottom - top - 13) / 2) * R), name, font=fnt, fill=rgba(TEXT_LIGHT))
        # a small marker at the left of each row
        mid = round(top + (bottom - top) / 2)
        pixel_rect(d, (4, mid - 1, 5, mid), rgba(TEAL, 160))
    return img


# ---------------------------------------------------------------------------------------------------
# The background.

def gradient(w, h, top, bottom):
    w, h = w * R, h * R
    img = Image.new("RGBA", (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        d.line([(0, y), (w, y)], fill=rgba(mix(top, bottom, y / (h - 1))))
    return img


def panel(img, box, radius=8, fill=PANEL, edge=PANEL_EDGE):
    x0, y0, x1, y1 = box
    # soft shadow under the panel
    sh = Image.new("RGBA", img.size, (0, 0, 0, 0))
    ImageDraw.Draw(sh).rounded_rectangle((x0 * R, (y0 + 2) * R, x1 * R, (y1 + 2) * R), radius=radius * R,
                                         fill=(0, 0, 0, 110))
    img = over(img, sh.filter(ImageFilter.GaussianBlur(3 * R)))
    lay = layer(W, H)
    d = ImageDraw.Draw(lay)
    d.rounded_rectangle(sbox((x0, y0, x1, y1)), radius=s(radius), fill=rgba(edge))
    d.rounded_rectangle(sbox((x0 + 1, y0 + 1, x1 - 1, y1 - 1)), radius=s(radius - 1), fill=rgba(fill))
    d.line([(s(x0 + radius), s(y0 + 1.5)), (s(x1 - radius), s(y0 + 1.5))], fill=rgba(PANEL_LIGHT), width=sw(1))
    return over(img, shrink(lay, W, H))


def recess(img, box, radius=4):
    lay = layer(W, H)
    d = ImageDraw.Draw(lay)
    x0, y0, x1, y1 = box
    d.rounded_rectangle(sbox((x0, y0, x1, y1)), radius=s(radius), fill=rgba(RECESS_EDGE))
    d.rounded_rectangle(sbox((x0 + 1, y0 + 1, x1 - 1, y1 - 1)), radius=s(radius - 1), fill=rgba(RECESS))
    return over(img, shrink(lay, W, H))


def emblem(img, cx, cy, r, colour_a=TEAL, colour_b=LAVENDER, alpha=255, width=1.4):
    """Two rings, one per ear, overlapping: the plug-in's mark."""
    lay = layer(W, H)
    d = ImageDraw.Draw(lay)
    off = r * 0.45
    d.ellipse(sbox((cx - off - r, cy - r, cx - off + r, cy + r)), outline=rgba(colour_a, alpha), width=sw(width))
    d.ellipse(sbox((cx + off - r, cy - r, cx + off + r, cy + r)), outline=rgba(colour_b, alpha), width=sw(width))
    return over(img, shrink(lay, W, H))


def beat_wave(img, x0, x1, cy, amp, alpha):
    """A beating wave (two close tones summed) as a quiet ornament."""
    lay = layer(W, H)
    d = ImageDraw.Draw(lay)
    pts = []
    n = 600
    for i in range(n + 1):
        t = i / n
        env = 0.15 + 0.85 * abs(math.sin(math.pi * t * 2))
        y = cy - amp * env * math.sin(2 * math.pi * t * 14)
        pts.append((s(x0 + (x1 - x0) * t), s(y)))
    d.line(pts, fill=rgba(TEAL, alpha), width=sw(1.1), joint="curve")
    return over(img, shrink(lay, W, H))


def background():
    img = gradient(W, H, BG_TOP, BG_BOTTOM)

    # Title band with the mark, the plate and a tag line; v1.00 is written at (45, 12) by the editor.
    band = Image.new("RGBA", img.size, (0, 0, 0, 0))
    pixel_rect(ImageDraw.Draw(band), (0, 0, W, 66), rgba((10, 13, 19), 120))
    img = over(img, band)
    img = over(img, Image.new("RGBA", (W * R, R), rgba((38, 46, 62))), (0, 66))
    img = emblem(img, 27, 21, 8)
    img = beat_wave(img, 392, 536, 40, 7, 70)
    img = beat_wave(img, 14, 158, 46, 5, 45)

    x0, y0, x1, y1 = TITLE_PLATE
    img = panel(img, (x0, y0, x1 - 1, y1 - 1), radius=7, fill=(19, 24, 34), edge=(48, 58, 78))
    d = ImageDraw.Draw(img)
    title_f = font(SANS, 21)
    bold_f = font(SANS_BOLD, 21)
    parts = [("twin", title_f, TEXT_LIGHT), ("Pulse", bold_f, TEAL), ("Tone", title_f, TEXT_LIGHT),
             ("Mix", bold_f, TEAL)]
    total = sum(d.textlength(t, font=f) for t, f, _ in parts) / R
    x = (x0 + x1) / 2 - total / 2
    for t, f, col in parts:
        d.text((round(x * R), (y0 + 5) * R), t, font=f, fill=rgba(col))
        x += d.textlength(t, font=f) / R
    img = caption(img, (x0 + x1) / 2, y0 + 31, "BINAURAL TONE GENERATOR", CAPTION_DIM, 8, 1.6)

    # Upper panel: tone and output controls.
    img = panel(img, (10, 74, 540, 183))
    for name, cx in UPPER_KNOBS.items():
        img = knob_well(img, cx + 0.5, UPPER_Y + 0.5, 25.5)
        img = knob_ticks(img, cx + 0.5, UPPER_Y + 0.5, 24.5, 27.5)
        img = caption(img, cx + 0.5, 84, name)
    img = recess(img, (WAVE_X - 31, UPPER_Y - 31, WAVE_X + 31, UPPER_Y + 31), radius=7)
    img = caption(img, WAVE_X + 0.5, 84, "WAVE")
    img = caption(img, (BEATS_BTN[0] + BEATS_BTN[2]) / 2, 84, "BEATS")
    img = over(img, button_image(BEATS_BTN[2] - BEATS_BTN[0], BEATS_BTN[3] - BEATS_BTN[1], "BINAURAL", False),
               BEATS_BTN[:2])
    img = over(img, button_image(PLAY_BTN[2] - PLAY_BTN[0], PLAY_BTN[3] - PLAY_BTN[1], "PLAY", False, icon="play"),
               PLAY_BTN[:2])

    # The two LFO panels.
    for p in LFO_PANELS:
        img = panel(img, p["box"])
        bx0, by0, bx1, by1 = p["box"]
        img = caption(img, bx0 + 12, by0 + 9, p["title"], TEXT_LIGHT, 11, 1.6, anchor="l")
        img = over(img, tab_image(p["tab"][2] - p["tab"][0], p["tab"][3] - p["tab"][1], False), p["tab"][:2])
        dx, dy = p["drop"]
        img = recess(img, (dx - 1, dy - 2, dx + 87, dy + 17), radius=5)
        img = caption(img, dx - 7, dy + 3, "TARGET", CAPTION, 10, 1.2, anchor="r")
        for key, name in (("start", "START"), ("wave", "WAVE"), ("depth", "DEPTH"), ("rate", "RATE")):
            cx = p[key]
            img = caption(img, cx + 0.5, 242, name)
            if key == "wave":
                img = recess(img, (cx - 21, LFO_Y - 21, cx + 21, LFO_Y + 21), radius=6)
            else:
                img = knob_well(img, cx, LFO_Y, 18)
                img = knob_ticks(img, cx, LFO_Y, 17.3, 19.8)
        # the marker track: a groove one pixel around the strip the markers light
        sx0, sy0, sx1, sy1 = p["strip"]
        g = Image.new("RGBA", img.size, (0, 0, 0, 0))
        dg = ImageDraw.Draw(g)
        pixel_rect(dg, (sx0 - 1, sy0 - 1, sx1, sy1), rgba((30, 37, 51)))
        pixel_rect(dg, (sx0, sy0, sx1 - 1, sy1 - 1), rgba((8, 10, 15)))
        img = over(img, g)

    # Centre column: the mark, the band name's place and the restart button.
    img = emblem(img, 275, 230, 17, alpha=150, width=1.6)
    img = caption(img, 275, 284, "BRAINWAVE", CAPTION_DIM, 9, 1.4)
    img = over(img, button_image(HOLD_BTN[2] - HOLD_BTN[0], HOLD_BTN[3] - HOLD_BTN[1], "LFOs SYNC", False,
                                 icon="sync"), HOLD_BTN[:2])
    return img.convert("RGB").convert("RGBA")


def strip(frames):
    w = sum(f.size[0] for f in frames)
    h = frames[0].size[1]
    out = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    x = 0
    for f in frames:
        out.paste(f, (x, 0))
        x += f.size[0]
    return out


def stack(frames):
    w = frames[0].size[0]
    h = sum(f.size[1] for f in frames)
    out = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    y = 0
    for f in frames:
        out.paste(f, (0, y))
        y += f.size[1]
    return out


def draw_set():
    return {
        "bg.png": background(),
        "knob.png": knob_image(57, 21.5, 8.5, 18.0, 2.6),
        "knob2.png": knob_image(40, 14.5, 5.5, 12.0, 2.2),
        "wave.png": strip([wave_frame(wave_value, k, 58, k >= 4, 2, 0.72, 1.6) for k in range(8)]),
        "lfo_wave.png": strip([wave_frame(lfo_wave_value, k, 40, False, 2, 0.7, 1.4) for k in range(7)]),
        "btn.png": button_image(68, 23, "PLAY", True, icon="play"),
        "btn3.png": button_image(79, 23, "MONAURAL", True, colour=LAVENDER),
        "lfo_tg.png": stack([dropdown_frame(t) for t in TARGETS]),
        "lfo_tg_.png": dropdown_list(),
        "rate_sync.png": tab_image(48, 21, True),
        "btn2.png": button_image(80, 23, "LFOs SYNC", True, icon="sync"),
    }


def main():
    global R
    expected = {"bg.png": (550, 363), "knob.png": (57, 57), "knob2.png": (40, 40), "wave.png": (464, 58),
                "lfo_wave.png": (280, 40), "btn.png": (68, 23), "btn3.png": (79, 23), "lfo_tg.png": (86, 80),
                "lfo_tg_.png": (90, 91), "rate_sync.png": (48, 21), "btn2.png": (80, 23)}
    for R in SCALES:
        folder = OUT if R == 1 else os.path.join(OUT, f"{R}x")
        os.makedirs(folder, exist_ok=True)
        pictures = draw_set()
        for name, img in pictures.items():
            want = (expected[name][0] * R, expected[name][1] * R)
            if img.size != want:
                sys.exit(f"{name} at {R}x: {img.size} instead of {want}")
            img.save(os.path.join(folder, name), optimize=True)
        print(f"wrote {len(pictures)} pictures to {folder}")


if __name__ == "__main__":
    main()
