# pngio: just enough PNG for the browser test: reading the capture tool's 8-bit RGB or
# RGBA pictures (every filter type, no interlace) and writing RGB ones.
import struct
import zlib

_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def _chunks(data):
    at = 8
    while at + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        yield kind, data[at + 8:at + 8 + length]
        at += 12 + length


def _unfilter(raw, width, height, channels):
    stride = width * channels
    out = bytearray(stride * height)
    previous = bytearray(stride)
    at = 0
    for y in range(height):
        kind = raw[at]
        row = bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        if kind == 1:
            for i in range(channels, stride):
                row[i] = (row[i] + row[i - channels]) & 0xFF
        elif kind == 2:
            row = bytearray((a + b) & 0xFF for a, b in zip(row, previous))
        elif kind == 3:
            for i in range(stride):
                left = row[i - channels] if i >= channels else 0
                row[i] = (row[i] + ((left + previous[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                a = row[i - channels] if i >= channels else 0
                b = previous[i]
                c = previous[i - channels] if i >= channels else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                predictor = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                row[i] = (row[i] + predictor) & 0xFF
        elif kind != 0:
            raise ValueError("bad PNG filter type %d" % kind)
        out[y * stride:(y + 1) * stride] = row
        previous = row
    return out


def read_rgb(path):
    """Returns (width, height, RGB bytes, top row first)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != _SIGNATURE:
        raise ValueError("%s is not a PNG file" % path)
    header, idat = None, bytearray()
    for kind, body in _chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    if header is None:
        raise ValueError("%s has no header" % path)
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError("%s: only 8-bit RGB or RGBA without interlace is read" % path)
    channels = 3 if colour == 2 else 4
    pixels = _unfilter(zlib.decompress(bytes(idat)), width, height, channels)
    if channels == 4:
        del pixels[3::4]
    return width, height, bytes(pixels)


def write_rgb(path, width, height, rgb):
    """Writes RGB bytes, top row first."""
    stride = width * 3
    raw = b"".join(b"\x00" + rgb[y * stride:(y + 1) * stride] for y in range(height))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    with open(path, "wb") as f:
        f.write(_SIGNATURE + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))
