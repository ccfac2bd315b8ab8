#!/usr/bin/env python3
"""Writes the small hand-made seeds of the fuzz corpus (tests/fuzz/corpus/<reader>/seed_*).

The game's own data files are large; fuzzing goes faster from small inputs that still reach
every part of a format. Run from the repository's top folder; the files it writes are kept
in the repository, so this only needs running again when a seed is to change.
"""
import os
import struct

CORPUS = os.path.join("tests", "fuzz", "corpus")


def put(reader, name, data):
    folder = os.path.join(CORPUS, reader)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# ---- Waves -----------------------------------------------------------------------------

def wave(channels, bits, rate, frames, fmt_extra=b"", between=b"", tail=b""):
    block = channels * bits // 8
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * block, block, bits) + fmt_extra
    if bits == 8:
        body = bytes((128 + (i * 7) % 100 - 50) & 0xFF for i in range(frames * channels))
    else:
        body = b"".join(struct.pack("<h", (i * 911) % 30000 - 15000) for i in range(frames * channels))
    chunks = b"fmt " + struct.pack("<I", len(fmt)) + fmt + between + b"data" + struct.pack("<I", len(body)) + body + tail
    return b"RIFF" + struct.pack("<I", 4 + len(chunks)) + b"WAVE" + chunks


put("wave", "seed_mono8.wav", wave(1, 8, 8000, 48))
put("wave", "seed_stereo16_list_chunk.wav",
    wave(2, 16, 22050, 24, fmt_extra=b"\0\0", between=b"LIST" + struct.pack("<I", 4) + b"INFO"))
put("wave", "seed_mono16_odd_tail.wav", wave(1, 16, 44100, 20, tail=b"\x01"))
put("wave", "seed_stereo8_fast.wav", wave(2, 8, 200000, 16))

# ---- MIDI ------------------------------------------------------------------------------

def chunk(tag, body):
    return tag + struct.pack(">I", len(body)) + body


def mthd(fmt, tracks, division=96):
    return chunk(b"MThd", struct.pack(">HHH", fmt, tracks, division))


track0 = (b"\x00\xFF\x51\x03\x07\xA1\x20"          # tempo
          b"\x00\xFF\x58\x04\x04\x02\x18\x08"      # time signature
          b"\x00\xC0\x05"                          # program change
          b"\x00\x90\x3C\x64\x60\x3C\x00"          # note on, then running status
          b"\x81\x00\x80\x40\x00"                  # two-byte delta, note off
          b"\x00\xFF\x2F\x00")
put("midi", "seed_format0.mid", mthd(0, 1) + chunk(b"MTrk", track0))
track1 = (b"\x00\xF0\x05\x7E\x7F\x09\x01\xF7"      # system exclusive
          b"\x00\xFF\x03\x04name"                  # track name
          b"\x00\xB0\x07\x64\x00\xE0\x00\x40"      # controller, pitch bend
          b"\x83\x60\xD0\x10"                      # channel pressure
          b"\x00\xFF\x2F\x00")
put("midi", "seed_format1_two_tracks.mid",
    mthd(1, 2, 480) + chunk(b"MTrk", track0) + chunk(b"XFIH", b"skip") + chunk(b"MTrk", track1))

# ---- Banks: options byte, the .sp4's length, the .sp4, the picture -----------------------

def bmp8(width, height, pixel):
    stride = (width + 3) // 4 * 4
    palette = b"".join(bytes((i, 255 - i, (i * 37) & 255, 0)) for i in range(256))
    rows = b"".join(bytes(pixel(x, y) for x in range(width)) + b"\0" * (stride - width)
                    for y in reversed(range(height)))
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    return b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + info + palette + rows


def record(source, origin=(0, 0), anchor=(0, 0), hits=(), rot_last=0):
    r = bytearray(100)
    struct.pack_into("<iiii", r, 20, *source)
    struct.pack_into("<hhhh", r, 36, *origin, *anchor)
    r[44] = (len(hits) - 1) & 0xFF
    for i, (radius, x, y) in enumerate(hits):
        struct.pack_into("<hhh", r, 46 + 6 * i, radius, x, y)
    r[71] = rot_last
    return bytes(r)


def sp4(records, rotate=False, sys_mem=False):
    return bytes((int(sys_mem), int(rotate))) + struct.pack("<i", len(records) - 1) + b"".join(records)


def bank(options, layout, picture):
    return bytes((options,)) + struct.pack("<I", len(layout)) + layout + picture


def blocks(x, y):
    # Key 0 at the top-left; filled squares with holes, so patterns have runs of both kinds.
    if x == 0 and y == 0:
        return 0
    return 0 if (x // 3 + y // 3) % 3 == 0 else 10 + (x // 8) % 40


plain = [record((0, 1, 16, 17), (8, 8), hits=((6, 0, 0),)),
         record((16, 1, 48, 9), (16, 4), hits=((3, -5, 0), (3, 5, 0))),
         record((0, 0, 640, 18), (320, 9))]             # as wide as the bank: drawn run by run
put("sp4_bank", "seed_plain_640.bank", bank(8, sp4(plain), bmp8(640, 18, blocks)))
put("sp4_bank", "seed_plain_at_320.bank", bank(1, sp4(plain), bmp8(640, 18, blocks)))
half = [record((0, 2, 32, 34), (16, 16), hits=((8, 0, 0),)), record((32, 2, 64, 18), (16, 8))]
put("sp4_bank", "seed_half_width_stretched.bank", bank(0, sp4(half), bmp8(320, 20, blocks)))
put("sp4_bank", "seed_half_width_at_800.bank", bank(2, sp4(half), bmp8(320, 20, blocks)))
rotating = [record((0, 1, 16, 17), (8, 8), (8, 0), hits=((5, 0, 3), (2, 0, -4), (1, 1, 1), (1, 2, 2)), rot_last=7),
            record((16, 1, 40, 13), (12, 6), rot_last=31)]
put("sp4_bank", "seed_rotating.bank", bank(8, sp4(rotating, rotate=True), bmp8(640, 18, blocks)))
put("sp4_bank", "seed_rotating_unscaled.bank", bank(4 | 1, sp4(rotating, rotate=True, sys_mem=True),
                                                     bmp8(640, 18, blocks)))
put("sp4_bank", "seed_no_patterns.bank", bank(0, sp4([]), bmp8(640, 4, blocks)))

# ---- Colour-mix cache: one whole table (its first byte odd: stored under a capitalised name)

put("add_engine", "seed_whole_table.Add", bytes((i * 7 + 1) & 0xFF for i in range(65536)))
