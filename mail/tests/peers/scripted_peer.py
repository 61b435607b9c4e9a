#!/usr/bin/env python3
"""A scripted TCP peer for the connection tests, on 127.0.0.1 only.

Listens on a free loopback port, prints "PORT <n>", accepts one connection
and runs its steps in order, then closes. Steps after a "--" are run on the
next connection accepted, so one peer can serve a table of cases:

  send:<hex>     send the bytes
  expect:<hex>   read exactly that many bytes; they must be these
  recv:<n>       read exactly n bytes and print "RECV <hex>"
  recvline       read up to and including LF and print "LINE <hex>"
  pause:<ms>     wait a moment, so the next bytes arrive in a read of their own
  stall          send nothing and wait until the client closes
  reset          close at once with a reset instead of a FIN

A mismatch prints "MISMATCH <hex received>" and ends the script; the end
prints "DONE". The whole run is cut off after a few seconds so a broken test
can never leave the peer behind.
"""
import signal
import socket
import struct
import sys
import time


def read_exact(conn, count):
    data = b""
    while len(data) < count:
        chunk = conn.recv(count - len(data))
        if not chunk:
            break
        data += chunk
    return data


def run(conn, steps):
    for step in steps:
        name, _, arg = step.partition(":")
        if name == "send":
            conn.sendall(bytes.fromhex(arg))
        elif name == "expect":
            want = bytes.fromhex(arg)
            got = read_exact(conn, len(want))
            if got != want:
                print("MISMATCH", got.hex(), flush=True)
                return
        elif name == "recv":
            print("RECV", read_exact(conn, int(arg)).hex(), flush=True)
        elif name == "recvline":
            line = b""
            while not line.endswith(b"\n"):
                chunk = conn.recv(1)
                if not chunk:
                    break
                line += chunk
            print("LINE", line.hex(), flush=True)
        elif name == "pause":
            time.sleep(int(arg) / 1000)
        elif name == "stall":
            while conn.recv(4096):
                pass
        elif name == "reset":
            conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            conn.close()
            return
        else:
            print("BADSTEP", step, flush=True)
            return
    conn.close()


def main():
    signal.alarm(10)
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    print("PORT", listener.getsockname()[1], flush=True)
    groups = [[]]
    for arg in sys.argv[1:]:
        if arg == "--":
            groups.append([])
        else:
            groups[-1].append(arg)
    for steps in groups:
        conn, _ = listener.accept()
        try:
            run(conn, steps)
        except OSError as error:
            print("ERROR", error, flush=True)
        conn.close()
    listener.close()
    print("DONE", flush=True)


if __name__ == "__main__":
    main()
