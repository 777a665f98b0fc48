"""Writes the seed corpora of the picture fuzz targets, byte by byte:
small valid files of every form the readers take and the known fault
patterns of these formats. Run from this folder: python3 make_picture_seeds.py
Crashes the fuzzers find are kept beside these seeds as crash_* files.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def save(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def pcx_header(width, height, planes=1, bytes_per_line=None, bits=8, xmin=0, ymin=0, manufacturer=10):
    bpl = width if bytes_per_line is None else bytes_per_line
    h = struct.pack("<BBBBHHHHHH", manufacturer, 5, 1, bits, xmin, ymin, xmin + width - 1, ymin + height - 1, 72, 72)
    h += bytes(49) + struct.pack("<BHH", planes, bpl, 1)
    return h + bytes(128 - len(h))


PALETTE = b"\x0c" + bytes(v for i in range(256) for v in (i, 255 - i, i // 2))


def tga(width, height, depth, image_type, pixels, descriptor=0, id_field=b"", colour_map=(0, 0, 0)):
    kind, length, entry = colour_map
    h = struct.pack("<BBBHHBHHHHBB", len(id_field), kind, image_type, 0, length, entry, 0, 0, width, height, depth,
                    descriptor)
    return h + id_field + pixels


def psd(rows, columns, channels, compression, data, resources=b"", depth=8, mode=3, version=1):
    h = b"8BPS" + struct.pack(">H6xHIIHH", version, channels, rows, columns, depth, mode)
    return h + struct.pack(">I", 0) + struct.pack(">I", len(resources)) + resources + struct.pack(">I", 0) + \
        struct.pack(">H", compression) + data


def packbits_table(rows, channels):
    return bytes(rows * channels * 2)


# PCX: 256 colours (a run cut at the line end, padding past the width),
# 24-bit and four planes, and the faults.
save("fuzz_pcx_decoder", "indexed_3x2", pcx_header(3, 2, bytes_per_line=4) + b"\x01\x02\x03\x00\xc5\x07" + PALETTE)
save("fuzz_pcx_decoder", "planar_24_2x2", pcx_header(2, 2, planes=3) + b"\xc3\x0a\x14\xc2\x1e\xc6\x28")
save("fuzz_pcx_decoder", "planar_32_1x2", pcx_header(1, 2, planes=4, bytes_per_line=2) + b"\x01-\x02-\x03-\x04-" * 2)
save("fuzz_pcx_decoder", "width_overflows", pcx_header(32768, 1, bytes_per_line=32767) + PALETTE)
save("fuzz_pcx_decoder", "huge_from_ten_bytes", pcx_header(30000, 30000) + b"A" * 10 + PALETTE)
save("fuzz_pcx_decoder", "run_past_the_line", pcx_header(4, 2) + b"\xc6\x01\x02\x03\x04\x05" + PALETTE)
save("fuzz_pcx_decoder", "run_past_the_end", pcx_header(2, 1, planes=3) + b"RR\xc5G")
save("fuzz_pcx_decoder", "palette_after_24_bits", pcx_header(2, 1, planes=3) + b"RRGGBB" + PALETTE)
save("fuzz_pcx_decoder", "no_palette_marker", pcx_header(2, 1) + b"AB" + b"\x0b" + PALETTE[1:])
save("fuzz_pcx_decoder", "lines_shorter_than_width", pcx_header(10, 1, bytes_per_line=8) + b"A" * 8 + PALETTE)
save("fuzz_pcx_decoder", "field_above_32767", pcx_header(1, 1)[:8] + b"\x40\x9c" + pcx_header(1, 1)[10:] + b"A" + PALETTE)

# Targa: raw and run-length, 16, 24 and 32 bits, both orientations, and the
# faults (a packet past the last pixel, short data, short colour maps).
save("fuzz_tga_decoder", "raw_24_bottomup", tga(2, 2, 24, 2, bytes(range(12))))
save("fuzz_tga_decoder", "raw_16_topdown", tga(2, 1, 16, 2, b"\xff\x7f\x00\x80", 0x20))
save("fuzz_tga_decoder", "raw_32_with_id", tga(1, 1, 32, 2, b"abcd", id_field=b"0123456789"))
save("fuzz_tga_decoder", "rle_24_crosses_rows", tga(2, 3, 24, 10, b"\x84abc\x00xyz", 0x20))
save("fuzz_tga_decoder", "rle_16", tga(3, 1, 16, 10, b"\x81\x1f\x00\x00\xe0\x03"))
save("fuzz_tga_decoder", "rle_32", tga(2, 1, 32, 10, b"\x01abcdefgh"))
save("fuzz_tga_decoder", "packet_past_last_pixel", tga(2, 2, 24, 10, b"\x81abc\x82def"))
save("fuzz_tga_decoder", "packets_end_early", tga(4, 1, 24, 10, b"\x81abc\x00def"))
save("fuzz_tga_decoder", "short_colour_map", tga(1, 1, 24, 2, b"abc", colour_map=(1, 65535, 32)))
save("fuzz_tga_decoder", "colour_mapped_index_past_map", tga(2, 1, 8, 1, b"\x00\x01\x02\x05", colour_map=(1, 2, 24)))
save("fuzz_tga_decoder", "huge_from_four_bytes", tga(10000, 10000, 24, 10, b"\xffabc"))
save("fuzz_tga_decoder", "row_over_32767_bytes", tga(10923, 1, 24, 10, b"\xffabc"))

# Photoshop: raw and PackBits, 3 and 4 channels, channel counts 0, 1, 5 and
# 57, and the faults of the sections and packets.
save("fuzz_psd_decoder", "raw_rgb_1x2", psd(1, 2, 3, 0, b"rrggbb"))
save("fuzz_psd_decoder", "packbits_rgb_2x2", psd(2, 2, 3, 1, packbits_table(2, 3) + b"\xfdr\x02abc\x80\x00d\xfdb"))
save("fuzz_psd_decoder", "packbits_rgba_1x2", psd(1, 2, 4, 1, packbits_table(1, 4) + b"\xffa\xffb\xffc\xffd"))
save("fuzz_psd_decoder", "raw_five_channels", psd(1, 1, 5, 0, b"RGBAX"))
save("fuzz_psd_decoder", "one_channel", psd(1, 1, 1, 0, b"R"))
save("fuzz_psd_decoder", "channels_0", psd(1, 1, 0, 0, b""))
save("fuzz_psd_decoder", "channels_57", psd(1, 1, 57, 0, b"abc"))
save("fuzz_psd_decoder", "resources_past_end", psd(1, 1, 3, 0, b"abc")[:30] + b"\x00\x00\x10\x00" +
     psd(1, 1, 3, 0, b"abc")[34:])
save("fuzz_psd_decoder", "section_length_2pow31", psd(1, 1, 3, 0, b"abc")[:26] + b"\x80\x00\x00\x00" +
     psd(1, 1, 3, 0, b"abc")[30:])
save("fuzz_psd_decoder", "packet_past_channel", psd(1, 2, 3, 1, packbits_table(1, 3) + b"\xfda\xffb\xffc"))
save("fuzz_psd_decoder", "sizes_whose_product_overflows", psd(0x59000003, 0x60000002, 11, 0, b"a" * 10))
save("fuzz_psd_decoder", "huge_from_ten_bytes", psd(30000, 30000, 3, 0, b"a" * 10))
save("fuzz_psd_decoder", "sixteen_bit", psd(1, 1, 3, 0, b"aabbcc", depth=16))

# Kinds: one file head of each.
heads = {
    "png": b"\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR",
    "gif": b"GIF89a\x01\x00\x01\x00",
    "gif_lower": b"gif89a\x01\x00\x01\x00",
    "jpeg": b"\xff\xd8\xff\xe0\x00\x10JFIF\x00",
    "bmp": b"BM" + bytes(12) + struct.pack("<I", 40),
    "tiff_le": b"II*\x00\x08\x00\x00\x00",
    "tiff_be": b"MM\x00*\x00\x00\x00\x08",
    "ico": b"\x00\x00\x01\x00\x01\x00",
    "cur": b"\x00\x00\x02\x00\x01\x00",
    "psd": psd(1, 1, 3, 0, b"abc"),
    "pcx": pcx_header(1, 1),
    "tga": tga(1, 1, 24, 2, b"abc"),
    "text": b"This is no picture at all.\n",
}
for name, head in heads.items():
    save("fuzz_picture_kind", name, head)
