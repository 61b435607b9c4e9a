#!/usr/bin/env python3
"""Reads the reply a report connection left in the shared buffer, on its own:
the main segment's header, the overflow segment it names, and a row reply
decoded with the column types given. Prints the reply's bytes as hex and the
row in the engine emulator's words.

    buffer_reader.py <main segment path> <type,type,...>
"""
import mmap
import os
import struct
import sys


def read_string(buf, pos, end):
    result = b""
    while True:
        if pos + 4 > end:
            raise ValueError("string runs past the reply")
        (kind,) = struct.unpack_from("<i", buf, pos)
        pos += 4
        if kind == 0:
            return result.decode("utf-8"), pos
        (length,) = struct.unpack_from("<i", buf, pos)
        pos += 4
        if length < 0 or pos + length > end:
            raise ValueError("string runs past the reply")
        data = bytes(buf[pos:pos + length])
        pos += length
        if kind == 1:
            result = data


def main():
    path, types = sys.argv[1], [int(t) for t in sys.argv[2].split(",")]
    with open(path, "rb") as f:
        main_map = mmap.mmap(f.fileno(), 0, access=mmap.ACCESS_READ)
    length, overflow = struct.unpack_from("<ii", main_map, 0)
    buf = main_map
    if length == 0 and overflow:
        alt = path.replace("RDCBUFFER", "RDCBUFFERALT" + str(overflow))
        with open(alt, "rb") as f:
            buf = mmap.mmap(f.fileno(), 0, access=mmap.ACCESS_READ)
        length, _ = struct.unpack_from("<ii", buf, 0)
        print("overflow", overflow)
    if not 8 <= length <= len(buf):
        raise ValueError("reply length out of range")
    print("hex", bytes(buf[:length]).hex())

    if buf[8] == 1:
        print("end")
        return
    (row_length,) = struct.unpack_from("<i", buf, 9)
    table = 13
    end = table + row_length
    if end > length:
        raise ValueError("row runs past the reply")
    line = "row"
    for i, kind in enumerate(types):
        value, display = struct.unpack_from("<ii", buf, table + 8 * i)
        line += " |"
        if display > 0:
            text, _ = read_string(buf, table + display, end)
            line += ' "%s" =>' % text
        if value == -1:
            line += " null"
        elif value == 0:
            line += " -"
        elif kind == 0:
            text, _ = read_string(buf, table + value, end)
            line += " <%d bytes>" % len(text) if len(text) > 40 else ' "%s"' % text
        elif kind == 1:
            line += " %d" % struct.unpack_from("<i", buf, table + value)[0]
        else:
            raise ValueError("type %d is not read here" % kind)
    print(line)


if __name__ == "__main__":
    main()
