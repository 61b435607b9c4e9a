"""Sends prepared alert e-mails with Python's smtplib to an SMTP server on
loopback, one connection for all, and prints the seconds the sending took.

Usage: python3 alert_email_floor.py <port> <messages file>
The file holds, per message, a line "<recipient> <length>" and then that many
bytes of message.
"""
import smtplib
import sys
import time


def main():
    port = int(sys.argv[1])
    messages = []
    with open(sys.argv[2], "rb") as source:
        while True:
            head = source.readline()
            if not head:
                break
            recipient, length = head.split()
            messages.append((recipient.decode(), source.read(int(length))))
    started = time.perf_counter()
    client = smtplib.SMTP("127.0.0.1", port, local_hostname="bench.test")
    client.ehlo("bench.test")
    for recipient, message in messages:
        client.sendmail("alerts@shop.example", [recipient], message)
    client.quit()
    print(time.perf_counter() - started)


if __name__ == "__main__":
    main()
