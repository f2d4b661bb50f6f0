#!/usr/bin/env python3
"""Writes a submission text as the viewer's Submit posts it to /submitter.php:
the form fields textlist and id, with the viewer's own encoding (bytes 0x00 to
0x20 and 0x81 to 0xFF, and #%*<>[]&=+, as %XX; every other byte raw).

    python3 tools/legacy_form.py SUBMISSION.txt [ID] > form
    curl --data-binary @form http://127.0.0.1:8080/submitter.php
"""
import sys

ESCAPED = set(b"#%*<>[]&=+")


def encoded(text: bytes) -> bytes:
    out = bytearray()
    for byte in text:
        if byte <= 0x20 or byte >= 0x81 or byte in ESCAPED:
            out += b"%%%02X" % byte
        else:
            out.append(byte)
    return bytes(out)


def main() -> int:
    if len(sys.argv) not in (2, 3):
        print(__doc__, file=sys.stderr)
        return 2
    with open(sys.argv[1], "rb") as submission:
        text = submission.read()
    identifier = sys.argv[2] if len(sys.argv) == 3 else "1721"
    sys.stdout.buffer.write(b"textlist=" + encoded(text) + b"&id=" + identifier.encode())
    return 0


if __name__ == "__main__":
    sys.exit(main())
