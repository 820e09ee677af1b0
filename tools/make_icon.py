#!/usr/bin/env python3
"""Makes assets/soundboard.ico: the program's icon (a gold speaker cone on a
stage-red tile) in the large (32 and 48) and small (16) sizes. Needs
ImageMagick. Run it by hand; the result is committed."""
import os
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "assets", "soundboard.ico")


def main():
    with tempfile.TemporaryDirectory() as tmp:
        master = os.path.join(tmp, "icon.png")
        subprocess.run([
            "convert", "-size", "256x256", "xc:none",
            "-fill", "#9b1118", "-draw", "roundrectangle 8,8 248,248 40,40",
            "-fill", "#f2b630", "-draw", "polygon 58,100 104,100 160,52 160,204 104,156 58,156",
            "-fill", "none", "-stroke", "#f2b630", "-strokewidth", "14",
            "-draw", "arc 150,88 206,168 -60,60", "-draw", "arc 150,56 236,200 -55,55",
            master,
        ], check=True)
        sizes = []
        for size in (48, 32, 16):
            path = os.path.join(tmp, f"icon{size}.png")
            subprocess.run(["convert", master, "-resize", f"{size}x{size}", path], check=True)
            sizes.append(path)
        subprocess.run(["convert", *sizes, OUT], check=True)
    print(f"{OUT} written")


if __name__ == "__main__":
    main()
