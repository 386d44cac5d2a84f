#!/usr/bin/python3
"""Stand-in for the cart template server and the click-script update server.

    GET <prefix>/lotto/lotto.asp?Spiel=Keno&Wo=PORTAL&Tipps=N
        answers with the cart template: the bytes of --template FILE (default: a template that
        carries every placeholder), with status --status (default 200). --answer changes that:
            message   an HTML page with the word "Mitteilung"
            garbage   200 with a body that is no web address
            drop      the connection is closed without any answer
            slow      the template after --delay seconds
    GET <prefix>/scripts/NAME.txt
        the file NAME from --scripts DIR with its modification time as Last-Modified; 404 without it.

The server binds to 127.0.0.1 on --port (0, the default, picks a free one) and prints the port as the
first line of its standard output. --log FILE appends every request (path and query) to FILE.
"""
import argparse
import email.utils
import http.server
import os
import sys
import threading
import time
import urllib.parse

DEFAULT_TEMPLATE = (
    "https://shop.example.invalid/lotto/warenkorb2.asp?los=[LOS1][LOS2][LOS3][LOS4][LOS5]&plus5=[PLUS5]"
    "&anzahl=[ANZAHL]&einsatz=[PREIS]&k1=[KASTEN1]&k2=[KASTEN2]&k3=[KASTEN3]&k4=[KASTEN4]&k5=[KASTEN5]"
)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):
        pass

    def send(self, status, body, content_type="text/plain; charset=windows-1252", headers=None):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for k, v in (headers or {}).items():
            self.send_header(k, v)
        self.end_headers()
        if status != 204:
            self.wfile.write(body)

    def do_GET(self):
        opts = self.server.opts
        if opts.log:
            with open(opts.log, "a", encoding="utf-8") as f:
                f.write(self.path + "\n")
        url = urllib.parse.urlsplit(self.path)
        path = url.path
        if path.endswith("/lotto/lotto.asp") or path == "/lotto/lotto.asp":
            self.template()
        elif "/scripts/" in path:
            self.script(urllib.parse.unquote(path.rsplit("/scripts/", 1)[1]))
        else:
            self.send(404, "Nicht gefunden".encode("cp1252"))

    def template(self):
        opts = self.server.opts
        if opts.answer == "drop":
            self.close_connection = True
            self.connection.shutdown(2)
            return
        if opts.answer == "slow":
            time.sleep(opts.delay)
        if opts.answer == "message":
            body = "<html><body><h1>Mitteilung</h1><p>Der Warenkorb ist heute geschlossen.</p></body></html>"
            self.send(200, body.encode("cp1252"), "text/html; charset=windows-1252")
            return
        if opts.answer == "garbage":
            self.send(200, b"\x00\x01<<< kein Warenkorb >>>\xff")
            return
        body = DEFAULT_TEMPLATE.encode("utf-8")
        if opts.template:
            with open(opts.template, "rb") as f:
                body = f.read()
        self.send(opts.status, body)

    def script(self, name):
        opts = self.server.opts
        if not opts.scripts or not name.endswith(".txt") or "/" in name or name.startswith("."):
            self.send(404, b"")
            return
        path = os.path.join(opts.scripts, name)
        if not os.path.isfile(path):
            self.send(404, b"")
            return
        with open(path, "rb") as f:
            body = f.read()
        modified = email.utils.formatdate(os.path.getmtime(path), usegmt=True)
        self.send(200, body, "application/octet-stream", {"Last-Modified": modified})


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a client that hung up is no news


def main():
    parser = argparse.ArgumentParser(description="Stand-in for the cart template and script servers.")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--template", help="file whose bytes are the cart template")
    parser.add_argument("--status", type=int, default=200, help="status of the template answer")
    parser.add_argument("--answer", choices=["template", "message", "garbage", "drop", "slow"], default="template")
    parser.add_argument("--delay", type=float, default=5.0)
    parser.add_argument("--scripts", help="folder of the newest click-script templates")
    parser.add_argument("--log", help="append every request to this file")
    opts = parser.parse_args()
    server = Server(("127.0.0.1", opts.port), Handler)
    server.opts = opts
    print(server.server_address[1], flush=True)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        thread.join()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
