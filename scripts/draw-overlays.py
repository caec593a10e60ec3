#!/usr/bin/python3
"""Draws the overlay pictures the program carries (shell/overlay/*.gif): rubber stamps that the
invoice print layout lays over cancelled ("STORNÓ") and spoiled ("RONTOTT") documents. The
background is transparent so that the document shows through.

Run with Debian's python3 (python3-pil): /usr/bin/python3 scripts/draw-overlays.py
"""
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
RED = (200, 24, 30)
SIZE = (720, 420)


def stamp(text: str, path: Path) -> None:
    scale = 3  # drawn large and reduced, for smooth edges
    w, h = SIZE[0] * scale, SIZE[1] * scale
    sheet = Image.new("RGB", (w, h), "white")
    font = ImageFont.truetype(FONT, 96 * scale)
    box = ImageDraw.Draw(sheet).textbbox((0, 0), text, font=font)
    tw, th = box[2] - box[0], box[3] - box[1]
    pad = 40 * scale
    label = Image.new("RGB", (tw + 2 * pad, th + 2 * pad), "white")
    d = ImageDraw.Draw(label)
    d.rounded_rectangle([4 * scale, 4 * scale, label.width - 4 * scale, label.height - 4 * scale],
                        radius=28 * scale, outline=RED, width=10 * scale)
    d.rounded_rectangle([20 * scale, 20 * scale, label.width - 20 * scale, label.height - 20 * scale],
                        radius=16 * scale, outline=RED, width=4 * scale)
    d.text((pad - box[0], pad - box[1]), text, font=font, fill=RED)
    label = label.rotate(18, expand=True, fillcolor="white", resample=Image.BICUBIC)
    sheet.paste(label, ((w - label.width) // 2, (h - label.height) // 2))
    small = sheet.resize(SIZE, Image.LANCZOS)
    indexed = small.quantize(colors=16)
    palette = indexed.getpalette()[:48]
    white = min(range(16), key=lambda i: -sum(palette[3 * i:3 * i + 3]))
    indexed.save(path, transparency=white)


if __name__ == "__main__":
    folder = Path(__file__).resolve().parent.parent / "shell" / "overlay"
    folder.mkdir(parents=True, exist_ok=True)
    stamp("STORNÓ", folder / "storno.gif")
    stamp("RONTOTT", folder / "rontott.gif")
