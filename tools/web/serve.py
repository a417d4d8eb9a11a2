#!/usr/bin/env python3
"""Serves a folder (the built page, build/web/) on 127.0.0.1, as any static web host would.

Usage: serve.py [--port 8000] [--quiet] DIR
"""
import argparse
import functools
import http.server


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".wasm": "application/wasm",
        ".js": "text/javascript",
        ".ttf": "font/ttf",
        ".ini": "text/plain",
    }
    quiet = False

    def end_headers(self):
        # A rebuilt game is what the next reload loads.
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_message(self, format, *args):
        if not self.quiet:
            super().log_message(format, *args)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=8000)
    parser.add_argument("--quiet", action="store_true")
    parser.add_argument("dir")
    args = parser.parse_args()
    Handler.quiet = args.quiet
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), functools.partial(Handler, directory=args.dir))
    print(f"Kavrona: http://127.0.0.1:{server.server_address[1]}/ (Ctrl+C stops)", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
