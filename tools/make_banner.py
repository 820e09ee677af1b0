#!/usr/bin/env python3
"""Makes assets/banner.jpg: the 520 x 88 baseline colour JPEG shown at the top
of the window, an advertisement for the vendor's shop.

The file is padded with a JPEG comment to exactly 44,664 bytes, the size the
program's banner has always had. Needs ImageMagick and the WenQuanYi Micro Hei
font (fonts-wqy-microhei). Run it by hand; the result is committed.
"""
import os
import subprocess
import sys
import tempfile

WIDTH, HEIGHT = 520, 88
TARGET_BYTES = 44664
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "assets", "banner.jpg")


def font_file():
    return subprocess.run(["fc-match", "-f", "%{file}", "WenQuanYi Micro Hei"],
                          check=True, capture_output=True, text=True).stdout


def render(path, quality):
    font = font_file()
    subprocess.run([
        "convert", "-size", f"{WIDTH}x{HEIGHT}", "gradient:#7a0d12-#e8a317",
        # a row of stage lights
        *sum([["-fill", "rgba(255,240,200,0.35)", "-draw", f"circle {x},-20 {x + 26},18"]
              for x in range(30, WIDTH, 70)], []),
        "-font", font, "-fill", "white", "-stroke", "#3a0508", "-strokewidth", "1",
        "-pointsize", "30", "-annotate", "+18+44", "舞台音效板 · 专业舞台音响",
        "-stroke", "none", "-fill", "#fff3c4", "-pointsize", "17",
        "-annotate", "+20+74", "本店音频设备 全场包邮 · 点击进入店铺",
        "-attenuate", "0.4", "+noise", "Gaussian",
        "-interlace", "none", "-sampling-factor", "2x2", "-quality", str(quality),
        "-strip", f"jpg:{path}",
    ], check=True)


def pad_with_comment(data, size):
    """Inserts a COM segment after SOI so the file is exactly size bytes."""
    missing = size - len(data)
    if missing < 4 + 1:
        raise ValueError("image too large to pad")
    payload_len = missing - 4
    segment = b"\xff\xfe" + (payload_len + 2).to_bytes(2, "big") + b" " * payload_len
    return data[:2] + segment + data[2:]


def main():
    with tempfile.TemporaryDirectory() as tmp:
        # Highest quality that still leaves room for the comment.
        for quality in range(98, 40, -1):
            path = os.path.join(tmp, "banner.jpg")
            render(path, quality)
            data = open(path, "rb").read()
            if len(data) <= TARGET_BYTES - 5 and TARGET_BYTES - len(data) <= 65533 + 4:
                break
        else:
            sys.exit("could not fit the banner into the target size")
    data = pad_with_comment(data, TARGET_BYTES)
    assert len(data) == TARGET_BYTES
    with open(OUT, "wb") as f:
        f.write(data)
    print(f"{OUT}: {len(data)} bytes, quality {quality}")


if __name__ == "__main__":
    main()
