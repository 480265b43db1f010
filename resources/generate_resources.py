#!/usr/bin/env python3
"""Compiles a resource set's source files into a C++ file of tables or a language library.

    generate_resources.py --ids resource_ids.h --strings strings.txt --menus menus.txt
        --dialogs dialogs.txt --table kEnglishTable --output english_resources.cpp [--complete]

    generate_resources.py --ids resource_ids.h --strings ... --menus ... --dialogs ...
        --reference en/strings.txt en/menus.txt en/dialogs.txt
        --library-symbol kRussianLibrary --library-output russian_library.cpp

The sources are UTF-8 text in the format of resources/README.md; names are resolved through
the `inline constexpr int NAME = NUMBER;` lines of the ids header. Texts are written as
code page 1251 bytes. Any fault (unknown name, duplicate id, a character 1251 lacks, bad
syntax, two entries of one menu popup with the same access key) stops the build with the
file and line. With --complete every string (IDS_), menu (IDR_..._MENU) and dialog (IDD_)
of the ids header must be present.

A translation is checked against the set it translates (--reference): the same string,
menu, dialog and control ids, menus of the same shape, the same "%" slots in every text,
and no access key twice within a dialog. It is written as a language library (the layout of
resources/README.md) embedded in a C++ file as the bytes of `const std::string_view NAME`.
"""

import argparse
import re
import struct
import sys

ID_LINE = re.compile(r'^\s*inline\s+constexpr\s+int\s+([A-Z][A-Z0-9_]*)\s*=\s*(\d+)\s*;')
SLOT = re.compile(rb'%(%|[-+ 0#]*[0-9]*(?:\.[0-9]+)?[sdiu])')
LIBRARY_MAGIC = b'LUMTRES\0'
LIBRARY_VERSION = 1
ESCAPES = {'n': '\n', 't': '\t', 'r': '\r', '\\': '\\', '"': '"', "'": "'"}


class SourceError(Exception):
    pass


def read_ids(path):
    ids = {}
    with open(path, encoding='utf-8') as f:
        for line in f:
            m = ID_LINE.match(line)
            if m:
                ids[m.group(1)] = int(m.group(2))
    return ids


def tokenize(path):
    """Gives (kind, value, line): kind 'word' or 'text'; a text is already cp1251 bytes."""
    with open(path, encoding='utf-8') as f:
        source = f.read()
    tokens = []
    i, line = 0, 1
    while i < len(source):
        c = source[i]
        if c == '\n':
            line += 1
            i += 1
        elif c in ' \t\r':
            i += 1
        elif c == '#':
            while i < len(source) and source[i] != '\n':
                i += 1
        elif c == '"':
            text, i = read_quoted(source, i + 1, path, line)
            tokens.append(('text', text, line))
        elif c.isalpha() or c == '_':
            start = i
            while i < len(source) and (source[i].isalnum() or source[i] == '_'):
                i += 1
            tokens.append(('word', source[start:i], line))
        else:
            raise SourceError(f'{path}:{line}: unexpected character {c!r}')
    return tokens


def read_quoted(source, i, path, line):
    out = bytearray()
    while True:
        if i >= len(source) or source[i] == '\n':
            raise SourceError(f'{path}:{line}: text without its closing quote')
        c = source[i]
        if c == '"':
            return bytes(out), i + 1
        if c == '\\':
            e = source[i + 1] if i + 1 < len(source) else ''
            if e in ESCAPES:
                out += ESCAPES[e].encode('ascii')
                i += 2
            elif e == 'x' and re.fullmatch(r'[0-9A-Fa-f]{2}', source[i + 2:i + 4]):
                out.append(int(source[i + 2:i + 4], 16))
                i += 4
            else:
                raise SourceError(f'{path}:{line}: unknown escape \\{e}')
            continue
        try:
            out += c.encode('cp1251')
        except UnicodeEncodeError:
            raise SourceError(f'{path}:{line}: {c!r} has no byte in code page 1251') from None
        i += 1


class Parser:
    def __init__(self, path, ids):
        self.path = path
        self.ids = ids
        self.tokens = tokenize(path)
        self.pos = 0

    def fail(self, message):
        line = self.tokens[min(self.pos, len(self.tokens) - 1)][2] if self.tokens else 1
        raise SourceError(f'{self.path}:{line}: {message}')

    def at_end(self):
        return self.pos >= len(self.tokens)

    def peek(self):
        return None if self.at_end() else self.tokens[self.pos]

    def word(self, expected=None):
        token = self.peek()
        if token is None or token[0] != 'word' or (expected and token[1] != expected):
            self.fail(f'expected {expected or "a name"}')
        self.pos += 1
        return token[1]

    def is_word(self, value):
        token = self.peek()
        return token is not None and token[0] == 'word' and token[1] == value

    def text(self):
        """One text: a quoted string, or several in a row, joined."""
        token = self.peek()
        if token is None or token[0] != 'text':
            self.fail('expected a quoted text')
        out = b''
        while self.peek() is not None and self.peek()[0] == 'text':
            out += self.peek()[1]
            self.pos += 1
        return out

    def id_of(self, name, prefixes, also=()):
        if not name.startswith(prefixes) and name not in also:
            self.pos -= 1
            self.fail(f'{name}: expected a name beginning with {" or ".join(prefixes)}')
        if name not in self.ids:
            self.pos -= 1
            self.fail(f'{name} is not defined in the ids header')
        return self.ids[name]


def parse_strings(path, ids):
    p = Parser(path, ids)
    strings = {}
    while not p.at_end():
        name = p.word()
        number = p.id_of(name, ('IDS_', 'ID_'))
        if number in strings:
            p.fail(f'{name}: string {number} is given twice')
        strings[number] = (name, p.text())
    return strings


def access_key(text):
    """The letter after the first single '&' of a label, lower-cased; None when there is none."""
    label = text.split(b'\t')[0].replace(b'&&', b'')
    at = label.find(b'&')
    if at < 0 or at + 1 >= len(label):
        return None
    return label[at + 1:at + 2].decode('cp1251').lower()


def check_access_key(p, keys, text):
    """Within one popup or dialog, `keys` maps each access key taken to its text."""
    key = access_key(text)
    if key is None:
        return
    if key in keys:
        p.pos -= 1  # the line of the text just read
        p.fail(f'"{text.decode("cp1251")}" and "{keys[key].decode("cp1251")}" share the access '
               f'key {key!r}')
    keys[key] = text


def parse_menu_items(p, depth, out, menu_id):
    keys = {}
    while not p.is_word('end'):
        if p.at_end():
            p.fail('menu or popup without its "end"')
        keyword = p.word()
        if keyword == 'item':
            command = p.id_of(p.word(), ('ID_',))
            text = p.text()
            check_access_key(p, keys, text)
            grayed = p.is_word('grayed')
            if grayed:
                p.pos += 1
            out.append((menu_id, depth, 'kCommand', command, text, grayed))
        elif keyword == 'separator':
            out.append((menu_id, depth, 'kSeparator', 0, b'', False))
        elif keyword == 'popup':
            text = p.text()
            check_access_key(p, keys, text)
            out.append((menu_id, depth, 'kPopup', 0, text, False))
            parse_menu_items(p, depth + 1, out, menu_id)
        else:
            p.pos -= 1
            p.fail(f'expected item, separator, popup or end, not {keyword}')
    p.word('end')


def parse_menus(path, ids):
    p = Parser(path, ids)
    menus = {}
    while not p.at_end():
        p.word('menu')
        name = p.word()
        number = p.id_of(name, ('IDR_',))
        if number in menus:
            p.fail(f'{name}: menu {number} is given twice')
        entries = []
        parse_menu_items(p, 0, entries, number)
        menus[number] = (name, entries)
    return menus


def parse_dialogs(path, ids, unique_keys=False):
    p = Parser(path, ids)
    dialogs = {}
    while not p.at_end():
        p.word('dialog')
        name = p.word()
        number = p.id_of(name, ('IDD_',))
        if number in dialogs:
            p.fail(f'{name}: dialog {number} is given twice')
        caption = p.text()
        controls = {}
        keys = {}
        while not p.is_word('end'):
            if p.at_end():
                p.fail(f'{name} without its "end"')
            control_name = p.word()
            control = p.id_of(control_name, ('IDC_',), ('IDOK', 'IDCANCEL', 'ID_HELP'))
            if control in controls:
                p.fail(f'{control_name}: control {control} appears twice in {name}')
            controls[control] = p.text()
            if unique_keys:
                check_access_key(p, keys, controls[control])
        p.word('end')
        dialogs[number] = (name, caption, controls)
    return dialogs


def check_complete(ids, strings, menus, dialogs):
    missing = []
    for name, number in sorted(ids.items(), key=lambda item: item[1]):
        if name.startswith('IDS_') and number not in strings:
            missing.append(f'string {name}')
        elif name.startswith('IDR_') and name.endswith('_MENU') and number not in menus:
            missing.append(f'menu {name}')
        elif name.startswith('IDD_') and number not in dialogs:
            missing.append(f'dialog {name}')
    if missing:
        raise SourceError('the set lacks ' + ', '.join(missing))


def slots(text):
    """The kinds of the "%" slots of a text, in order; "%%" is a literal sign, not a slot."""
    return [m.group(1)[-1:] for m in SLOT.finditer(text) if m.group(1) != b'%']


def menu_shape(entries):
    return [(depth, kind, command, grayed) for _, depth, kind, command, _, grayed in entries]


def check_translation(path, reference, translation):
    """A translation has the ids of the set it translates, no more and no fewer, menus of the
    same shape and the same slots in every text."""
    ref_strings, ref_menus, ref_dialogs = reference
    strings, menus, dialogs = translation
    faults = []

    def compare_ids(kind, ref, own):
        for number in sorted(ref.keys() - own.keys()):
            faults.append(f'lacks {kind} {ref[number][0]}')
        for number in sorted(own.keys() - ref.keys()):
            faults.append(f'has {kind} {own[number][0]}, which the reference lacks')

    compare_ids('string', ref_strings, strings)
    compare_ids('menu', ref_menus, menus)
    compare_ids('dialog', ref_dialogs, dialogs)
    for number in sorted(ref_strings.keys() & strings.keys()):
        name, text = strings[number]
        if slots(text) != slots(ref_strings[number][1]):
            faults.append(f'{name}: the slots {slots(text)} differ from {slots(ref_strings[number][1])}')
    for number in sorted(ref_menus.keys() & menus.keys()):
        if menu_shape(menus[number][1]) != menu_shape(ref_menus[number][1]):
            faults.append(f'{menus[number][0]}: the items differ from the reference menu')
    for number in sorted(ref_dialogs.keys() & dialogs.keys()):
        name, _, controls = dialogs[number]
        if controls.keys() != ref_dialogs[number][2].keys():
            faults.append(f'{name}: the controls differ from the reference dialog')
        for control in sorted(controls.keys() & ref_dialogs[number][2].keys()):
            if slots(controls[control]) != slots(ref_dialogs[number][2][control]):
                faults.append(f'{name}: control {control} changes its slots')
    if faults:
        raise SourceError(f'{path}: ' + '; '.join(faults))


def library_bytes(strings, menus, dialogs):
    """The set as a language library (resources/README.md): little-endian counts and
    lengths, each text as its length and its bytes."""
    def text(data):
        return struct.pack('<I', len(data)) + data

    out = bytearray(LIBRARY_MAGIC)
    out += struct.pack('<IIII', LIBRARY_VERSION, len(strings), len(menus), len(dialogs))
    for number in sorted(strings):
        out += struct.pack('<I', number) + text(strings[number][1])
    for number in sorted(menus):
        entries = menus[number][1]
        out += struct.pack('<II', number, len(entries))
        kinds = {'kCommand': 0, 'kSeparator': 1, 'kPopup': 2}
        for _, depth, kind, command, label, grayed in entries:
            out += struct.pack('<BBHI', kinds[kind], 1 if grayed else 0, depth, command)
            out += text(label)
    for number in sorted(dialogs):
        _, caption, controls = dialogs[number]
        out += struct.pack('<I', number) + text(caption) + struct.pack('<I', len(controls))
        for control in sorted(controls):
            out += struct.pack('<I', control) + text(controls[control])
    return bytes(out)


def library_cpp(symbol, sources, data):
    lines = [
        f'// Generated by resources/generate_resources.py from {", ".join(sources)}.',
        '// Do not edit: change the sources and rebuild.',
        '#include <string_view>',
        '',
        'namespace resources {',
        '',
        'namespace {',
        '',
        'const char kBytes[] = {',
    ]
    for start in range(0, len(data), 16):
        row = ', '.join(f'{b - 256 if b > 127 else b}' for b in data[start:start + 16])
        lines.append(f'    {row},')
    lines += [
        '};',
        '',
        '} // namespace',
        '',
        f'extern const std::string_view {symbol};',
        f'const std::string_view {symbol}(kBytes, sizeof kBytes);',
        '',
        '} // namespace resources',
        '',
    ]
    return '\n'.join(lines)


def write_if_changed(path, code):
    # Rewrite only on change, so an unchanged set does not rebuild what includes it.
    try:
        with open(path, encoding='utf-8') as f:
            if f.read() == code:
                return
    except OSError:
        pass
    with open(path, 'w', encoding='utf-8') as f:
        f.write(code)


def cpp_text(data):
    """A C++ string_view of the bytes: printable ASCII as is, everything else in octal."""
    out = []
    for b in data:
        ch = chr(b)
        if ch in '"\\':
            out.append('\\' + ch)
        elif 0x20 <= b < 0x7F and ch != '?':  # '?' escaped so no trigraph can form
            out.append(ch)
        else:
            out.append(f'\\{b:03o}')
    return f'std::string_view("{"".join(out)}", {len(data)})'


def generate(table, sources, strings, menus, dialogs):
    lines = [
        f'// Generated by resources/generate_resources.py from {", ".join(sources)}.',
        '// Do not edit: change the sources and rebuild.',
        '#include "resources/resource_tables.h"',
        '',
        'namespace resources {',
        '',
        'namespace {',
        '',
        'using Kind = platform::MenuItem::Kind;',
        '',
        'const StringEntry kStrings[] = {',
    ]
    for number in sorted(strings):
        name, text = strings[number]
        lines.append(f'    {{{number}, {cpp_text(text)}}}, // {name}')
    lines += ['};', '', 'const MenuEntry kMenus[] = {']
    for number in sorted(menus):
        for menu_id, depth, kind, command, text, grayed in menus[number][1]:
            lines.append(f'    {{{menu_id}, {depth}, Kind::{kind}, {command}, {cpp_text(text)}, '
                         f'{"true" if grayed else "false"}}},')
    lines += ['};', '', 'const DialogEntry kDialogs[] = {']
    for number in sorted(dialogs):
        name, caption, _ = dialogs[number]
        lines.append(f'    {{{number}, {cpp_text(caption)}}}, // {name}')
    lines += ['};', '', 'const ControlEntry kControls[] = {']
    for number in sorted(dialogs):
        for control, text in sorted(dialogs[number][2].items()):
            lines.append(f'    {{{number}, {control}, {cpp_text(text)}}},')
    lines += [
        '};',
        '',
        '} // namespace',
        '',
        f'const ResourceTable {table} = {{kStrings, kMenus, kDialogs, kControls}};',
        '',
        '} // namespace resources',
        '',
    ]
    return '\n'.join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--ids', required=True)
    parser.add_argument('--strings', required=True)
    parser.add_argument('--menus', required=True)
    parser.add_argument('--dialogs', required=True)
    parser.add_argument('--table')
    parser.add_argument('--output')
    parser.add_argument('--complete', action='store_true')
    parser.add_argument('--reference', nargs=3, metavar=('STRINGS', 'MENUS', 'DIALOGS'))
    parser.add_argument('--library-symbol')
    parser.add_argument('--library-output')
    args = parser.parse_args()
    if bool(args.table) != bool(args.output) or \
            bool(args.library_symbol) != bool(args.library_output):
        parser.error('--table goes with --output, --library-symbol with --library-output')
    try:
        ids = read_ids(args.ids)
        strings = parse_strings(args.strings, ids)
        menus = parse_menus(args.menus, ids)
        dialogs = parse_dialogs(args.dialogs, ids, unique_keys=bool(args.reference))
        if args.complete:
            check_complete(ids, strings, menus, dialogs)
        if args.reference:
            ref_strings, ref_menus, ref_dialogs = args.reference
            reference = (parse_strings(ref_strings, ids), parse_menus(ref_menus, ids),
                         parse_dialogs(ref_dialogs, ids))
            check_translation(args.strings.rsplit('/', 1)[0], reference,
                              (strings, menus, dialogs))
    except (SourceError, OSError) as error:
        print(f'generate_resources: {error}', file=sys.stderr)
        return 1
    sources = [s.split('resources/')[-1] for s in (args.strings, args.menus, args.dialogs)]
    if args.output:
        write_if_changed(args.output, generate(args.table, sources, strings, menus, dialogs))
    if args.library_output:
        data = library_bytes(strings, menus, dialogs)
        write_if_changed(args.library_output, library_cpp(args.library_symbol, sources, data))
    return 0


if __name__ == '__main__':
    sys.exit(main())
