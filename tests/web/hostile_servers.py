#!/usr/bin/env python3
"""Loopback servers that misbehave, one per case, each serving the ranking page
of tests/ui/e2e in its own broken way.

run_with_server.py starts them for hostile_server_test, which calls webRequest
against each; their ports reach it as KORVALE_TEST_HOSTILE_<CASE>_PORT, and the
body bytes each server sends before it breaks off as <CASE>.body in the folder
KORVALE_TEST_HOSTILE_BODIES. Two servers read a count from the request's path:
"/silent/S" keeps silent for S seconds and then hangs up; "/loop/N" redirects
to "/loop/N-1", setting the cookie hop=N, and hangs up without an answer at 0.

By hand, against a program that downloads the URL given as its last argument
(one line per server: exit status, lines of output, seconds taken):

    hostile_servers.py [--silent-seconds N] PROGRAM [ARG...]

Every server listens on 127.0.0.1 only."""
import gzip
import os
import socket
import socketserver
import subprocess
import sys
import time

import test_server

PAGE_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "ui", "e2e",
                         "ranking-page.html")
with open(PAGE_FILE, "rb") as f:
    PAGE = f.read()
CUT = 10000  # where a broken body stops: inside the page's entries
# The page with zero bytes: before everything, inside the second entry's title,
# and at the end.
SECOND_TITLE = PAGE.index(b'class="title">', PAGE.index(b'class="title">') + 1) + 14
ZEROED = b"\0" + PAGE[:SECOND_TITLE + 3] + b"\0" + PAGE[SECOND_TITLE + 3:] + b"\0\0"
GZIPPED = gzip.compress(PAGE, mtime=0)
COOKIES = b"Set-Cookie: a=1; Path=/\r\nSet-Cookie: b=2\r\n"


def head(status_line, *lines):
    return status_line + b"\r\n" + COOKIES + b"".join(line + b"\r\n" for line in lines) + b"\r\n"


def length(n):
    return b"Content-Length: %d" % n


def reply(data):
    return lambda sock, request: sock.sendall(data)


def reset_mid_body(sock, request):
    sock.sendall(head(b"HTTP/1.1 200 OK", length(len(PAGE))) + PAGE[:CUT])
    time.sleep(0.3)  # the client has taken the bytes before the reset comes
    # Linger on, with no time: closing sends a reset, not the end of the stream.
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\x01\x00\x00\x00\x00\x00\x00\x00")


def count_in_path(request, default):
    last = request.path.rsplit("/", 1)[-1]
    return int(last) if last.isdigit() else default


def silent(sock, request):
    time.sleep(count_in_path(request, 35))


def redirect_loop(sock, request):
    hop = count_in_path(request, 100)
    if hop > 0:
        sock.sendall(b"HTTP/1.1 302 Found\r\nLocation: /loop/%d\r\nSet-Cookie: hop=%d\r\n"
                     b"Content-Length: 0\r\nConnection: close\r\n\r\n" % (hop - 1, hop))


# name: (how the server answers, the body bytes it sends before it breaks off)
CASES = {
    "reset": (reset_mid_body, PAGE[:CUT]),
    "silent": (silent, b""),
    "short_body": (reply(head(b"HTTP/1.1 200 OK", length(len(PAGE) + 1000), b"Connection: close")
                         + PAGE), PAGE),
    "big_header": (reply(head(b"HTTP/1.1 200 OK",
                              *(b"X-Filler-%d: %s" % (i, b"y" * 1000) for i in range(102)),
                              b"Set-Cookie: late=3", length(len(PAGE))) + PAGE), PAGE),
    "http10": (reply(head(b"HTTP/1.0 200 OK") + PAGE), PAGE),
    "bad_chunk": (reply(head(b"HTTP/1.1 200 OK", b"Transfer-Encoding: chunked")
                        + b"%x\r\n" % CUT + PAGE[:CUT] + b"\r\nzz\r\n" + PAGE[CUT:] + b"\r\n0\r\n\r\n"),
                  PAGE[:CUT]),
    "redirect_loop": (redirect_loop, b""),
    "zero_bytes": (reply(head(b"HTTP/1.1 200 OK", length(len(ZEROED))) + ZEROED), ZEROED),
    "gzip": (reply(head(b"HTTP/1.1 200 OK", b"Content-Encoding: gzip", length(len(GZIPPED)))
                   + GZIPPED), GZIPPED),
}


class Handler(test_server.Handler):
    def answer(self, sock, request):
        self.server.respond(sock, request)


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, respond):
        super().__init__((test_server.LOOPBACK, 0), Handler)
        self.respond = respond


def start(folder=None):
    """Starts every server, and writes each case's body into folder when one is
    given; returns {case: port}."""
    ports = {}
    for name, (respond, body) in CASES.items():
        if folder is not None:
            with open(os.path.join(folder, name + ".body"), "wb") as f:
                f.write(body)
        ports[name] = test_server.start(Server(respond))
    return ports


def run(program, url, bound):
    start_time = time.monotonic()
    try:
        done = subprocess.run(program + [url], capture_output=True, timeout=bound)
        status, out, said = str(done.returncode), done.stdout, done.stderr
    except subprocess.TimeoutExpired:
        status, out, said = "killed at %ds" % bound, b"", b""
    last = (said.strip().splitlines() or [b""])[-1].decode("utf-8", "replace")[:60]
    return status, len(out.splitlines()), time.monotonic() - start_time, last


def main():
    args = sys.argv[1:]
    silent_seconds = 35
    if args[:1] == ["--silent-seconds"]:
        silent_seconds, args = int(args[1]), args[2:]
    ports = start()
    # A port nobody listens on: bound, never listening.
    refusing = socket.socket()
    refusing.bind((test_server.LOOPBACK, 0))
    ports["refused"] = refusing.getsockname()[1]
    paths = {"silent": "/silent/%d" % silent_seconds, "redirect_loop": "/loop/100"}
    print("%-14s %-14s %6s %8s  %s" % ("server", "exit", "lines", "seconds", "last line of stderr"))
    for name, port in ports.items():
        url = "http://127.0.0.1:%d%s" % (port, paths.get(name, "/"))
        status, lines, seconds, said = run(args, url, silent_seconds + 30)
        print("%-14s %-14s %6d %8.2f  %s" % (name, status, lines, seconds, said), flush=True)


if __name__ == "__main__":
    main()
