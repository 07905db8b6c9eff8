#!/usr/bin/env python3
"""Checks the launcher's string-table sources against the English one (1033_en-US.rc): every
language file is valid UTF-8, declares its code page and the language its name says, and carries
exactly the English ids; names stay as they are ("Veltrun", "Corvane", "Java", "Windows" and the
JVM, VM and URL abbreviations); texts that end in "..." in English end alike; and each text is
written in its language's own script. What the built program carries (every language, every id,
placeholders, line breaks) is checked on jlauncher.exe by StringResources_test.cpp."""
import os
import re
import sys
import unicodedata
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ENGLISH_FILE = "1033_en-US.rc"

# The language statement each Windows language id is written with.
LANGUAGE_STATEMENTS = {
    10: ("LANG_SPANISH", "SUBLANG_NEUTRAL"),
    1025: ("LANG_ARABIC", "SUBLANG_ARABIC_SAUDI_ARABIA"),
    1027: ("LANG_CATALAN", "SUBLANG_DEFAULT"),
    1028: ("LANG_CHINESE", "SUBLANG_CHINESE_TRADITIONAL"),
    1029: ("LANG_CZECH", "SUBLANG_DEFAULT"),
    1030: ("LANG_DANISH", "SUBLANG_DEFAULT"),
    1031: ("LANG_GERMAN", "SUBLANG_GERMAN"),
    1032: ("LANG_GREEK", "SUBLANG_DEFAULT"),
    1033: ("LANG_ENGLISH", "SUBLANG_ENGLISH_US"),
    1035: ("LANG_FINNISH", "SUBLANG_DEFAULT"),
    1036: ("LANG_FRENCH", "SUBLANG_FRENCH"),
    1038: ("LANG_HUNGARIAN", "SUBLANG_DEFAULT"),
    1040: ("LANG_ITALIAN", "SUBLANG_ITALIAN"),
    1041: ("LANG_JAPANESE", "SUBLANG_DEFAULT"),
    1042: ("LANG_KOREAN", "SUBLANG_KOREAN"),
    1043: ("LANG_DUTCH", "SUBLANG_DUTCH"),
    1044: ("LANG_NORWEGIAN", "SUBLANG_NORWEGIAN_BOKMAL"),
    1045: ("LANG_POLISH", "SUBLANG_DEFAULT"),
    1046: ("LANG_PORTUGUESE", "SUBLANG_PORTUGUESE_BRAZILIAN"),
    1049: ("LANG_RUSSIAN", "SUBLANG_DEFAULT"),
    1051: ("LANG_SLOVAK", "SUBLANG_DEFAULT"),
    1053: ("LANG_SWEDISH", "SUBLANG_SWEDISH"),
    1054: ("LANG_THAI", "SUBLANG_DEFAULT"),
    1055: ("LANG_TURKISH", "SUBLANG_DEFAULT"),
    1057: ("LANG_INDONESIAN", "SUBLANG_DEFAULT"),
    1060: ("LANG_SLOVENIAN", "SUBLANG_DEFAULT"),
    1069: ("LANG_BASQUE", "SUBLANG_DEFAULT"),
    2052: ("LANG_CHINESE", "SUBLANG_CHINESE_SIMPLIFIED"),
    2070: ("LANG_PORTUGUESE", "SUBLANG_PORTUGUESE"),
    3084: ("LANG_FRENCH", "SUBLANG_FRENCH_CANADIAN"),
}

# Names that appear in Latin letters whatever the language, and the English ids that carry them.
NAMES = {
    "Veltrun": {102, 110},
    "Corvane": {104},
    "Java": {101, 103, 115, 117},
    "Windows": {103},
    "URL": {105},
}
# Abbreviations a translation may keep or spell out, and placeholders: not the language's own letters.
LATIN_WORDS = re.compile(r"Veltrun|Corvane|Java|Windows|JVM|VM|URL|%[-+ #0-9.]*[a-zA-Z]")

# The script each language's own letters come from (Unicode character names begin with it).
SCRIPTS = {
    1025: ("ARABIC",),
    1028: ("CJK",),
    1032: ("GREEK",),
    1041: ("HIRAGANA", "KATAKANA", "CJK"),
    1042: ("HANGUL",),
    1049: ("CYRILLIC",),
    1054: ("THAI",),
    2052: ("CJK",),
}

FILE_NAME = re.compile(r"^(\d+)_[a-z]{2}(-[A-Z]{2})?\.rc$")
STRING_LINE = re.compile(r'^\s*(\d+)\s+"((?:[^"]|"")*)"\s*$')
LANGUAGE_LINE = re.compile(r"^\s*LANGUAGE\s+(\w+)\s*,\s*(\w+)\s*$")


class StringFile:
    """One language's .rc file: its language statements and its strings by id."""

    def __init__(self, name):
        self.name = name
        self.language_id = int(FILE_NAME.match(name).group(1))
        with open(os.path.join(HERE, name), "rb") as f:
            self.source = f.read().decode("utf-8")  # raises on anything but UTF-8
        self.languages = []
        self.strings = {}
        self.duplicates = []
        for line in self.source.splitlines():
            if m := LANGUAGE_LINE.match(line):
                self.languages.append((m.group(1), m.group(2)))
            elif m := STRING_LINE.match(line):
                sid = int(m.group(1))
                if sid in self.strings:
                    self.duplicates.append(sid)
                self.strings[sid] = m.group(2).replace('""', '"').replace("\\n", "\n")


def language_files():
    return [StringFile(n) for n in sorted(os.listdir(HERE)) if FILE_NAME.match(n)]


def letters(text):
    return [c for c in LATIN_WORDS.sub("", text) if c.isalpha()]


class StringTableSources(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.files = language_files()
        cls.english = next(f for f in cls.files if f.name == ENGLISH_FILE)

    def test_every_language_once_and_included(self):
        self.assertEqual(sorted(f.language_id for f in self.files), sorted(LANGUAGE_STATEMENTS))
        with open(os.path.join(HERE, "strings.rc"), encoding="utf-8") as f:
            included = re.findall(r'^#include "([^"]+)"', f.read(), re.M)
        self.assertEqual(sorted(included), sorted(f.name for f in self.files))

    def test_each_file_declares_its_code_page_and_language(self):
        for f in self.files:
            self.assertIn("#pragma code_page(65001)", f.source, f.name)
            self.assertEqual(f.languages, [LANGUAGE_STATEMENTS[f.language_id]], f.name)

    def test_each_file_has_the_english_ids(self):
        self.assertEqual(sorted(self.english.strings), [101, 102, 103, 104, 105, 106, 109, 110,
                                                         111, 112, 113, 114, 115, 116, 117])
        for f in self.files:
            self.assertEqual(sorted(f.strings), sorted(self.english.strings), f.name)
            self.assertEqual(f.duplicates, [], f.name)

    def test_names_stay(self):
        for f in self.files:
            for name, ids in NAMES.items():
                for sid in ids:
                    self.assertIn(name, f.strings[sid], "%s %d" % (f.name, sid))
            for sid, text in f.strings.items():
                for name in ("Veltrun", "Corvane"):
                    if sid not in NAMES[name]:
                        self.assertNotIn(name, text, "%s %d" % (f.name, sid))

    def test_endings_follow_english(self):
        for f in self.files:
            for sid, english in self.english.strings.items():
                text = f.strings[sid]
                self.assertEqual(text.endswith("..."), english.endswith("..."), "%s %d" % (f.name, sid))
                self.assertFalse(text.endswith(("。", ".")) and not english.endswith("."),
                                 "%s %d ends a title or a message in a full stop" % (f.name, sid))

    def test_own_script(self):
        for f in self.files:
            scripts = SCRIPTS.get(f.language_id, ("LATIN",))
            for sid, text in f.strings.items():
                own = letters(text)
                foreign = [c for c in own if not unicodedata.name(c, "").startswith(scripts)]
                self.assertEqual(foreign, [], "%s %d: %r" % (f.name, sid, text))
                self.assertTrue(own, "%s %d has no letters of its own" % (f.name, sid))


if __name__ == "__main__":
    unittest.main(verbosity=1)
