#!/usr/bin/env python3
"""An SMTP server for the SMTP client tests, on 127.0.0.1 only.

  smtp_server.py MODE CERT KEY

MODE is "plain", "starttls" or "implicit" (TLS from the first byte). The
server accepts AUTH LOGIN for the user "alerts" with the password
"pa55word"; under STARTTLS it offers AUTH only once TLS is running. It
prints "PORT <n>", then for each message it accepts:

  MESSAGE
  TLS yes|no            whether the session was encrypted
  AUTH <login>|-        who had authenticated
  MAILFROM <address>
  RCPT <address>        one per recipient
  HEADER <name>: <value> each header, as Python's email package reads it
  LINE <hex>            each body line, without its CR LF
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
    async def handle_DATA(self, server, session, envelope):
        data = envelope.original_content or b""
        encrypted = server.transport.get_extra_info("ssl_object") is not None
        out = ["MESSAGE", "TLS " + ("yes" if encrypted else "no")]
        out.append("AUTH " + getattr(session, "who", "-"))
        out.append("MAILFROM " + envelope.mail_from)
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
        if data.replace(b"\r\n", b"").find(b"\n") >= 0:
            out.append("BARELF")
        out.append("END")
        print("\n".join(out), flush=True)
        return "250 OK"


def main():
    # aiosmtpd warns about its own use of deprecated names.
    warnings.simplefilter("ignore")
    mode, cert, key = sys.argv[1:4]
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
            lambda: SMTP(Handler(), **options),
            host="127.0.0.1",
            port=0,
            ssl=context if mode == "implicit" else None,
        )
    )
    print("PORT", server.sockets[0].getsockname()[1], flush=True)
    loop.run_forever()


if __name__ == "__main__":
    main()
