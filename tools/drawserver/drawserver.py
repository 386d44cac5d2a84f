#!/usr/bin/python3
"""Stand-in for the draw download server.

Serves a draw history (a Keno.dat file or the bundled CSV history) in the download protocol:

    GET <prefix>/zahlen/keno.asp?Datei=yyyymmdd.txt

answers 200 with "dd.mm.yyyy,n1,...,n20,ddddd" for a day it has a draw for, and 500 for a day it
does not have. Draws without a Plus 5 number get one made up from their date (always the same one),
so updates show real Plus 5 lines.

To play a real server's failures, --fault DAY=KIND (DAY as yyyymmdd, or * for every day) answers
that day differently; KIND is one of:

    status:NNN  that HTTP status with a short German error text
    empty       200 with an empty body
    19, 21      19 or 21 numbers instead of 20
    range       a number outside 1..70 (71)
    zero        0 as the first number (the "nothing for this day" answer)
    repeat      one number twice
    baddate     a date that does not exist (31.02.)
    future      a date a week after the requested day
    stale       the draw before the requested day (an old answer)
    plus5-4     only four Plus 5 digits, then a line break
    html        an HTML error page with status 200
    huge        a valid answer followed by --huge-mb megabytes, without Content-Length
    slow        the right answer after --delay seconds
    trickle     the right answer, one byte every --delay/10 seconds
    redirect    302 to the same address (with "&weiter=1"), which then answers normally

The server binds to 127.0.0.1 on --port (0, the default, picks a free one) and prints the port as
the first line of its standard output. --log FILE appends every requested day (yyyymmdd) to FILE.
"""
import argparse
import datetime
import hashlib
import http.server
import os
import struct
import sys
import threading
import time
import urllib.parse

EPOCH = datetime.date(1899, 12, 30)
RECORD = struct.Struct("<d20B5BB6x")
HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_DATA = os.path.normpath(os.path.join(HERE, "..", "..", "data", "keno_draws.csv"))
if not os.path.exists(DEFAULT_DATA):
    # installed as <prefix>/bin/zahlfuchs-drawserver, the history under <prefix>/share/zahlfuchs/
    DEFAULT_DATA = os.path.normpath(os.path.join(HERE, "..", "share", "zahlfuchs", "keno_draws.csv"))


def made_up_plus5(day):
    digest = hashlib.sha256(("Plus5 " + day.strftime("%Y%m%d")).encode()).digest()
    return "%05d" % (int.from_bytes(digest[:8], "big") % 100000)


def load_csv(path):
    draws = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            cells = line.strip().split(",")
            if not cells or cells[0] in ("", "date"):
                continue
            day = datetime.date.fromisoformat(cells[0])
            numbers = [int(c) for c in cells[1:21]]
            plus5 = cells[21].strip() if len(cells) > 21 else ""
            draws[day] = (numbers, plus5 if len(plus5) == 5 and plus5.isdigit() else made_up_plus5(day))
    return draws


def load_keno_dat(path):
    draws = {}
    with open(path, "rb") as f:
        raw = f.read()
    for i in range(len(raw) // RECORD.size):
        fields = RECORD.unpack_from(raw, i * RECORD.size)
        value, numbers, digits, flags = fields[0], list(fields[1:21]), fields[21:26], fields[26]
        if value != value or value <= 0:
            continue
        day = EPOCH + datetime.timedelta(days=int(value))
        plus5 = made_up_plus5(day) if flags & 1 else "".join(str(d % 10) for d in digits)
        draws[day] = (numbers, plus5)
    return draws


def load(path):
    with open(path, "rb") as f:
        head = f.read(5)
    return load_csv(path) if head == b"date," or path.endswith(".csv") else load_keno_dat(path)


def answer_text(day, numbers, plus5):
    return day.strftime("%d.%m.%Y") + "," + "".join("%d," % n for n in numbers) + plus5


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    # Header and body go out in two writes; with Nagle's algorithm the body would wait for the
    # client's delayed acknowledgement, 40 ms for every answer.
    disable_nagle_algorithm = True
    server_version = "Drawserver/1.0"

    def log_message(self, fmt, *args):
        pass

    def send_text(self, status, text, content_type="text/plain; charset=windows-1252"):
        body = text.encode("cp1252", "replace")
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        try:
            self.handle_get()
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True

    def handle_get(self):
        opts = self.server.opts
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query)
        if not url.path.endswith("/zahlen/keno.asp"):
            self.send_text(404, "Seite nicht gefunden")
            return
        datei = query.get("Datei", [""])[0]
        if len(datei) != 12 or not datei.endswith(".txt") or not datei[:8].isdigit():
            self.send_text(400, "Datei=yyyymmdd.txt erwartet")
            return
        try:
            day = datetime.date(int(datei[:4]), int(datei[4:6]), int(datei[6:8]))
        except ValueError:
            self.send_text(400, "kein Datum: " + datei)
            return
        if opts.log:
            with self.server.log_lock, open(opts.log, "a") as log:
                log.write(datei[:8] + "\n")

        fault = self.server.faults.get(datei[:8], self.server.faults.get("*"))
        if fault == "redirect" and "weiter" not in query:
            self.send_response(302)
            self.send_header("Location", self.path + "&weiter=1")
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if fault and fault.startswith("status:"):
            code = int(fault[7:])
            self.send_text(code, "Fehler %d" % code)
            return
        if fault == "empty":
            self.send_text(200, "")
            return
        if fault == "html":
            self.send_text(200, "<html><head><title>Fehler</title></head><body><h1>Wartungsarbeiten</h1>"
                                "<p>Leider ist ein Fehler aufgetreten, bitte versuchen Sie es sp\u00e4ter.</p>"
                                "</body></html>", "text/html; charset=windows-1252")
            return

        draws = self.server.current_draws()
        if fault == "stale":
            earlier = [d for d in draws if d < day]
            if earlier:
                day = max(earlier)
        if day not in draws or (opts.last and day > opts.last):
            self.send_text(500, "Die Datei " + datei + " ist nicht vorhanden.")
            return
        numbers, plus5 = draws[day]
        numbers = list(numbers)
        shown_day = day.strftime("%d.%m.%Y")
        if fault == "19":
            numbers = numbers[:19]
        elif fault == "21":
            numbers.append(next(n for n in range(1, 71) if n not in numbers))
        elif fault == "range":
            numbers[7] = 71
        elif fault == "zero":
            numbers[0] = 0
        elif fault == "repeat":
            numbers[5] = numbers[4]
        elif fault == "baddate":
            shown_day = "31.02.%d" % day.year
        elif fault == "future":
            shown_day = (day + datetime.timedelta(days=7)).strftime("%d.%m.%Y")
        elif fault == "plus5-4":
            plus5 = plus5[:4] + "\r\n"
        text = shown_day + "," + "".join("%d," % n for n in numbers) + plus5

        if fault == "slow":
            time.sleep(opts.delay)
        if fault == "trickle":
            body = text.encode("cp1252")
            self.send_response(200)
            self.send_header("Content-Type", "text/plain")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            for i in range(len(body)):
                self.wfile.write(body[i:i + 1])
                self.wfile.flush()
                time.sleep(opts.delay / 10)
            return
        if fault == "huge":
            self.send_response(200)
            self.send_header("Content-Type", "text/plain")
            self.send_header("Connection", "close")
            self.end_headers()
            self.close_connection = True
            self.wfile.write(text.encode("cp1252"))
            filler = b"0123456789" * 6553 + b"\r\n"
            for _ in range(opts.huge_mb * 16):
                self.wfile.write(filler)
            return
        self.send_text(200, text)


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # A client that drops a kept-alive connection or gives up waiting is no error of the server.
        if isinstance(sys.exc_info()[1], (ConnectionError, TimeoutError)):
            return
        super().handle_error(request, client_address)

    def load_data(self):
        self.draws = load(self.opts.data)
        self.data_stamp = self.stamp()
        self.data_lock = threading.Lock()

    def stamp(self):
        try:
            st = os.stat(self.opts.data)
            return (st.st_ino, st.st_size, st.st_mtime_ns)
        except OSError:
            return None

    def current_draws(self):
        # A host brings its history up to date (zahlfuchs-cli import or update) without a restart.
        with self.data_lock:
            stamp = self.stamp()
            if stamp is not None and stamp != self.data_stamp:
                try:
                    self.draws = load(self.opts.data)
                    self.data_stamp = stamp
                except (OSError, ValueError):
                    pass  # half-written or unreadable: keep serving what was read before
            return self.draws


def parse_faults(items):
    kinds = {"empty", "19", "21", "range", "zero", "repeat", "baddate", "future", "stale", "plus5-4", "html",
             "huge", "slow", "trickle", "redirect"}
    faults = {}
    for item in items:
        day, _, kind = item.partition("=")
        if day != "*" and not (len(day) == 8 and day.isdigit()):
            raise SystemExit("--fault: Tag als yyyymmdd oder * erwartet: " + item)
        if kind not in kinds and not (kind.startswith("status:") and kind[7:].isdigit()):
            raise SystemExit("--fault: unbekannte Art: " + item)
        faults[day] = kind
    return faults


def main():
    parser = argparse.ArgumentParser(description="Stand-in for the draw download server.")
    parser.add_argument("--data", default=DEFAULT_DATA, help="Keno.dat or CSV history (default: the bundled CSV)")
    parser.add_argument("--port", type=int, default=0, help="port to listen on; 0 picks a free one")
    parser.add_argument("--bind", default="127.0.0.1",
                        help="address to listen on (default 127.0.0.1; 0.0.0.0 serves the whole network)")
    parser.add_argument("--last", type=lambda s: datetime.date.fromisoformat(s), default=None,
                        help="YYYY-MM-DD: later days count as not yet available")
    parser.add_argument("--fault", action="append", default=[], help="DAY=KIND, see above")
    parser.add_argument("--delay", type=float, default=5.0, help="seconds for slow and trickle")
    parser.add_argument("--huge-mb", type=int, default=8, help="megabytes for huge")
    parser.add_argument("--log", help="append every requested day to this file")
    opts = parser.parse_args()

    server = Server((opts.bind, opts.port), Handler)
    server.opts = opts
    server.load_data()
    server.faults = parse_faults(opts.fault)
    server.log_lock = threading.Lock()
    print(server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
