#!/usr/bin/env python3
# Writes src/dos/VgaFont.cpp: the BIOS's 8x8, 8x14 and 8x16 fonts of code page 437, taken at
# development time from console-setup's Uni2-VGA fonts (u_vga16.bdf and its kin, by Dmitry
# Bolkhovityanov, under an MIT-style licence; the Linux console fonts of the package are in the
# public domain) through their Unicode tables.
#   make_vga_font.py [FONT-DIR] > src/dos/VgaFont.cpp
import glob
import gzip
import struct
import sys

# Where the Uni2 fonts lack a glyph, another font of the same height has it; a glyph none has
# (five in 8x8 and 8x14) is the 8x16 one with rows left out.
ALTERNATES = {"►": "▶", "◄": "◀"}

# Code page 437 as the PC draws it: the control codes have glyphs of their own.
LOW = "\u0000☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼"


def cp437(code):
    if code < 32:
        return LOW[code]
    if code == 0x7F:
        return "⌂"
    return bytes([code]).decode("cp437")


def read_psf1(path):
    data = gzip.open(path).read()
    magic, mode, height = struct.unpack_from("<HBB", data)
    assert magic == 0x0436 and mode & 2, path
    count = 512 if mode & 1 else 256
    glyphs = [data[4 + i * height:4 + (i + 1) * height] for i in range(count)]
    table, at = {}, 4 + count * height
    for glyph in range(count):
        while True:
            (value,) = struct.unpack_from("<H", data, at)
            at += 2
            if value == 0xFFFF:
                break
            if value != 0xFFFE:
                table.setdefault(chr(value), glyph)
    return height, glyphs, table


def fonts(folder, size):
    names = sorted(glob.glob(f"{folder}/*-VGA{size}.psf.gz"))
    first = f"{folder}/Uni2-VGA{size}.psf.gz"
    names.remove(first)
    return [read_psf1(name) for name in [first] + names]


def glyph_of(character, faces):
    for height, glyphs, table in faces:
        for candidate in (character, ALTERNATES.get(character)):
            if candidate in table:
                return glyphs[table[candidate]]
    return None


def font(folder, size, tall):
    faces = fonts(folder, size)
    result = []
    for code in range(256):
        glyph = glyph_of(cp437(code), faces) if code else bytes(size)
        if glyph is None:
            glyph = bytes(tall[code][row * 16 // size] for row in range(size))
        result.append(glyph)
    return result


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/consolefonts"
    print("// The BIOS's fonts of code page 437 (8x8, 8x14, 8x16), one byte a row, the leftmost pixel in")
    print("// bit 7. Made by scripts/make_vga_font.py from console-setup's VGA8/14/16 fonts, Uni2 first")
    print("// (Dmitry Bolkhovityanov's u_vga16.bdf and its kin, MIT-style licence; console-setup's")
    print("// console fonts are in the public domain).")
    print('#include "dos/VgaFont.h"')
    print()
    print("namespace dos {")
    tall = font(folder, 16, None)
    for size in (8, 14, 16):
        print()
        print(f"const uint8_t VgaFont::k8x{size}[256 * {size}] = {{")
        for glyph in font(folder, size, tall):
            print("    " + ", ".join(f"0x{b:02X}" for b in glyph) + ",")
        print("};")
    print()
    print("}  // namespace dos")


main()
