#!/usr/bin/env python3
"""Runs a program that downloads one URL against loopback servers that misbehave
and prints one line per server: exit status, lines of output, seconds taken.

    hostile_servers.py [--silent-seconds N] PROGRAM [ARG...]

The URL is appended to the arguments. Every server listens on 127.0.0.1 only
and lives no longer than the case that uses it."""
import gzip
import socket
import subprocess
import sys
import threading
import time

PAGE = b"<html><body>no entries here</body></html>"


def reply(head, body=b""):
    return lambda conn: conn.sendall(head + body)


def reset_mid_body(conn):
    conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nSet-Cookie: a=1\r\n\r\n" + PAGE)
    time.sleep(0.2)
    conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\x01\x00\x00\x00\x00\x00\x00\x00")


def silent(seconds):
    return lambda conn: time.sleep(seconds)


def redirect_loop(conn):
    port = conn.getsockname()[1]
    conn.sendall(b"HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:%d/again\r\n"
                 b"Content-Length: 0\r\n\r\n" % port)


CASES = [
    ("short body", reply(b"HTTP/1.1 200 OK\r\nContent-Length: 5000\r\nConnection: close\r\n\r\n", PAGE)),
    ("100 KiB header block", reply(b"HTTP/1.1 200 OK\r\n" + b"".join(b"X-F%d: %s\r\n" % (i, b"y" * 1000) for i in range(102))
                                   + b"Content-Length: %d\r\n\r\n" % len(PAGE), PAGE)),
    ("HTTP/1.0 close-delimited", reply(b"HTTP/1.0 200 OK\r\n\r\n", PAGE)),
    ("bad chunk size", reply(b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nabc\r\n0\r\n\r\n")),
    ("zero bytes in body", reply(b"HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\n", b"ab\0cd\0e")),
    ("gzip unasked", reply(b"HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: %d\r\n\r\n"
                           % len(gzip.compress(PAGE)), gzip.compress(PAGE))),
    ("reset mid-body", reset_mid_body),
    ("redirect loop", redirect_loop),
]


def serve(handler, stop):
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    listener.settimeout(0.2)

    def loop():
        while not stop.is_set():
            try:
                conn, _ = listener.accept()
            except socket.timeout:
                continue
            with conn:
                try:
                    conn.recv(65536)
                    handler(conn)
                except OSError:
                    pass
        listener.close()

    threading.Thread(target=loop, daemon=True).start()
    return listener.getsockname()[1]


def run(program, url, bound):
    start = time.monotonic()
    try:
        done = subprocess.run(program + [url], capture_output=True, timeout=bound)
        status, out, said = str(done.returncode), done.stdout, done.stderr
    except subprocess.TimeoutExpired:
        status, out, said = "killed at %ds" % bound, b"", b""
    last = (said.strip().splitlines() or [b""])[-1].decode("utf-8", "replace")[:60]
    return status, len(out.splitlines()), time.monotonic() - start, last


def main():
    args = sys.argv[1:]
    silent_seconds = 35
    if args[:1] == ["--silent-seconds"]:
        silent_seconds, args = int(args[1]), args[2:]
    cases = CASES + [("accept, send nothing", silent(silent_seconds + 5))]
    # A port nobody listens on: bound, then closed.
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    refused = probe.getsockname()[1]
    probe.close()
    print("%-26s %-14s %6s %8s  %s" % ("server", "exit", "lines", "seconds", "last line of stderr"))
    status, lines, seconds, said = run(args, "http://127.0.0.1:%d/" % refused, 60)
    print("%-26s %-14s %6d %8.2f  %s" % ("connection refused", status, lines, seconds, said))
    for name, handler in cases:
        stop = threading.Event()
        port = serve(handler, stop)
        status, lines, seconds, said = run(args, "http://127.0.0.1:%d/" % port, silent_seconds + 30)
        stop.set()
        print("%-26s %-14s %6d %8.2f  %s" % (name, status, lines, seconds, said), flush=True)


if __name__ == "__main__":
    main()
