#!/usr/bin/env python3
"""Writes the executables of the PE faults found so far into the committed corpus, and the two
prebuilt launchers as seeds:   tests/fuzz/make_reproducers.py BUILD_DIR
Each file is named after the fault it reproduces."""
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


if __name__ == "__main__":
    main()
