#!/usr/bin/python3
"""A mail server on the loopback address for the mail tests.

    smtp_server.py OUTDIR USER PASSWORD [CERT KEY]
                                             accepts AUTH LOGIN with that user and password and
                                             writes each message received as OUTDIR/N.json; with a
                                             certificate it offers STARTTLS
    smtp_server.py --silent                  accepts connections and never answers

Prints the port on the first line of its output once it listens.
"""
import asyncio
import email
import email.policy
import hashlib
import json
import os
import socket
import sys
import time


def silent():
    server = socket.socket()
    server.bind(("127.0.0.1", 0))
    server.listen(5)
    print(server.getsockname()[1], flush=True)
    held = []
    while True:
        conn, _ = server.accept()
        held.append(conn)


def main():
    if sys.argv[1] == "--silent":
        silent()
        return
    from aiosmtpd.controller import Controller
    from aiosmtpd.smtp import AuthResult, LoginPassword

    outdir, user, password = sys.argv[1], sys.argv[2].encode(), sys.argv[3].encode()
    tls = {}
    if len(sys.argv) > 5:
        import ssl
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(sys.argv[4], sys.argv[5])
        tls = {"tls_context": context}
    logins = []

    def authenticator(server, session, envelope, mechanism, auth_data):
        ok = mechanism == "LOGIN" and isinstance(auth_data, LoginPassword) and \
            auth_data.login == user and auth_data.password == password
        logins.append(mechanism)
        if ok:
            return AuthResult(success=True)
        return AuthResult(success=False, handled=False)

    class Handler:
        count = 0

        async def handle_DATA(self, server, session, envelope):
            Handler.count += 1
            message = email.message_from_bytes(envelope.content, policy=email.policy.default)
            body = message.get_body(preferencelist=("plain",))
            attachments = []
            for part in message.iter_attachments():
                data = part.get_payload(decode=True)
                attachments.append({"filename": part.get_filename(), "type": part.get_content_type(),
                                    "size": len(data), "sha256": hashlib.sha256(data).hexdigest()})
            summary = {"mail_from": envelope.mail_from, "rcpt_tos": envelope.rcpt_tos,
                       "auth_mechanisms": logins, "login": session.login_data.decode() if isinstance(
                           session.login_data, bytes) else str(session.login_data),
                       "from": str(message["From"]), "to": str(message["To"]),
                       "subject": str(message["Subject"]), "has_date": message["Date"] is not None,
                       "has_message_id": message["Message-ID"] is not None,
                       "tls": session.ssl is not None,
                       "body": body.get_content().replace("\r\n", "\n") if body else None, "attachments": attachments}
            path = os.path.join(outdir, "%d.json" % Handler.count)
            with open(path + ".tmp", "w", encoding="utf-8") as f:
                json.dump(summary, f, ensure_ascii=False)
            os.rename(path + ".tmp", path)
            return "250 OK"

    sock = socket.socket()
    sock.bind(("127.0.0.1", 0))
    port = sock.getsockname()[1]
    sock.close()
    controller = Controller(Handler(), hostname="127.0.0.1", port=port, authenticator=authenticator,
                            auth_required=True, auth_require_tls=False, **tls)
    controller.start()
    print(port, flush=True)
    while True:
        time.sleep(3600)


main()
