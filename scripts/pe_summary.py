#!/usr/bin/env python3
"""Prints what a Windows exe asks of the system and carries: its optional header's
DllCharacteristics, its imports (DLL and function), its resources (type, name,
language, size and SHA-256 of each), and its version block (fixed file and
product versions, each string value). Two exes
whose summaries are equal import and carry the same things, whatever else
differs (a signature, the header checksum).
  scripts/pe_summary.py EXE
"""
import hashlib
import struct
import sys

RT_VERSION = 16


class Image:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not an MZ executable")
        pe = self.u32(0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE header")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        self.pe32plus = self.u16(optional) == 0x20B
        self.dll_characteristics = self.u16(optional + 70)
        directories = optional + (112 if self.pe32plus else 96)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i)
                            for i in range(self.u32(directories - 4))]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<IIII", data, table + 40 * i + 8)
                         for i in range(sections)]

    def u16(self, offset):
        return struct.unpack_from("<H", self.data, offset)[0]

    def u32(self, offset):
        return struct.unpack_from("<I", self.data, offset)[0]

    def offset(self, rva):
        for vsize, vaddr, raw_size, raw_ptr in self.sections:
            if vaddr <= rva < vaddr + max(vsize, raw_size):
                return rva - vaddr + raw_ptr
        raise ValueError("address %#x is in no section" % rva)

    def cstring(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("latin-1")

    def directory(self, index):
        rva, size = self.directories[index] if index < len(self.directories) else (0, 0)
        return self.offset(rva) if rva and size else None


def imports(image):
    at = image.directory(1)
    width, ordinal = (8, 1 << 63) if image.pe32plus else (4, 1 << 31)
    while at is not None:
        lookup, _, _, name, first = struct.unpack_from("<IIIII", image.data, at)
        if name == 0:
            break
        dll = image.cstring(name).lower()
        thunk = image.offset(lookup or first)
        while True:
            entry = struct.unpack_from("<Q" if image.pe32plus else "<I", image.data, thunk)[0]
            if entry == 0:
                break
            yield "import %s %s" % (dll, "#%d" % (entry & 0xFFFF) if entry & ordinal
                                    else image.cstring((entry & 0x7FFFFFFF) + 2))
            thunk += width
        at += 20


def resources(image):
    """(type, name, language, bytes) of each resource leaf."""
    base = image.directory(2)
    if base is None:
        return

    def entries(table):
        named, numbered = struct.unpack_from("<HH", image.data, base + table + 12)
        for i in range(named + numbered):
            ident, target = struct.unpack_from("<II", image.data, base + table + 16 + 8 * i)
            if ident & 0x80000000:
                at = base + (ident & 0x7FFFFFFF)
                ident = image.data[at + 2:at + 2 + 2 * image.u16(at)].decode("utf-16-le")
            yield ident, target

    for rtype, names in entries(0):
        for name, langs in entries(names & 0x7FFFFFFF):
            for lang, leaf in entries(langs & 0x7FFFFFFF):
                rva, size = struct.unpack_from("<II", image.data, base + leaf)
                start = image.offset(rva)
                yield rtype, name, lang, image.data[start:start + size]


def version_lines(block):
    """The fixed versions and the string values of a VS_VERSIONINFO block."""
    lines = []

    def node(at, end, path):
        length, value_length, text = struct.unpack_from("<HHH", block, at)
        key_end = at + 6
        while block[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = block[at + 6:key_end].decode("utf-16-le")
        value = (key_end + 2 + 3) & ~3
        if key == "VS_VERSION_INFO" and value_length >= 52:
            ms, ls, pms, pls = struct.unpack_from("<8xIIII", block, value)
            lines.append("version file %d.%d.%d.%d product %d.%d.%d.%d" % (
                ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF,
                pms >> 16, pms & 0xFFFF, pls >> 16, pls & 0xFFFF))
        elif text == 1 and value_length:
            string = block[value:value + 2 * value_length].decode("utf-16-le").rstrip("\0")
            lines.append("version %s = %s" % (path + key, string))
        size = 2 * value_length if text == 1 else value_length
        child = (value + size + 3) & ~3
        while child < min(at + length, end):
            child = node(child, at + length, path + key + "/")
        return (at + length + 3) & ~3

    node(0, len(block), "")
    return lines


def summary(data):
    image = Image(data)
    lines = ["dll characteristics %#06x" % image.dll_characteristics]
    lines += imports(image)
    for rtype, name, lang, body in resources(image):
        lines.append("resource type %s name %s language %s: %d bytes, sha256 %s"
                     % (rtype, name, lang, len(body), hashlib.sha256(body).hexdigest()))
        if rtype == RT_VERSION:
            lines += version_lines(body)
    return lines


def main():
    if len(sys.argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    try:
        lines = summary(data)
    except (ValueError, struct.error, IndexError) as e:
        print("pe_summary: %s: %s" % (sys.argv[1], e), file=sys.stderr)
        return 2
    sys.stdout.buffer.write(("\n".join(lines) + "\n").encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
