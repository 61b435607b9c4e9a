#!/usr/bin/env python3
"""Reference outputs from Python's standard library for the mail coder tests.

Each mode makes its own inputs from a fixed seed and prints one case a line,
fields separated by TABs, bytes as hex. The check-* modes read the test
program's outputs on stdin and print a line for each one Python disagrees
with (nothing when all agree).
"""
import base64
import binascii
import email.header
import email.utils
import random
import re
import sys
import unicodedata

rng = random.Random(20030603)


def rand_bytes(max_len, alphabet=None):
    n = rng.choice([0, 1, 2, 3, 4, 56, 57, 58]) if rng.random() < 0.2 else rng.randint(0, max_len)
    if alphabet is None:
        return bytes(rng.getrandbits(8) for _ in range(n))
    return bytes(rng.choice(alphabet) for _ in range(n))


def mode_base64():
    for _ in range(300):
        data = rand_bytes(200)
        print(data.hex(), base64.b64encode(data).decode(), sep="\t")


def mode_uu():
    for _ in range(300):
        data = rand_bytes(45)[:45]
        print(data.hex(), binascii.b2a_uu(data, backtick=True).decode().rstrip("\n"), sep="\t")


def qp_inputs():
    text = b"abcdefghij .=\t\r\n\x00\xe9\xff"
    for _ in range(300):
        if rng.random() < 0.5:
            data = rand_bytes(300)
        else:
            data = rand_bytes(300, text)
        yield data


def mode_qp():
    for data in qp_inputs():
        print(data.hex(), binascii.b2a_qp(data).hex(), sep="\t")


def mode_qp_inputs():
    for data in qp_inputs():
        print(data.hex())


def mode_check_qp():
    for line in sys.stdin:
        data_hex, coded_hex = line.rstrip("\n").split("\t")
        data, coded = bytes.fromhex(data_hex), bytes.fromhex(coded_hex)
        if binascii.a2b_qp(coded) != data:
            print("decodes differently:", data_hex, coded_hex)


def header_texts():
    latin = bytes(range(0x20, 0x7F)) + bytes(range(0xA0, 0x100))
    for _ in range(200):
        words = []
        for _ in range(rng.randint(1, 12)):
            plain = rng.random() < 0.4
            alphabet = b"abcdefghijklmnopqrstuvwxyz" if plain else latin
            word = bytes(rng.choice(alphabet) for _ in range(rng.randint(1, 14)))
            words.append(word.replace(b" ", b"x"))
        yield b" ".join(words)


def mode_header():
    for data in header_texts():
        text = data.decode("latin-1")
        coded = email.header.Header(text, "iso-8859-1", maxlinelen=76).encode()
        print(data.hex(), coded.encode("ascii").hex(), sep="\t")


def mode_header_inputs():
    for data in header_texts():
        print(data.hex())


def mode_check_header():
    for line in sys.stdin:
        data_hex, coded_hex = line.rstrip("\n").split("\t")
        data = bytes.fromhex(data_hex)
        coded = bytes.fromhex(coded_hex).decode("ascii")
        unfolded = coded.replace("\r\n", "")
        decoded = str(email.header.make_header(email.header.decode_header(unfolded)))
        if decoded.encode("latin-1") != data:
            print("decodes differently:", data_hex, repr(coded), repr(decoded))


def mode_check_header_utf8():
    # Our folded UTF-8 header values: unfolded and decoded, each must give
    # the text back.
    for line in sys.stdin:
        data_hex, coded_hex = line.rstrip("\n").split("\t")
        data = bytes.fromhex(data_hex)
        coded = bytes.fromhex(coded_hex).decode("ascii")
        unfolded = re.sub(r"\r\n(?=[ \t])", "", coded)
        decoded = str(email.header.make_header(email.header.decode_header(unfolded)))
        if decoded.encode("utf-8") != data:
            print("decodes differently:", data_hex, repr(coded), repr(decoded))


def mode_address():
    atom = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!#$%&'*+-/=?_`{|}~"
    name_chars = atom + "      .,;:<>@()[]\\\""
    for _ in range(300):
        local = "".join(rng.choice(atom) for _ in range(rng.randint(1, 10)))
        domain = ".".join(
            "".join(rng.choice("abcdefghijklmnopqrstuvwxyz0123456789") for _ in range(rng.randint(1, 8)))
            for _ in range(rng.randint(1, 3))
        )
        address = local + "@" + domain
        name = "".join(rng.choice(name_chars) for _ in range(rng.randint(0, 16))).strip()
        while "  " in name:
            name = name.replace("  ", " ")
        if name.upper() == address.upper():
            name = ""
        formatted = email.utils.formataddr((name, address))
        parsed_name, parsed_address = email.utils.parseaddr(formatted)
        print(name, address, formatted, parsed_name, parsed_address, sep="\t")


def mode_dates():
    for _ in range(200):
        stamp = rng.randint(0, 4102444799)  # 1970 .. 2099
        offset = rng.choice([0, 60, -300, 330, -720, 840]) * 60
        print(stamp, offset, email.utils.format_datetime(
            __import__("datetime").datetime.fromtimestamp(
                stamp, __import__("datetime").timezone(__import__("datetime").timedelta(seconds=offset)))),
            sep="\t")


def mode_check_dates():
    # Our text for a UTC time: Python must read the same instant.
    for line in sys.stdin:
        stamp, text = line.rstrip("\n").split("\t")
        parsed = email.utils.parsedate_tz(text)
        if parsed is None or email.utils.mktime_tz(parsed) != int(stamp):
            print("reads differently:", stamp, text, parsed)


def jis_texts():
    double = []
    for row in range(0x21, 0x75):
        for cell in range(0x21, 0x7F):
            try:
                char = bytes([0x1B, 0x24, 0x42, row, cell, 0x1B, 0x28, 0x42]).decode("iso2022_jp")
                char.encode("shift_jis")
                double.append(char)
            except UnicodeError:
                pass
    ascii_part = "abcXYZ019 "
    kana = [chr(c) for c in range(0xFF61, 0xFFA0)]
    for _ in range(200):
        parts = []
        for _ in range(rng.randint(0, 20)):
            pick = rng.random()
            if pick < 0.5:
                parts.append(rng.choice(double))
            elif pick < 0.8:
                parts.append(rng.choice(ascii_part))
            else:
                parts.append(rng.choice(kana))
        yield "".join(parts)


def full_width(text):
    # Half-width katakana become full width, joined with a following sound
    # mark where the pair has a character of its own; a mark left alone is
    # the spacing mark.
    marks = {"\uff9e": "\u3099", "\uff9f": "\u309a"}
    spacing = {"\uff9e": "\u309b", "\uff9f": "\u309c"}
    out = []
    i = 0
    while i < len(text):
        ch = text[i]
        if 0xFF61 <= ord(ch) <= 0xFF9D:
            wide = unicodedata.normalize("NFKC", ch)
            if i + 1 < len(text) and text[i + 1] in marks:
                joined = unicodedata.normalize("NFC", wide + marks[text[i + 1]])
                if len(joined) == 1 and joined not in "\u30f7\u30f8\u30f9\u30fa":
                    out.append(joined)
                    i += 2
                    continue
            out.append(wide)
        elif ch in spacing:
            out.append(spacing[ch])
        else:
            out.append(ch)
        i += 1
    return "".join(out)


def mode_jis():
    for text in jis_texts():
        sjis = text.encode("shift_jis")
        print(sjis.hex(), full_width(text).encode("iso2022_jp").hex(), sep="\t")


MODES = {name[5:].replace("_", "-"): fn for name, fn in globals().items() if name.startswith("mode_")}

if __name__ == "__main__":
    MODES[sys.argv[1]]()
