#!/usr/bin/python3
"""A web host for the end-to-end tests, on 127.0.0.1:PORT.

  host.py LOG PORT ROOT [--hold PATH GATE]
      serves the files under ROOT; with --hold, a request for PATH is
      answered only once the file GATE exists.
  host.py LOG PORT --silent
      reads the requests, but never answers.
  host.py LOG PORT --trickle
      answers each request with the headers of a 100000-byte file, then
      sends its body at two bytes a second.

Every request line is appended to LOG as it arrives. LOG is created once the
host listens, so its existence tells that the host is ready."""
import functools
import http.server
import os
import socket
import sys
import threading
import time

TRICKLED_SIZE = 100000


def log_line(log, line):
    with open(log, "a", encoding="utf-8") as out:
        out.write(line + "\n")


class FileHandler(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *args, log, hold, **kwargs):
        self.log, self.hold = log, hold
        super().__init__(*args, **kwargs)

    def parse_request(self):
        log_line(self.log, self.raw_requestline.decode("latin-1").rstrip("\r\n"))
        return super().parse_request()

    def do_GET(self):
        while self.hold and self.path == self.hold[0] and not os.path.exists(self.hold[1]):
            time.sleep(0.05)
        super().do_GET()

    def log_message(self, format, *args):
        pass


def answer(connection, log, trickle):
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = connection.recv(1024)
        if not chunk:
            return
        data += chunk
    log_line(log, data.split(b"\r\n")[0].decode("latin-1"))
    try:
        if trickle:
            connection.sendall(b"HTTP/1.0 200 OK\r\nContent-Length: %d\r\n\r\n" % TRICKLED_SIZE)
            for _ in range(TRICKLED_SIZE // 2):
                connection.sendall(b"MZ")
                time.sleep(1)
        while connection.recv(1024):
            pass
    except OSError:
        pass


def main():
    log, port, what = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    if what not in ("--silent", "--trickle"):
        hold = tuple(sys.argv[5:7]) if sys.argv[4:5] == ["--hold"] else None
        handler = functools.partial(FileHandler, log=log, hold=hold, directory=what)
        server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
        log_line(log, "listening")
        server.serve_forever()
    listener = socket.create_server(("127.0.0.1", port))
    log_line(log, "listening")
    held = []
    while True:
        connection, _ = listener.accept()
        held.append(connection)
        threading.Thread(target=answer, args=(connection, log, what == "--trickle"), daemon=True).start()


if __name__ == "__main__":
    main()
