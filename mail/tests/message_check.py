#!/usr/bin/env python3
"""Reads a message as the message client put it on the wire and reports it
as Python's email package sees it, one item a line, fields separated by TABs:

  HEADER <name> <decoded value>
  PART <content type> <file name> <hex of the decoded payload>   (leaf parts;
       text with LF line ends and no line ends at its end)
  DEFECTS <number of defects the parser found>

With "uu" as the first argument, the input is UUE blocks instead and the
output is the hex of each block's data, decoded line by line by binascii.
"""
import binascii
import email
import email.policy
import sys


def unstuff(data):
    lines = data.split(b"\r\n")
    return b"\r\n".join(line[1:] if line.startswith(b".") else line for line in lines)


def report_message(data):
    message = email.message_from_bytes(unstuff(data), policy=email.policy.default)
    defects = len(message.defects)
    for name, value in message.items():
        print("HEADER", name, str(value), sep="\t")
    for part in message.walk():
        defects += len(part.defects)
        if part.is_multipart():
            continue
        payload = part.get_payload(decode=True) or b""
        if part.get_content_maintype() == "text":
            # Text is compared by its lines; where its last line ends is the
            # layout's business, which the golden files pin.
            payload = payload.replace(b"\r\n", b"\n").rstrip(b"\n")
        print("PART", part.get_content_type(), part.get_filename() or "", payload.hex(), sep="\t")
    print("DEFECTS", defects, sep="\t")


def report_uu(data):
    out = None
    for line in data.split(b"\r\n"):
        if line.startswith(b"begin "):
            out = b""
        elif line.strip() == b"end":
            print(out.hex())
            out = None
        elif out is not None:
            out += binascii.a2b_uu(line)


def main():
    data = sys.stdin.buffer.read()
    if len(sys.argv) > 1 and sys.argv[1] == "uu":
        report_uu(data)
    else:
        report_message(data)


if __name__ == "__main__":
    main()
