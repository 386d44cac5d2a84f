#!/usr/bin/python3
"""Stand-in for the draw download server.

Serves a draw history (a Keno.dat file or the bundled CSV history) in the download protocol:

    GET <prefix>/zahlen/keno.asp?Datei=yyyymmdd.txt

answers 200 with "dd.mm.yyyy,n1,...,n20,ddddd" for a day it has a draw for, and 500 for a day it
does not have. It sends only what its file holds: for a draw without a Plus 5 number (the bundled
history has none; in Keno.dat bit 0 of byte 33 is set) the answer ends after the twentieth number's
",". A record it cannot read (no valid date, a number out of 1..70 or twice, a Plus 5 digit above 9)
is left out with a line on standard error, at the start and whenever the file changes.

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
    plus5-4     only four Plus 5 digits, then a line break (for a draw without one: the line break)
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
import http.server
import math
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


LAST_DAY = 2958465  # 31.12.9999


def skipped(path, where, why):
    print("drawserver: %s: %s \u00fcbersprungen: %s" % (path, where, why), file=sys.stderr, flush=True)


def check_numbers(numbers):
    seen = set()
    for n in numbers:
        if not 1 <= n <= 70:
            raise ValueError("Zahl %d liegt nicht zwischen 1 und 70" % n)
        if n in seen:
            raise ValueError("Zahl %d kommt doppelt vor" % n)
        seen.add(n)


def add_draw(draws, path, where, day, numbers, plus5):
    if day in draws:
        skipped(path, where, "den %s gibt es schon weiter vorn" % day.strftime("%d.%m.%Y"))
    else:
        draws[day] = (numbers, plus5)


def read_csv_draw(cells):
    if len(cells) not in (21, 22):
        raise ValueError("%d Spalten statt 21 oder 22" % len(cells))
    try:
        day = datetime.date.fromisoformat(cells[0].strip())
    except ValueError:
        raise ValueError("kein g\u00fcltiges Datum: %r" % cells[0]) from None
    try:
        numbers = [int(c) for c in cells[1:21]]
    except ValueError:
        raise ValueError("keine 20 Zahlen") from None
    check_numbers(numbers)
    plus5 = cells[21].strip() if len(cells) > 21 else ""
    if plus5 and not (len(plus5) == 5 and plus5.isascii() and plus5.isdigit()):
        raise ValueError("Plus 5-Gewinnzahl %r hat keine f\u00fcnf Ziffern" % plus5)
    return day, numbers, plus5


def load_csv(path):
    draws = {}
    with open(path, encoding="utf-8", errors="replace") as f:
        for line_no, line in enumerate(f, 1):
            cells = line.strip().split(",")
            if cells[0] in ("", "date"):
                continue
            try:
                day, numbers, plus5 = read_csv_draw(cells)
            except ValueError as e:
                skipped(path, "Zeile %d" % line_no, e)
                continue
            add_draw(draws, path, "Zeile %d" % line_no, day, numbers, plus5)
    return draws


def read_record(fields):
    value, numbers, digits, flags = fields[0], list(fields[1:21]), fields[21:26], fields[26]
    if not (math.isfinite(value) and value == math.floor(value) and 1 <= value <= LAST_DAY):
        raise ValueError("kein g\u00fcltiges Datum (%r)" % value)
    day = EPOCH + datetime.timedelta(days=int(value))
    check_numbers(numbers)
    if flags & 1:
        return day, numbers, ""
    for d in digits:
        if d > 9:
            raise ValueError("Plus 5-Ziffer %d ist keine Ziffer" % d)
    return day, numbers, "".join(str(d) for d in digits)


def load_keno_dat(path):
    draws = {}
    with open(path, "rb") as f:
        raw = f.read()
    for i in range(len(raw) // RECORD.size):
        where = "Datensatz %d (ab Byte %d)" % (i + 1, i * RECORD.size)
        try:
            day, numbers, plus5 = read_record(RECORD.unpack_from(raw, i * RECORD.size))
        except ValueError as e:
            skipped(path, where, e)
            continue
        add_draw(draws, path, where, day, numbers, plus5)
    rest = len(raw) % RECORD.size
    if rest:
        skipped(path, "die letzten %d Bytes" % rest, "kein ganzer Datensatz")
    return draws


def load(path):
    with open(path, "rb") as f:
        head = f.read(5)
    return load_csv(path) if head == b"date," or path.endswith(".csv") else load_keno_dat(path)


def answer_text(date_text, numbers, plus5):
    # Without a Plus 5 number (plus5 == "") the answer ends after the twentieth number's ",".
    return date_text + "," + "".join("%d," % n for n in numbers) + plus5


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
        text = answer_text(shown_day, numbers, plus5)

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
            # The line break keeps the filler's digits from reading as a Plus 5 number.
            self.wfile.write(text.encode("cp1252") + b"\r\n")
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
                # A record it cannot read is left out (load says so on stderr); only a file that
                # cannot be read at all keeps what was read before.
                try:
                    self.draws = load(self.opts.data)
                    self.data_stamp = stamp
                except OSError as e:
                    print("drawserver: %s: nicht gelesen, es gilt der vorige Stand: %s" % (self.opts.data, e),
                          file=sys.stderr, flush=True)
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
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
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
    try:
        server.load_data()
    except OSError as e:
        raise SystemExit("drawserver: %s kann nicht gelesen werden: %s" % (opts.data, e))
    server.faults = parse_faults(opts.fault)
    server.log_lock = threading.Lock()
    print(server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
