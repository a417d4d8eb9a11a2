#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets: small pictures, clips and scripts of every kind the
readers take, made here so that each seed is ours and the same on every run.

Usage: fuzz/make_corpus.py [CORPUS_DIR]   (default: fuzz/corpus beside this file)
"""
import math
import os
import struct
import sys
import zlib


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filtered(rows, bpp, filters):
    """Each row with its filter byte, cycling through the filter kinds given."""
    out = bytearray()
    prior = bytes(len(rows[0])) if rows else b""
    for y, row in enumerate(rows):
        kind = filters[y % len(filters)]
        out.append(kind)
        for x, v in enumerate(row):
            a = row[x - bpp] if x >= bpp else 0
            b = prior[x]
            c = prior[x - bpp] if x >= bpp else 0
            pred = [0, a, b, (a + b) // 2, paeth(a, b, c)][kind]
            out.append((v - pred) & 0xFF)
        prior = row
    return bytes(out)


def pack_row(samples, depth):
    """Samples of one row at a bit depth below 8, most significant bits first."""
    if depth >= 8:
        return bytes(samples)
    per = 8 // depth
    out = bytearray()
    for i in range(0, len(samples), per):
        byte = 0
        group = samples[i:i + per]
        for k, s in enumerate(group):
            byte |= s << (8 - depth * (k + 1))
        out.append(byte)
    return bytes(out)


ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def png(width, height, color_type, depth, pixel, interlace=False, extra=(), filters=(0,)):
    """pixel(x, y) gives the samples of one pixel as a list of ints at the bit depth."""
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[color_type]
    bpp = max(1, channels * depth // 8)

    def rows_of(xs, ys):
        rows = []
        for y in ys:
            samples = []
            for x in xs:
                samples.extend(pixel(x, y))
            if depth == 16:
                rows.append(b"".join(struct.pack(">H", s) for s in samples))
            else:
                rows.append(pack_row(samples, depth))
        return rows

    if interlace:
        raw = b""
        for x0, y0, dx, dy in ADAM7:
            xs, ys = range(x0, width, dx), range(y0, height, dy)
            if len(xs) and len(ys):
                raw += filtered(rows_of(xs, ys), bpp, filters)
    else:
        raw = filtered(rows_of(range(width), range(height)), bpp, filters)
    header = struct.pack(">IIBBBBB", width, height, depth, color_type, 0, 0, 1 if interlace else 0)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
    for kind, body in extra:
        out += chunk(kind, body)
    data = zlib.compress(raw, 9)
    # Two IDAT chunks, as a streaming writer leaves them.
    half = len(data) // 2
    out += chunk(b"IDAT", data[:half]) + chunk(b"IDAT", data[half:]) + chunk(b"IEND", b"")
    return out


def pngs():
    palette = bytes(v for i in range(6) for v in (i * 40, 255 - i * 40, (i * 97) % 256))
    return {
        "rgb8.png": png(8, 6, 2, 8, lambda x, y: [x * 30, y * 40, (x * y * 7) % 256]),
        "rgba8_filters.png": png(7, 5, 6, 8, lambda x, y: [x * 36, 200 - y * 30, 90, 255 - x * 20],
                                 extra=[(b"tEXt", b"Comment\x00dusk over the city"), (b"gAMA", struct.pack(">I", 45455))],
                                 filters=(0, 1, 2, 3, 4)),
        "palette4_trns.png": png(5, 5, 3, 4, lambda x, y: [(x + y) % 6],
                                 extra=[(b"PLTE", palette), (b"tRNS", bytes([0, 128]))]),
        "gray1.png": png(16, 3, 0, 1, lambda x, y: [(x + y) & 1]),
        "gray_alpha16_interlaced.png": png(9, 7, 4, 16, lambda x, y: [x * 7000, 65535 - y * 9000],
                                           interlace=True, filters=(4, 1)),
        "rgb16_interlaced.png": png(3, 9, 2, 16, lambda x, y: [x * 20000, y * 7000, 4242], interlace=True),
    }


def wave(fmt_body, data, before=(), after=(), data_size=None, riff_size=None):
    def riff_chunk(kind, body):
        return kind + struct.pack("<I", len(body)) + body + (b"\x00" if len(body) & 1 else b"")

    body = b"WAVE"
    for kind, b in before:
        body += riff_chunk(kind, b)
    body += riff_chunk(b"fmt ", fmt_body)
    size = len(data) if data_size is None else data_size
    body += b"data" + struct.pack("<I", size) + data + (b"\x00" if len(data) & 1 and data_size is None else b"")
    for kind, b in after:
        body += riff_chunk(kind, b)
    return b"RIFF" + struct.pack("<I", len(body) if riff_size is None else riff_size) + body


def pcm_format(channels, rate, bits):
    align = channels * bits // 8
    return struct.pack("<HHIIHH", 1, channels, rate, rate * align, align, bits)


def extensible_format(channels, rate, bits):
    align = channels * bits // 8
    guid = struct.pack("<IHH", 1, 0, 0x10) + bytes([0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71])
    return (struct.pack("<HHIIHH", 0xFFFE, channels, rate, rate * align, align, bits) +
            struct.pack("<HHI", 22, bits, 3) + guid)


def tone16(count, hz, rate, channels=1):
    out = b""
    for i in range(count):
        v = int(12000 * math.sin(2 * math.pi * hz * i / rate) * math.exp(-i / (count / 3)))
        out += struct.pack("<h", v) * channels
    return out


def tone8(count, hz, rate, channels=1):
    return bytes(128 + int(90 * math.sin(2 * math.pi * hz * i / rate)) for i in range(count) for _ in range(channels))


def waves():
    return {
        "mono16_44100.wav": wave(pcm_format(1, 44100, 16), tone16(160, 880, 44100)),
        "stereo8_list.wav": wave(pcm_format(2, 11025, 8), tone8(90, 440, 11025, 2),
                                 before=[(b"LIST", b"INFOISFT\x05\x00\x00\x00ours\x00")]),
        "mono8_odd_fact.wav": wave(pcm_format(1, 8000, 8), tone8(61, 300, 8000),
                                   before=[(b"fact", struct.pack("<I", 61))], after=[(b"junk", b"abc")]),
        "extensible16_stereo.wav": wave(extensible_format(2, 22050, 16), tone16(70, 660, 22050, 2)),
        "truncated16.wav": wave(pcm_format(1, 22050, 16), tone16(50, 1000, 22050), data_size=4000, riff_size=0),
    }


def scripts():
    return {
        "readme.txt": b"text ace\ntap Return\nclose dialog\nuntil wait\ntap F4\nadvance 200\nstate\ntap Escape\n",
        "keys_and_pad.txt": (b"kavrona-script 1\nkey Left down\nframes 30\nkey Left up\n  tap Space 40\n"
                             b"pad attach haptic\npad axis x -32768\npad button 1 down\npad button 1 up\npad detach\n"
                             b"click 400 300\npixel 10 20\nshot /tmp/kav_seed.png\nquit\n"),
        "set_values.txt": (b"set A=12 B=-0.5 C=true D=\"x y\" E=[1, 2, [3]] F=ABC G=3D H=null\r\n"
                           b"expect PlayerName=\"\\u30a2\\u30a4\" FullScreenOn=0\n"),
        "events.txt": (b"# a comment\nuntil clear 2\nuntil dialog\ncompose \xe3\x81\x8b\nfocus lost\nfocus gained\n"
                       b"close\nclose dialog\nexpect Heli.X=1e5 Heli.Y=[\"\\ud83d\\ude00\",{\"k\":false}]\n"),
        "json.txt": b"{\"a\":[1,-0.0,1.5e308,\"\\t\\u0001\",null,{\"b\":[]}],\"c\":-9223372036854775808}",
    }


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    for name, files in (("png", pngs()), ("wave", waves()), ("commands", scripts())):
        folder = os.path.join(root, name)
        os.makedirs(folder, exist_ok=True)
        for file, data in files.items():
            with open(os.path.join(folder, file), "wb") as out:
                out.write(data)


if __name__ == "__main__":
    main()
