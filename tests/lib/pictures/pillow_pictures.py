"""Pillow's side of the picture tests: writes test pictures and decodes
pictures independently of the library. Run with Debian's /usr/bin/python3.

Reads a JSON list of jobs on standard input and prints a JSON list of
results, one per job:
  {"op": "write", "path": P, "mode": M, "size": [W, H], "options": {...}}
      writes the test pattern in Pillow mode M ("RGB", "RGBA", "P", "L",
      "1") to P, in the format of P's extension, with the save options.
      Result: {} or {"error": text}.
  {"op": "pixels", "path": P}
      Pillow's decoding of P as RGB. Result: {"size": [W, H], "rgb": hex}
      or {"error": text}.
"""
import json
import sys

from PIL import Image


def colour(x, y):
    # Blocks of one colour give long runs; the rest changes at every pixel.
    if (x // 9 + y // 5) % 3 == 0:
        return (200, 30, 60, 255)
    return ((x * 37 + y * 11) % 256, (x * 13 ^ y * 29) % 256, (x + y) * 5 % 256, (x * 7 + y) % 256)


def pattern(mode, width, height):
    rgba = Image.new("RGBA", (width, height))
    rgba.putdata([colour(x, y) for y in range(height) for x in range(width)])
    if mode == "RGBA":
        return rgba
    rgb = rgba.convert("RGB")
    if mode == "P":
        return rgb.quantize(colors=256)
    return rgb.convert(mode)


def run(job):
    try:
        if job["op"] == "write":
            width, height = job["size"]
            pattern(job["mode"], width, height).save(job["path"], **job.get("options", {}))
            return {}
        with Image.open(job["path"]) as picture:
            rgb = picture.convert("RGB")
            return {"size": list(rgb.size), "rgb": rgb.tobytes().hex()}
    except Exception as error:  # every failure goes back to the test as text
        return {"error": f"{type(error).__name__}: {error}"}


json.dump([run(job) for job in json.load(sys.stdin)], sys.stdout)
