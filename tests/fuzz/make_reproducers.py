#!/usr/bin/env python3
"""Writes the inputs of the faults found so far into the committed corpus (executables, settings,
icons, pictures), and the two prebuilt launchers as seeds:   tests/fuzz/make_reproducers.py BUILD_DIR
Each file is named after the fault it reproduces; the end-to-end tests configure with them too."""
import struct
import sys
from pathlib import Path

CORPUS = Path(__file__).resolve().parent / "corpus"


def executable(sections, resource=(0, 0), pe_offset=0x80, header_size=0x400, file_alignment=0x200,
               section_alignment=0x1000):
    """A small x86_64 executable: (name, virtual address, data, raw offset or None) sections."""
    size = max(header_size if header_size < 0x100000 else 0x400, pe_offset + 0x200)
    file = bytearray(size)
    file[0:2] = b"MZ"
    struct.pack_into("<I", file, 0x3C, pe_offset)
    file[pe_offset:pe_offset + 4] = b"PE\0\0"
    coff = pe_offset + 4
    struct.pack_into("<HHIIIHH", file, coff, 0x8664, len(sections), 0, 0, 0, 240, 0x22)
    optional = coff + 20
    struct.pack_into("<H", file, optional, 0x20B)
    struct.pack_into("<II", file, optional + 32, section_alignment, file_alignment)
    struct.pack_into("<I", file, optional + 60, header_size)
    struct.pack_into("<I", file, optional + 108, 16)
    struct.pack_into("<II", file, optional + 112 + 16, *resource)
    table = optional + 240
    for i, (name, address, data, raw_offset) in enumerate(sections):
        at = table + i * 40
        raw = (len(data) + 0x1FF) & ~0x1FF
        offset = len(file) if raw_offset is None else raw_offset
        file[at:at + 8] = name.encode().ljust(8, b"\0")
        struct.pack_into("<IIII", file, at + 8, len(data), address, raw, offset)
        struct.pack_into("<I", file, at + 36, 0x40000040)
        if raw_offset is None:
            file += data + bytes(raw - len(data))
        else:
            file[offset:offset + len(data)] = data
    return bytes(file)


def resource_directory(entries_per_language, data_size, rva=0x1000):
    """One type, one name, one language directory whose entries all point at one data entry."""
    directory = lambda named, numbered: struct.pack("<IIHHHH", 0, 0, 0, 0, named, numbered)
    out = bytearray()
    out += directory(0, 1) + struct.pack("<II", 2, 0x80000000 | 24)
    out += directory(0, 1) + struct.pack("<II", 104, 0x80000000 | 48)
    languages_at = len(out)
    out += directory(0, entries_per_language)
    data_entry = languages_at + 16 + entries_per_language * 8
    for language in range(entries_per_language):
        out += struct.pack("<II", language, data_entry)
    out += struct.pack("<IIII", rva + data_entry + 16, data_size, 0, 0)
    out += bytes(data_size)
    return bytes(out)


def sections_of(data):
    """(header offset, name, virtual size, virtual address, raw size, raw offset) of each section."""
    pe_offset = struct.unpack_from("<I", data, 0x3C)[0]
    count = struct.unpack_from("<H", data, pe_offset + 6)[0]
    table = pe_offset + 24 + struct.unpack_from("<H", data, pe_offset + 20)[0]
    return [(table + i * 40, data[table + i * 40:table + i * 40 + 8].rstrip(b"\0").decode(),
             *struct.unpack_from("<IIII", data, table + i * 40 + 8)) for i in range(count)]


def section_moved_behind_the_resources(launcher, name=".tls"):
    """The launcher with one section's raw data moved to the end of the file: the resources' raw
    data then lies before it, while the addresses keep their order. Still a valid executable."""
    data = bytearray(launcher)
    at, _, _, _, raw_size, raw_offset = next(s for s in sections_of(data) if s[1] == name)
    moved = bytes(data[raw_offset:raw_offset + raw_size])
    end = (len(data) + 0x1FF) & ~0x1FF
    data += bytes(end - len(data)) + moved
    struct.pack_into("<I", data, at + 20, end)
    return bytes(data)


def types_sharing_one_name(count, length=65535):
    """A resource section of `count` types whose names all point at one name of `length`
    characters, each type with one name and one language sharing one 16-byte data entry."""
    directory = lambda named, numbered: struct.pack("<IIHHHH", 0, 0, 0, 0, named, numbered)
    root = directory(count, 0)
    per_type = 2 * (16 + 8)  # a type's directory of names and its name's directory of languages
    entries_end = 16 + count * 8 + count * per_type
    name_at, data_entry_at = entries_end, entries_end + 2 + length * 2
    out = bytearray(root)
    for i in range(count):
        out += struct.pack("<II", 0x80000000 | name_at, 0x80000000 | (16 + count * 8 + i * per_type))
    for i in range(count):
        base = 16 + count * 8 + i * per_type
        out += directory(0, 1) + struct.pack("<II", 1, 0x80000000 | (base + 24))
        out += directory(0, 1) + struct.pack("<II", 0, data_entry_at)
    out += struct.pack("<H", length) + b"N\0" * length
    out += struct.pack("<IIII", 0x1000 + data_entry_at + 16, 16, 0, 0) + bytes(16)
    return bytes(out)


def write_input_reproducers():
    """Settings, icons and pictures the tool accepted although the launcher could not use them."""
    settings = CORPUS / "settings"
    settings.mkdir(parents=True, exist_ok=True)
    for name, text in {
        "fault16-nul-in-vm-options": b"jar=app.jar\nvm_options=-Xmx1g\0 -Dx=1\n",
        "fault16-nul-in-jar": b"jar=app\0.jar\n",
        "fault17-splash-seconds-beyond-int": b"splash=on\nsplash_seconds=99999999999\n",
        "fault17-minimum-version-banana": b"min_version=banana\n",
        "fault17-maximum-version-negative": b"max_version=-1\n",
        "fault22-range-no-runtime-meets": b"min_version=1.8\nmax_version=7\n",
        "fault22-maximum-1-under-default-minimum": b"max_version=1\n",
        "fault22-same-version-both-forms": b"min_version=8\nmax_version=1.8\n",
        "fault22-address-with-quote": b"download_url=https://example.com/\"x\n",
        "fault22-flag-off-words": b"stay_alive=off\nsingle_instance=no\nsplash=false\nconsole=0\n",
        "fault22-flag-other-word": b"stay_alive=alive\n",
        "fault22-startup-check-minus-zero": b"startup_check_seconds=-0\n",
        "fault22-startup-check-zeros": b"startup_check_seconds=0000000000\n",
    }.items():
        (settings / name).write_bytes(text)
    icon = CORPUS / "icon"
    icon.mkdir(parents=True, exist_ok=True)
    bitmap = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 32, 0, 0, 0, 0, 0, 0) + bytes(32 * 32 * 4 + 32 * 4)
    one_image = lambda width, image, size=None: (  # noqa: E731
        struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", width, width, 0, 0, 1, 32, size or len(image), 22)
        + image)
    (icon / "fault18-entry-shorter-than-image").write_bytes(one_image(32, bitmap, 1000))
    (icon / "fault18-entry-16-for-a-32-image").write_bytes(one_image(16, bitmap))
    (icon / "fault18-image-neither-bitmap-nor-png").write_bytes(one_image(32, b"GIF89a" + bytes(200)))
    (icon / "fault18-one-byte-image").write_bytes(one_image(32, b"\x28"))
    picture = CORPUS / "picture"
    picture.mkdir(parents=True, exist_ok=True)
    (picture / "fault19-text-as-splash").write_bytes(b"jar=app.jar\nsplash=on\n")
    png = (b"\x89PNG\r\n\x1a\n" + struct.pack(">I", 13) + b"IHDR" + struct.pack(">IIBBBBB", 4, 3, 8, 6, 0, 0, 0)
           + bytes(4) + struct.pack(">I", 12) + b"IDAT" + bytes(12) + bytes(4) + bytes(4) + b"IEND" + bytes(4))
    (picture / "seed-png").write_bytes(png)
    (picture / "seed-plain-bitmap").write_bytes(struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, 24, 0, 0, 0, 0, 0, 0)
                                                + bytes(16))
    for name, data in picture_reproducers().items():
        (picture / name).write_bytes(data)


def gif(screen_width, image_width):
    """A GIF of two colours, its logical screen and first image each of the given width, 2 high."""
    return (b"GIF89a" + struct.pack("<HH", screen_width, 2) + bytes([0x80, 0, 0]) + bytes(6)
            + b"\x2C" + struct.pack("<HHHH", 0, 0, image_width, 2) + bytes([0, 2, 2, 0x4C, 0x01, 0]) + b"\x3B")


def jpeg(frame=0xC0, precision=8, components=1, tables=True, scan=True, end=True):
    """A JPEG of 5 x 5 pixels: its frame header, the tables the scan needs (quantisation table 0,
    DC and AC Huffman tables 0 of one code each), one scan with two bytes of coded pixels, its end."""
    out = b"\xFF\xD8\xFF\xE0\x00\x04JF"
    out += bytes([0xFF, frame, 0, 11, precision, 0, 5, 0, 5, components, 1, 0x11, 0])
    if tables:
        out += b"\xFF\xDB\x00\x43\x00" + bytes([1] * 64)
        for table_class in (0x00, 0x10):
            out += bytes([0xFF, 0xC4, 0, 20, table_class, 1]) + bytes(15) + b"\x00"
    if scan and frame == 0xC2:  # the DC coefficients, then the AC band 1 to 63
        out += bytes([0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 0, 0, 0x12, 0x34])
        out += bytes([0xFF, 0xDA, 0, 8, 1, 1, 0, 1, 63, 0, 0x12, 0x34])
    elif scan:
        out += bytes([0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 63, 0, 0x12, 0x34])
    return out + (b"\xFF\xD9" if end else b"")


def picture_reproducers():
    """Splash pictures the tool accepted although the launcher's decoder refuses them."""
    return {
        "seed-gif": gif(3, 3),
        "fault22-gif-image-wider-than-its-screen": gif(100, 9000),
        "seed-jpeg": jpeg(),
        "seed-jpeg-progressive": jpeg(frame=0xC2),
        "fault22-jpeg-lossless-frame": jpeg(frame=0xC3),
        "fault22-jpeg-arithmetic-frame": jpeg(frame=0xC9),
        "fault22-jpeg-12-bit": jpeg(precision=12),
        "fault22-jpeg-three-components-listed-as-one": jpeg(components=3),
        "fault22-jpeg-without-its-tables": jpeg(tables=False),
        "fault22-jpeg-progressive-scan-of-all-coefficients": jpeg(frame=0xC2)[:-26] + jpeg()[-14:],
        "fault22-jpeg-cut-after-its-scan-header": jpeg(end=False)[:-2],
        "fault22-jpeg-without-its-end": jpeg(end=False),
    }


def main():
    build = Path(sys.argv[1])
    pe = CORPUS / "pe_image"
    pe.mkdir(parents=True, exist_ok=True)
    for arch in ("x86_64", "i686"):
        (pe / f"seed-launcher-{arch}.exe").write_bytes((build / arch / "launcher.exe").read_bytes())
    small = resource_directory(1, 16)
    # 1: .rsrc's raw data inside the headers, the PE header far behind it.
    inside = resource_directory(1, 16, 0x7000)
    (pe / "fault1-resources-inside-headers").write_bytes(
        executable([(".rsrc", 0x7000, inside, 0x200)], (0x7000, len(inside)), pe_offset=0x6000, header_size=0x7000))
    # 2: .reloc with no raw data behind the resources (the prebuilt launcher, cut accordingly).
    launcher = bytearray((build / "x86_64" / "launcher.exe").read_bytes())
    pe_offset = struct.unpack_from("<I", launcher, 0x3C)[0]
    count = struct.unpack_from("<H", launcher, pe_offset + 6)[0]
    table = pe_offset + 24 + struct.unpack_from("<H", launcher, pe_offset + 20)[0]
    for i in range(count):
        at = table + i * 40
        if launcher[at:at + 6] == b".reloc":
            raw_offset = struct.unpack_from("<I", launcher, at + 20)[0]
            struct.pack_into("<I", launcher, at + 16, 0)
            del launcher[raw_offset:]
    (pe / "fault2-relocations-without-raw-data").write_bytes(bytes(launcher))
    # 3: SizeOfHeaders 0xFFFFFFFF and no resource directory.
    (pe / "fault3-headers-size-wraps").write_bytes(
        executable([(".text", 0x1000, b"\xC3" * 16, None)], header_size=0xFFFFFFFF))
    # 4: both alignments 2 GiB.
    far = resource_directory(1, 16, 0x80000000)
    (pe / "fault4-huge-alignment").write_bytes(
        executable([(".rsrc", 0x80000000, far, None)], (0x80000000, len(far)), file_alignment=0x80000000,
                   section_alignment=0x80000000))
    # 5: a section whose addresses wrap.
    (pe / "fault5-addresses-wrap").write_bytes(
        executable([(".rsrc", 0x1000, small, None), (".data", 0xFFFFF000, bytes(0x2000), None)],
                   (0x1000, len(small))))
    # 6: 40,000 language entries sharing one 64 KiB resource (2.6 GB once copied for each).
    shared = resource_directory(40000, 0x10000)
    (pe / "fault6-shared-resource-data").write_bytes(
        executable([(".rsrc", 0x1000, shared, None)], (0x1000, len(shared))))
    # 13: .tls's raw data behind .rsrc's, addresses in order (cutting the file at .rsrc corrupted it).
    prebuilt = (build / "x86_64" / "launcher.exe").read_bytes()
    (pe / "fault13-section-data-behind-the-resources").write_bytes(section_moved_behind_the_resources(prebuilt))
    # 14: 2,000 and 20,000 resource types sharing one 65,535-character name (1.3 GB, then an abort).
    for count in (2000, 20000):
        names = types_sharing_one_name(count)
        (pe / f"fault14-{count}-types-sharing-one-name").write_bytes(
            executable([(".rsrc", 0x1000, names, None)], (0x1000, len(names))))
    # 19: an executable as the splash picture.
    (CORPUS / "picture").mkdir(parents=True, exist_ok=True)
    (CORPUS / "picture" / "fault19-executable-as-splash").write_bytes(prebuilt[:4096])
    write_input_reproducers()


if __name__ == "__main__":
    main()
