"""Turns the 24-bit BMP screenshots the harness writes into PNG files a person can open."""
import struct
import zlib


def bmp_to_png(bmp_path, png_path):
    data = open(bmp_path, "rb").read()
    if data[:2] != b"BM":
        raise ValueError(f"{bmp_path} is not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 24:
        raise ValueError(f"{bmp_path}: only 24-bit pictures are converted")
    row_bytes = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        source = y if height < 0 else abs(height) - 1 - y
        row = data[offset + source * row_bytes: offset + source * row_bytes + width * 3]
        rgb = bytearray()
        for x in range(width):
            b, g, r = row[x * 3: x * 3 + 3]
            rgb += bytes((r, g, b))
        rows.append(b"\x00" + bytes(rgb))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows))) + chunk(b"IEND", b"")
    with open(png_path, "wb") as out:
        out.write(png)
