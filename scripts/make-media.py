#!/usr/bin/env python3
"""Makes the clips and the alert sound the program ships (standard library only).

    scripts/make-media.py [output folder]     (default: assets/ beside this script's folder)

spin.avi   a disc with a turning sector, played while watching
alert.avi  a blinking warning sign, played on an alert
sound/alert.WAV  two short rising tones

The clips are uncompressed 8-bit AVI files with their own palette; the output is the same on
every run, so the committed files change only when this script does.
"""
import math
import os
import struct
import sys

SIDE = 48


def chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def riff_list(kind, data):
    return chunk(b"LIST", kind + data)


def avi(frames, palette, frame_ms):
    """frames: lists of SIDE*SIDE palette indexes, rows from the top."""
    stride = (SIDE + 3) // 4 * 4
    image_size = stride * SIDE
    us_per_frame = frame_ms * 1000
    avih = struct.pack("<14I", us_per_frame, image_size * 1000 // frame_ms, 0, 0x10, len(frames), 0, 1,
                       image_size, SIDE, SIDE, 0, 0, 0, 0)
    strh = struct.pack("<4s4sIHHIIIIIIIIhhhh", b"vids", b"DIB ", 0, 0, 0, 0, us_per_frame, 1000000, 0,
                       len(frames), image_size, 0xFFFFFFFF, 0, 0, 0, SIDE, SIDE)
    strf = struct.pack("<IiiHHIIiiII", 40, SIDE, SIDE, 1, 8, 0, image_size, 0, 0, len(palette), 0)
    strf += b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    hdrl = riff_list(b"hdrl", chunk(b"avih", avih) + riff_list(b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))

    movi = b""
    index = b""
    for pixels in frames:
        rows = [bytes(pixels[y * SIDE:(y + 1) * SIDE]) + b"\0" * (stride - SIDE) for y in range(SIDE)]
        data = b"".join(reversed(rows))  # bottom-up, as a DIB is stored
        index += struct.pack("<4sIII", b"00db", 0x10, 4 + len(movi), len(data))
        movi += chunk(b"00db", data)
    body = b"AVI " + hdrl + riff_list(b"movi", movi) + chunk(b"idx1", index)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def draw(paint):
    return [paint(x + 0.5, y + 0.5) for y in range(SIDE) for x in range(SIDE)]


BACKGROUND = (239, 239, 239)


def spin_clip():
    palette = [BACKGROUND, (70, 70, 80), (40, 110, 200), (250, 250, 250), (30, 30, 40)]
    centre = SIDE / 2
    frames = []
    for step in range(12):
        start = step * 30.0

        def paint(x, y, start=start):
            dx, dy = x - centre, y - centre
            r = math.hypot(dx, dy)
            if r > 21:
                return 0
            if r > 19:
                return 4
            if r < 4:
                return 3
            angle = (math.degrees(math.atan2(dy, dx)) - start) % 360
            return 2 if angle < 60 else 1

        frames.append(draw(paint))
    return avi(frames, palette, 83)


def inside_triangle(x, y):
    # Apex at the top, base along the bottom.
    top, bottom, half = 5.0, 43.0, 21.0
    if y < top or y > bottom:
        return False
    reach = half * (y - top) / (bottom - top)
    return abs(x - SIDE / 2) <= reach


def alert_clip():
    palette = [BACKGROUND, (30, 30, 30), (255, 200, 0), (190, 120, 0)]
    frames = []
    for step in range(8):
        fill = 2 if step < 4 else 3

        def paint(x, y, fill=fill):
            if not inside_triangle(x, y):
                return 0
            edge = not all(inside_triangle(x + dx, y + dy) for dx, dy in ((2, 0), (-2, 0), (0, 2), (0, -2)))
            if edge:
                return 1
            mark = abs(x - SIDE / 2) <= 2 and (16 <= y <= 31 or 34 <= y <= 38)
            return 1 if mark else fill

        frames.append(draw(paint))
    return avi(frames, palette, 100)


def alert_sound():
    rate = 22050
    samples = []
    for frequency, seconds in ((880.0, 0.18), (0.0, 0.07), (1175.0, 0.25)):
        count = int(rate * seconds)
        fade = int(rate * 0.01)
        for i in range(count):
            level = min(1.0, i / fade, (count - 1 - i) / fade) if frequency else 0.0
            samples.append(int(12000 * level * math.sin(2 * math.pi * frequency * i / rate)))
    data = struct.pack("<%dh" % len(samples), *samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
    body = b"WAVE" + chunk(b"fmt ", fmt) + chunk(b"data", data)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "assets")
    os.makedirs(os.path.join(out, "sound"), exist_ok=True)
    for name, content in (("spin.avi", spin_clip()), ("alert.avi", alert_clip()),
                          (os.path.join("sound", "alert.WAV"), alert_sound())):
        with open(os.path.join(out, name), "wb") as f:
            f.write(content)


if __name__ == "__main__":
    main()
