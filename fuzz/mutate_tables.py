#!/usr/bin/env python3
"""Writes the mutated real tables the test suite runs the table targets over.

Each table of the seed corpus (seed_corpus.TABLES, all permissively licensed) is damaged in
the ways files in the wild are: bytes flipped in the header, the field descriptors and the
records; cut short at every structure boundary; record counts, header and record lengths far
too large or too small; field lengths of 0 and 255; memo block numbers out of range; memo
files cut short or with a wild block size. The generator is seeded, so every run writes the
same mutants.

    python3 fuzz/mutate_tables.py OUTDIR

OUTDIR/with_memo/ holds each mutant as the table, the part separator and its memo file (for
the open and pack targets); OUTDIR/table_only/ the table alone (for the header check and
index targets).
"""

import os
import random
import shutil
import struct
import sys

import seed_corpus

SEED = 20261209
FLIPS_PER_AREA = 12


def descriptors(table):
    """(offset, type, length) of each field descriptor, as far as the header holds them."""
    fields = []
    at = 32
    while at + 32 <= len(table) and table[at] != 0x0D and len(fields) < 255:
        fields.append((at, chr(table[at + 11]), table[at + 16]))
        at += 32
    return fields


def header_values(table):
    if len(table) < 12:
        return 0, 0, 0
    count, header, record = struct.unpack_from("<IHH", table, 4)
    return count, header, record


def with_u32(table, offset, value):
    data = bytearray(table)
    if offset + 4 <= len(data):
        struct.pack_into("<I", data, offset, value & 0xFFFFFFFF)
    return bytes(data)


def with_u16(table, offset, value):
    data = bytearray(table)
    if offset + 2 <= len(data):
        struct.pack_into("<H", data, offset, value & 0xFFFF)
    return bytes(data)


def with_byte(table, offset, value):
    data = bytearray(table)
    if offset < len(data):
        data[offset] = value & 0xFF
    return bytes(data)


def flipped(rng, data, first, end):
    data = bytearray(data)
    end = min(end, len(data))
    if first < end:
        at = rng.randrange(first, end)
        data[at] ^= 1 << rng.randrange(8)
        if rng.randrange(3) == 0:
            data[at] = rng.choice((0x00, 0x0D, 0x1A, 0x20, 0x2A, 0x7F, 0xFF))
    return bytes(data)


def table_mutants(rng, table):
    """(name, table bytes) of every mutant of the table itself."""
    count, header, record = header_values(table)
    fields = descriptors(table)
    names = []

    def add(name, data):
        names.append((name, data))

    # Cut short at every structure boundary, and one byte either side of the first ones.
    cuts = {0, 1, 4, 8, 10, 12, 31, 32, 33, header - 1, header, header + 1, len(table) - 1}
    cuts.update(32 + 32 * i for i in range(len(fields) + 1))
    cuts.update(32 + 32 * i + 16 for i in range(len(fields)))
    if record:
        cuts.update(header + record * i for i in range(1, min(count, 8) + 1))
        cuts.update(header + record * i - 1 for i in range(1, min(count, 4) + 1))
        cuts.add(header + record * count)
    for cut in sorted(c for c in cuts if 0 <= c < len(table)):
        add("cut-%d" % cut, table[:cut])

    # Counts and lengths far too large, too small and off by one.
    for value in (0, 1, count - 1, count + 1, count * 1000, 0x7FFFFFFF, 0xFFFFFFFF):
        add("count-%d" % (value & 0xFFFFFFFF), with_u32(table, 4, value))
    for value in (0, 1, 32, 33, header - 32, header - 1, header + 1, header + 32, 0xFFFF):
        add("header-%d" % (value & 0xFFFF), with_u16(table, 8, value))
    for value in (0, 1, record - 1, record + 1, record * 2, 0xFFFF):
        add("record-%d" % (value & 0xFFFF), with_u16(table, 10, value))

    # Field lengths of 0 and 255, and wild decimals and types, field by field.
    for i, (at, _, _) in enumerate(fields):
        add("field%d-length-0" % i, with_byte(table, at + 16, 0))
        add("field%d-length-255" % i, with_byte(table, at + 16, 255))
        add("field%d-decimals-255" % i, with_byte(table, at + 17, 255))
        add("field%d-type-%02x" % (i, i * 37 % 256), with_byte(table, at + 11, i * 37 % 256))
    add("no-terminator", with_byte(table, 32 + 32 * len(fields), 0x20))

    # Memo block numbers out of range in every memo field of the first records, both as the
    # ten digits of the dBASE forms and as the four binary bytes of the FoxPro form.
    offsets = []
    position = 1
    for _, kind, length in fields:
        if kind in "MGBP":
            offsets.append((position, length))
        position += length
    for first in range(min(count, 3)):
        base = header + record * first
        for position, length in offsets:
            for text in (b"9999999999", b"4294967295", b"-000000001", b"00000000x1", b" " * 9 + b"1"):
                data = bytearray(table)
                if base + position + length <= len(data):
                    data[base + position:base + position + length] = text[-length:].rjust(length, b" ")
                    add("block-r%d-o%d-%s" % (first, position, text.strip().decode()), bytes(data))
            if length == 4:
                for value in (0xFFFFFFFF, 0x7FFFFFFF, 0x01000000):
                    add("block-r%d-o%d-bin%x" % (first, position, value),
                        with_u32(table, base + position, value))

    # Bytes flipped at random in the header, the descriptors and the records.
    areas = [("head", 0, 32), ("fields", 32, max(header, 33)), ("records", header, len(table))]
    for area, first, end in areas:
        for n in range(FLIPS_PER_AREA):
            add("flip-%s-%d" % (area, n), flipped(rng, table, first, end))
    return names


def memo_mutants(rng, memo):
    """(name, memo bytes) of the memo file's own damage."""
    mutants = [("memo-empty", b""), ("memo-cut-8", memo[:8]), ("memo-cut-512", memo[:512]),
               ("memo-cut-half", memo[:len(memo) // 2])]
    for value in (0, 1, 0xFFFF):
        mutants.append(("memo-blocksize-%d" % value, with_u16(memo, 6, value)))  # FoxPro, big endian
        mutants.append(("memo-dbase-blocksize-%d" % value, with_u16(memo, 20, value)))
    for value in (0, 0xFFFFFFFF):
        mutants.append(("memo-next-%x" % value, with_u32(memo, 0, value)))
    for n in range(4):
        mutants.append(("memo-flip-%d" % n, flipped(rng, memo, 0, len(memo))))
    return mutants


def main():
    out = sys.argv[1]
    rng = random.Random(SEED)
    for folder in ("with_memo", "table_only"):
        shutil.rmtree(os.path.join(out, folder), ignore_errors=True)
        os.makedirs(os.path.join(out, folder))
    written = 0
    for table_name, memo_name in seed_corpus.TABLES:
        table = seed_corpus.read(table_name)
        memo = seed_corpus.read(memo_name) if memo_name else b""
        stem = seed_corpus.seed_name(table_name)
        # By name, so a mutation that comes out the same twice is written once.
        mutants = {name: (data, memo) for name, data in table_mutants(rng, table)}
        if memo:
            mutants.update((name, (table, data)) for name, data in memo_mutants(rng, memo))
        for name, (data, memo_data) in mutants.items():
            file_name = "%s-%s" % (stem, name)
            if not name.startswith("memo-"):
                with open(os.path.join(out, "table_only", file_name), "wb") as f:
                    f.write(data)
            with open(os.path.join(out, "with_memo", file_name), "wb") as f:
                f.write(data + seed_corpus.SEPARATOR + memo_data if memo_data else data)
            written += 1
    print("%d mutants of %d tables in %s" % (written, len(seed_corpus.TABLES), out))


if __name__ == "__main__":
    main()
