#!/usr/bin/env python3
"""Other programs read what lumetta-cli writes: its CSV loads with Python's csv module and
its saved tables open in dbfread, with the same records and values as the source table.

Usage: peer_readers_test.py LUMETTA_CLI
"""

import csv
import datetime
import os
import struct
import subprocess
import sys
import tempfile

import dbfread


def write_table(path, fields, records, code_page_byte=0, memo_texts=None):
    """A DBF table by hand: fields (name, type, length, decimals), records (bytes of the
    fields, deleted); memo_texts, when given, become a dBASE III memo file."""
    record_length = 1 + sum(f[2] for f in fields)
    header_length = 32 + 32 * len(fields) + 1
    version = 0x83 if memo_texts is not None else 0x03
    out = bytearray(struct.pack('<BBBBIHH', version, 124, 12, 9, len(records), header_length,
                                record_length))
    out += bytes(17) + bytes([code_page_byte]) + bytes(2)
    for name, kind, length, decimals in fields:
        out += name.encode('ascii').ljust(11, b'\0') + kind.encode('ascii') + bytes(4)
        out += bytes([length, decimals]) + bytes(14)
    out += b'\r'
    for data, deleted in records:
        assert len(data) == record_length - 1, data
        out += (b'*' if deleted else b' ') + data
    out += b'\x1a'
    with open(path, 'wb') as f:
        f.write(out)
    if memo_texts is not None:
        memo = bytearray(512)
        blocks = []
        for text in memo_texts:
            blocks.append(len(memo) // 512)
            chunk = text + b'\x1a\x1a'
            memo += chunk + bytes(-len(chunk) % 512)
        memo[0:4] = struct.pack('<I', len(memo) // 512)
        with open(path[:-1] + 't', 'wb') as f:
            f.write(memo)
        return blocks
    return []


def cli(tool, *args):
    result = subprocess.run([tool, *args], capture_output=True)
    if result.returncode != 0:
        raise AssertionError('%s failed: %s' % (args, result.stderr.decode()))
    return result.stdout.decode()


def csv_value(kind, value):
    """What the CSV holds for a value dbfread read."""
    if value is None:
        return ''
    if kind == 'L':
        return 'T' if value else 'F'
    if kind == 'D':
        return value.isoformat()
    if kind in 'NF':
        return value
    return value.strip() if kind == 'C' else value


def same(kind, written, expected):
    if kind in 'NF' and written != '' and expected != '':
        return abs(float(written) - float(expected)) < 1e-9
    return written == expected


def check_csv(tool, source, encoding, out, failures):
    cli(tool, 'export', source, out, '--csv', '--deleted', '1')
    with open(out, newline='', encoding='utf-8') as f:
        rows = list(csv.reader(f))
    table = dbfread.DBF(source, encoding=encoding, char_decode_errors='replace')
    kinds = {f.name: f.type for f in table.fields}
    if rows[0] != table.field_names:
        failures.append('%s: CSV header %s' % (source, rows[0]))
        return
    expected = list(table)
    if len(rows) - 1 != len(expected):
        failures.append('%s: %d CSV rows for %d records' % (source, len(rows) - 1, len(expected)))
        return
    for n, (row, record) in enumerate(zip(rows[1:], expected), 1):
        for name, written in zip(rows[0], row):
            want = csv_value(kinds[name], record[name])
            if not same(kinds[name], written, want):
                failures.append('%s: row %d %s: CSV %r, table %r' % (source, n, name, written, want))


def records_of(path, encoding, fields=None):
    table = dbfread.DBF(path, encoding=encoding, char_decode_errors='replace')
    names = fields or table.field_names
    live = [[r[k] for k in names] for r in table]
    deleted = [[r[k] for k in names] for r in table.deleted]
    return live, deleted


def check_save_as(tool, source, encoding, directory, failures):
    whole = os.path.join(directory, 'whole.dbf')
    cli(tool, 'save-as', source, whole)
    if records_of(whole, encoding) != records_of(source, encoding):
        failures.append('%s: the whole copy reads differently' % source)
    names = dbfread.DBF(source).field_names
    chosen = list(reversed(names))
    subset = os.path.join(directory, 'subset.dbf')
    cli(tool, 'save-as', source, subset, '--fields', ','.join(chosen))
    if records_of(subset, encoding) != records_of(source, encoding, chosen):
        failures.append('%s: the subset reads differently' % source)
    live = os.path.join(directory, 'live.dbf')
    cli(tool, 'save-as', source, live, '--deleted', '1')
    if records_of(live, encoding) != (records_of(source, encoding)[0], []):
        failures.append('%s: the unmarked records read differently' % source)


def main():
    tool = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as directory:
        fields = [('NAME', 'C', 12, 0), ('SUM', 'N', 9, 2), ('DT', 'D', 8, 0), ('OK', 'L', 1, 0),
                  ('NOTE', 'M', 10, 0)]
        tables = []
        for encoding, mark in (('cp866', 0x65), ('cp1251', 0xC9)):
            path = os.path.join(directory, 'ru_%s.dbf' % encoding)
            texts = ['Примечание, "в кавычках"\r\nвторая строка'.encode(encoding), b'plain']
            blocks = write_table(path, fields, [], mark, texts)
            names = ['Иванов', 'Пётр;Ёж', '', 'Smith, J.', 'Ъ"quote"']
            records = []
            for i, name in enumerate(names):
                data = name.encode(encoding).ljust(12)
                data += (b'%9.2f' % (i * 12.5 - 10) if i != 2 else b' ' * 9)
                data += b'2024%02d%02d' % (i + 1, 10 + i) if i != 3 else b' ' * 8
                data += b'TFY?N'[i:i + 1]
                data += (b'%10d' % blocks[i] if i < len(blocks) else b' ' * 10)
                records.append((data, i == 4))
            write_table(path, fields, records, mark, texts)
            tables.append((path, encoding))
        for path, encoding in tables:
            check_csv(tool, path, encoding, os.path.join(directory, 'out.csv'), failures)
            check_save_as(tool, path, encoding, directory, failures)
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
