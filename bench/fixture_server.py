#!/usr/bin/env python3
"""Fixture web server for the test bench.

Listens on 127.0.0.1 on every --port, answers by Host header and request
target from JSON routes, and records every request.  Each connection carries
one request and is closed after the response.  Standard library only.

    fixture_server.py --port 80 --port 88 [--routes FILE]... [--ready-file PATH]
                      [--record-file PATH] [--bind 127.0.0.1]

A route is a JSON object:
    host         lower-case host name (Host header without ":port"), "*" = any
    path         request target (path with query), exact; a trailing "*" matches by prefix
    port         match only requests that arrived on this port
    status       raw status line, default "HTTP/1.1 200 OK"
    headers      [[name, value], ...] sent in this order as given
    content_length  false: add no Content-Length (otherwise added after the headers
                 unless one is given)
    body | body_hex | body_b64 | body_file   (body_file relative to the routes file;
                 for posted routes, to the working directory)
    body_repeat  repeat/truncate the body to exactly N bytes
    compress     "gzip" | "zlib" | "raw" (deflate without header), after body_repeat
    delay_ms     wait before sending anything
    cut_after    send only the first N bytes of the whole response, then close
    reset        true: end the connection with a reset (RST) after sending, not a close
    trickle      [N, MS]: send the body in pieces of N bytes, MS milliseconds apart
    header_pad   N: add "X-Pad: " + N * "a" as the last header
    sequence     [partial route, ...] answered in turn for successive matches;
                 the last one repeats
Later routes win over earlier ones; routes posted at run time win over file routes.

Requests with Host "fixture.control" are not recorded:
    POST /routes   JSON route or list of routes -> added, "ok"
    POST /reset    clears run-time routes, sequence counters and the record, "ok"
    GET  /record   the record, one block per request in arrival order:
                       REQ <seq> <port>
                       <request line as received>
                       <each header line as received>
                       <empty line>
                       BODY <body as lower-case hex>
                       END
The ready file gets the bound ports, one per line, once all of them listen
(--port 0 picks a free port).
"""

import argparse
import base64
import gzip
import json
import os
import signal
import socket
import socketserver
import struct
import sys
import threading
import time
import zlib

CONTROL_HOST = "fixture.control"
MAX_LINE = 1 << 20
MAX_HEADER_BYTES = 4 << 20
READ_TIMEOUT_S = 30
DRAIN_TIMEOUT_S = 2
SEND_TIMEOUT_S = 600

BODY_KEYS = ("body", "body_hex", "body_b64", "body_file")
RESPONSE_KEYS = {"status", "headers", "content_length", "body_repeat", "compress",
                 "delay_ms", "cut_after", "header_pad", "trickle", "reset"} | set(BODY_KEYS)
ROUTE_KEYS = {"host", "path", "port", "sequence"} | RESPONSE_KEYS
COMPRESSORS = {
    "gzip": lambda data: gzip.compress(data, mtime=0),
    "zlib": zlib.compress,
    "raw": lambda data: (lambda c: c.compress(data) + c.flush())(
        zlib.compressobj(wbits=-zlib.MAX_WBITS)),
}


class RouteError(ValueError):
    pass


def _check_response_fields(obj, where):
    if not isinstance(obj, dict):
        raise RouteError(f"{where}: not an object")
    if len([k for k in BODY_KEYS if k in obj]) > 1:
        raise RouteError(f"{where}: more than one of {', '.join(BODY_KEYS)}")
    headers = obj.get("headers", [])
    if not isinstance(headers, list) or not all(
            isinstance(h, list) and len(h) == 2 for h in headers):
        raise RouteError(f"{where}: headers must be a list of [name, value] pairs")
    if "status" in obj and not isinstance(obj["status"], str):
        raise RouteError(f"{where}: status must be a string")
    if "compress" in obj and obj["compress"] not in COMPRESSORS:
        raise RouteError(f"{where}: compress must be one of {', '.join(COMPRESSORS)}")
    for key in ("body_repeat", "delay_ms", "cut_after", "header_pad", "port"):
        if key in obj and (not isinstance(obj[key], int) or obj[key] < 0):
            raise RouteError(f"{where}: {key} must be a non-negative integer")
    if "reset" in obj and not isinstance(obj["reset"], bool):
        raise RouteError(f"{where}: reset must be true or false")
    if "trickle" in obj:
        t = obj["trickle"]
        if (not isinstance(t, list) or len(t) != 2 or not all(isinstance(v, int) for v in t)
                or t[0] <= 0 or t[1] < 0):
            raise RouteError(f"{where}: trickle must be [bytes > 0, milliseconds >= 0]")


class Route:
    """One route plus its sequence counter; base_dir resolves body_file."""

    def __init__(self, obj, base_dir, where):
        if not isinstance(obj, dict):
            raise RouteError(f"{where}: not an object")
        unknown = set(obj) - ROUTE_KEYS
        if unknown:
            raise RouteError(f"{where}: unknown field(s) {', '.join(sorted(unknown))}")
        _check_response_fields(obj, where)
        seq = obj.get("sequence")
        if seq is not None:
            if not isinstance(seq, list) or not seq:
                raise RouteError(f"{where}: sequence must be a non-empty list")
            for i, step in enumerate(seq):
                bad = set(step) - RESPONSE_KEYS if isinstance(step, dict) else set()
                if bad:
                    raise RouteError(f"{where}: sequence[{i}]: unknown field(s) "
                                     f"{', '.join(sorted(bad))}")
                _check_response_fields(step, f"{where}: sequence[{i}]")
        self.host = str(obj.get("host", "*")).lower()
        self.path = str(obj.get("path", "*"))
        self.port = obj.get("port")
        self.obj = obj
        self.base_dir = base_dir
        self.count = 0

    def matches(self, host, target, port):
        if self.port is not None and self.port != port:
            return False
        if self.host != "*" and self.host != host:
            return False
        if self.path.endswith("*"):
            return target.startswith(self.path[:-1])
        return target == self.path

    def next_response(self):
        """The effective fields for this match; advances the sequence (caller locks)."""
        fields = {k: v for k, v in self.obj.items() if k in RESPONSE_KEYS}
        seq = self.obj.get("sequence")
        if seq:
            step = seq[min(self.count, len(seq) - 1)]
            if any(k in step for k in BODY_KEYS):
                for k in BODY_KEYS:
                    fields.pop(k, None)
            fields.update(step)
        self.count += 1
        return fields


def parse_routes(data, base_dir, where):
    if isinstance(data, dict):
        data = [data]
    if not isinstance(data, list):
        raise RouteError(f"{where}: expected a route object or a list of them")
    return [Route(obj, base_dir, f"{where}[{i}]") for i, obj in enumerate(data)]


def build_body(fields, base_dir):
    if "body" in fields:
        body = str(fields["body"]).encode("utf-8")
    elif "body_hex" in fields:
        body = bytes.fromhex(fields["body_hex"])
    elif "body_b64" in fields:
        body = base64.b64decode(fields["body_b64"])
    elif "body_file" in fields:
        with open(os.path.join(base_dir, fields["body_file"]), "rb") as f:
            body = f.read()
    else:
        body = b""
    n = fields.get("body_repeat")
    if n is not None:
        body = (body * (n // len(body) + 1))[:n] if body else b""
    if "compress" in fields:
        body = COMPRESSORS[fields["compress"]](body)
    return body


def build_response(fields, base_dir):
    """The whole response and the length of its head."""
    body = build_body(fields, base_dir)
    headers = [(str(k), str(v)) for k, v in fields.get("headers", [])]
    has_length = any(k.lower() == "content-length" for k, _ in headers)
    if fields.get("content_length", True) and not has_length:
        headers.append(("Content-Length", str(len(body))))
    if fields.get("header_pad"):
        headers.append(("X-Pad", "a" * fields["header_pad"]))
    head = fields.get("status", "HTTP/1.1 200 OK") + "\r\n"
    head += "".join(f"{k}: {v}\r\n" for k, v in headers) + "\r\n"
    head = head.encode("utf-8")
    return head + body, len(head)


def simple_response(status, text):
    body = text.encode("utf-8")
    return (f"HTTP/1.1 {status}\r\nContent-Type: text/plain; charset=utf-8\r\n"
            f"Content-Length: {len(body)}\r\nConnection: close\r\n\r\n").encode() + body


def host_name(headers):
    """Host header value without ":port", lower-cased; "" when absent."""
    for line in headers:
        name, sep, value = line.partition(b":")
        if sep and name.strip().lower() == b"host":
            host = value.strip().decode("utf-8", "replace").lower()
            if host.startswith("["):
                return host[:host.find("]") + 1] if "]" in host else host
            return host.partition(":")[0]
    return ""


def content_length(headers):
    for line in headers:
        name, sep, value = line.partition(b":")
        if sep and name.strip().lower() == b"content-length":
            try:
                return max(0, int(value.strip()))
            except ValueError:
                return 0
    return 0


class State:
    """Routes, sequence counters and the record, shared by all ports."""

    def __init__(self, file_routes, record_file):
        self.lock = threading.Lock()
        self.file_routes = file_routes
        self.runtime_routes = []
        self.record = []
        self.seq = 0
        self.record_file = record_file

    def add_record(self, port, request_line, headers, body):
        with self.lock:
            self.seq += 1
            block = b"".join(
                [f"REQ {self.seq} {port}\n".encode(), request_line, b"\n"]
                + [h + b"\n" for h in headers]
                + [b"\nBODY ", body.hex().encode(), b"\nEND\n"])
            self.record.append(block)
            if self.record_file:
                with open(self.record_file, "ab") as f:
                    f.write(block)

    def reset(self):
        with self.lock:
            self.runtime_routes = []
            for r in self.file_routes:
                r.count = 0
            self.record = []
            self.seq = 0

    def add_routes(self, routes):
        with self.lock:
            self.runtime_routes.extend(routes)

    def record_text(self):
        with self.lock:
            return b"".join(self.record)

    def respond(self, host, target, port):
        """(fields, base_dir) of the winning route, or None."""
        with self.lock:
            for route in reversed(self.file_routes + self.runtime_routes):
                if route.matches(host, target, port):
                    return route.next_response(), route.base_dir
        return None


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        sock = self.request
        sock.settimeout(READ_TIMEOUT_S)
        port = self.server.server_address[1]
        try:
            request = self.read_request(sock.makefile("rb"))
            if request is None:
                return
            response, pace, reset = self.answer(port, *request)
            # A long body to a slow reader: the time-out bounds each wait, not the whole send.
            sock.settimeout(SEND_TIMEOUT_S)
            if pace is None:
                sock.sendall(response)
            else:
                head, piece, ms = pace
                sock.sendall(response[:head])
                for at in range(head, len(response), piece):
                    time.sleep(ms / 1000.0)
                    sock.sendall(response[at:at + piece])
            if reset:
                time.sleep(0.2)  # sent before the reset, which may discard unread data
                sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                sock.close()
                return
            sock.shutdown(socket.SHUT_WR)
            self.drain(sock)
        except (OSError, ValueError):
            pass  # client went away or sent garbage: nothing to answer

    @staticmethod
    def read_request(f):
        def line():
            raw = f.readline(MAX_LINE)
            if not raw.endswith(b"\n"):
                raise EOFError
            return raw[:-2] if raw.endswith(b"\r\n") else raw[:-1]

        try:
            request_line = line()
            while request_line == b"":  # tolerate stray CRLF before a request
                request_line = line()
            headers, size = [], 0
            while True:
                h = line()
                if h == b"":
                    break
                size += len(h)
                if size > MAX_HEADER_BYTES:
                    return None
                headers.append(h)
        except EOFError:
            return None
        body = f.read(content_length(headers))
        return request_line, headers, body

    def answer(self, port, request_line, headers, body):
        state = self.server.state
        parts = request_line.split(b" ")
        method = parts[0].decode("ascii", "replace")
        target = parts[1].decode("utf-8", "surrogateescape") if len(parts) > 1 else ""
        host = host_name(headers)
        if host == CONTROL_HOST:
            return self.control(method, target, body), None, False
        state.add_record(port, request_line, headers, body)
        found = state.respond(host, target, port)
        if found is None:
            return simple_response("404 Not Found", f"no route for {host} {target}\n"), None, False
        fields, base_dir = found
        if fields.get("delay_ms"):
            time.sleep(fields["delay_ms"] / 1000.0)
        try:
            response, head = build_response(fields, base_dir)
        except (OSError, ValueError) as e:
            return simple_response("500 Internal Server Error", f"bad route: {e}\n"), None, False
        if "cut_after" in fields:
            response = response[:fields["cut_after"]]
        pace = (head, *fields["trickle"]) if "trickle" in fields else None
        return response, pace, fields.get("reset", False)

    def control(self, method, target, body):
        state = self.server.state
        if method == "POST" and target == "/routes":
            try:
                state.add_routes(parse_routes(json.loads(body), os.getcwd(), "posted"))
            except (ValueError, RouteError) as e:
                return simple_response("400 Bad Request", f"{e}\n")
            return simple_response("200 OK", "ok")
        if method == "POST" and target == "/reset":
            state.reset()
            return simple_response("200 OK", "ok")
        if method == "GET" and target == "/record":
            text = state.record_text()
            return (b"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n"
                    b"Content-Length: %d\r\nConnection: close\r\n\r\n" % len(text)) + text
        return simple_response("404 Not Found", f"no control {method} {target}\n")

    @staticmethod
    def drain(sock):
        # Read what the client still sends until it closes, so that closing
        # does not reset the connection before the client has read the response.
        sock.settimeout(DRAIN_TIMEOUT_S)
        try:
            while sock.recv(65536):
                pass
        except OSError:
            pass


class Server(socketserver.ThreadingTCPServer):
    allow_reuse_address = True
    daemon_threads = True
    block_on_close = False
    request_queue_size = 64

    def __init__(self, address, state):
        self.state = state
        super().__init__(address, Handler)


def main(argv=None):
    ap = argparse.ArgumentParser(description="Fixture web server for the test bench.")
    ap.add_argument("--port", type=int, action="append", required=True)
    ap.add_argument("--routes", action="append", default=[])
    ap.add_argument("--ready-file")
    ap.add_argument("--record-file")
    ap.add_argument("--bind", default="127.0.0.1")
    args = ap.parse_args(argv)

    routes = []
    try:
        for path in args.routes:
            with open(path, encoding="utf-8") as f:
                data = json.load(f)
            routes += parse_routes(data, os.path.dirname(os.path.abspath(path)), path)
    except (OSError, ValueError) as e:
        print(f"fixture_server: {e}", file=sys.stderr)
        return 2
    state = State(routes, args.record_file)
    servers = [Server((args.bind, port), state) for port in args.port]
    stop = threading.Event()
    for sig in (signal.SIGTERM, signal.SIGINT):
        signal.signal(sig, lambda *_: stop.set())
    threads = [threading.Thread(target=s.serve_forever, args=(0.1,), daemon=True)
               for s in servers]
    for t in threads:
        t.start()

    if args.ready_file:
        tmp = args.ready_file + ".tmp"
        with open(tmp, "w") as f:
            f.write("".join(f"{s.server_address[1]}\n" for s in servers))
        os.replace(tmp, args.ready_file)

    while not stop.wait(0.5):
        pass
    for s in servers:
        s.shutdown()
        s.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
