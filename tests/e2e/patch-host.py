#!/usr/bin/python3
"""A patch server that is no help, for the end-to-end tests, on 127.0.0.1:PORT.

  patch-host.py LOG PORT trickle
      answers every request with the headers of a 100000-byte patch, then
      sends its body at two bytes a second.
  patch-host.py LOG PORT silent
      accepts connections and reads the requests, but never answers.

Every request line is appended to LOG as it arrives. LOG is created once the
server listens, so its existence tells that it is ready."""
import socket
import sys
import threading
import time

PATCH_SIZE = 100000


def log_line(log, line):
    with open(log, "a", encoding="utf-8") as out:
        out.write(line + "\n")


def read_request(connection, log):
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = connection.recv(1024)
        if not chunk:
            return False
        data += chunk
    log_line(log, data.split(b"\r\n")[0].decode("latin-1"))
    return True


def trickle(connection, log):
    if not read_request(connection, log):
        return
    try:
        connection.sendall(b"HTTP/1.0 200 OK\r\nContent-Length: %d\r\n\r\n" % PATCH_SIZE)
        for _ in range(PATCH_SIZE // 2):
            connection.sendall(b"MZ")
            time.sleep(1)
    except OSError:
        pass
    finally:
        connection.close()


def silent(connection, log):
    if read_request(connection, log):
        while connection.recv(1024):
            pass
    connection.close()


def main():
    if len(sys.argv) != 4 or sys.argv[3] not in ("trickle", "silent"):
        print(__doc__, file=sys.stderr)
        return 2
    log, port, mode = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    handler = trickle if mode == "trickle" else silent
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen()
    log_line(log, "listening")
    while True:
        connection, _ = listener.accept()
        threading.Thread(target=handler, args=(connection, log), daemon=True).start()


if __name__ == "__main__":
    sys.exit(main())
