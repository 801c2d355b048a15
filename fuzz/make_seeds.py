#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz harnesses (fuzz/corpus/<name>/) from the test
fixtures: the fixture web's routes (tests/net/*.json) and the pages of the host tests.
Run it again after changing a fixture; it replaces every seed it writes."""
import json
import os
import pathlib
import struct
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzz" / "corpus"
SEP = b"\n--next--\n"


def routes():
    """The fixture web's routes by (host, path)."""
    table = {}
    for f in sorted((ROOT / "tests" / "net").glob("*.json")):
        for r in json.loads(f.read_text(encoding="utf-8")):
            table[(r["host"], r["path"])] = r
    return table


ROUTES = routes()


def reply(status=b"HTTP/1.1 200 OK", headers=(), body=b""):
    head = status + b"\r\n" + b"".join(k + b": " + v + b"\r\n" for k, v in headers)
    return head + b"Content-Length: " + str(len(body)).encode() + b"\r\n\r\n" + body


def route_reply(host, path, pack=None):
    """The fixture route as a raw reply; pack names a Fuzz-Pack directive."""
    r = ROUTES[(host, path)]
    if "body_hex" in r:
        body = bytes.fromhex(r["body_hex"])
    else:
        body = (r.get("body") or "").encode("utf-8") * r.get("body_repeat", 1)
    headers = [(k.encode(), v.encode()) for k, v in r.get("headers", [])]
    if pack or r.get("compress"):
        headers = [(k, v) for k, v in headers if k.lower() != b"content-encoding"]
        kind = pack or r["compress"]
        headers.append((b"Fuzz-Pack", kind.encode()))
    return reply(r.get("status", "HTTP/1.1 200 OK").encode(), headers, body)


def records(*parts):
    return SEP.join(parts)


def gzip_bytes(data, wbits=31):
    c = zlib.compressobj(6, zlib.DEFLATED, wbits)
    return c.compress(data) + c.flush()


def fdp_tail(*values):
    """Bytes that FuzzedDataProvider reads back as these integers, first value first:
    each (value, byte count) is taken from the end of the input, last byte most
    significant."""
    out = b""
    for value, width in values:
        out = bytes((value >> (8 * i)) & 0xFF for i in range(width)) + out
    return out


def write(name, seeds):
    folder = CORPUS / name
    folder.mkdir(parents=True, exist_ok=True)
    for old in folder.iterdir():
        old.unlink()
    for seed_name, data in seeds.items():
        (folder / seed_name).write_bytes(data)


KU6_PAGE = "http://www.ku6.com/show/abc.html"
SINA_PAGE = "http://www.sina.com.cn/v/b/12345-1.html"
KU6_OBJECT = b'<html><script>var $ns.ObjectInfo = {"id":"x1","data":{"t":"Clip, \\u4e2d","f":"http://a/1.flv,http://a/2.flv,"}};</script></html>'
SINA_LIST = ('<?xml version="1.0" encoding="GBK"?><video><result>suc</result><vname><![CDATA[T]]></vname>'
             '<durl><order>1</order><url><![CDATA[http://s/1.flv]]></url></durl>'
             '<durl><order>2</order><url><![CDATA[http://s/2.flv]]></url></durl></video>').encode()


def exports_seeds():
    ku6 = route_reply("www.ku6.com", "/show/abc.html")
    dead = route_reply("f.ku6.com", "/a.flv")
    live = route_reply("f.ku6.com", "/b.flv")
    sina = route_reply("www.sina.com.cn", "/v/b/12345-1.html")
    sina_list = route_reply("v.iask.sina.com.cn", "/v_play.php?vid=12345")
    segment = reply()
    swf = reply(b"HTTP/1.1 302 Found", [(b"Location", b"http://www.ku6.com/player.swf?vid=abc&auto=1")])
    api = reply(body=b'{"data":{"t":"Api, title","f":"http://k/1.flv,http://k/2.flv"}}')
    title_only = reply(body=b"<html><title>Clip</title></html>")
    stored = route_reply("service.qelplayer.net",
                         "/flvStorage/find.php?url=http%3A%2F%2Fwww%2Eku6%2Ecom%2Fshow%2Fstored%2Ehtml")
    return {
        "ku6": records(KU6_PAGE.encode(), ku6, ku6, dead, live, live),
        "ku6-gzip": records(KU6_PAGE.encode(), ku6, route_reply("www.ku6.com", "/show/abc.html", "gzip"), dead, live),
        "ku6-swf": records(b"http://www.ku6.com/p.swf", swf, api, live, live),
        "sina": records(SINA_PAGE.encode(), sina, sina, sina_list, segment, segment, segment),
        "sina-deflate": records(SINA_PAGE.encode() + b"\nurl", sina, sina,
                                route_reply("v.iask.sina.com.cn", "/v_play.php?vid=12345", "deflate"), segment),
        "stored": records(b"http://www.ku6.com/show/stored.html\nstored", stored),
        "stored-miss": records(KU6_PAGE.encode() + b"\nstored",
                               route_reply("service.qelplayer.net", "/flvStorage/find.php*"), ku6, ku6, dead, live,
                               live, reply(body=b"ok")),
        "wide": records(SINA_PAGE.encode() + b"\nwide", sina, sina, sina_list, segment, segment, segment),
        "title-only": records(b"http://www.metacafe.com/watch/1/", title_only, title_only),
    }


def fetch_seeds():
    client = [("/exact?x=1", "www.ku6.com"), ("/moved", "www.ku6.com"), ("/gzip", "www.sina.com.cn"),
              ("/deflate", "www.sina.com.cn"), ("/utf8", "www.sina.com.cn"), ("/utf8-gzip", "www.sina.com.cn"),
              ("/utf8-lowercase-name", "www.sina.com.cn"), ("/utf8-marker", "www.sina.com.cn"),
              ("/utf8-xml", "www.sina.com.cn"), ("/utf8-sequences", "www.sina.com.cn")]
    seeds = {}
    for path, host in client:
        name = path.strip("/").split("?")[0]
        seeds[name] = records(f"http://{host}{path}".encode(), route_reply(host, path))
    final = route_reply("www.ku6.com", "/final")
    seeds["moved-followed"] = records(b"http://www.ku6.com/moved\n4096 10240 4096 0",
                                      route_reply("www.ku6.com", "/moved"), final)
    seeds["moved-probe"] = records(b"http://www.ku6.com/moved\n4096 10240 4096 1", route_reply("www.ku6.com", "/moved"))
    seeds["small-buffers"] = records(b"http://www.sina.com.cn/utf8-gzip\n9 64 7 0",
                                     route_reply("www.sina.com.cn", "/utf8-gzip"))
    seeds["failed"] = records(b"http://www.ku6.com/x", b"!12029")
    # A header buffer of no bytes, passed as a byte that is not its, then as none.
    seeds["no-header-bytes"] = records(b"http://www.sina.com.cn/utf8-gzip\n4096 0 4096 0",
                                       route_reply("www.sina.com.cn", "/utf8-gzip"))
    seeds["no-header-buffer"] = records(b"http://www.sina.com.cn/utf8-gzip\n4096 0 4096 2",
                                        route_reply("www.sina.com.cn", "/utf8-gzip"))
    return seeds


def dispatch_seeds():
    moved = b"HTTP/1.1 302 Found"
    page = reply(body=b"<html>page</html>")

    def to(location):
        return reply(moved, [(b"Location", location)])
    seeds = {
        "ordinary": records(b"http://www.ku6.com/show/a.html", page, page),
        "not-swf": records(b"http://www.ku6.com/a.html", to(b"http://www.ku6.com/b.html"), page),
        "ku6-swf": records(b"http://www.ku6.com/p.swf", to(b"http://www.ku6.com/player.swf?vid=abc&auto=1")),
        "youku-swf": records(b"http://www.youku.com/player.swf",
                             to(b"http://www.youku.com/x/PlayER.swf?VideoIDS=XaBc&winType=adshow&")),
        "tudou-swf": records(b"http://www.tudou.com/v/x.swf",
                             to(b"http://www.tudou.com/player/outside/player.swf?iid=77&refurl=http://x/Y&z=1")),
        "site56-swf": records(b"http://www.56.com/n.swf",
                              to(b"http://www.56.com/player.swf?URLid=2009_x&flvid=1000&"), page),
        "site6-player": records(b"http://www.6.cn/Player.SWF?flag=1", page),
        "failed": records(b"http://www.ku6.com/x", b"!12029"),
    }
    # A header buffer of no bytes, passed as a byte that is not its, then as none.
    seeds["no-header-bytes"] = records(b"http://www.ku6.com/p.swf\n65536 0 65536 0",
                                       to(b"http://www.ku6.com/player.swf?vid=abc&auto=1"), page)
    seeds["no-header-buffer"] = records(b"http://www.ku6.com/p.swf\n65536 0 65536 2",
                                        to(b"http://www.ku6.com/player.swf?vid=abc&auto=1"), page)
    return seeds


def ku6_seeds():
    api = reply(body=b'{"data":{"t":"Api, title","f":"http://k/1.flv,http://k/2.flv"}}')
    return {
        "page": b"\n" + KU6_OBJECT,
        "page-fields-outside": b'\n<script>$ns.ObjectInfo = {"t":"outer","data":{"f":"u"}}</script>',
        "interface": records(b"http://v.ku6.com/fetchVideo4Player/1/XMTIz.html\n", api),
        "interface-gzip": records(b"http://v.ku6.com/fetchVideo4Player/1/XMTIz.html\n",
                                  reply(headers=[(b"Fuzz-Pack", b"gzip")], body=b'{"data":{"t":"T","f":"' +
                                        b"," * 64 + b'"}}')),
        "interface-failed": records(b"http://v.ku6.com/fetchVideo4Player/1/gone.html\n", b"!12007"),
    }


def sina_seeds():
    utf8 = reply(headers=[(b"Content-Type", b"text/xml; charset=utf-8")],
                 body=SINA_LIST.replace(b"<![CDATA[T]]>", "<![CDATA[新浪]]>".encode()))
    return {
        "address": records(b"http://video.sina.com.cn/v/b/42-1.html\n", reply(body=SINA_LIST)),
        "add-variable": records(b"http://video.sina.com.cn/v/b/x.html\nso.addVariable(\"vid\", \"5566-01\");",
                                reply(body=SINA_LIST)),
        "video-play": records(b"http://video.sina.com.cn/v/b/x.html#9\nvideo=\" 22-\" play(\"33\")", utf8),
        "vid-query": records(b"http://video.sina.com.cn/p.php?vid=1357&x=1\n", route_reply(
            "v.iask.sina.com.cn", "/v_play.php?vid=12345", "gzip")),
        "long-block": records(b"http://video.sina.com.cn/v/b/42-1.html\n",
                              reply(body=b"<durl>" + b" " * 5000 + b"<url><![CDATA[http://s/1.flv]]></url></durl>")),
        "no-vid": b"http://video.sina.com.cn/v/b/x.html#78a\n",
    }


PAGES = [
    KU6_OBJECT, SINA_LIST,
    ROUTES[("www.ku6.com", "/show/abc.html")]["body"].encode("utf-8"),
    b"document.title = \"Scripted\"; <title>Element</title>",
    b"HTTP/1.1 200 OK\r\nContent-Encoding: GZIP\r\nContent-Type: text/html; charset=UTF-8\r\n\r\n",
    b"http://user@host:8080/x/y?vid=7&a=b#9",
    b"amamp;p;a,b,,chttp:\\/\\/x\\/y",
    b"\\u4e2d\\u6587 A\\u002c\\u41",
    "<title>中文 \xd6\xd0</title>".encode("utf-8"),
]


def text_seeds():
    seeds = {}
    for i, page in enumerate(PAGES):
        for op in range(10):
            # Strings the operation reads first (markers, sets, patterns), then the text;
            # the numbers it reads come from the end.
            lead = {0: b"<title>\\ </title>\\ ", 2: b", \"\\ ", 5: b"amp;\\ \\ ", 9: b"=\\ "}.get(op, b"")
            tail = {0: fdp_tail((op, 1), (40, 1), (1, 1), (1, 1)), 1: fdp_tail((op, 1), (255, 2)),
                    4: fdp_tail((op, 1), (i % 6, 1))}.get(op, fdp_tail((op, 1)))
            seeds[f"page{i}-op{op}"] = lead + page + tail
    return seeds


def result_text_seeds():
    texts = [b"<title>T</title><flv>a<|>b<|>c<|></flv>", b"<title>T</title><flv>s1<&>s2<&>s3</flv>",
             b"<title>T</title><flv>a<|></flv><flv>b<|></flv>", b"<flv>" + b"x" * 1500 + b"<|></flv>",
             b"<title>T</title><flv>" + b"<&>" * 300 + b"</flv>", b"<title>" + b"t" * 5000 + b"</title><flv>a<|></flv>"]
    seeds = {}
    for i, t in enumerate(texts):
        for j, (fit, lines) in enumerate([(4096, 131), (len(t) // 2, 13), (len(t) + 1, 20000)]):
            seeds[f"text{i}-{j}"] = t + fdp_tail((fit, 2), (lines, 2), (0x5555555555555555 >> j, 8))
    return seeds


def inflate_seeds():
    page = ROUTES[("www.sina.com.cn", "/gzip")]["body"].encode() * 40 + SINA_LIST + KU6_OBJECT
    seeds = {}
    for kind in (1, 2):
        for shape, cut, capacity in [(1, 0, 100000), (1, 0, len(page)), (2, 200, 100000), (2, 65535, len(page) - 1)]:
            seeds[f"kind{kind}-shape{shape}-{cut}-{capacity}"] = page + fdp_tail(
                (kind, 1), (capacity, 3), (shape, 1), (cut, 2), (cut * 7 % 65536, 2))
        raw = gzip_bytes(page, 31 if kind == 1 else 15)
        seeds[f"kind{kind}-raw"] = raw + fdp_tail((kind, 1), (len(page), 3), (0, 1), (0, 2), (0, 2))
        seeds[f"kind{kind}-raw-cut"] = raw[: len(raw) // 2] + fdp_tail((kind, 1), (65536, 3), (0, 1), (0, 2), (0, 2))
    return seeds


def utf8_seeds():
    texts = [ROUTES[("www.sina.com.cn", "/utf8")]["body"].encode("utf-8"),
             bytes.fromhex(ROUTES[("www.sina.com.cn", "/utf8-sequences")]["body_hex"]),
             "a\u00e9\u4e2d\U0001F600b".encode("utf-8") + b"\x80x\xc3", b"x\xe4\xb8"]
    seeds = {}
    for i, t in enumerate(texts):
        for j, (out, ansi, wide) in enumerate([(1000, 1000, 0), (5, 3, 0), (1000, 4, 1)]):
            body = t
            size = len(body) + 5
            width = 1 if 2 * size + 4 < 256 else 2
            seeds[f"text{i}-{j}"] = body + fdp_tail((out, width), (ansi, width), (wide, 1))
    seeds["surrogate-cut"] = "a".encode() + struct.pack("<H", 0xD800) + b"b\x00" + fdp_tail((10, 1), (3, 1), (1, 1))
    return seeds


def fixture_body(host, path):
    return (ROUTES[(host, path)].get("body") or "").encode("utf-8")


def youku_seeds():
    page = fixture_body("www.youku.com", "/v_show/id_XMTIz.html")
    play_list = next(k for k in ROUTES if k[0] == "v.youku.com" and "Fid" in k[1])
    player_list = next(k for k in ROUTES if k[0] == "v.youku.com" and "ran=" in k[1])
    return {
        "page": records(b"\n" + page, route_reply(*play_list)),
        "page-plain": records(b"\n" + page, route_reply(*play_list).replace(b"Content-Encoding: gzip\r\n", b"")),
        "player": records(b"http://static.youku.com/v/swf/qplayer.swf?VideoIDS=XMjQ1&winType=interior&embedid=1\n",
                          route_reply(*player_list)),
        "failed": records(b"\n" + page, b"!12007"),
        "long-id-255-segments": records(b"http://v.youku.com/list\n", youku_long_id_reply()),
    }


def youku_long_id_reply():
    """A gzipped play list whose deciphered identifier of 30,000 characters has kind 02
    and count ff: every one of 255 segments would repeat it."""
    alphabet = "FjunR-605KWgeYO/oCaU7d\\kHLzXEDT:hSl84VIAqJyfMPZ9i2G1x_pbmw3rtsNBvc.Q"  # seed 0
    file_id = "02abcdff" + "F" * (30000 - 8)
    file_ids = "".join(f"{alphabet.index(c)}*" for c in file_id)
    body = ('{"data":[{"seed":0,"fileid":"' + file_ids + '","title":"T","key1":"0","key2":"k"}]}').encode()
    return reply(headers=[(b"Content-Encoding", b"gzip")], body=gzip_bytes(body))


def tudou_seeds():
    page = fixture_body("www.tudou.com", "/programs/view/abc/")
    script = route_reply("www.tudou.com", "/js/player.js")
    api = "/cdn/v2.php?noCatch=4290&id=4243&refurl=http://www.tudou.com/x&autostart=1"
    return {
        "page": records(b"\n" + page, script,
                        route_reply("v2.tudou.com", "/cdn/v.php?id=4242&noCatch=2573&safekey=SK1")),
        "player": records(b"http://v2.tudou.com" + api.encode() + b"\n", route_reply("v2.tudou.com", api)),
        "hd": records(b"\n" + fixture_body("hd.tudou.com", "/program/9/"),
                      route_reply("api.tudou.com", "/v2/kili?id=99&noCatch=2573&safekey=")),
        "references": records(b"\n" + page, script,
                              reply(body=b'<v title="&#20013;&#25991;&#100000000003629;&#12">'
                                         b'<f w="1">http://f/a.flv</f></v>')),
    }


def link_seeds():
    return {
        "play-src": "zflv://play/src=http://www.ku6.com/show/abc.html&name=T".encode("utf-16-le"),
        "add-flv": "zflv://add/flv=http://a/1.flv<&>http://a/2.flv<&>&name=N".encode("utf-16-le"),
        "videosrc": "zflv://play/videosrc=http://www.sina.com.cn/v/1.html<&>http://v.youku.com/2<&>"
                    .encode("utf-16-le"),
        "goto": "zflv://goto/zflv://play/src=http://www.tudou.com/x".encode("utf-16-le"),
        "no-field": "zflv://play/http://www.56.com/".encode("utf-16-le"),
    }


def command_line_seeds():
    return {
        "agent": " /url http://v.ku6.com/show/a.html?x=1&y=2 /location http://p/ /info 片名".encode("utf-16-le"),
        "empty-url": " /url  /location http://www.ku6.com/ /info 链接".encode("utf-16-le"),
        "no-url": "/location http://www.ku6.com/ /info".encode("utf-16-le"),
    }


def update_description_seeds():
    block = lambda tag, build: (f"<{tag}><version>1.0</version><build>{build}</build>"
                                f"<download>http://service.qelplayer.net/u/{tag}.exe</download>"
                                f"<description>更新 {tag}</description></{tag}>")
    return {
        "three": ("<root>" + block("player", 81126) + block("parser", 81127) + block("genal", 1) + "</root>").encode(),
        "single": block("x", 81126)[3:].encode(),
        "empty-root": ("<root></root>" + block("player", 2)).encode(),
        "root-only": b"<root>x</root>",
    }


def main():
    write("exports", exports_seeds())
    write("fetch", fetch_seeds())
    write("dispatch", dispatch_seeds())
    write("ku6", ku6_seeds())
    write("sina", sina_seeds())
    write("text", text_seeds())
    write("result_text", result_text_seeds())
    write("inflate", inflate_seeds())
    write("utf8", utf8_seeds())
    write("youku", youku_seeds())
    write("tudou", tudou_seeds())
    write("link", link_seeds())
    write("command_line", command_line_seeds())
    write("update_description", update_description_seeds())
    for name in sorted(os.listdir(CORPUS)):
        print(name, len(os.listdir(CORPUS / name)))


if __name__ == "__main__":
    main()
