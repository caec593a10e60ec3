#!/usr/bin/python3
"""A stand-in for the tax authority's invoice service, on the loopback address, for the tests.

    nav_server.py ROOT CERT KEY XSD_DIR [PORT]

Serves POST /invoiceService/v3/<operation> over HTTPS. Every request is checked against
invoiceApi.xsd, its user (login "kavinateszt01", password "jelszo"), its signature (signing key
below) and, for manageInvoice, its exchange token and every invoice data against
invoiceData.xsd; a request failing any check is answered with an error and written to
ROOT/problems.log. Tokens are encrypted with the exchange key below.

Transactions go RECEIVED -> PROCESSING -> DONE on successive status queries. ROOT/control.json
(read at every request) scripts the rest:
  "abort": {"NUMBER": "message"}  the invoice is ABORTED with that message
  "stall": N                      the next N manageInvoice requests are recorded, then answered
                                  only after "stall_seconds" (default 4)
  "warn": ["NUMBER"]              DONE with a warning
  "foreign": N                    the transaction list also shows a transaction of N invoices
                                  sent by another technical user of the taxpayer
An invoice number already accepted (not aborted) is ABORTED with INVOICE_NUMBER_NOT_UNIQUE.
ROOT/received.log gets "NUMBER OPERATION WORKSTATION" for every invoice data received, and
ROOT/requests.log "OPERATION REQUESTID" for every request as it arrives. Prints the port
once it listens.
"""
import base64
import datetime
import hashlib
import http.server
import json
import os
import re
import ssl
import sys
import threading
import time
import uuid

from cryptography.hazmat.primitives import padding
from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes
from lxml import etree

root, cert, key, xsd_dir = sys.argv[1:5]
port = int(sys.argv[5]) if len(sys.argv) > 5 else 0

LOGIN = "kavinateszt01"
PASSWORD_HASH = hashlib.sha512(b"jelszo").hexdigest().upper()
SIGNING_KEY = "ce-8f5e-215119fa7dd621DLMRHRLH2S"
EXCHANGE_KEY = b"0123456789ABCDEF"

API = "http://schemas.nav.gov.hu/OSA/3.0/api"
COMMON = "http://schemas.nav.gov.hu/NTCA/1.0/common"
DATA = "http://schemas.nav.gov.hu/OSA/3.0/data"
NS = {"a": API, "c": COMMON, "d": DATA}

api_schema = etree.XMLSchema(etree.parse(os.path.join(xsd_dir, "invoiceApi.xsd")))
data_schema = etree.XMLSchema(etree.parse(os.path.join(xsd_dir, "invoiceData.xsd")))

lock = threading.Lock()
tokens = {}
transactions = {}  # id -> {"ins": datetime, "items": [(number, operation)], "polls": int, "results": [...]}
accepted = set()


def control():
    try:
        with open(os.path.join(root, "control.json"), encoding="utf-8") as f:
            return json.load(f)
    except FileNotFoundError:
        return {}


def save_control(c):
    with open(os.path.join(root, "control.json"), "w", encoding="utf-8") as f:
        json.dump(c, f)


def log(name, line):
    with open(os.path.join(root, name), "a", encoding="utf-8") as f:
        f.write(line + "\n")


def sha3(text):
    return hashlib.sha3_512(text.encode("utf-8")).hexdigest().upper()


def now_text():
    return datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%dT%H:%M:%S.%f")[:-3] + "Z"


def answer(name, body, func="OK", code=None, message=None):
    result = "<common:funcCode>%s</common:funcCode>" % func
    if code:
        result += "<common:errorCode>%s</common:errorCode>" % code
    if message:
        result += "<common:message>%s</common:message>" % message
    return ('<?xml version="1.0" encoding="UTF-8"?><%s xmlns="%s" xmlns:common="%s">'
            '<common:header><common:requestId>SRV%s</common:requestId><common:timestamp>%s</common:timestamp>'
            '<common:requestVersion>3.0</common:requestVersion><common:headerVersion>1.0</common:headerVersion>'
            '</common:header><common:result>%s</common:result>'
            '<software><softwareId>123456789123456789</softwareId><softwareName>NAV</softwareName>'
            '<softwareOperation>ONLINE_SERVICE</softwareOperation><softwareMainVersion>3.0</softwareMainVersion>'
            '<softwareDevName>NAV</softwareDevName><softwareDevContact>nav</softwareDevContact></software>'
            '%s</%s>' % (name, API, COMMON, uuid.uuid4().hex[:20], now_text(), result, body, name)).encode("utf-8")


def error(code, message):
    log("problems.log", "%s %s" % (code, message))
    return 400, answer("GeneralErrorResponse", "", "ERROR", code, message)


def check_user(doc, operations):
    user = doc.find("c:user", NS)
    header = doc.find("c:header", NS)
    if user.findtext("c:login", namespaces=NS) != LOGIN or \
            user.findtext("c:passwordHash", namespaces=NS) != PASSWORD_HASH:
        return "INVALID_SECURITY_USER"
    request_id = header.findtext("c:requestId", namespaces=NS)
    stamp = header.findtext("c:timestamp", namespaces=NS)
    if not re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z", stamp):
        return "INVALID_TIMESTAMP"
    partial = request_id + re.sub(r"[-:TZ]", "", stamp.split(".")[0]) + SIGNING_KEY
    for op, data in operations:
        partial += sha3(op + data)
    if user.findtext("c:requestSignature", namespaces=NS) != sha3(partial):
        return "INVALID_REQUEST_SIGNATURE"
    return None


def token_exchange(doc):
    token = str(uuid.uuid4()) + uuid.uuid4().hex[:12].upper()
    with lock:
        tokens[token] = time.time() + 300
    padder = padding.PKCS7(128).padder()
    encryptor = Cipher(algorithms.AES(EXCHANGE_KEY), modes.ECB()).encryptor()
    data = encryptor.update(padder.update(token.encode()) + padder.finalize()) + encryptor.finalize()
    return 200, answer("TokenExchangeResponse", "<encodedExchangeToken>%s</encodedExchangeToken>"
                       "<tokenValidityFrom>%s</tokenValidityFrom><tokenValidityTo>%s</tokenValidityTo>"
                       % (base64.b64encode(data).decode(), now_text(), now_text()))


def manage_invoice(doc, workstation):
    token = doc.findtext("a:exchangeToken", namespaces=NS)
    with lock:
        valid = tokens.pop(token, 0) > time.time()
    if not valid:
        return error("INVALID_EXCHANGE_TOKEN", "Érvénytelen cseretoken")
    items = []
    expected = 1
    for op in doc.findall("a:invoiceOperations/a:invoiceOperation", NS):
        if int(op.findtext("a:index", namespaces=NS)) != expected:
            return error("INVALID_REQUEST", "Hézag a sorszámokban")
        expected += 1
        data = etree.fromstring(base64.b64decode(op.findtext("a:invoiceData", namespaces=NS)))
        if not data_schema.validate(data):
            return error("SCHEMA_VIOLATION", str(data_schema.error_log.last_error))
        number = data.findtext("d:invoiceNumber", namespaces=NS)
        operation = op.findtext("a:invoiceOperation", namespaces=NS)
        items.append((number, operation))
        log("received.log", "%s %s %s" % (number, operation, workstation))
    if not 1 <= len(items) <= 100:
        return error("INVALID_REQUEST", "1-100 számla")
    transaction = uuid.uuid4().hex[:16].upper()
    with lock:
        transactions[transaction] = {"ins": now_text(), "items": items, "polls": 0, "results": None}
    c = control()
    if c.get("stall", 0) > 0:
        c["stall"] -= 1
        save_control(c)
        time.sleep(c.get("stall_seconds", 4))
    return 200, answer("ManageInvoiceResponse", "<transactionId>%s</transactionId>" % transaction)


def decide(items):
    c = control()
    results = []
    for number, operation in items:
        message = None
        level = None
        if number in c.get("abort", {}):
            level, code, message = "ERROR", "INCORRECT_CUSTOMER_DATA", c["abort"][number]
        elif operation == "CREATE" and number in accepted:
            level, code, message = "ERROR", "INVOICE_NUMBER_NOT_UNIQUE", "A számlaszám már létezik"
        elif number in c.get("warn", []):
            level, code, message = "WARN", "VAT_RATE_MISMATCH", "Eltérő adómérték"
        if level != "ERROR":
            accepted.add(number)
        results.append(("ABORTED" if level == "ERROR" else "DONE", level, message and (code, message)))
    return results


def transaction_status(doc):
    transaction = doc.findtext("a:transactionId", namespaces=NS)
    with lock:
        t = transactions.get(transaction)
        if t is None:
            return 200, answer("QueryTransactionStatusResponse", "")
        t["polls"] += 1
        if t["polls"] >= 3 and t["results"] is None:
            t["results"] = decide(t["items"])
        body = "<processingResults>"
        for i, _ in enumerate(t["items"]):
            if t["results"] is None:
                status, level, msg = ("RECEIVED" if t["polls"] == 1 else "PROCESSING"), None, None
            else:
                status, level, msg = t["results"][i]
            body += "<processingResult><index>%d</index><invoiceStatus>%s</invoiceStatus>" % (i + 1, status)
            if level:
                body += ("<businessValidationMessages><validationResultCode>%s</validationResultCode>"
                         "<validationErrorCode>%s</validationErrorCode><message>%s</message>"
                         "</businessValidationMessages>" % (level, msg[0], msg[1]))
            body += "<compressedContentIndicator>false</compressedContentIndicator></processingResult>"
        body += "<originalRequestVersion>3.0</originalRequestVersion></processingResults>"
    return 200, answer("QueryTransactionStatusResponse", body)


def transaction_list(doc):
    start = doc.findtext("a:insDate/a:dateTimeFrom", namespaces=NS)
    end = doc.findtext("a:insDate/a:dateTimeTo", namespaces=NS)
    body = "<transactionListResult><currentPage>1</currentPage><availablePage>1</availablePage>"
    with lock:
        foreign = control().get("foreign", 0)
        if foreign and transactions:
            # Listed first, at the very moment of the newest transaction.
            body += ("<transaction><insDate>%s</insDate><insCusUser>masprogram</insCusUser><source>MGM</source>"
                     "<transactionId>FOREIGN0000000001</transactionId><requestStatus>DONE</requestStatus>"
                     "<technicalAnnulment>false</technicalAnnulment><originalRequestVersion>3.0"
                     "</originalRequestVersion><itemCount>%d</itemCount></transaction>"
                     % (max(t["ins"] for t in transactions.values()), foreign))
        for tid, t in transactions.items():
            if start <= t["ins"] <= end:
                body += ("<transaction><insDate>%s</insDate><insCusUser>%s</insCusUser><source>MGM</source>"
                         "<transactionId>%s</transactionId><requestStatus>RECEIVED</requestStatus>"
                         "<technicalAnnulment>false</technicalAnnulment><originalRequestVersion>3.0"
                         "</originalRequestVersion><itemCount>%d</itemCount></transaction>"
                         % (t["ins"], LOGIN, tid, len(t["items"])))
    body += "</transactionListResult>"
    return 200, answer("QueryTransactionListResponse", body)


def invoice_check(doc):
    number = doc.findtext("a:invoiceNumberQuery/a:invoiceNumber", namespaces=NS)
    return 200, answer("QueryInvoiceCheckResponse",
                       "<invoiceCheckResult>%s</invoiceCheckResult>" % ("true" if number in accepted else "false"))


def taxpayer(doc):
    number = doc.findtext("a:taxNumber", namespaces=NS)
    if number != "11111111":
        return 200, answer("QueryTaxpayerResponse", "<infoDate>2020-01-01T00:00:00.000Z</infoDate>"
                           "<taxpayerValidity>false</taxpayerValidity>")
    return 200, answer("QueryTaxpayerResponse", """<infoDate>2020-01-01T00:00:00.000Z</infoDate>
<taxpayerValidity>true</taxpayerValidity><taxpayerData><taxpayerName>Próba Kereskedelmi Korlátolt Felelősségű Társaság</taxpayerName>
<taxpayerShortName>Próba Kft.</taxpayerShortName>
<taxNumberDetail><base:taxpayerId xmlns:base="http://schemas.nav.gov.hu/OSA/3.0/base">11111111</base:taxpayerId></taxNumberDetail>
<taxpayerAddressList><taxpayerAddressItem><taxpayerAddressType>HQ</taxpayerAddressType>
<taxpayerAddress xmlns:base="http://schemas.nav.gov.hu/OSA/3.0/base"><base:countryCode>HU</base:countryCode>
<base:postalCode>6720</base:postalCode><base:city>Szeged</base:city><base:streetName>Kárász</base:streetName>
<base:publicPlaceCategory>utca</base:publicPlaceCategory><base:number>5</base:number><base:floor>2</base:floor>
</taxpayerAddress></taxpayerAddressItem></taxpayerAddressList></taxpayerData>""")


HANDLERS = {
    "tokenExchange": token_exchange,
    "queryTransactionStatus": transaction_status,
    "queryTransactionList": transaction_list,
    "queryInvoiceCheck": invoice_check,
    "queryTaxpayer": taxpayer,
}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_POST(self):
        length = int(self.headers.get("Content-Length", 0))
        body = self.rfile.read(length)
        operation = self.path.rsplit("/", 1)[-1]
        try:
            doc = etree.fromstring(body)
            log("requests.log", "%s %s" % (operation, doc.findtext("c:header/c:requestId", namespaces=NS)))
            if not self.path.startswith("/invoiceService/v3/"):
                status, out = error("INVALID_REQUEST", "Ismeretlen cím")
            elif not api_schema.validate(doc):
                status, out = error("SCHEMA_VIOLATION", str(api_schema.error_log.last_error))
            else:
                ops = [(o.findtext("a:invoiceOperation", namespaces=NS), o.findtext("a:invoiceData", namespaces=NS))
                       for o in doc.findall("a:invoiceOperations/a:invoiceOperation", NS)]
                problem = check_user(doc, ops)
                if problem:
                    status, out = error(problem, "Hibás felhasználó vagy aláírás")
                elif operation == "manageInvoice":
                    status, out = manage_invoice(doc, doc.findtext("c:header/c:requestId", namespaces=NS)[-6:])
                elif operation in HANDLERS:
                    status, out = HANDLERS[operation](doc)
                else:
                    status, out = error("INVALID_REQUEST", "Ismeretlen művelet")
        except etree.XMLSyntaxError as e:
            status, out = error("INVALID_REQUEST", str(e))
        try:
            self.send_response(status)
            self.send_header("Content-Type", "application/xml;charset=UTF-8")
            self.send_header("Content-Length", str(len(out)))
            self.end_headers()
            self.wfile.write(out)
        except (BrokenPipeError, ConnectionResetError):
            pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(cert, key)
server.socket = context.wrap_socket(server.socket, server_side=True)
print(server.server_address[1], flush=True)
server.serve_forever()
