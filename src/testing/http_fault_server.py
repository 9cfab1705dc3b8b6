#!/usr/bin/env python3
"""A small HTTP server on 127.0.0.1 for the network tests and the demo.

  http_fault_server.py ROOT [SECONDS]

Prints its port on the first line, serves the files in ROOT (with range
requests) and ends by itself after SECONDS (default 300). Faults, asked for
in the query of a file's URL:
  close=N   send the headers of the whole answer, then only N bytes
  norange=1 ignore a Range header
  slow=S    wait S seconds before the body
  status=N  answer with status N and no file
  to=URL    redirect there (302); "/loop" redirects to itself
"""
import os
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = dict(urllib.parse.parse_qsl(url.query))
        if url.path == "/loop" or "to" in query:
            self.send_response(302)
            self.send_header("Location", query.get("to", "/loop"))
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if "status" in query:
            self.send_response(int(query["status"]))
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        path = os.path.join(self.server.root, urllib.parse.unquote(url.path).lstrip("/"))
        if not os.path.isfile(path):
            self.send_response(404)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        size = os.path.getsize(path)
        start = 0
        header = self.headers.get("Range", "")
        if header.startswith("bytes=") and header.endswith("-") and "norange" not in query:
            start = int(header[6:-1])
            if start >= size:
                self.send_response(416)
                self.send_header("Content-Range", "bytes */%d" % size)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            self.send_response(206)
            self.send_header("Content-Range", "bytes %d-%d/%d" % (start, size - 1, size))
        else:
            self.send_response(200)
        self.send_header("Content-Length", str(size - start))
        self.end_headers()
        time.sleep(float(query.get("slow", 0)))
        left = int(query.get("close", size - start))
        with open(path, "rb") as f:
            if "close" not in query:
                # The whole rest at the kernel's pace, so that a benchmark measures the client.
                self.wfile.flush()
                self.connection.sendfile(f, start, left)
                return
            f.seek(start)
            while left > 0:
                chunk = f.read(min(left, 1 << 20))
                if not chunk:
                    break
                self.wfile.write(chunk)
                left -= len(chunk)
        if "close" in query:
            self.close_connection = True


class Server(ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        pass  # a client that hangs up early is what the faults are for


def main():
    server = Server(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.root = sys.argv[1]
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 300
    threading.Timer(seconds, server.shutdown).start()
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
