#!/usr/bin/python3
"""Reads a vCard book with an independent parser (Debian's python3-vobject) and prints the fax
entries a person reads in it, one "name|fax number" line per fax number, in file order, for tests
to compare with the entries the address-book library reads:

- a fax number is a TEL typed FAX, or in an item group whose X-ABLabel names a fax; its value
  without blanks around and without a "tel:" prefix, and only when it holds a digit;
- the name is FN, else N ("prefix given additional family suffix"), else ORG, else the first
  fax number; a value in a character set Python does not know is no value;
- groups (KIND:group) are no entries.

Exits non-zero when the parser refuses the book. The book may be UTF-8 or UTF-16 with a
byte-order mark.
"""
import base64
import codecs
import sys

import vobject


def text_of(raw):
    if raw[:2] == b"\xff\xfe":
        return raw[2:].decode("utf-16-le")
    if raw[:2] == b"\xfe\xff":
        return raw[2:].decode("utf-16-be")
    # Bytes of other character sets (a 2.1 value with its CHARSET) kept as they are.
    return raw.decode("utf-8-sig", "surrogateescape")


SHIFT_JIS = ("SHIFT_JIS", "SHIFT-JIS", "SJIS", "X-SJIS", "MS_KANJI", "WINDOWS-31J")


def param(line, name):
    values = line.params.get(name, [])
    return values[0] if values else None


def types_of(line):
    types = [t.upper() for t in line.params.get("TYPE", [])]
    return types + [t.upper() for t in getattr(line, "singletonparams", [])]


def decoded(line, value):
    """A value as text: base64 the parser left encoded decoded, bytes in the line's CHARSET;
    None when the character set is unknown."""
    encoding = (param(line, "ENCODING") or "").upper()
    if isinstance(value, str) and encoding in ("B", "BASE64"):
        value = base64.b64decode(value)
    charset = param(line, "CHARSET")
    if charset and charset.upper() in SHIFT_JIS:
        charset = "cp932"  # as phones write it
    if isinstance(value, bytes) or (charset and charset.upper() not in ("UTF-8", "UTF8")):
        try:
            codecs.lookup(charset or "utf-8")
        except LookupError:
            return None
        if isinstance(value, str):
            value = value.encode("utf-8", "surrogateescape")
        return value.decode(charset or "utf-8")
    return value


def digit(text):
    return any("0" <= c <= "9" or "\uff10" <= c <= "\uff19" for c in text)


def fax_numbers(card):
    labels = {}
    for line in card.getChildren():
        if line.name.upper() == "X-ABLABEL" and line.group:
            labels[line.group.upper()] = str(line.value)
    numbers = []
    for line in card.getChildren():
        if line.name.upper() != "TEL":
            continue
        label = labels.get((line.group or "").upper(), "")
        if "FAX" not in types_of(line) and "fax" not in label.lower():
            continue
        number = (decoded(line, line.value) or "").strip()
        if number.lower().startswith("tel:"):
            number = number[4:].strip()
        if digit(number):
            numbers.append(number)
    return numbers


def name_of(card, numbers):
    for line in card.getChildren():
        if line.name.upper() == "FN":
            name = (decoded(line, line.value) or "").strip()
            if name:
                return name
            break
    for line in card.getChildren():
        if line.name.upper() == "N" and decoded(line, "") is not None:
            n = line.value
            parts = [n.prefix, n.given, n.additional, n.family, n.suffix]
            parts = [" ".join(p) if isinstance(p, list) else p for p in parts]
            name = " ".join(p.strip() for p in parts if p and p.strip()).strip()
            if name:
                return name
            break
    for line in card.getChildren():
        if line.name.upper() == "ORG":
            value = line.value if isinstance(line.value, list) else [line.value]
            company = ", ".join(v.strip() for v in value if v.strip())
            if company:
                return company
            break
    return numbers[0]


def is_group(card):
    return any(line.name.upper() in ("KIND", "X-ADDRESSBOOKSERVER-KIND")
               and str(line.value).strip().lower() == "group" for line in card.getChildren())


def main():
    with open(sys.argv[1], "rb") as book:
        text = text_of(book.read())
    for card in vobject.readComponents(text):
        numbers = fax_numbers(card)
        if is_group(card) or not numbers:
            continue
        name = name_of(card, numbers)
        for number in numbers:
            print(f"{name}|{number}")


if __name__ == "__main__":
    main()
