"""The string functions end to end: cutting, searching, comparing, case mapping,
the string key, the ANSI/OEM pair, their limits and their messages."""
from harness import main
from interp import ListingTestCase, show


def key_table(key):
    """The 255-byte key table of a key text (bytes), as the string key builds it."""
    return bytes(((key[i % len(key)] & 3) << 6) for i in range(255)) if key else b""


def scrambled(text, key):
    table = key_table(key)
    if len(table) != 255:
        return text
    return bytes(b ^ (table[255 - i] & 0xC0) for i, b in enumerate(text, start=1))


def shown_bytes(text):
    """A shown text back as the program's Windows-1252 bytes (the bytes the code page
    leaves undefined arrive as the C1 controls of the same value)."""
    return b"".join(bytes([ord(c)]) if ord(c) < 0xA0 else c.encode("cp1252") for c in text)


class StringResults(ListingTestCase):
    def test_string_functions(self):
        cases = [
            ('@LEFT("abc",2)', "ab"),
            ('@LEFT("abc",0)', ""),
            ('@LEFT("abc",-1)', ""),
            ('@LEFT("abc",9)', "abc"),
            ('@LEFT(12345,2)', "12"),                 # a number supplies its text
            ('@RIGHT("abc",3)', "abc"),
            ('@RIGHT("abc",1)', "c"),
            ('@REPEAT("ab",3)', "ababab"),
            ('@REPEAT("ab",0)', ""),
            ('@SPACE(3)', "   "),
            ('@SPACE(-2)', ""),
            ('@REPLACE("aaa","a","aa")', "aaaaaa"),
            ('@REPLACE("a-b-c","-","")', "abc"),
            ('@REPLACE("abc","","x")', "abc"),
            ('@PART("a,b,c",1,",")', "a"),
            ('@PART("a,b,c",3,",")', "c"),
            ('@PART("a,b,c",4,",")', ""),
            ('@PART("a,,b",2,",")', ""),
            ('@PART("a,,b",3,",")', "b"),
            ('@PART("abc",1,";")', "abc"),
            ('@PART("k1=v1;k2=v2",2,";")', "k2=v2"),
            ('@LOWER("\u00c4\u00d6\u00dc ABC \u00df \u00de \u00d7")', "\u00e4\u00f6\u00fc abc \u00df \u00fe \u00d7"),
            ('@UPPER("\u00e4\u00f6\u00fc abc \u00df \u00ff \u00f7")', "\u00c4\u00d6\u00dc ABC \u00df \u00ff \u00f7"),
            ('@UPPER("\u0161")', "\u0161"),               # s with caron is not in the mapped ranges
            ('@CHR(65)', "A"),
            ('@CHR(321)', "A"),                        # the low 8 bits
            ('@CHR(-191)', "A"),
            ('@CONCAT("ab","cd")', "abcd"),
            ('@CONCAT(1.5,"x")', "1.5x"),              # a literal keeps its own text
            ('@CONCAT(F!,"x")', "1.500000x"),          # a float variable has the number text
            ('@MID("abcdef",3,2)', "cd"),
            ('@MID("abc",5,1)', ""),
            ('@MID("abc",2,99)', "bc"),
            ('@MID("abc",2,0)', ""),
            ('@DELETE("abcdef",2,3)', "aef"),
            ('@DELETE("abc",5,1)', "abc"),
            ('@DELETE("abc",2,99)', "a"),
            ('@INSERT("X","abc",2)', "aXbc"),
            ('@INSERT("X","abc",9)', "abcX"),
            ('@INSERT("X","abc",1)', "Xabc"),
            ('@TRIM(@CONCAT(@CHR(9),@CONCAT(" x y\\n",@CHR(10))))', "x y"),
            ('@TRIM("   ")', ""),
        ]
        lines = ["DECLARE F!", "LET F! = 1.5"] + [show(e) for e, _ in cases]
        self.assertEqual(self.values(lines), [t for _, t in cases])

    def test_numeric_results(self):
        cases = [
            ('@LEN("abc")', 3),
            ('@LEN("")', 0),
            ('@LEN(3.5)', 3),                          # a literal keeps its own text
            ('@LEN(F!)', 8),                           # 2.500000
            ('@LEN(@REPEAT(@SPACE(100),3))', 200),     # the third copy would reach 300
            ('@LEN(@REPEAT("a",1000))', 254),
            ('@LEN(@SPACE(300))', 254),
            ('@LEN(@CONCAT(@REPEAT("x",200),@REPEAT("y",200)))', 255),
            ('@LEN(@INSERT(@REPEAT("x",200),@REPEAT("y",200),3))', 255),
            ('@POS("b","abc")', 2),
            ('@POS("","abc")', 0),
            ('@POS("x","abc")', 0),
            ('@POS("bc","abcabc")', 2),
            ('@ASC("A")', 65),
            ('@ASC("\u00e4")', 228),
            ('@ASC("")', 0),
            ('@STREQ("abc","abc")', 1),
            ('@STREQ("abc","ab")', 0),
            ('@STREQ("abc","ABC")', 0),
            ('@STRNE("a","b")', 1),
            ('@STRNE("a","a")', 0),
            ('@STRLT("abc","abd")', 1),
            ('@STRLT("ab","abc")', 1),
            ('@STRLT("a","B")', 0),                    # upper-case letters have smaller codes
            ('@STRLT("abc","abc")', 0),
            ('@STRGT("a","B")', 1),
            ('@STRGT("\u00e4","z")', 1),               # bytes compare unsigned
            ('@STRGT("abc","abc")', 0),
            ('@MID("abcdef",3,4)', 4),                 # a string result keeps its last argument's numbers
        ]
        lines = ["DECLARE L&, F!", "LET F! = 2.5"]
        for expression, _ in cases:
            lines += ["LET L& = %s" % expression, show("L&")]
        self.assertEqual(self.values(lines), [str(v) for _, v in cases])

    def test_numeric_result_text_is_the_last_argument(self):
        self.assertEqual(self.values([show('@LEN("abc")'), show('@POS("b","xbz")')]), ["abc", "xbz"])


class StringErrors(ListingTestCase):
    def test_messages(self):
        index = "String-Index ist < 1 !"
        cases = [
            ('@RIGHT("abc",4)', index),
            ('@RIGHT("abc",0)', index),
            ('@RIGHT("",1)', index),
            ('@MID("abc",0,1)', index),
            ('@DELETE("abc",0,1)', index),
            ('@INSERT("x","abc",-1)', index),
            ('@PART("a,b",0,",")', "Substring-Nr ist < 1 !"),
            ('@ANSITOOEM(5)', "Falscher Parametertyp: 5"),
            ('@OEMTOANSI(1.5)', "Falscher Parametertyp: 1.5"),
            ('@SCRAMBLE(7)', "Falscher Parametertyp: 7"),
            ('@REPLACE("abc",1,"x")', "Falscher Parametertyp: 1"),
        ]
        for expression, caption in cases:
            with self.subTest(expression):
                self.assertEqual(self.error(["EVAL " + expression]), (caption, "Zeile      2!"))

    def test_silent_mode_goes_on(self):
        self.assertEqual(self.values(["ERRORMODE -1", "EVAL @RIGHT(\"abc\",4)", show("%{ERRORSTATE}"),
                                      show("&{LASTERROR}"), "EVAL @PART(\"a\",-1,\",\")", show("&{LASTERROR}")]),
                         ["2", "204", "205"])


class StringKey(ListingTestCase):
    def test_without_a_key_the_text_stays(self):
        self.assertEqual(self.values([show('@SCRAMBLE("abc")'), 'STRINGKEY "A"', 'STRINGKEY ""',
                                      show('@SCRAMBLE("abc")')]), ["abc", "abc"])

    def test_key_from_one_character(self):
        # A is 65: every table byte is 64, so A (0x41) and 0x01 change places. (A 0x01
        # byte inside quotes would be the reader's escape placeholder: it is made by CHR.)
        shown = self.values(['STRINGKEY "A"', show('@SCRAMBLE(@CONCAT("A",@CHR(1)))'),
                             show('@SCRAMBLE(@SCRAMBLE(@CONCAT("A",@CHR(1))))')])
        self.assertEqual(shown, ["\x01A", "A\x01"])

    def test_scrambling_twice_restores_the_text(self):
        key = "Schl\u00fcssel 42".encode("cp1252")
        text = "Geheimnis: Konto 12345, \u00dcberweisung!".encode("cp1252")
        shown = self.values([
            "DECLARE K$, S$",
            'LET K$ = "Schl\u00fcssel 42"',
            "STRINGKEY K$",
            'LET S$ = @SCRAMBLE("Geheimnis: Konto 12345, \u00dcberweisung!")', show("S$"),
            "LET S$ = @SCRAMBLE(S$)", show("S$"),
        ])
        self.assertEqual(shown_bytes(shown[0]), scrambled(text, key))
        self.assertNotEqual(shown_bytes(shown[0]), text)
        self.assertEqual(shown[1], text.decode("cp1252"))

    def test_the_key_text_keeps_its_escapes(self):
        # backslash (92) and n (110) give 0x00 and 0x80; a CR (13) would give 0x40
        shown = self.values(['STRINGKEY "\\n"', show('@SCRAMBLE("AA")')])
        self.assertEqual(shown_bytes(shown[0]), scrambled(b"AA", b"\\n"))
        self.assertEqual(shown_bytes(shown[0]), b"A\xc1")

    def test_the_key_must_be_a_string(self):
        self.assertEqual(self.error(["STRINGKEY 5"]), ("Falscher Parametertyp: 5", "Zeile      2!"))


class AnsiOem(ListingTestCase):
    def test_code_page_850(self):
        shown = self.values([
            show('@ANSITOOEM("\u00e4\u00f6\u00fc\u00df \u00c4\u00d6\u00dc")'),
            show('@OEMTOANSI(@ANSITOOEM("Gr\u00fc\u00dfe, \u00a7 12 \u00b0C"))'),
            show('@OEMTOANSI("\\x84\\x94\\x81\\xE1\\xC4\\xB3")'),
            show('@ANSITOOEM("\u201eA\u201c \u2013 \u0160")'),
        ])
        self.assertEqual(shown_bytes(shown[0]), b"\x84\x94\x81\xe1 \x8e\x99\x9a")
        self.assertEqual(shown[1], "Gr\u00fc\u00dfe, \u00a7 12 \u00b0C")
        self.assertEqual(shown[2], "\u00e4\u00f6\u00fc\u00df-|")
        self.assertEqual(shown[3], '"A" - S')


if __name__ == "__main__":
    main()
