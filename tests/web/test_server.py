"""Local HTTP(S) servers for the web request tests, on 127.0.0.1 only.

An origin server (plain or TLS) answers by path and keeps the raw bytes of each
request it receives; a proxy records the requests it is asked and tunnels
CONNECT to a local port. Every answer closes its connection.
"""

import array
import gzip
import re
import select
import socket
import socketserver
import ssl
import threading

LOOPBACK = "127.0.0.1"
HEAD_LIMIT = 1 << 20
IO_TIMEOUT = 30

# 2531 bytes of every value: the tests build the same.
FIXED = bytes((i * 7 + 3) % 256 for i in range(2531))
CHUNKS = [1, 7, 1024, 1000, 499]
FILLER_LINES = 300


def counter_bytes(n):
    """n bytes (a multiple of 4): the little-endian 32-bit words 0, 1, 2, ..."""
    words = array.array("I", range(n // 4))
    if words.itemsize != 4:
        raise RuntimeError("no 32-bit array type")
    return words.tobytes()


class Request:
    def __init__(self, raw, line, headers, body):
        self.raw, self.line, self.headers, self.body = raw, line, headers, body
        parts = line.split(" ")
        self.method = parts[0]
        self.target = parts[1] if len(parts) > 1 else ""
        self.path = self.target.split("?", 1)[0]


def read_request(sock):
    """The next request with its body, or None when the peer closed first."""
    data = b""
    while b"\r\n\r\n" not in data:
        more = sock.recv(65536)
        if not more:
            return None
        data += more
        if len(data) > HEAD_LIMIT:
            return None
    head, _, body = data.partition(b"\r\n\r\n")
    lines = head.decode("latin-1").split("\r\n")
    headers = {}
    for line in lines[1:]:
        name, _, value = line.partition(":")
        headers[name.strip().lower()] = value.strip()
    length = int(headers.get("content-length", "0") or "0")
    while len(body) < length:
        more = sock.recv(65536)
        if not more:
            break
        body += more
    return Request(head + b"\r\n\r\n" + body, lines[0], headers, body)


def send_response(sock, status, headers, body, method, length=None, chunks=None):
    head = f"HTTP/1.1 {status}\r\n"
    if chunks is not None:
        head += "Transfer-Encoding: chunked\r\n"
    else:
        head += f"Content-Length: {len(body) if length is None else length}\r\n"
    head += "Connection: close\r\n"
    for name, value in headers:
        head += f"{name}: {value}\r\n"
    sock.sendall(head.encode("latin-1") + b"\r\n")
    if method == "HEAD":
        return
    if chunks is not None:
        at = 0
        for size in chunks:
            sock.sendall(b"%x\r\n" % size + body[at:at + size] + b"\r\n")
            at += size
        sock.sendall(b"0\r\nX-Trailer: after-the-body\r\n\r\n")
        return
    view = memoryview(body)
    for at in range(0, len(view), 1 << 20):
        sock.sendall(view[at:at + (1 << 20)])


class Origin(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, tls=None):
        super().__init__((LOOPBACK, 0), OriginHandler)
        self.tls = tls
        self.lock = threading.Lock()
        self.previous = b""
        self.cache = {}

    def counter(self, n):
        with self.lock:
            if n not in self.cache:
                self.cache[n] = counter_bytes(n)
            return self.cache[n]


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        sock = self.request
        sock.settimeout(IO_TIMEOUT)
        try:
            if getattr(self.server, "tls", None) is not None:
                sock = self.server.tls.wrap_socket(sock, server_side=True)
            request = read_request(sock)
            if request is not None:
                self.answer(sock, request)
        except (OSError, ssl.SSLError, ValueError):
            pass  # a client that gave up, or refused our certificate
        finally:
            try:
                sock.close()
            except OSError:
                pass


class OriginHandler(Handler):
    def answer(self, sock, request):
        server = self.server
        with server.lock:
            previous, server.previous = server.previous, request.raw
        path, method = request.path, request.method
        echo = ("text/plain", request.raw)
        if path == "/last":
            send_response(sock, "200 OK", [], previous, method)
        elif path == "/fixed":
            send_response(sock, "200 OK", [], FIXED, method)
        elif path == "/gzip":
            send_response(sock, "200 OK", [("Content-Encoding", "gzip")], gzip.compress(FIXED),
                          method)
        elif path == "/chunked":
            send_response(sock, "200 OK", [], FIXED, method, chunks=CHUNKS)
        elif m := re.fullmatch(r"/bytes/(\d+)", path):
            send_response(sock, "200 OK", [], server.counter(int(m.group(1))), method)
        elif path == "/cookies/first":
            send_response(sock, "200 OK", [("Set-Cookie", "a=1; Path=/cookies"),
                                           ("Set-Cookie", "b=2; Path=/cookies")], echo[1], method)
        elif path == "/cookies/second":
            send_response(sock, "200 OK", [("Set-Cookie", "a=deleted; Path=/cookies"),
                                           ("Set-Cookie", "c=3; Path=/cookies")], echo[1], method)
        elif path == "/redirect":
            target = request.target.partition("?to=")[2] or "/fixed"
            send_response(sock, "302 Found", [("Location", target)], b"moved", method)
        elif path.startswith("/redirect-cookie/start"):
            target = path.replace("/start", "/echo")
            send_response(sock, "302 Found", [("Location", target),
                                              ("Set-Cookie", "r=1; Path=/redirect-cookie")],
                          b"moved", method)
        elif path == "/big-headers":
            lines = [("Set-Cookie", "early=1")]
            lines += [(f"X-Filler-{i}", "0123456789abcdef0123456789") for i in range(FILLER_LINES)]
            lines += [("Set-Cookie", "late=2; Path=/big-headers")]
            send_response(sock, "200 OK", lines, b"big", method)
        else:
            send_response(sock, "200 OK", [("Content-Type", echo[0])], echo[1], method)


class Proxy(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self):
        super().__init__((LOOPBACK, 0), ProxyHandler)
        self.lock = threading.Lock()
        self.log = []


class ProxyHandler(Handler):
    def answer(self, sock, request):
        if request.target.startswith("/"):  # asked as a server: what it was asked as a proxy
            with self.server.lock:
                log = "".join(line + "\n" for line in self.server.log).encode("latin-1")
            send_response(sock, "200 OK", [], log, request.method)
            return
        with self.server.lock:
            self.server.log.append(request.line)
        if request.method != "CONNECT":
            send_response(sock, "200 OK", [("X-Via-Test-Proxy", "yes")], request.raw, request.method)
            return
        host, _, port = request.target.rpartition(":")
        if host not in ("localhost", LOOPBACK):
            send_response(sock, "403 Forbidden", [], b"", request.method)
            return
        with socket.create_connection((LOOPBACK, int(port)), timeout=IO_TIMEOUT) as upstream:
            sock.sendall(b"HTTP/1.1 200 Connection established\r\n\r\n")
            tunnel(sock, upstream)


def tunnel(a, b):
    peers = {a: b, b: a}
    while True:
        ready, _, _ = select.select(list(peers), [], [], IO_TIMEOUT)
        if not ready:
            return
        for sock in ready:
            data = sock.recv(65536)
            if not data:
                return
            peers[sock].sendall(data)


def tls_context(cert, key):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


def start(server):
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]
