#!/usr/bin/env python3
"""Fixed HTTP replies on 127.0.0.1 for the download tests.

  http_server.py start DIR   starts the server in the background, writes DIR/port, returns
  http_server.py stop DIR    stops it
The server also ends by itself after IDLE_LIMIT seconds without a request, so it never
outlives a test run that could not stop it.

It also stands in for a web host reached through a proxy: an absolute address
("GET http://host/path") is answered by its path. Every path asked is appended to
DIR/requests.log, and the path with its query to DIR/targets.log. A path "/NAME" whose
file DIR/served/NAME exists is answered with that file, the name being the path (and
first the path with its query) with every character but letters, digits, "." "_" and "-"
written as %XX; a file DIR/served/NAME.mode changes the reply: "nolength" (no
Content-Length), "zerolength" (a length of 0 and no body), "cut" (the full length
announced, half sent), "hold" (answered only once the mode file is gone).
"""
import gzip
import http.server
import os
import select
import signal
import socket
import subprocess
import sys
import threading
import time
import zlib

# As long as a suite may run (its ctest time-out): a suite's web tests may come
# after many minutes of others, and must still find the server.
IDLE_LIMIT = 900
# A held reply (stall, trickle, no answer) lasts at most this long.
HOLD_LIMIT = 90
FILE_BODY = bytes((i * 7 + 3) % 251 for i in range(3000))
last_request = time.monotonic()

# Replies written as raw bytes, status line and all: broken framing the handler's own
# helpers would not produce.
OK = b"HTTP/1.1 200 OK\r\nConnection: close\r\n"
RAW_REPLIES = {
    "/raw": b"just some bytes, no status line\r\n\r\n" + FILE_BODY,
    "/cutstatus": b"HTTP/1.1 2",
    "/lowercase": b"http/1.1 200 OK\r\nContent-Length: 3000\r\n\r\n" + FILE_BODY,
    "/len/garbage": OK + b"Content-Length: 3000x\r\n\r\n" + FILE_BODY,
    "/len/negative": OK + b"Content-Length: -1\r\n\r\n" + FILE_BODY,
    "/len/empty": OK + b"Content-Length: \r\n\r\n" + FILE_BODY,
    "/len/2g": OK + b"Content-Length: 2147483648\r\n\r\n" + FILE_BODY,
    "/len/4g": OK + b"Content-Length: 4294967296\r\n\r\n" + FILE_BODY,
    "/len/4g+3000": OK + b"Content-Length: 4294970296\r\n\r\n" + FILE_BODY,
    "/len/20digits": OK + b"Content-Length: 18446744073709554616\r\n\r\n" + FILE_BODY,
    "/len/two": OK + b"Content-Length: 3000\r\nContent-Length: 100\r\n\r\n" + FILE_BODY,
    "/len/list": OK + b"Content-Length: 3000, 100\r\n\r\n" + FILE_BODY,
    "/len/same": OK + b"Content-Length: 3000\r\nContent-Length: 3000\r\n\r\n" + FILE_BODY,
    "/len/abovecap": OK + b"Content-Length: 67108865\r\n\r\n" + FILE_BODY,
}


def chunked(body, size=1000):
    out = b""
    for i in range(0, len(body), size):
        part = body[i:i + size]
        out += b"%x\r\n" % len(part) + part + b"\r\n"
    return out + b"0\r\n\r\n"


def encoded_replies():
    packed = gzip.compress(FILE_BODY)
    deflated = zlib.compress(FILE_BODY)
    length = b"Content-Length: %d\r\n\r\n"
    return {
        "/te/chunked": OK + b"Transfer-Encoding: chunked\r\n\r\n" + chunked(FILE_BODY),
        "/te/gzip-chunked": OK + b"Transfer-Encoding: gzip, chunked\r\n\r\n" + chunked(packed),
        "/te/two-headers": OK + b"Transfer-Encoding: chunked\r\nTransfer-Encoding: gzip\r\n\r\n"
        + chunked(packed),
        "/te/gzip": OK + b"Transfer-Encoding: gzip\r\n\r\n" + packed,
        "/ce/gzip": OK + b"Content-Encoding: gzip\r\n" + length % len(packed) + packed,
        "/ce/deflate": OK + b"Content-Encoding: deflate\r\n" + length % len(deflated) + deflated,
        "/ce/identity": OK + b"Content-Encoding: identity\r\n" + length % len(FILE_BODY) + FILE_BODY,
    }


RAW_REPLIES.update(encoded_replies())


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def head(self, status, length=None, extra=()):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        if length is not None:
            self.send_header("Content-Length", str(length))
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()

    def do_GET(self):
        global last_request
        last_request = time.monotonic()
        try:
            self.reply()
        except (BrokenPipeError, ConnectionResetError):
            pass

    def raw(self, data):
        self.wfile.write(data)
        self.wfile.flush()
        self.close_connection = True

    def hold(self, seconds, step=0.5):
        """Waits up to seconds; False as soon as the client has gone."""
        end = time.monotonic() + min(seconds, HOLD_LIMIT)
        while time.monotonic() < end:
            readable, _, _ = select.select([self.connection], [], [], step)
            if readable and not self.connection.recv(1024):
                return False
        return True

    def served(self, path):
        """The file standing for a path (with or without its query), or None."""
        name = served_name(path[1:])
        if not name or name.startswith("."):
            return None
        file = os.path.join(self.folder, "served", name)
        return file if os.path.isfile(file) else None

    def serve_file(self, file):
        mode_file = file + ".mode"
        mode = open(mode_file).read().strip() if os.path.exists(mode_file) else ""
        if mode == "hold":
            end = time.monotonic() + HOLD_LIMIT
            while os.path.exists(mode_file) and time.monotonic() < end:
                time.sleep(0.1)
        body = open(file, "rb").read()
        if mode == "nolength":
            self.head(200)
            self.raw(body)
        elif mode == "zerolength":
            self.head(200, 0)
        elif mode == "cut":
            self.head(200, len(body))
            self.raw(body[:len(body) // 2])
        else:
            self.head(200, len(body))
            self.wfile.write(body)

    def reply(self):
        target = self.path
        if target.startswith("http://"):
            target = "/" + target[len("http://"):].partition("/")[2]
        path, _, query = target.partition("?")
        with open(os.path.join(self.folder, "requests.log"), "a") as log:
            log.write(path + "\n")
        with open(os.path.join(self.folder, "targets.log"), "a") as log:
            log.write(target + "\n")
        if path in RAW_REPLIES:
            self.raw(RAW_REPLIES[path])
        elif path == "/closed":
            self.close_connection = True
        elif path == "/noanswer":
            self.hold(HOLD_LIMIT)
        elif path == "/stall":
            # A kilobyte, then silence.
            self.head(200, 1000000)
            self.raw(bytes(1024))
            self.hold(HOLD_LIMIT)
        elif path == "/trickle":
            # One byte every 2 s: never silent for long, never anywhere near done.
            self.head(200, 1000000)
            while self.hold(2, 2):
                self.raw(b"x")
        elif path == "/slowhead":
            # The reply's head one byte every 2 s: the answer never completes.
            head = b"HTTP/1.1 200 OK\r\nContent-Length: 3000\r\nX-Padding: " + b"a" * 100
            for byte in head[:HOLD_LIMIT // 2]:
                self.raw(bytes([byte]))
                if not self.hold(2, 2):
                    return
        elif path == "/steady":
            # Slow but within the pace: 100 bytes every 2 s, 1500 in all.
            self.head(200, 1500)
            for _ in range(15):
                if not self.hold(2, 2):
                    return
                self.raw(bytes(100))
        elif path == "/pause":
            # The file, with a pause of 20 s after its first 2000 bytes.
            self.head(200, len(FILE_BODY))
            self.raw(FILE_BODY[:2000])
            if self.hold(20):
                self.raw(FILE_BODY[2000:])
        elif path == "/redirect":
            # /redirect?N: a chain of N redirects that ends at /file; /redirect?loop never ends.
            if query == "loop":
                target = "/redirect?loop"
            else:
                left = int(query or 1) - 1
                target = "/redirect?%d" % left if left > 0 else "/file"
            self.head(302, 0, [("Location", target)])
        elif path == "/redirect-away":
            # To a local file, which a web server must never reach.
            self.head(302, 0, [("Location", query)])
        elif path == "/file":
            self.head(200, len(FILE_BODY))
            self.wfile.write(FILE_BODY)
        elif path == "/empty":
            self.head(200, 0)
        elif path == "/short":
            # Announces 5000 bytes and closes after 3000.
            self.head(200, 5000)
            self.wfile.write(FILE_BODY)
        elif path == "/missing":
            body = b"<html>404 page</html>"
            self.head(404, len(body))
            self.wfile.write(body)
        elif path == "/nolength":
            self.head(200)
            self.wfile.write(FILE_BODY)
        elif path == "/endless":
            # No length, and data until the client gives up (at most 100 MB).
            self.head(200)
            chunk = bytes(65536)
            for _ in range(1600):
                self.wfile.write(chunk)
        elif path == "/slow":
            # Announces a megabyte, then trickles it out until the client goes away.
            self.head(200, 1000000)
            for _ in range(100):
                self.wfile.write(bytes(1024))
                self.wfile.flush()
                time.sleep(0.1)
        elif self.served(target):
            self.serve_file(self.served(target))
        elif self.served(path):
            self.serve_file(self.served(path))
        else:
            self.head(500, 0)


def served_name(text):
    """A path and query as one file name: anything but letters, digits, "." "_" "-" as %XX."""
    keep = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-"
    return "".join(c if c in keep else "%%%02X" % ord(c) for c in text)


def serve(folder):
    Handler.folder = folder
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    with open(os.path.join(folder, "pid"), "w") as f:
        f.write(str(os.getpid()))
    port_file = os.path.join(folder, "port")
    with open(port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(port_file + ".tmp", port_file)

    def watchdog():
        while time.monotonic() - last_request < IDLE_LIMIT:
            time.sleep(1)
        os._exit(0)

    threading.Thread(target=watchdog, daemon=True).start()
    signal.signal(signal.SIGTERM, lambda *a: os._exit(0))
    server.serve_forever()


def start(folder):
    os.makedirs(folder, exist_ok=True)
    stop(folder)
    subprocess.Popen([sys.executable, os.path.abspath(__file__), "serve", folder],
                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                     start_new_session=True, close_fds=True)
    port_file = os.path.join(folder, "port")
    for _ in range(100):
        if os.path.exists(port_file):
            print("HTTP test server on port", open(port_file).read())
            return 0
        time.sleep(0.1)
    print("HTTP test server did not start", file=sys.stderr)
    return 1


def stop(folder):
    pid_file = os.path.join(folder, "pid")
    try:
        pid = int(open(pid_file).read())
        os.kill(pid, signal.SIGTERM)
    except (OSError, ValueError):
        pass
    for name in ("pid", "port", "requests.log", "targets.log"):
        try:
            os.remove(os.path.join(folder, name))
        except OSError:
            pass
    return 0


if __name__ == "__main__":
    mode, folder = sys.argv[1], sys.argv[2]
    sys.exit({"start": start, "stop": stop, "serve": lambda f: serve(f) or 0}[mode](folder))
