#!/usr/bin/env python3
"""Tests of the resource generator: a translator's slip must stop the build with the file
and line, and a good set must compile to the exact bytes of code page 1251."""

import os
import struct
import subprocess
import sys
import tempfile
import unittest

GENERATOR = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'resources',
                         'generate_resources.py')

IDS = """
inline constexpr int IDS_TITLE = 134;
inline constexpr int IDS_OTHER = 135;
inline constexpr int IDS_SAME_AS_TITLE = 134;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int IDR_MAIN_MENU = 160;
inline constexpr int IDD_GOTO = 137;
inline constexpr int IDC_TOP = 1041;
inline constexpr int IDOK = 1;
"""

STRINGS = 'IDS_TITLE "Table %s"\nIDS_OTHER "\u0422\u0430\u0431\u043b\u0438\u0446\u0430"\n'
MENUS = ('menu IDR_MAIN_MENU\n  popup "&File"\n    item ID_FILE_OPEN "&Open\\tCtrl+O" grayed\n'
         '    separator\n  end\nend\n')
DIALOGS = 'dialog IDD_GOTO "Go to"\n  IDC_TOP "&Top"\n  IDOK "OK"\nend\n'


class GeneratorTest(unittest.TestCase):
    def run_generator(self, strings=STRINGS, menus=MENUS, dialogs=DIALOGS, complete=False,
                      translation=None):
        """With `translation` (strings, menus, dialogs), that set is compiled as a language
        library checked against the first one, and the output is the library's C++ file."""
        with tempfile.TemporaryDirectory() as folder:
            paths = {}
            files = [('ids.h', IDS), ('strings.txt', strings), ('menus.txt', menus),
                     ('dialogs.txt', dialogs)]
            if translation:
                files += zip(('t_strings.txt', 't_menus.txt', 't_dialogs.txt'), translation)
            for name, text in files:
                paths[name] = os.path.join(folder, name)
                with open(paths[name], 'w', encoding='utf-8') as f:
                    f.write(text)
            output = os.path.join(folder, 'out.cpp')
            prefix = 't_' if translation else ''
            command = [sys.executable, GENERATOR, '--ids', paths['ids.h'],
                       '--strings', paths[prefix + 'strings.txt'],
                       '--menus', paths[prefix + 'menus.txt'],
                       '--dialogs', paths[prefix + 'dialogs.txt']]
            if translation:
                command += ['--reference', paths['strings.txt'], paths['menus.txt'],
                            paths['dialogs.txt'], '--library-symbol', 'kTestLibrary',
                            '--library-output', output]
            else:
                command += ['--table', 'kTestTable', '--output', output]
            if complete:
                command.append('--complete')
            result = subprocess.run(command, capture_output=True, text=True)
            code = None
            if os.path.exists(output):
                with open(output, encoding='utf-8') as f:
                    code = f.read()
            return result.returncode, result.stderr, code

    def assert_fails(self, message, **sources):
        status, error, code = self.run_generator(**sources)
        self.assertEqual(status, 1, error)
        self.assertIn(message, error)
        self.assertIsNone(code, 'nothing is written for a faulty set')

    def test_a_good_set_compiles_to_code_page_1251_bytes(self):
        status, error, code = self.run_generator(complete=True)
        self.assertEqual(status, 0, error)
        self.assertIn('{134, std::string_view("Table %s", 8)}', code)
        # "Таблица" as the 1251 bytes D2 E0 E1 EB E8 F6 E0
        self.assertIn('{135, std::string_view("\\322\\340\\341\\353\\350\\366\\340", 7)}', code)
        self.assertIn('{160, 1, Kind::kCommand, 57601, std::string_view("&Open\\011Ctrl+O", 12), '
                      'true}', code)
        self.assertIn('{160, 1, Kind::kSeparator, 0, std::string_view("", 0), false}', code)
        self.assertIn('{137, 1041, std::string_view("&Top", 4)}', code)
        self.assertIn('const ResourceTable kTestTable', code)

    def test_adjacent_texts_join_and_escapes_give_their_bytes(self):
        status, error, code = self.run_generator(
            strings='IDS_TITLE "a\\tb\\n"\n    "c \\"d\\" \\\\ \\x88"\nIDS_OTHER "??)"\n')
        self.assertEqual(status, 0, error)
        self.assertIn('std::string_view("a\\011b\\012c \\"d\\" \\\\ \\210", 13)', code)
        self.assertIn('std::string_view("\\077\\077)", 3)', code)

    def test_names_must_be_defined_and_of_their_kind(self):
        self.assert_fails('strings.txt:2: IDS_MISSING is not defined',
                          strings='IDS_TITLE "a"\nIDS_MISSING "b"\n')
        self.assert_fails('expected a name beginning with ID_',
                          menus='menu IDR_MAIN_MENU\n item IDS_TITLE "x"\nend\n')
        self.assert_fails('expected a name beginning with IDC_',
                          dialogs='dialog IDD_GOTO "Go"\n IDS_TITLE "x"\nend\n')

    def test_an_id_given_twice_is_refused(self):
        self.assert_fails('IDS_SAME_AS_TITLE: string 134 is given twice',
                          strings='IDS_TITLE "a"\nIDS_SAME_AS_TITLE "b"\n')
        self.assert_fails('IDOK: control 1 appears twice in IDD_GOTO',
                          dialogs='dialog IDD_GOTO "Go"\n IDOK "OK"\n IDOK "Yes"\nend\n')

    def test_text_faults_name_their_line(self):
        self.assert_fails("strings.txt:2: '\u2713' has no byte in code page 1251",
                          strings='IDS_TITLE "a"\nIDS_OTHER "\u2713"\n')
        self.assert_fails('strings.txt:1: unknown escape \\q', strings='IDS_TITLE "\\q"\n')
        self.assert_fails('strings.txt:1: text without its closing quote',
                          strings='IDS_TITLE "open\nIDS_OTHER "x"\n')
        self.assert_fails('expected a quoted text', strings='IDS_TITLE\n')

    def test_structure_faults_are_refused(self):
        self.assert_fails('without its "end"',
                          menus='menu IDR_MAIN_MENU\n popup "&File"\n  separator\nend\n')
        self.assert_fails('expected item, separator, popup or end, not itme',
                          menus='menu IDR_MAIN_MENU\n itme ID_FILE_OPEN "x"\nend\n')

    def test_a_complete_set_lacks_nothing_of_the_ids_header(self):
        self.assert_fails('the set lacks string IDS_OTHER', strings='IDS_TITLE "a"\n',
                          complete=True)
        self.assert_fails('the set lacks dialog IDD_GOTO', dialogs='', complete=True)
        status, error, _ = self.run_generator(strings='IDS_TITLE "a"\n')
        self.assertEqual(status, 0, 'without --complete a partial set compiles: ' + error)

    def test_two_entries_of_one_popup_may_not_share_an_access_key(self):
        self.assert_fails('menus.txt:2: "&Save" and "&sort" share the access key \'s\'',
                          menus='menu IDR_MAIN_MENU\n item ID_FILE_OPEN "&sort" item '
                                'ID_FILE_OPEN "&Save"\nend\n')
        status, error, _ = self.run_generator(
            menus='menu IDR_MAIN_MENU\n popup "&File"\n  item ID_FILE_OPEN "&File"\n end\nend\n')
        self.assertEqual(status, 0, 'a popup and its own item do not clash: ' + error)


TRANSLATION = ('IDS_TITLE "\u0422\u0430\u0431\u043b\u0438\u0446\u0430 %s"\nIDS_OTHER "x"\n',
               'menu IDR_MAIN_MENU\n  popup "&\u0424\u0430\u0439\u043b"\n'
               '    item ID_FILE_OPEN "&O\\tCtrl+O" grayed\n    separator\n  end\nend\n',
               'dialog IDD_GOTO "G"\n  IDC_TOP "&T"\n  IDOK "OK"\nend\n')


class TranslationTest(unittest.TestCase):
    """A translation is compiled into a language library and checked against its reference."""

    run_generator = GeneratorTest.run_generator

    def translated(self, index, text):
        return tuple(text if i == index else t for i, t in enumerate(TRANSLATION))

    def assert_refused(self, message, translation):
        status, error, code = self.run_generator(translation=translation)
        self.assertEqual(status, 1, error)
        self.assertIn(message, error)
        self.assertIsNone(code)

    def test_a_translation_becomes_a_library_of_the_documented_layout(self):
        status, error, code = self.run_generator(translation=TRANSLATION, complete=True)
        self.assertEqual(status, 0, error)
        body = code.split('const char kBytes[] = {')[1].split('};')[0]
        data = bytes(int(v) & 0xFF for v in body.replace('\n', ' ').split(',') if v.strip())
        self.assertEqual(data[:8], b'LUMTRES\0')
        self.assertEqual(struct.unpack('<IIII', data[8:24]), (1, 2, 1, 1))
        title = '\u0422\u0430\u0431\u043b\u0438\u0446\u0430 %s'.encode('cp1251')
        strings = struct.pack('<II', 134, len(title)) + title + struct.pack('<IIc', 135, 1, b'x')
        menu = (struct.pack('<IIBBHII', 160, 3, 2, 0, 0, 0, 5) + b'&\xd4\xe0\xe9\xeb'
                + struct.pack('<BBHII', 0, 1, 1, 57601, 9) + b'&O\tCtrl+O'
                + struct.pack('<BBHII', 1, 0, 1, 0, 0))
        dialog = (struct.pack('<IIcI', 137, 1, b'G', 2) + struct.pack('<II', 1, 2) + b'OK'
                  + struct.pack('<II', 1041, 2) + b'&T')
        self.assertEqual(data[24:], strings + menu + dialog)
        self.assertIn('const std::string_view kTestLibrary(kBytes, sizeof kBytes);', code)

    def test_a_translation_has_exactly_the_ids_of_its_reference(self):
        self.assert_refused('lacks string IDS_OTHER', self.translated(0, 'IDS_TITLE "%s"\n'))
        self.assert_refused('has string ID_FILE_OPEN, which the reference lacks',
                            self.translated(0, TRANSLATION[0] + 'ID_FILE_OPEN "Open"\n'))
        self.assert_refused('lacks dialog IDD_GOTO', self.translated(2, ''))
        self.assert_refused('IDD_GOTO: the controls differ',
                            self.translated(2, 'dialog IDD_GOTO "G"\n  IDOK "OK"\nend\n'))

    def test_a_translation_keeps_slots_menu_shape_and_distinct_access_keys(self):
        self.assert_refused("IDS_TITLE: the slots [b'd'] differ from [b's']",
                            self.translated(0, 'IDS_TITLE "%d"\nIDS_OTHER "x%%"\n'))
        self.assert_refused('IDR_MAIN_MENU: the items differ',
                            self.translated(1, TRANSLATION[1].replace(' grayed', '')))
        self.assert_refused('t_dialogs.txt:3: "&tOK" and "&T" share the access key',
                            self.translated(2, 'dialog IDD_GOTO "G"\n  IDC_TOP "&T"\n'
                                               '  IDOK "&tOK"\nend\n'))

if __name__ == '__main__':
    unittest.main()
