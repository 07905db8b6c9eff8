#!/usr/bin/env python3
"""Checks the stub's translations (translations.py) against the English texts: every language
has every text and nothing else; its texts are written in the language's own script; names stay
as they are ("Corvane", "EXE", "sea_loc"); the Choose button keeps exactly one access key; texts
that end in "..." or ":" in English end alike; and no text was left in English."""
import os
import sys
import unicodedata
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import translations as t  # noqa: E402

EXPECTED_IDS = {3, 5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 17, 18, 19, 20, 21, 25, 29, 30, 31, 33, 36,
                45, 1025, 1028, 1037, 1046, 2052, 2070, 3084}

# The script each language's letters must come from (Unicode character names begin with it).
SCRIPTS = {
    8: "GREEK", 25: "CYRILLIC", 30: "THAI", 1025: "ARABIC", 1037: "HEBREW",
    18: "HANGUL", 17: ("HIRAGANA", "KATAKANA", "CJK"), 1028: "CJK", 2052: "CJK",
}
KEYS = set(t.DIALOG_KEYS) | set(t.STRING_IDS)
# Texts that may read the same as in English: the OK button in languages that say "OK".
MAY_MATCH_ENGLISH = {"ok"}


def resource_id(lang):
    return lang["lang"] | (lang["sub"] << 10)


def letters(text):
    return [c for c in text if c.isalpha() and not ("a" <= c.lower() <= "z")]


class Translations(unittest.TestCase):
    def test_every_language_once(self):
        ids = [resource_id(lang) for lang in t.ALL]
        self.assertEqual(sorted(ids), sorted(EXPECTED_IDS))
        self.assertEqual(len(ids), len(set(ids)))

    def test_every_text_present(self):
        for lang in t.ALL:
            keys = {k for k in lang if k not in ("name", "lang", "sub", "rtl")}
            self.assertEqual(keys, KEYS, lang["name"])
            for k in KEYS:
                self.assertTrue(lang[k].strip(), "%s: %s is empty" % (lang["name"], k))
                self.assertNotIn("\n", lang[k])

    def test_names_stay(self):
        for lang in t.ALL:
            self.assertIn("Corvane", lang[5], lang["name"])
            self.assertIn("EXE", lang[12], lang["name"])
            self.assertIn("(sea_loc)", lang[21], lang["name"])
            for k in KEYS - {5}:
                self.assertNotIn("Corvane", lang[k], lang["name"])

    def test_marks_follow_english(self):
        for lang in t.ALL:
            self.assertEqual(lang["choose"].count("&"), 1, lang["name"])
            self.assertNotIn("&", "".join(str(lang[k]) for k in t.STRING_IDS), lang["name"])
            for k in KEYS:
                english, text = t.ENGLISH[k], lang[k]
                if english.endswith("..."):
                    self.assertTrue(text.endswith("..."), "%s %s: %r" % (lang["name"], k, text))
                if english.endswith(":"):
                    self.assertTrue(text.endswith((":", "\uff1a")), "%s %s: %r" % (lang["name"], k, text))

    def test_translated(self):
        for lang in t.LANGUAGES:
            for k in KEYS - MAY_MATCH_ENGLISH:
                self.assertNotEqual(lang[k], t.ENGLISH[k], "%s: %s left in English" % (lang["name"], k))

    def test_own_script(self):
        for lang in t.ALL:
            script = SCRIPTS.get(resource_id(lang))
            if script is None:
                continue
            for k in KEYS - {"ok"}:
                foreign = [c for c in letters(lang[k])
                           if not unicodedata.name(c, "").startswith(script)]
                self.assertEqual(foreign, [], "%s %s: %r" % (lang["name"], k, lang[k]))
                self.assertTrue(letters(lang[k]), "%s %s has no letters of its script" % (lang["name"], k))

    def test_latin_languages_use_latin_letters(self):
        for lang in t.ALL:
            if resource_id(lang) in SCRIPTS:
                continue
            for k in KEYS:
                for c in letters(lang[k]):
                    self.assertTrue(unicodedata.name(c).startswith("LATIN"), "%s %s: %r" % (lang["name"], k, c))

    def test_right_to_left_languages(self):
        rtl = {resource_id(lang) for lang in t.ALL if lang.get("rtl")}
        self.assertEqual(rtl, {1025, 1037})


if __name__ == "__main__":
    unittest.main(verbosity=1)
