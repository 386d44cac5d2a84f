#!/usr/bin/python3
"""A local SMTP server for the mail tests: STARTTLS with a certificate made at start, AUTH LOGIN.

Prints its port on the first line of standard output. Every message it takes is written to --out as
msgN.eml (the bytes received), msgN.txt (the envelope, the session and the MIME structure) and
msgN.headers (the header names in order, then the address and subject headers as a reader decodes
them); every recipient a client names (taken or refused) and every login attempt is appended to --out/session.log,
with whether the connection was encrypted at that moment. --implicit-tls speaks TLS from the first byte
(as on port 465) instead of offering STARTTLS; --cert-out copies the certificate (for localhost and
127.0.0.1) to a file a client can trust.
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


def decoded_header(msg, name):
    """The header as a mail reader shows it (encoded words decoded), control characters written out."""
    try:
        value = str(msg[name])
    except ValueError as error:
        return "unreadable (" + str(error) + ")"
    return value.replace("\r", "\\r").replace("\n", "\\n").replace("\t", "\\t")


def encrypted(server):
    """Whether the connection is encrypted now: after STARTTLS or from the first byte."""
    return server.session.ssl is not None or (
        server.transport is not None and server.transport.get_extra_info("ssl_object") is not None)


def log(args, line):
    with open(os.path.join(args.out, "session.log"), "a", encoding="utf-8") as f:
        f.write(line + "\n")


class Handler:
    def __init__(self, args):
        self.args = args
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        log(self.args, "rcpt " + address + " tls " + ("1" if encrypted(server) else "0"))
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
            "tls " + ("1" if encrypted(server) else "0"),
            "auth " + (self.args.user if session.authenticated else "-"),
            "structure " + structure(msg),
        ]
        with open(base + ".txt", "w", encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")
        headers = [", ".join(msg.keys()),
                   *(name + ": " + decoded_header(msg, name) for name in ("From", "To", "Cc", "Subject") if name in msg)]
        with open(base + ".headers", "w", encoding="utf-8") as f:
            f.write("\n".join(headers) + "\n")
        return "250 Message accepted"


class LoggingSMTP(SMTP):
    log_args = None

    async def smtp_AUTH(self, arg):
        # The mechanism only: a LOGIN with an initial response carries the encoded user name.
        mechanism = arg.split()[0] if arg else ""
        log(self.log_args, "auth " + mechanism + " tls " + ("1" if encrypted(self) else "0"))
        await super().smtp_AUTH(arg)


class RefusingSMTP(LoggingSMTP):
    async def smtp_STARTTLS(self, arg):
        await self.push("454 4.7.0 TLS nicht verfuegbar")


def make_certificate(folder):
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                    "-days", "1", "-subj", "/CN=localhost",
                    "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1"], check=True, capture_output=True)
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    return context, cert


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
    p.add_argument("--implicit-tls", action="store_true", help="TLS from the first byte, no STARTTLS")
    p.add_argument("--cert-out", help="copy the server's certificate to this file")
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
    tls, cert = make_certificate(folder)
    if args.cert_out:
        shutil.copyfile(cert, args.cert_out)
    handler = Handler(args)
    starttls = not args.no_starttls and not args.implicit_tls
    kwargs = dict(authenticator=authenticator, auth_require_tls=starttls, auth_required=False,
                  auth_exclude_mechanism=["PLAIN"])
    if starttls:
        kwargs["tls_context"] = tls
    LoggingSMTP.log_args = args
    smtp_class = RefusingSMTP if args.refuse_starttls else LoggingSMTP

    class Ctl(Controller):
        def factory(self):
            return smtp_class(self.handler, **kwargs)

    # The tests provoke failed handshakes and refusals: the server keeps quiet about them.
    logging.getLogger("mail.log").setLevel(logging.CRITICAL)
    warnings.simplefilter("ignore")
    controller = Ctl(handler, hostname="127.0.0.1", port=port, ssl_context=tls if args.implicit_tls else None)
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
