"""An independent reader of an executable's resources, to check what the configuration tool wrote."""
import struct


def read_resources(data):
    """{(type, name, language): bytes} of a PE file, plus its sections and checksum fields."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0"
    sections_count, optional_size = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    resource_rva, resource_size = struct.unpack_from("<II", data, directories + 16)
    sections = []
    for i in range(sections_count):
        at = optional + optional_size + i * 40
        name = data[at:at + 8].rstrip(b"\0").decode()
        vsize, va, raw_size, raw_offset = struct.unpack_from("<IIII", data, at + 8)
        sections.append((name, va, vsize, raw_offset, raw_size))

    def offset(rva):
        for _, va, vsize, raw_offset, raw_size in sections:
            if va <= rva < va + max(vsize, raw_size):
                return raw_offset + rva - va
        raise ValueError(f"rva {rva:#x} outside every section")

    base = offset(resource_rva)

    def entries(directory):
        named, numbered = struct.unpack_from("<HH", data, base + directory + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", data, base + directory + 16 + i * 8)
            if name & 0x80000000:
                length = struct.unpack_from("<H", data, base + (name & 0x7FFFFFFF))[0]
                start = base + (name & 0x7FFFFFFF) + 2
                name = data[start:start + length * 2].decode("utf-16-le")
            yield name, target

    resources = {}
    for kind, type_dir in entries(0):
        for name, name_dir in entries(type_dir & 0x7FFFFFFF):
            for language, leaf in entries(name_dir & 0x7FFFFFFF):
                rva, size = struct.unpack_from("<II", data, base + leaf)
                resources[(kind, name, language)] = data[offset(rva):offset(rva) + size]
    return resources, sections, resource_size


def string_table(resources):
    """Setting id -> text of every present string table entry."""
    texts = {}
    for (kind, block, _), data in resources.items():
        if kind != 6:
            continue
        at = 0
        for slot in range(16):
            length = struct.unpack_from("<H", data, at)[0]
            if length:
                texts[(block - 1) * 16 + slot] = data[at + 2:at + 2 + length * 2].decode("utf-16-le")
            at += 2 + length * 2
    return texts


def pe_checksum(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    checksum_at = pe + 24 + 64
    total = 0
    padded = data + (b"\0" if len(data) % 2 else b"")
    for i in range(0, len(padded), 2):
        if i in (checksum_at, checksum_at + 2):
            continue
        total += padded[i] | (padded[i + 1] << 8)
        total = (total & 0xFFFF) + (total >> 16)
    total = (total & 0xFFFF) + (total >> 16)
    return total + len(data), struct.unpack_from("<I", data, checksum_at)[0]
