#!/usr/bin/env python3
"""Writes the fixture web's answers for the host benchmarks, so that they resolve the
same pages in process: each route of the given routes files, in order, as

    ROUTE <host> <port or 0> <path> <bytes>\\n<the whole response as the server sends it>\\n

built by the fixture server itself.

    flat_routes.py OUT ROUTES_FILE...
"""
import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import fixture_server  # noqa: E402


def main(argv):
    out_path, files = argv[0], argv[1:]
    with open(out_path, "wb") as out:
        for path in files:
            with open(path, encoding="utf-8") as f:
                routes = fixture_server.parse_routes(json.load(f), os.path.dirname(os.path.abspath(path)), path)
            for route in routes:
                if route.obj.get("sequence"):
                    raise SystemExit(f"{path}: a route with a sequence cannot be flattened")
                response, _ = fixture_server.build_response(route.next_response(), route.base_dir)
                head = f"ROUTE {route.host} {route.port or 0} {route.path} {len(response)}\n"
                out.write(head.encode("utf-8") + response + b"\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
