#!/usr/bin/env python3
"""An SMTP server for the SMTP client tests, on 127.0.0.1 only.

  smtp_server.py MODE CERT KEY

MODE is "plain", "starttls" or "implicit" (TLS from the first byte),
optionally followed by ":hold=<k>": once k messages are accepted, the next
MAIL FROM prints "HOLD" and gets no answer for a minute (a client to be
killed in the middle of its run). The server accepts AUTH LOGIN for the
user "alerts" with the password "pa55word"; under STARTTLS it offers AUTH
only once TLS is running. It refuses every recipient whose address starts
with "refused" (550), answers one that starts with "closing" with a 421
(the server closing the connection), and refuses the data of a message to
one that starts with "bounce" (554). It prints "PORT <n>", then for each message it accepts:

  MESSAGE
  TLS yes|no            whether the session was encrypted
  AUTH <login>|-        who had authenticated
  MAILFROM <address>
  MAILOPTIONS <the MAIL FROM parameters, space-separated>
  RCPT <address>        one per recipient
  HEADER <name>: <value> each header, as Python's email package reads it
  LINE <hex>            each body line, without its CR LF
  PAYLOAD <hex>         the body with its transfer encoding undone
  BARELF                when the data held an LF without a CR before it
  END

The run is cut off after a while, so a broken test never leaves it behind.
"""
import asyncio
import email
import re
import email.policy
import signal
import ssl
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

USER = b"alerts"
PASSWORD = b"pa55word"


def authenticate(server, session, envelope, mechanism, auth_data):
    if isinstance(auth_data, LoginPassword) and (auth_data.login, auth_data.password) == (
        USER,
        PASSWORD,
    ):
        session.who = auth_data.login.decode()
        return AuthResult(success=True)
    return AuthResult(success=False, handled=False)


class Handler:
    def __init__(self, hold):
        self.hold = hold
        self.accepted = 0

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        if self.hold is not None and self.accepted >= self.hold:
            print("HOLD", flush=True)
            await asyncio.sleep(60)
        envelope.mail_from = address
        envelope.mail_options.extend(mail_options)
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("refused"):
            return "550 5.1.1 <%s>: no such mailbox" % address
        if address.startswith("closing"):
            # A refusal at the connection level, as a server that has had
            # enough of this client gives it.
            return "421 4.7.0 <%s>: too many errors, closing the connection" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if any(rcpt.startswith("bounce") for rcpt in envelope.rcpt_tos):
            return "554 5.6.0 message refused"
        self.accepted += 1
        data = envelope.original_content or b""
        encrypted = server.transport.get_extra_info("ssl_object") is not None
        out = ["MESSAGE", "TLS " + ("yes" if encrypted else "no")]
        out.append("AUTH " + getattr(session, "who", "-"))
        out.append("MAILFROM " + envelope.mail_from)
        out.append("MAILOPTIONS " + " ".join(envelope.mail_options))
        out += ["RCPT " + rcpt for rcpt in envelope.rcpt_tos]
        message = email.message_from_bytes(data, policy=email.policy.compat32)
        # A folded value comes back on one line, its fold as one space.
        out += ["HEADER %s: %s" % (name, re.sub(r"\r?\n[ \t]+", " ", value))
                for name, value in message.items()]
        body = data.split(b"\r\n\r\n", 1)[1] if b"\r\n\r\n" in data else b""
        lines = body.split(b"\r\n")
        if lines and lines[-1] == b"":
            lines.pop()
        out += ["LINE " + line.hex() for line in lines]
        out.append("PAYLOAD " + (message.get_payload(decode=True) or b"").hex())
        if data.replace(b"\r\n", b"").find(b"\n") >= 0:
            out.append("BARELF")
        out.append("END")
        print("\n".join(out), flush=True)
        return "250 OK"


def main():
    # aiosmtpd warns about its own use of deprecated names.
    warnings.simplefilter("ignore")
    mode, cert, key = sys.argv[1:4]
    mode, _, hold = mode.partition(":hold=")
    handler = Handler(int(hold) if hold else None)
    signal.alarm(60)
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    options = {"authenticator": authenticate, "hostname": "mx.test"}
    if mode == "plain":
        options["auth_require_tls"] = False
    elif mode == "starttls":
        options["tls_context"] = context
    else:
        options["auth_require_tls"] = False

    loop = asyncio.new_event_loop()
    server = loop.run_until_complete(
        loop.create_server(
            lambda: SMTP(handler, **options),
            host="127.0.0.1",
            port=0,
            ssl=context if mode == "implicit" else None,
        )
    )
    print("PORT", server.sockets[0].getsockname()[1], flush=True)
    loop.run_forever()


if __name__ == "__main__":
    main()
