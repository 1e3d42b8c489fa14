#!/usr/bin/python3
"""The maker's web host for the end-to-end tests, on 127.0.0.1:80.

  demo-host.py LOG ROOT [--hold PATH GATE]
      serves the files under ROOT; with --hold, a request for PATH is
      answered only once the file GATE exists.
  demo-host.py LOG --silent
      accepts connections and reads the requests, but never answers.

Every request line is appended to LOG as it arrives. LOG is created once the
host listens, so its existence tells that the host is ready."""
import functools
import http.server
import os
import socket
import sys
import threading
import time


def log_line(log, line):
    with open(log, "a", encoding="utf-8") as out:
        out.write(line + "\n")


class Handler(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *args, log, hold, **kwargs):
        self.log, self.hold = log, hold
        super().__init__(*args, **kwargs)

    def parse_request(self):
        log_line(self.log, self.raw_requestline.decode("latin-1").rstrip("\r\n"))
        return super().parse_request()

    def do_GET(self):
        if self.hold is not None and self.path == self.hold[0]:
            while not os.path.exists(self.hold[1]):
                time.sleep(0.05)
        super().do_GET()

    def log_message(self, format, *args):
        pass


def serve_files(log, root, hold):
    handler = functools.partial(Handler, log=log, hold=hold, directory=root)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 80), handler)
    log_line(log, "listening")
    server.serve_forever()


def serve_silently(log):
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 80))
    listener.listen()
    log_line(log, "listening")
    held = []

    def read_request(connection):
        data = b""
        while b"\r\n" not in data:
            chunk = connection.recv(1024)
            if not chunk:
                return
            data += chunk
        log_line(log, data.split(b"\r\n")[0].decode("latin-1"))
        while connection.recv(1024):
            pass

    while True:
        connection, _ = listener.accept()
        held.append(connection)
        threading.Thread(target=read_request, args=(connection,), daemon=True).start()


def main():
    log = sys.argv[1]
    if sys.argv[2:] == ["--silent"]:
        serve_silently(log)
    elif len(sys.argv) == 3:
        serve_files(log, sys.argv[2], None)
    elif len(sys.argv) == 6 and sys.argv[3] == "--hold":
        serve_files(log, sys.argv[2], (sys.argv[4], sys.argv[5]))
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
