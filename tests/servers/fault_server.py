#!/usr/bin/python3
"""HTTP and HTTPS server for the transfer tests: answers that real servers give only sometimes.

Usage: fault_server.py STATE_DIR

Listens on free ports of 127.0.0.1 and writes them to STATE_DIR/fault.port (http),
STATE_DIR/fault_tls.port (https, certificate STATE_DIR/tls.crt and key STATE_DIR/tls.key) and
STATE_DIR/dead.port (a port held bound but never listening: connections are refused).

Downloads: GET /t/TOKEN/NAME?QUERY. TOKEN names the test (request counts and logs are kept per
token); NAME only shows in logs. QUERY:
  size=N        the body is N bytes of the pattern (byte i = ((i * 2654435761) mod 2^32) >> 13, low 8 bits)
  src=FILE      the body is STATE_DIR/www/FILE instead
  range=0       ignore Range headers (answer 200); by default "bytes=N-" gives 206
  nolength=1    no Content-Length header (the body ends when the connection closes)
  slow=MS       pause MS milliseconds after every 8 KiB of body
  faults=A,B,.. what the first, second, ... request of the token gets; later requests get "ok":
                  ok          the normal answer
                  reset:N     headers and N bytes of body, then a connection reset
                  short:N     headers (full length announced) and N bytes, then a normal close
                  status:NNN  answer NNN with a small body (401 asks for Basic credentials)
                  hang:MS     wait MS milliseconds before answering normally
  status=NNN    every request gets status:NNN
Control: GET /count/TOKEN gives the number of download requests of the token; GET /log/TOKEN one
line per request: the Range header or "-".
"""

import os
import socket
import ssl
import struct
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

STATE_DIR = sys.argv[1]
LOCK = threading.Lock()
REQUESTS = {}  # token -> list of Range header values ("-" when absent)
PATTERNS = {}


def pattern(size):
    with LOCK:
        data = PATTERNS.get(size)
    if data is None:
        data = bytes(((i * 2654435761) & 0xFFFFFFFF) >> 13 & 0xFF for i in range(size))
        with LOCK:
            PATTERNS[size] = data
    return data


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    server_version = "FaultServer/1"

    def log_message(self, fmt, *args):
        sys.stderr.write("%s %s\n" % (self.address_string(), fmt % args))

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        parts = url.path.split("/")
        if len(parts) >= 3 and parts[1] in ("count", "log"):
            with LOCK:
                entries = list(REQUESTS.get(parts[2], []))
            text = str(len(entries)) if parts[1] == "count" else "".join(e + "\n" for e in entries)
            return self.send_text(200, text)
        if len(parts) < 4 or parts[1] != "t":
            return self.send_text(404, "no such path\n")
        token = parts[2]
        query = dict(urllib.parse.parse_qsl(url.query))
        with LOCK:
            seen = REQUESTS.setdefault(token, [])
            seen.append(self.headers.get("Range", "-"))
            index = len(seen) - 1
        faults = query.get("faults", "").split(",") if query.get("faults") else []
        fault = faults[index] if index < len(faults) else "ok"
        if "status" in query:
            fault = "status:" + query["status"]
        self.serve_download(query, fault)

    def send_text(self, status, text, extra=()):
        body = text.encode()
        self.send_response(status)
        for name, value in extra:
            self.send_header(name, value)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def serve_download(self, query, fault):
        kind, _, argument = fault.partition(":")
        if kind == "status":
            status = int(argument)
            extra = [("WWW-Authenticate", 'Basic realm="tests"')] if status == 401 else []
            if status == 304:
                self.send_response(304)
                self.end_headers()
                return
            return self.send_text(status, "error page %d\n" % status, extra)
        if kind == "hang":
            time.sleep(int(argument) / 1000.0)
        if "src" in query:
            with open(os.path.join(STATE_DIR, "www", os.path.basename(query["src"])), "rb") as f:
                data = f.read()
        else:
            data = pattern(int(query.get("size", "0")))
        start = 0
        requested = self.headers.get("Range", "")
        if requested.startswith("bytes=") and requested.endswith("-") and query.get("range") != "0":
            start = int(requested[6:-1])
            if start >= len(data):
                return self.send_text(416, "", [("Content-Range", "bytes */%d" % len(data))])
            self.send_response(206)
            self.send_header("Content-Range", "bytes %d-%d/%d" % (start, len(data) - 1, len(data)))
        else:
            self.send_response(200)
        body = data[start:]
        self.send_header("Content-Type", "application/octet-stream")
        if query.get("nolength") != "1":
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        limit = len(body)
        if kind in ("reset", "short"):
            limit = min(limit, int(argument))
        self.send_body(body[:limit], int(query.get("slow", "0")))
        if kind == "reset":
            self.wfile.flush()
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.connection.close()
        self.close_connection = True

    def send_body(self, body, slow):
        for at in range(0, len(body), 8192):
            self.wfile.write(body[at:at + 8192])
            if slow:
                time.sleep(slow / 1000.0)


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        # Clients that go away mid-answer are part of the tests.
        pass


class TlsServer(Server):
    def __init__(self, address, handler, context):
        self.context = context
        super().__init__(address, handler)

    def get_request(self):
        sock, address = super().get_request()
        sock.settimeout(10)
        return self.context.wrap_socket(sock, server_side=True, do_handshake_on_connect=False), address

    def finish_request(self, request, client_address):
        try:
            request.do_handshake()
        except (ssl.SSLError, OSError):
            return  # the client refused the certificate
        super().finish_request(request, client_address)


def write_port(name, port):
    path = os.path.join(STATE_DIR, name)
    with open(path + ".tmp", "w") as f:
        f.write("%d\n" % port)
    os.replace(path + ".tmp", path)


def main():
    http = Server(("127.0.0.1", 0), Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(STATE_DIR, "tls.crt"), os.path.join(STATE_DIR, "tls.key"))
    https = TlsServer(("127.0.0.1", 0), Handler, context)
    dead = socket.socket()
    dead.bind(("127.0.0.1", 0))
    threading.Thread(target=https.serve_forever, daemon=True).start()
    write_port("dead.port", dead.getsockname()[1])
    write_port("fault_tls.port", https.server_address[1])
    write_port("fault.port", http.server_address[1])
    http.serve_forever()


if __name__ == "__main__":
    main()
