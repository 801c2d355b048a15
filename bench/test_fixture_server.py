#!/usr/bin/env python3
"""Self-test of fixture_server.py on 127.0.0.1 (no namespace needed)."""

import base64
import gzip
import http.client
import json
import os
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "fixture_server.py")

FILE_ROUTES = [
    {"host": "*", "path": "/any", "body": "any host"},
    {"host": "a.test", "path": "/page?x=1", "body": "a exact"},
    {"host": "a.test", "path": "/dir/*", "body": "a prefix"},
    {"host": "a.test", "path": "/dir/special", "body": "a later wins"},
    {"host": "b.test", "path": "/p", "port": "PORT2", "body": "b on second port"},
    {"host": "b.test", "path": "/file", "body_file": "page.bin"},
    {"host": "c.test", "path": "/seq", "headers": [["X-Base", "1"]], "body": "base",
     "sequence": [{"body": "first"}, {"status": "HTTP/1.1 302 Found", "body_hex": "7365636f6e64"}]},
]


def raw_exchange(port, data, shut_write=False):
    """Send bytes, return everything the server sends until it closes."""
    with socket.create_connection(("127.0.0.1", port), timeout=10) as s:
        s.sendall(data)
        if shut_write:
            s.shutdown(socket.SHUT_WR)
        chunks = []
        while True:
            chunk = s.recv(65536)
            if not chunk:
                return b"".join(chunks)
            chunks.append(chunk)


def get(port, host, target, extra=b""):
    return raw_exchange(port, b"GET %s HTTP/1.1\r\nHost: %s\r\n%s\r\n"
                        % (target.encode(), host.encode(), extra))


def split_response(resp):
    head, _, body = resp.partition(b"\r\n\r\n")
    return head.split(b"\r\n"), body


class FixtureServerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        d = cls.tmp.name
        with open(os.path.join(d, "page.bin"), "wb") as f:
            f.write(b"\x00\xffpage")
        # The second port is only known once the server runs; pick one first.
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            port2 = probe.getsockname()[1]
        routes = json.loads(json.dumps(FILE_ROUTES).replace('"PORT2"', str(port2)))
        with open(os.path.join(d, "routes.json"), "w") as f:
            json.dump(routes, f)
        cls.ready = os.path.join(d, "ready")
        cls.record_file = os.path.join(d, "record.txt")
        cls.proc = subprocess.Popen(
            [sys.executable, SERVER, "--port", "0", "--port", str(port2),
             "--routes", os.path.join(d, "routes.json"),
             "--ready-file", cls.ready, "--record-file", cls.record_file])
        deadline = time.monotonic() + 20
        while not os.path.exists(cls.ready):
            if cls.proc.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError("fixture server did not start")
            time.sleep(0.05)
        with open(cls.ready) as f:
            cls.port1, cls.port2 = [int(x) for x in f.read().split()]
        assert cls.port2 == port2

    @classmethod
    def tearDownClass(cls):
        cls.proc.send_signal(signal.SIGTERM)
        rc = cls.proc.wait(timeout=20)
        cls.tmp.cleanup()
        assert rc == 0, rc

    def control(self, method, target, body=None):
        conn = http.client.HTTPConnection("127.0.0.1", self.port1, timeout=10)
        conn.request(method, target, body=body, headers={"Host": "fixture.control"})
        resp = conn.getresponse()
        data = resp.read()
        conn.close()
        return resp.status, data

    def add_routes(self, routes):
        self.assertEqual(self.control("POST", "/routes", json.dumps(routes)), (200, b"ok"))

    def setUp(self):
        self.assertEqual(self.control("POST", "/reset"), (200, b"ok"))

    def test_matching_by_host_path_port_and_precedence(self):
        self.add_routes([{"host": "a.test", "path": "/page?x=1", "body": "a posted"}])
        p1, p2 = self.port1, self.port2
        cases = [
            (p1, "A.Test:8080", "/page?x=1", b"a posted"),    # posted over file route
            (p1, "a.test", "/dir/x/y", b"a prefix"),
            (p1, "a.test", "/dir/special", b"a later wins"),
            (p1, "zzz.test", "/any", b"any host"),
            (p2, "b.test", "/p", b"b on second port"),
            (p2, "b.test", "/file", b"\x00\xffpage"),          # body_file beside routes
        ]
        for port, host, target, body in cases:
            with self.subTest(host=host, target=target):
                lines, got = split_response(get(port, host, target))
                self.assertEqual(lines[0], b"HTTP/1.1 200 OK")
                self.assertEqual(got, body)
        for port, host, target in [(p1, "b.test", "/p"),       # wrong port
                                   (p1, "a.test", "/page"),     # query is part of the target
                                   (p1, "a.test", "/dir"),
                                   (p1, "other.test", "/p")]:
            with self.subTest(host=host, target=target, port=port):
                lines, got = split_response(get(port, host, target))
                self.assertEqual(lines[0], b"HTTP/1.1 404 Not Found")
                self.assertTrue(got)

    def test_response_bytes_on_the_wire(self):
        self.add_routes([
            {"host": "w.test", "path": "/h", "status": "HTTP/1.0 203 Whatever",
             "headers": [["zeta", "1"], ["Content-Type", "text/html; charset=gbk"],
                         ["ALPHA", "2"], ["Set-Cookie", "a=1"], ["Set-Cookie", "b=2"]],
             "body_b64": base64.b64encode(b"\xc4\xe3\xba\xc3").decode()},
            {"host": "w.test", "path": "/given", "headers": [["content-length", "99"]],
             "body": "short"},
            {"host": "w.test", "path": "/nolen", "content_length": False, "body": "\u63d0\u793a"},
            {"host": "w.test", "path": "/pad", "headers": [["A", "b"]], "header_pad": 5000,
             "body": "0123456789", "body_repeat": 25},
        ])
        self.assertEqual(
            get(self.port1, "w.test", "/h"),
            b"HTTP/1.0 203 Whatever\r\nzeta: 1\r\nContent-Type: text/html; charset=gbk\r\n"
            b"ALPHA: 2\r\nSet-Cookie: a=1\r\nSet-Cookie: b=2\r\nContent-Length: 4\r\n\r\n"
            b"\xc4\xe3\xba\xc3")
        self.assertEqual(get(self.port1, "w.test", "/given"),
                         b"HTTP/1.1 200 OK\r\ncontent-length: 99\r\n\r\nshort")
        self.assertEqual(get(self.port1, "w.test", "/nolen"),
                         b"HTTP/1.1 200 OK\r\n\r\n" + "\u63d0\u793a".encode("utf-8"))
        self.assertEqual(
            get(self.port1, "w.test", "/pad"),
            b"HTTP/1.1 200 OK\r\nA: b\r\nContent-Length: 25\r\nX-Pad: " + b"a" * 5000
            + b"\r\n\r\n" + b"0123456789012345678901234")

    def test_compression_after_repeat(self):
        plain = (b"<html>" * 40000)[:200000]
        decoders = {"gzip": gzip.decompress, "zlib": zlib.decompress,
                    "raw": lambda d: zlib.decompress(d, -zlib.MAX_WBITS)}
        self.add_routes([{"host": "z.test", "path": "/" + kind, "body": "<html>",
                          "body_repeat": 200000, "compress": kind,
                          "headers": [["Content-Encoding", kind]]} for kind in decoders])
        for kind, decode in decoders.items():
            with self.subTest(kind=kind):
                lines, body = split_response(get(self.port1, "z.test", "/" + kind))
                self.assertIn(b"Content-Length: %d" % len(body), lines)
                self.assertLess(len(body), 10000)
                self.assertEqual(decode(body), plain)
        # each format is really distinct: gzip magic, zlib header, raw has neither
        self.assertEqual(split_response(get(self.port1, "z.test", "/gzip"))[1][:2], b"\x1f\x8b")
        self.assertEqual(split_response(get(self.port1, "z.test", "/zlib"))[1][:1], b"\x78")

    def test_sequence_repeats_last_and_reset_restarts_it(self):
        def fetch():
            lines, body = split_response(get(self.port1, "c.test", "/seq"))
            return lines[0], b"X-Base: 1" in lines, body
        self.assertEqual(fetch(), (b"HTTP/1.1 200 OK", True, b"first"))
        self.assertEqual(fetch(), (b"HTTP/1.1 302 Found", True, b"second"))
        self.assertEqual(fetch(), (b"HTTP/1.1 302 Found", True, b"second"))
        self.control("POST", "/reset")
        self.assertEqual(fetch()[2], b"first")

    def test_delay_cut_and_connection_close(self):
        self.add_routes([
            {"host": "d.test", "path": "/slow", "delay_ms": 300, "body": "late"},
            {"host": "d.test", "path": "/cut", "body": "x" * 1000, "cut_after": 30},
        ])
        start = time.monotonic()
        self.assertTrue(get(self.port1, "d.test", "/slow").endswith(b"\r\n\r\nlate"))
        self.assertGreaterEqual(time.monotonic() - start, 0.3)

        cut = get(self.port1, "d.test", "/cut")
        self.assertEqual(len(cut), 30)
        self.assertTrue(b"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\nxxxx".startswith(cut))

        # A reset after the cut: the client reads what came, then the connection is reset.
        self.add_routes([{"host": "d.test", "path": "/reset", "body": "z" * 1000, "cut_after": 60,
                          "reset": True}])
        with socket.create_connection(("127.0.0.1", self.port1), timeout=5) as c:
            c.sendall(b"GET /reset HTTP/1.1\r\nHost: d.test\r\n\r\n")
            got, error = b"", None
            try:
                while True:
                    piece = c.recv(65536)
                    if not piece:
                        break
                    got += piece
            except ConnectionResetError as e:
                error = e
        self.assertIsNotNone(error)
        self.assertEqual(got, (b"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + b"z" * 1000)[:60])

        # A trickled body arrives whole, piece by piece.
        self.add_routes([{"host": "d.test", "path": "/trickle", "body": "y" * 10, "trickle": [4, 100]}])
        start = time.monotonic()
        self.assertTrue(get(self.port1, "d.test", "/trickle").endswith(b"\r\n\r\n" + b"y" * 10))
        self.assertGreaterEqual(time.monotonic() - start, 0.3)

        # keep-alive is not honoured: the server closes after one response
        resp = get(self.port1, "d.test", "/any", b"Connection: keep-alive\r\n")
        self.assertTrue(resp.endswith(b"any host"))

    def test_record_control_and_early_close(self):
        get(self.port1, "fixture.control", "/record")             # never recorded
        raw_exchange(self.port1, b"GET /half HTTP/1.1\r\nHost: a.t", shut_write=True)
        raw_exchange(self.port2, b"POST /up?q=%E4 HTTP/1.1\r\nHost: A.test\r\n"
                     b"content-length: 5\r\n\r\nab", shut_write=True)   # short body
        raw_exchange(self.port1, b"POST /u HTTP/1.1\r\nUser-Agent: t\r\nhost: b.test:80\r\n"
                     b"X-Dup: 1\r\nX-Dup: 2\r\nContent-Length: 3\r\n\r\n\x00\x01\xff")
        get(self.port2, "b.test", "/p", b"Accept:  */*\r\n")
        expected = (
            b"REQ 1 %d\nPOST /up?q=%%E4 HTTP/1.1\nHost: A.test\ncontent-length: 5\n\n"
            b"BODY 6162\nEND\n"
            b"REQ 2 %d\nPOST /u HTTP/1.1\nUser-Agent: t\nhost: b.test:80\nX-Dup: 1\nX-Dup: 2\n"
            b"Content-Length: 3\n\nBODY 0001ff\nEND\n"
            b"REQ 3 %d\nGET /p HTTP/1.1\nHost: b.test\nAccept:  */*\n\nBODY \nEND\n"
        ) % (self.port2, self.port1, self.port2)
        self.assertEqual(self.control("GET", "/record"), (200, expected))
        with open(self.record_file, "rb") as f:
            self.assertTrue(f.read().endswith(expected))

        self.assertEqual(self.control("POST", "/routes", b"{not json")[0], 400)
        self.assertEqual(self.control("POST", "/routes", b'{"hots": "x"}')[0], 400)
        self.add_routes({"host": "b.test", "path": "/p", "body": "posted"})
        self.assertTrue(get(self.port2, "b.test", "/p").endswith(b"posted"))
        self.control("POST", "/reset")
        self.assertEqual(self.control("GET", "/record"), (200, b""))
        self.assertTrue(get(self.port2, "b.test", "/p").endswith(b"b on second port"))


if __name__ == "__main__":
    unittest.main()
