#!/usr/bin/env python3
"""Prints a hosts file mapping every host name of the configuration header to
127.0.0.1: each name, "www." before each name, the Baidu servers v01. to v99.,
the fixture server's control name, and the names of test_hosts.txt."""
import os
import re
import sys

names = []
for m in re.finditer(r'constexpr const char\* (\w+) = "([^"]+)";', open(sys.argv[1]).read()):
    names.append(m.group(2))
baidu = re.search(r'BaiduVideoHost = "([^"]+)"', open(sys.argv[1]).read()).group(1)
out = ["localhost", "fixture.control"]
for n in names:
    out += [n, "www." + n]
out += ["v%02d.%s" % (i, baidu) for i in range(1, 100)]
extra = os.path.join(os.path.dirname(os.path.abspath(__file__)), "test_hosts.txt")
out += [l.strip() for l in open(extra) if l.strip() and not l.startswith("#")]
seen = set()
print("127.0.0.1\t" + "\n127.0.0.1\t".join(n for n in out if not (n in seen or seen.add(n))))
