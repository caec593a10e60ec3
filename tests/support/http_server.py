#!/usr/bin/python3
"""An HTTPS update server on the loopback address for the update tests.

    http_server.py ROOT CERT KEY

Serves /kavina/update/version.ini from ROOT/version.ini and /kavina/update/kavinaupdate.php
from ROOT/updater. ROOT/mode chooses how the updater is answered: "ok", "404" (a not-found
page) or "truncated" (announces the whole length, sends half and closes). Each request's
path and query are appended to ROOT/requests.log. Prints the port once it listens.
"""
import http.server
import os
import ssl
import sys

root, cert, key = sys.argv[1:4]


def read(name, default=b""):
    try:
        with open(os.path.join(root, name), "rb") as f:
            return f.read()
    except FileNotFoundError:
        return default


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send_body(self, status, body, length=None):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body) if length is None else length))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)
        self.wfile.flush()
        self.close_connection = True

    def do_GET(self):
        with open(os.path.join(root, "requests.log"), "a", encoding="latin-1") as log:
            log.write(self.path + "\n")
        path = self.path.split("?", 1)[0]
        if path == "/kavina/update/version.ini":
            self.send_body(200, read("version.ini"))
        elif path == "/kavina/update/kavinaupdate.php":
            mode = read("mode", b"ok").strip().decode()
            body = read("updater")
            if mode == "404":
                self.send_body(404, b"<html><body>404 Not Found</body></html>")
            elif mode == "truncated":
                self.send_body(200, body[: len(body) // 2], length=len(body))
            else:
                self.send_body(200, body)
        else:
            self.send_body(404, b"not found")


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(cert, key)
server.socket = context.wrap_socket(server.socket, server_side=True)
print(server.server_address[1], flush=True)
server.serve_forever()
