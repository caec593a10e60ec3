"""Reads a dBASE table with the dbfread library, as an independent reader to check the
table engine against, and prints it as canonical text.

    dbfreaddump.py <table.dbf> [encoding]

Without an encoding dbfread chooses it from the language driver byte. Output, one item a
line: "version 0x..", "langid <n>", "encoding <codec>", "field <NAME> <type> <length>
<decimals>", "record <n> [deleted]", "<NAME>=<value>", "end". Values: <null> for empty;
integers in decimal; other numbers as Python's shortest round-trip repr; dates yyyy.mm.dd;
logicals T/F; texts in UTF-8 with \\ \\n \\r \\t and \\xHH escapes.

dbfread 2.0 reads a dBASE IV memo as if its stored length did not count the 8-byte block
header, and assumes 512-byte blocks, so every memo gains 8 bytes of whatever follows it.
This reader keeps dbfread for everything else and reads dBASE IV memo blocks by the layout
(block size from header bytes 20-21, length including the header).
"""

import struct
import sys

import dbfread
from dbfread import memo


class DB4MemoFile(memo.DB4MemoFile):
    def _init(self):
        self._seek(20)
        size = struct.unpack("<H", self._read(2))[0]
        self.block_size = size if size else 512

    def __getitem__(self, index):
        if index <= 0:
            return None
        self._seek(index * self.block_size)
        signature, length = struct.unpack("<LL", self._read(8))
        if signature != 0x0008FFFF:
            raise IOError("memo block %d has no used-block signature" % index)
        data = self._read(length - 8)
        if len(data) != length - 8:
            raise IOError("memo block %d runs past the end of the file" % index)
        return data


memo.DB4MemoFile = DB4MemoFile


def escape(text):
    out = []
    for c in text:
        if c == "\\":
            out.append("\\\\")
        elif c == "\n":
            out.append("\\n")
        elif c == "\r":
            out.append("\\r")
        elif c == "\t":
            out.append("\\t")
        elif ord(c) < 32:
            out.append("\\x%02X" % ord(c))
        else:
            out.append(c)
    return "".join(out)


def show(value):
    if value is None:
        return "<null>"
    if isinstance(value, bool):
        return "T" if value else "F"
    if isinstance(value, int):
        return str(value)
    if isinstance(value, float):
        return repr(value)
    if isinstance(value, str):
        return escape(value)
    if hasattr(value, "strftime"):
        return "%04d.%02d.%02d" % (value.year, value.month, value.day)
    return "<unsupported %s>" % type(value).__name__


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit("usage: dbfreaddump.py <table.dbf> [encoding]")
    encoding = sys.argv[2] if len(sys.argv) == 3 else None
    table = dbfread.DBF(sys.argv[1], encoding=encoding, char_decode_errors="strict")
    lines = [
        "version 0x%02x" % table.header.dbversion,
        "langid %d" % table.header.language_driver,
        "encoding %s" % table.encoding,
    ]
    for field in table.fields:
        lines.append("field %s %s %d %d" % (field.name, field.type, field.length, field.decimal_count))
    number = 0
    for deleted, records in ((False, table.records), (True, table.deleted)):
        for record in records:
            number += 1
            lines.append("record %d%s" % (number, " deleted" if deleted else ""))
            for name, value in record.items():
                lines.append("%s=%s" % (name, show(value)))
    lines.append("end")
    sys.stdout.buffer.write(("\n".join(lines) + "\n").encode("utf-8"))


if __name__ == "__main__":
    main()
