#!/usr/bin/env python3
"""Prints the byte tables of platform/code_page.cpp.

The tables were generated once with this script and pasted into the source; run it again
only to review or change a choice. Both directions come from the Unicode mappings of code
pages 866 and 1251 in Python's codecs: a byte whose character exists in the other code page
maps to that byte. A byte whose character does not is given the best fit chosen below, and
'?' when there is none. 1251 leaves 0x98 unassigned; it is taken as U+0098, so every 1251
byte has a character and text passes through Unicode and back unchanged.

    python3 tools/code_page_tables.py > tables.txt
"""

import unicodedata


def cp1251_char(b):
    return "\u0098" if b == 0x98 else bytes([b]).decode("cp1251")


def cp866_char(b):
    return bytes([b]).decode("cp866")


def oem_best_fit(ch):
    """866 characters that 1251 lacks: lines keep their direction, corners become '+'."""
    if ch in "\u2502\u2551":  # │ ║
        return "|"
    if ch in "\u2500\u2550":  # ─ ═
        return "-"
    if "BOX DRAWINGS" in unicodedata.name(ch):
        return "+"
    if ch == "\u2219":  # ∙ bullet operator: the 1251 bullet, and back
        return "\u2022"
    return "?"  # shades, blocks, ■, √


# 1251 characters that 866 lacks. Letters go to a letter that looks the same (Latin I, J, S),
# else to the Russian letter they are built on, else to the Russian letter of their first
# sound, keeping their case. Quotes, dashes and similar signs go to their ASCII form.
ANSI_BEST_FIT = {
    "Ђ": "Д", "ђ": "д", "Ѓ": "Г", "ѓ": "г", "Љ": "Л", "љ": "л", "Њ": "Н", "њ": "н",
    "Ќ": "К", "ќ": "к", "Ћ": "Ч", "ћ": "ч", "Џ": "Д", "џ": "д", "Ґ": "Г", "ґ": "г",
    "І": "I", "і": "i", "Ј": "J", "ј": "j", "Ѕ": "S", "ѕ": "s",
    "‚": ",", "„": '"', "“": '"', "”": '"', "«": '"', "»": '"',
    "‘": "'", "’": "'", "‹": "'", "›": "'",
    "…": ".", "†": "+", "‡": "+", "‰": "%", "–": "-", "—": "-", "\u00ad": "-", "¦": "|",
    "•": "\u2219",
}


def build():
    oem_to_ansi = []
    for b in range(256):
        ch = cp866_char(b)
        try:
            oem_to_ansi.append(ch.encode("cp1251")[0])
        except UnicodeEncodeError:
            oem_to_ansi.append(oem_best_fit(ch).encode("cp1251")[0])
    ansi_to_oem = []
    for b in range(256):
        ch = cp1251_char(b)
        try:
            ansi_to_oem.append(ch.encode("cp866")[0])
        except UnicodeEncodeError:
            ansi_to_oem.append(ANSI_BEST_FIT.get(ch, "?").encode("cp866")[0])
    # Every Cyrillic letter of 866 comes back from 1251 unchanged.
    for b in range(256):
        if unicodedata.category(cp866_char(b)).startswith("L") and b >= 0x80:
            assert ansi_to_oem[oem_to_ansi[b]] == b, hex(b)
    unicode = [ord(cp1251_char(b)) for b in range(0x80, 0x100)]
    return oem_to_ansi, ansi_to_oem, unicode


def rows(values, fmt, first):
    for i in range(0, len(values), 8):
        body = ", ".join(fmt(v) for v in values[i:i + 8])
        print(f"    /* 0x{first + i:02X} */ {body},")


def main():
    oem_to_ansi, ansi_to_oem, unicode = build()
    # Bytes below 0x80 are ASCII in both code pages and map to themselves.
    assert oem_to_ansi[:0x80] == list(range(0x80)) and ansi_to_oem[:0x80] == list(range(0x80))
    print("kOemToAnsiHigh:")
    rows(oem_to_ansi[0x80:], lambda v: f"0x{v:02X}", 0x80)
    print("kAnsiToOemHigh:")
    rows(ansi_to_oem[0x80:], lambda v: f"0x{v:02X}", 0x80)
    print("kAnsiHighToUnicode:")
    rows(unicode, lambda v: f"0x{v:04X}", 0x80)


if __name__ == "__main__":
    main()
