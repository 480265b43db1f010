#!/usr/bin/env python3
"""Tests of the resource generator: a translator's slip must stop the build with the file
and line, and a good set must compile to the exact bytes of code page 1251."""

import os
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
    def run_generator(self, strings=STRINGS, menus=MENUS, dialogs=DIALOGS, complete=False):
        with tempfile.TemporaryDirectory() as folder:
            paths = {}
            for name, text in (('ids.h', IDS), ('strings.txt', strings), ('menus.txt', menus),
                               ('dialogs.txt', dialogs)):
                paths[name] = os.path.join(folder, name)
                with open(paths[name], 'w', encoding='utf-8') as f:
                    f.write(text)
            output = os.path.join(folder, 'out.cpp')
            command = [sys.executable, GENERATOR, '--ids', paths['ids.h'],
                       '--strings', paths['strings.txt'], '--menus', paths['menus.txt'],
                       '--dialogs', paths['dialogs.txt'], '--table', 'kTestTable',
                       '--output', output]
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


if __name__ == '__main__':
    unittest.main()
