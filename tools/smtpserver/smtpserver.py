#!/usr/bin/python3
"""A local SMTP server for the mail tests: STARTTLS with a certificate made at start, AUTH LOGIN.

Prints its port on the first line of standard output. Every message it takes is written to --out as
msgN.eml (the bytes received) and msgN.txt (the envelope, the session and the MIME structure).
"""
import argparse
import email
import email.policy
import os
import socket
import ssl
import shutil
import subprocess
import sys
import tempfile
import time
import logging
import warnings

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def structure(part):
    kind = part.get_content_type()
    if part.is_multipart():
        return kind + "(" + ",".join(structure(p) for p in part.get_payload()) + ")"
    extra = []
    charset = part.get_content_charset()
    if charset:
        extra.append("charset=" + charset)
    cte = part.get("Content-Transfer-Encoding")
    if cte:
        extra.append(cte.lower())
    disposition = part.get_content_disposition()
    if disposition:
        extra.append(disposition + "=" + (part.get_filename() or ""))
    return kind + ("[" + ";".join(extra) + "]" if extra else "")


class Handler:
    def __init__(self, args):
        self.args = args
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address in self.args.refuse:
            return "550 5.1.1 Empfaenger unbekannt: " + address
        if address in self.args.hang_up:
            server.transport.close()
            return "421 4.3.0 bye"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.args.out, "msg%d" % self.count)
        with open(base + ".eml", "wb") as f:
            f.write(envelope.original_content)
        msg = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
        lines = [
            "from " + envelope.mail_from,
            *("rcpt " + r for r in envelope.rcpt_tos),
            "tls " + ("1" if session.ssl else "0"),
            "auth " + (self.args.user if session.authenticated else "-"),
            "structure " + structure(msg),
        ]
        with open(base + ".txt", "w", encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")
        return "250 Message accepted"


class RefusingSMTP(SMTP):
    async def smtp_STARTTLS(self, arg):
        await self.push("454 4.7.0 TLS nicht verfuegbar")


def make_certificate(folder):
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                    "-days", "1", "-subj", "/CN=localhost"], check=True, capture_output=True)
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    return context


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--port", type=int, default=0)
    p.add_argument("--out", required=True)
    p.add_argument("--user", default="alice")
    p.add_argument("--password", default="geheim")
    p.add_argument("--refuse", action="append", default=[])
    p.add_argument("--hang-up", action="append", default=[], help="close the connection at this recipient")
    p.add_argument("--no-starttls", action="store_true")
    p.add_argument("--refuse-starttls", action="store_true")
    args = p.parse_args()

    port = args.port
    if port == 0:
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            port = s.getsockname()[1]

    def authenticator(server, session, envelope, mechanism, auth_data):
        ok = (mechanism == "LOGIN" and isinstance(auth_data, LoginPassword)
              and auth_data.login.decode() == args.user and auth_data.password.decode() == args.password)
        return AuthResult(success=ok, handled=False)

    folder = tempfile.mkdtemp(prefix="zf_smtp_")
    tls = None if args.no_starttls else make_certificate(folder)
    handler = Handler(args)
    kwargs = dict(authenticator=authenticator, auth_require_tls=not args.no_starttls, auth_required=False,
                  auth_exclude_mechanism=["PLAIN"])
    if tls:
        kwargs["tls_context"] = tls
    smtp_class = RefusingSMTP if args.refuse_starttls else SMTP

    class Ctl(Controller):
        def factory(self):
            return smtp_class(self.handler, **kwargs)

    # The tests provoke failed handshakes and refusals: the server keeps quiet about them.
    logging.getLogger("mail.log").setLevel(logging.CRITICAL)
    warnings.simplefilter("ignore")
    controller = Ctl(handler, hostname="127.0.0.1", port=port)
    controller.start()
    print(port, flush=True)
    try:
        while True:
            time.sleep(3600)
    except KeyboardInterrupt:
        pass
    finally:
        controller.stop()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    import signal
    signal.signal(signal.SIGTERM, lambda *a: sys.exit(0))
    main()
