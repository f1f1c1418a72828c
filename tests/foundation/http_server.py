#!/usr/bin/env python3
"""Fixed HTTP replies on 127.0.0.1 for the download tests.

  http_server.py start DIR   starts the server in the background, writes DIR/port, returns
  http_server.py stop DIR    stops it
The server also ends by itself after IDLE_LIMIT seconds without a request, so it never
outlives a test run that could not stop it.
"""
import http.server
import os
import signal
import socket
import subprocess
import sys
import threading
import time

IDLE_LIMIT = 300
FILE_BODY = bytes((i * 7 + 3) % 251 for i in range(3000))
last_request = time.monotonic()


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

    def reply(self):
        path = self.path.split("?")[0]
        if path == "/file":
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
        else:
            self.head(500, 0)


def serve(folder):
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
    for name in ("pid", "port"):
        try:
            os.remove(os.path.join(folder, name))
        except OSError:
            pass
    return 0


if __name__ == "__main__":
    mode, folder = sys.argv[1], sys.argv[2]
    sys.exit({"start": start, "stop": stop, "serve": lambda f: serve(f) or 0}[mode](folder))
