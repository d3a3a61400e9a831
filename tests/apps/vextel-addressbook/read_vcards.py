#!/usr/bin/python3
"""Reads a vCard book with an independent parser (Debian's python3-vobject) and prints each card
as short lines, for tests to compare with what the address-book library reads and writes:

    card VERSION
    FN value / N family;given / TEL types:value / NOTE value / ORG value
    PHOTO <bytes> <sha1 of the decoded image>
    invalid REASON        a line the card's declared version does not allow
"""
import base64
import hashlib
import io
import sys

import vobject


def params(line):
    return {name.upper(): [v.upper() for v in values] for name, values in line.params.items()}


def raw_photo_values(text):
    """The PHOTO values as the parser's own line reader gives them: its 3.0 text rules would cut
    a 4.0 data: URI at its comma."""
    values = []
    for line, _ in vobject.base.getLogicalLines(io.StringIO(text)):
        name, _, value, _ = vobject.base.parseLine(line)
        if name.upper() == "PHOTO":
            values.append(value)
    return values


def photo_bytes(line, version, raw_value):
    value = line.value
    if isinstance(value, bytes):  # 2.1/3.0 ENCODING=b, decoded by the parser
        return value, None
    if version == "4.0":
        value = raw_value
        if not value.startswith("data:") or ";base64," not in value:
            return None, "PHOTO of 4.0 is no data: URI"
        return base64.b64decode(value.split(";base64,", 1)[1]), None
    return None, "PHOTO without an encoding"


def describe(card, raw_photos):
    version = card.version.value if hasattr(card, "version") else ""
    out = ["card " + version]
    for line in card.getChildren():
        name = line.name.upper()
        if version == "4.0" and "ENCODING" in params(line):
            out.append("invalid ENCODING on " + name + " in 4.0")
        if name in ("FN", "NOTE"):
            out.append(f"{name} " + line.value.replace("\n", "\\n"))
        elif name == "ORG":
            value = line.value
            out.append("ORG " + (";".join(value) if isinstance(value, list) else value))
        elif name == "N":
            out.append(f"N {line.value.family};{line.value.given}")
        elif name == "TEL":
            types = ",".join(sorted(params(line).get("TYPE", [])))
            out.append(f"TEL {types}:{line.value}")
        elif name == "PHOTO":
            data, problem = photo_bytes(line, version, raw_photos.pop(0))
            out.append("invalid " + problem if problem
                       else f"PHOTO {len(data)} {hashlib.sha1(data).hexdigest()}")
    return out


def main():
    with open(sys.argv[1], encoding="utf-8") as book:
        text = book.read()
    raw_photos = raw_photo_values(text)
    for card in vobject.readComponents(text, validate=True):
        print("\n".join(describe(card, raw_photos)))


if __name__ == "__main__":
    main()
