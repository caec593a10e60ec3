"""Writes a dBASE III table with memos using the python-dbf library, as an independent
writer to check the table engine against.

    dbfwrite.py <table.dbf> <content.txt>

The content file is canonical text, one item a line:
    codepage <python codec>        cp1250 or cp852; stored as the language driver byte
    field <NAME> <type> <width> <decimals>
                                   type C, N, L, D or M
    record                         starts a new record; fields not named stay empty
    <NAME>=<value>                 numbers in decimal, dates yyyy.mm.dd, logicals T/F,
                                   texts in UTF-8 with \\ \\n \\r \\t escapes, <null> empty
    end
"""

import datetime
import sys

import dbf


def unescape(text):
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            i += 1
            out.append({"n": "\n", "r": "\r", "t": "\t"}.get(text[i], text[i]))
        else:
            out.append(c)
        i += 1
    return "".join(out)


def value_for(kind, text):
    if text == "<null>":
        return None
    if kind == "C" or kind == "M":
        return unescape(text)
    if kind == "N":
        return float(text) if "." in text else int(text)
    if kind == "L":
        return text == "T"
    if kind == "D":
        year, month, day = (int(part) for part in text.split("."))
        return datetime.date(year, month, day)
    raise ValueError("unknown field type " + kind)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: dbfwrite.py <table.dbf> <content.txt>")
    table_path, content_path = sys.argv[1], sys.argv[2]
    codepage = "cp1250"
    fields = []
    records = []
    with open(content_path, encoding="utf-8") as content:
        for line in content.read().splitlines():
            if not line:
                continue
            if records and "=" in line and not line.startswith("record"):
                name, value = line.split("=", 1)
                records[-1][name.upper()] = value
                continue
            parts = line.split(" ")
            if parts[0] == "codepage":
                codepage = parts[1]
            elif parts[0] == "field":
                fields.append((parts[1].upper(), parts[2], int(parts[3]), int(parts[4])))
            elif parts[0] == "record":
                records.append({})
            elif parts[0] != "end":
                sys.exit("dbfwrite.py: cannot read content line: " + line)

    specs = []
    for name, kind, width, decimals in fields:
        if kind == "C":
            specs.append("%s C(%d)" % (name, width))
        elif kind == "N":
            specs.append("%s N(%d,%d)" % (name, width, decimals))
        else:
            specs.append("%s %s" % (name, kind))
    table = dbf.Table(table_path, "; ".join(specs), dbf_type="db3", codepage=codepage)
    table.open(dbf.READ_WRITE)
    kinds = {name: kind for name, kind, _, _ in fields}
    for record in records:
        values = {}
        for name, text in record.items():
            value = value_for(kinds[name], text)
            if value is not None:
                values[name.lower()] = value
        table.append(values)
    table.close()


if __name__ == "__main__":
    main()
