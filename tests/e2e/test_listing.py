"""The listing tools: `morven dis` followed by `morven asm` gives back the same file,
`morven asm` of hand-written listings gives the expected bytes, faulty listings and
unloadable programs are refused with a clear message."""
import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import MORVEN_TOOL, MorvenTestCase, main, mvc_bytes  # noqa: E402

MAGIC = b"ZOX-MORVEN"
PROC_CALL_TOKENS = [t for t in range(256) if t <= 0x26 or 0x28 <= t <= 0x3F or t in (0x41, 0xFF)]
USER_FUNCTION_CODES = [0x22, 0x23] + list(range(0x27, 0x33)) + [0x60, 0x61, 0xBB, 0xD9, 0xDA]


def header_for(scheme, key=0):
    """The header that `.key none|xor|indexed` stands for."""
    h = bytearray(b" " * 32)
    h[1:11] = MAGIC
    if scheme in ("xor", "indexed"):
        h[20], h[21] = key, 0
    if scheme == "indexed":
        h[11] = ord("5")
        h[26:30] = bytes([1, 1, 12, 12])
    return bytes(h)


def derive_key(h):
    """The loader's key derivation, written independently of the tool."""
    if h[20] == 0x20 and h[21] == 0x20:
        return 0
    if h[11] == ord("5"):
        def b(i):
            return 0 if i > 11 else h[19 + i]
        return (b(h[27]) | b(h[29])) & (b(h[26]) | b(h[28]))
    return h[20] | h[21]


def program_file(lines, header=None):
    """File bytes of unscrambled line payloads under a header (scrambled with its key)."""
    header = header or header_for("none")
    key = derive_key(header)
    return mvc_bytes([bytes(c ^ key for c in line) for line in lines], header=header)


class Tool:
    """Runs `morven` sub-commands."""

    def __init__(self, case):
        self.case = case

    def run(self, *args):
        return subprocess.run([MORVEN_TOOL] + list(args), capture_output=True, timeout=60)

    def asm(self, listing, name="prog"):
        src = self.case.write(name + ".mva", listing.encode("utf-8") if isinstance(listing, str) else listing)
        out = self.case.path(name + ".mvc")
        return self.run("asm", src, out), out

    def asm_ok(self, listing, name="prog"):
        proc, out = self.asm(listing, name)
        self.case.assertEqual(proc.returncode, 0, proc.stderr.decode(errors="replace"))
        with open(out, "rb") as f:
            return f.read()

    def dis(self, data, name="prog"):
        src = self.case.write(name + ".mvc", data)
        return self.run("dis", src)


# ---------------------------------------------------------------------------------------
# Random programs for the round trip. The pieces favour what the notation handles
# in its own way: "@" with function codes and line references, system variables, quotes,
# braces, backslashes, colons of conditional prefixes, angle brackets, trailing blanks.

def random_header(rng):
    kind = rng.randrange(5)
    if kind == 0:
        return header_for("none")
    if kind == 1:
        return header_for("xor", rng.randrange(256))
    if kind == 2:
        return header_for("indexed", rng.randrange(256))
    h = bytearray(rng.randrange(256) for _ in range(32))
    h[1:11] = MAGIC
    if kind == 3:  # a header of the indexed scheme with arbitrary indexes
        h[11] = ord("5")
        h[26:30] = bytes(rng.choice([0, 1, 2, 5, 11, 12, 200]) for _ in range(4))
    if rng.random() < 0.2:
        h[20] = h[21] = 0x20
    return bytes(h)


def random_piece(rng):
    r = rng.randrange(22)
    if r == 0:
        return b"@" + bytes([rng.randrange(0x21, 0xFF)])
    if r == 1:
        return b"@" + bytes([rng.choice(USER_FUNCTION_CODES), rng.randrange(256), rng.randrange(3)])
    if r == 2:
        return b"@" + bytes([rng.choice([0x00, 0x09, 0x20, 0xFF])])
    if r == 3:
        return rng.choice([b"$", b"%", b"&", b"!"]) + bytes([rng.randrange(0x7F, 0xCC)])
    if r == 4:
        return rng.choice([b"$", b"%", b"&", b"!"]) + b"{"
    if r == 5:
        return b'"'
    if r == 6:
        return rng.choice([b"{", b"}", b"{CLS}", b"{0x05}"])
    if r == 7:
        return rng.choice([b"\\x", b"\\x41", b"\\", b"\\n", b"\\X1"])
    if r == 8:
        return rng.choice([b":", b"::", b":::"])
    if r == 9:
        return bytes([rng.choice([0x81, 0x82])])
    if r == 10:
        return rng.choice([b"(", b")", b"[", b"]", b"),"])
    if r == 11:
        return rng.choice([b"<", b">", b"<L1>", b"<12>"])
    if r == 12:
        return b" " * rng.randrange(1, 4)
    if r == 13:
        return bytes([rng.choice([0x81, 0x8D, 0x8F, 0x90, 0x9D, 0xA0, 0xAD, 0x7F, 0x0A, 0x0D, 0x00])])
    if r == 14:
        return bytes([rng.randrange(0x80, 0x100)])
    if r == 15:
        return bytes([rng.randrange(0x20, 0x7F)])
    if r == 16:
        return b";"
    if r in (17, 18):
        return bytes(rng.randrange(256) for _ in range(rng.randrange(1, 6)))
    return rng.choice([b"A%", b"X$", b",", b"1", b"@\x81", b"@\xab)", b'"a:b"'])


def random_line(rng):
    if rng.random() < 0.05:
        return b""
    r = rng.random()
    if r < 0.3:
        token = rng.choice([0x81, 0x82])
    elif r < 0.5:
        token = rng.choice(PROC_CALL_TOKENS)
    else:
        token = rng.randrange(256)
    line = bytearray([token])
    target = rng.choice([0, 1, 2, 3, rng.randrange(254)])
    while len(line) < target:
        line += random_piece(rng)
    return bytes(line[:254])


def random_program(rng):
    count = rng.choice([0, 1, 2, rng.randrange(3, 12), rng.randrange(12, 70)])
    return program_file([random_line(rng) for _ in range(count)], random_header(rng))


def sweep_program():
    """Every token, every function code with and without a reference, every system
    variable with every type character, every byte value in and out of quotes."""
    lines = []
    for t in range(256):
        lines.append(bytes([t, 0x05, 0x00]) + b"1,2")
    for code in range(0x21, 0xFF):
        lines.append(b"\x40@" + bytes([code]) + b"\x03\x00x)")
        lines.append(b"\x40@" + bytes([code]))
    for code in range(0x80, 0xCB):
        lines.append(b"\xa2" + b"".join(c + bytes([code]) for c in (b"$", b"%", b"&", b"!")))
    for code in USER_FUNCTION_CODES:
        # The code byte can close the level "@" opened, so that the colon among the
        # reference bytes ends the condition and the next reference byte is a token.
        lines.append(b"\x81@" + bytes([code]) + b":\x05\x01\x00")
        lines.append(b"\x82@" + bytes([code]) + b"::\x05\x01\x00")
    lines.append(b"\xa2" + bytes(range(0, 128)))
    lines.append(b"\xa2" + bytes(range(128, 256)))
    lines.append(b'\xa2"' + bytes(range(0x20, 0x80)) + b'"')
    return program_file(lines, header_for("xor", 0x77))


class RoundTripTest(MorvenTestCase):
    def assert_round_trip(self, data, tool, name):
        proc = tool.dis(data, name)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        listing = proc.stdout
        back = tool.asm_ok(listing, name + "_back")
        if back != data:
            self.fail("round trip changed %s\nlisting:\n%s\noriginal: %s\nback:     %s"
                      % (name, listing.decode("utf-8", "replace"), data.hex(), back.hex()))

    def test_random_programs_survive_dis_then_asm(self):
        rng = random.Random(20240611)
        tool = Tool(self)
        for i in range(300):
            self.assert_round_trip(random_program(rng), tool, "random%d" % i)

    def test_every_token_code_and_byte_survives(self):
        self.assert_round_trip(sweep_program(), Tool(self), "sweep")

    def test_listing_is_stable(self):
        # dis of the re-assembled file prints the same listing again.
        tool = Tool(self)
        rng = random.Random(7)
        for i in range(20):
            first = tool.dis(random_program(rng), "a%d" % i).stdout
            again = tool.dis(tool.asm_ok(first, "b%d" % i), "c%d" % i).stdout
            self.assertEqual(first, again)

    def test_more_than_loader_limit_is_warned_not_refused(self):
        tool = Tool(self)
        proc, out = tool.asm(".key xor 0x11\n" + "NOP\n" * 32768)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        self.assertIn(b"warning", proc.stderr)
        self.assertIn(b"32768", proc.stderr)
        with open(out, "rb") as f:
            data = f.read()
        self.assertEqual(data, program_file([b"\x27"] * 32768, header_for("xor", 0x11)))
        proc = tool.dis(data, "big")
        self.assertEqual(proc.returncode, 0)
        self.assertIn(b"warning", proc.stderr)


# ---------------------------------------------------------------------------------------

NONE = header_for("none")
# Indexed scheme, I1..I4 = 1, 3, 2, 12: key = (P22 | 0) & (P20 | P21) = 0xF0 & 0x3F = 0x30.
INDEXED_HEADER = b" ZOX-MORVEN5" + b" " * 8 + b"\x0f\x3c\xf0" + b" " * 3 + b"\x01\x03\x02\x0c" + b"  "
# Blanks in bytes 20 and 21: no scrambling, whatever byte 11 and the indexes hold.
BLANK_KEY_HEADER = b"\x00ZOX-MORVEN5" + b"A" * 8 + b"  " + b"AAAA" + b"\x01\x01\x01\x01" + b"AA"

# (what, listing, header, unscrambled line payloads)
ASM_CASES = [
    ("function with arguments", "PRINT @ADD(1,2)", NONE, [b"\xa2@\x811,2)"]),
    ("function without arguments", "EVAL @PI()", NONE, [b"\x40@\xab)"]),
    ("function names ignore case", "EVAL @concat(@Len(A$),\"x\")", NONE, [b"\x40@\x92@\x96A$),\"x\")"]),
    ("user function by line", "x:\nDEFFN 1234 1)@PARI(1)\nPRINT @FN22<x>(5)",
     NONE, [b"\x831234 1)@\x251)", b"\xa2@\x22\x01\x005)"]),
    ("user function, number reference", "PRINT @FND9<513>()", NONE, [b"\xa2@\xd9\x01\x02)"]),
    ("user function without reference", "PRINT @FN60(1)", NONE, [b"\xa2@\x601)"]),
    ("system variables", "LET A% = %{ERRORSTATE}\nPRINT ${VERSION};&{ticks};!{LASTERROR}",
     NONE, [b"\xceA% = %\x94", b"\xa2$\xc4;&\xc0;!\xbb"]),
    ("nothing is a construct inside quotes", 'PRINT "@ADD(%{ERRORSTATE}"',
     NONE, [b'\xa2"@ADD(%{ERRORSTATE}"']),
    ("a quote from an escape counts", 'PRINT \\x22@ADD(\\x22@ADD(1,2)',
     NONE, [b'\xa2"@ADD("@\x811,2)']),
    ("@ before a non-name is a plain @", "PRINT a@ b@\\x01 @",
     NONE, [b"\xa2a@ b@\x01 @"]),
    ("procedure call with label", "top:\n0x05 <top>1,\"a\"\nCALL <top>\nCALL <65535>",
     NONE, [b"\x05\x01\x001,\"a\"", b"\xff\x01\x00", b"\xff\xff\xff"]),
    ("labels name the next statement", "; c\na:\nb:\n\nNOP\n.empty\nc:\nCALL <b>\nCALL <c>",
     NONE, [b"\x27", b"", b"\xff\x01\x00", b"\xff\x03\x00"]),
    ("a reference only after a call token", "top:\nPRINT <top>", NONE, [b"\xa2<top>"]),
    ("escapes", "PRINT \\x00\\xff\\xAb|\\x5Cx41|\\n|\\", NONE, [b"\xa2\x00\xff\xab|\\x41|\\n|\\"]),
    ("Windows-1252 text", "PRINT \"äß€…\"", NONE, [b"\xa2\"\xe4\xdf\x80\x85\""]),
    ("prefix with inner token", "IF @NE(A%,0):{PRINT} \"x\"", NONE, [b"\x81@\x89A%,0):\xa2 \"x\""]),
    ("prefix with doubled colon and hex token", "IFNOT 1::{0x05}", NONE, [b"\x821::\x05"]),
    ("nested prefixes", "IF 1:{IFNOT} 0:{END}", NONE, [b"\x811:\x82 0:\xbf"]),
    ("braces elsewhere are text", "PRINT {CLS}\nIF \"a:\"{x}:{CLS}", NONE, [b"\xa2{CLS}", b"\x81\"a:\"{x}:\x90"]),
    ("one blank separates, more are text", "PRINT   x \n   CLS", NONE, [b"\xa2  x ", b"\x90"]),
    ("hex mnemonics and the ENDWHILE spelling", "0xa2 1\nendwhile\nDIM$ 10", NONE,
     [b"\xa21", b"\x8a", b"\xcb10"]),
    ("empty records", ".empty\n.empty", NONE, [b"", b""]),
    ("xor key scrambles the lines", ".key xor 0x5A\nPRINT 1", header_for("xor", 0x5A), [b"\xa21"]),
    ("indexed key scrambles the lines", "PRINT 1\n.key indexed 0xC3", header_for("indexed", 0xC3), [b"\xa21"]),
    ("explicit header, indexed",
     ".header " + " ".join("%02X" % b for b in INDEXED_HEADER) + "\nPRINT 1", INDEXED_HEADER, [b"\xa21"]),
    ("explicit header, blank key bytes",
     ".header " + " ".join("%02x" % b for b in BLANK_KEY_HEADER) + "\nCLS", BLANK_KEY_HEADER, [b"\x90"]),
]


class AssembleTest(MorvenTestCase):
    def test_listings_give_expected_bytes(self):
        tool = Tool(self)
        for i, (what, listing, header, lines) in enumerate(ASM_CASES):
            with self.subTest(what):
                self.assertEqual(tool.asm_ok(listing + "\n", "case%d" % i).hex(),
                                 program_file(lines, header).hex())

    def test_key_derivation_of_explicit_headers(self):
        # The key the tool scrambles with is the one the loader derives (reference above).
        rng = random.Random(99)
        tool = Tool(self)
        for i in range(30):
            h = bytearray(rng.randrange(256) for _ in range(32))
            h[1:11] = MAGIC
            if i % 3 == 0:
                h[11] = ord("5")
                h[26:30] = bytes(rng.randrange(14) for _ in range(4))
            listing = ".header " + " ".join("%02X" % b for b in h) + "\nPRINT \"abc\"\n"
            with self.subTest(header=h.hex()):
                self.assertEqual(tool.asm_ok(listing, "h%d" % i), program_file([b'\xa2"abc"'], bytes(h)))

    def test_crlf_and_byte_order_mark(self):
        data = Tool(self).asm_ok("\ufeffL:\r\nPRINT 1\r\nCALL <L>\r\n".encode("utf-8"))
        self.assertEqual(data, program_file([b"\xa21", b"\xff\x01\x00"]))


# (what, listing, listing line of the error, part of the message)
ERROR_CASES = [
    ("unknown mnemonic", "CLS\nFROB 1", 2, "unknown mnemonic 'FROB'"),
    ("unknown label", "0x05 <nowhere>", 1, "unknown label 'nowhere'"),
    ("unknown label in function", "PRINT @FN22<nowhere>(1)", 1, "unknown label 'nowhere'"),
    ("bad reference", "CALL <1 2>", 1, "bad line reference"),
    ("reference too large", "CALL <65536>", 1, "does not fit"),
    ("bad escape", "PRINT \\xZZ", 1, "bad escape"),
    ("short escape", "PRINT \\x4", 1, "bad escape"),
    ("line too long", "PRINT " + "a" * 254, 1, "255 bytes"),
    ("unrepresentable character", "\nPRINT \"\u2192\"", 2, "Windows-1252"),
    ("unknown function", "PRINT @NOSUCH(1)", 1, "unknown function '@NOSUCH'"),
    ("function without parenthesis", "PRINT @ADD 1,2)", 1, "'(' expected"),
    ("built-in function with reference", "PRINT @ADD<1>(1,2)", 1, "takes no line reference"),
    ("unknown system variable", "PRINT %{NOSUCH}", 1, "unknown system variable"),
    ("unterminated system variable", "PRINT %{ERRORSTATE", 1, "unterminated"),
    ("unknown inner token", "IF 1:{FROB}", 1, "unknown mnemonic 'FROB'"),
    ("duplicate label", "a:\nCLS\na:\nCLS", 3, "defined twice"),
    ("label at the end", "CLS\nend:", 2, "not followed by a statement"),
    ("second header", ".key none\n.key xor 0x01", 2, "second .key"),
    ("bad key", ".key xor 5A", 1, "bad key"),
    ("bad key scheme", ".key rot13", 1, "expected .key none"),
    ("short header", ".header 20 5A", 1, "32 hex bytes"),
    ("bad header byte", ".header " + " ".join(["2G"] * 32), 1, "bad header byte"),
    ("unknown directive", ".org 100", 1, "unknown directive"),
    ("text after .empty", ".empty 1", 1, ".empty takes nothing"),
    ("tab after mnemonic", "PRINT\t1", 1, "one blank separates"),
]


class AssembleErrorTest(MorvenTestCase):
    def test_faulty_listings_are_refused(self):
        tool = Tool(self)
        for i, (what, listing, line, message) in enumerate(ERROR_CASES):
            with self.subTest(what):
                proc, out = tool.asm(listing + "\n", "bad%d" % i)
                stderr = proc.stderr.decode("utf-8", "replace")
                self.assertEqual(proc.returncode, 1, stderr)
                self.assertIn("bad%d.mva:%d: " % (i, line), stderr)
                self.assertIn(message, stderr)
                self.assertFalse(os.path.exists(out), "no output after an error")

    def test_every_faulty_line_is_reported(self):
        proc, _ = Tool(self).asm("FROB\nCLS\nPRINT @NOSUCH()\nCALL <x>\n")
        stderr = proc.stderr.decode()
        self.assertEqual(proc.returncode, 1)
        for line in (1, 3, 4):
            self.assertIn("prog.mva:%d: " % line, stderr)
        self.assertNotIn("prog.mva:2: ", stderr)

    def test_usage_errors(self):
        tool = Tool(self)
        self.assertEqual(tool.run("asm", self.path("missing.mva"), self.path("x.mvc")).returncode, 1)
        self.assertEqual(tool.run("asm").returncode, 2)
        self.assertEqual(tool.run("frob").returncode, 2)
        proc = tool.run("--help")
        self.assertEqual(proc.returncode, 0)
        self.assertIn(b"morven asm", proc.stdout)


# (what, line payloads, expected statement lines of the listing)
DIS_CASES = [
    ("names of tokens, functions, system variables",
     [b"\xa2@\x811,%\x94)", b"\x40@\xab)", b"\xbf"], ["PRINT @ADD(1,%{ERRORSTATE})", "EVAL @PI()", "END"]),
    ("calls get labels for lines in range",
     [b"\x05\x02\x00a", b"\xff\x09\x00", b"\xa2@\x22\x01\x00)"],
     ["L1:", "0x05 <L2>a", "L2:", "CALL <9>", "PRINT @FN22<L1>()"]),
    ("too short for a reference", [b"\xff<", b"\xa2@\x2a\x01"], [r"CALL \x3C", r"PRINT @FN2A(\x01"]),
    ("prefix tokens", [b"\x811::\x82 0:\x05\x01\x00"], [r"IF 1::{IFNOT} 0:{0x05}\x01\x00"]),
    ("escapes", [b"\xa2\x00\\x\\n\xa0 {${ "], [r"PRINT \x00\x5Cx\n\xA0 {$\x7B\x20"]),
    ("reference bytes that hold the inner token", [b"\x81@\x29:\x05\x01\x00", b"\x81@\x29::\x05"],
     [r"IF @FN29(:{0x05}\x01\x00", r"IF @FN29<14906>({0x05}"]),
    ("@ before a non-code", [b"\xa2@ @\xff@"], [r"PRINT @\x20@\xFF@"]),
    # a code byte that happens to be '"' (user function 0x22) opens no quotes: what
    # follows is still names, up to the real quote, inside which "@" is plain text
    ("quotes from code bytes", [b"\xa2@\x22\x20\x20@\x81%\x94\"@\x81)"],
     ["PRINT @FN22<8224>(@ADD(%{ERRORSTATE}\"@\\x81)"]),
    ("blocks are indented", [b"\x851", b"\x90", b"\x86", b"\x880", b"\x90", b"\x8a", b"\x84", b"\x8c"],
     ["IFBLOCK 1", "  CLS", "ELSE", "  WHILE 0", "    CLS", "  WEND", "ENDIF", "ENDPROC"]),
]


class DisassembleTest(MorvenTestCase):
    def test_listing_text(self):
        tool = Tool(self)
        for i, (what, lines, expected) in enumerate(DIS_CASES):
            with self.subTest(what):
                proc = tool.dis(program_file(lines), "d%d" % i)
                self.assertEqual(proc.returncode, 0, proc.stderr)
                text = proc.stdout.decode("utf-8")
                body = [l for l in text.split("\n") if l and not l.startswith((";", "."))]
                self.assertEqual(body, expected)

    def test_header_forms(self):
        tool = Tool(self)
        cases = [
            (header_for("none"), ".key none"),
            (header_for("xor", 0x20), ".key xor 0x20"),
            (header_for("indexed", 0), ".key indexed 0x00"),
            (b"\x00" + header_for("none")[1:], ".header 00 5A 4F 58"),
        ]
        for header, expected in cases:
            with self.subTest(expected):
                text = tool.dis(program_file([b"\x90"], header)).stdout.decode()
                self.assertIn("\n" + expected, text)
        text = tool.dis(program_file([], b"\x00" + header_for("xor", 0x42)[1:])).stdout.decode()
        self.assertIn("; key scheme xor, key 0x42", text)

    def test_unloadable_files_are_refused(self):
        tool = Tool(self)
        good = program_file([b"\x90", b"\xa21"])
        cases = [
            ("shorter than a header", good[:31], "shorter"),
            ("wrong magic", good[:1] + b"ZOX-MORVEM" + good[11:], "ZOX-MORVEN"),
            ("ends inside a record", good[:-1], "ends inside line 2"),
            ("record of length 255", good + b"\xff" + b"x" * 255, "length 255"),
        ]
        for what, data, message in cases:
            with self.subTest(what):
                proc = tool.dis(data)
                self.assertEqual(proc.returncode, 1)
                self.assertIn(message, proc.stderr.decode())
                self.assertEqual(proc.stdout, b"")
        self.assertEqual(tool.run("dis", self.path("missing.mvc")).returncode, 1)

    def test_output_file(self):
        tool = Tool(self)
        src = self.write("p.mvc", program_file([b"\xbf"]))
        proc = tool.run("dis", src, self.path("p.mva"))
        self.assertEqual(proc.returncode, 0)
        self.assertEqual(proc.stdout, b"")
        with open(self.path("p.mva"), encoding="utf-8") as f:
            self.assertIn("\nEND\n", f.read())


SOURCE_DIR = os.environ.get("MORVEN_SOURCE_DIR",
                            os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))


def read_source(*parts):
    with open(os.path.join(SOURCE_DIR, *parts), encoding="utf-8") as f:
        return f.read()


def documented_names(doc, section):
    """(byte, name) pairs of a name table of docs/listing.md."""
    text = doc.split("## " + section + "\n")[1].split("\n## ")[0]
    pairs = []
    for row in text.split("\n"):
        cells = [c.strip() for c in row.strip().strip("|").split("|")]
        for code, name in zip(cells[0::2], cells[1::2]):
            if code.startswith("0x") and name.startswith("`"):
                pairs.append((int(code, 16), name.strip("`")))
    return pairs


class DocumentationTest(MorvenTestCase):
    def test_documented_example_is_what_dis_prints(self):
        doc = read_source("docs", "listing.md")
        example = doc.split("## Example\n\n```\n")[1].split("```")[0]
        tool = Tool(self)
        proc = tool.dis(tool.asm_ok(example))
        self.assertEqual(proc.stdout.decode("utf-8"), example)

    def test_tour_example_assembles_and_survives(self):
        tool = Tool(self)
        data = tool.asm_ok(read_source("examples", "listing_tour.mva"))
        self.assertEqual(data[20:22], b"\x5a\x00")
        self.assertEqual(tool.asm_ok(tool.dis(data).stdout, "again"), data)

    def test_documented_names_assemble_to_their_bytes(self):
        doc = read_source("docs", "listing.md")
        tokens = documented_names(doc, "Token mnemonics")
        functions = documented_names(doc, "Function names")
        variables = documented_names(doc, "System variable names")
        # every token with a handler, and 0xFF; every function code; every variable code
        self.assertEqual(len(tokens), 256 - len(PROC_CALL_TOKENS) + 1)
        self.assertEqual(sorted(c for c, _ in functions), list(range(0x21, 0xFF)))
        self.assertEqual(sorted(c for c, _ in variables), list(range(0x81, 0xCA)))
        listing = "".join(name + "\n" for _, name in tokens)
        listing += "".join("EVAL @%s()\n" % name for _, name in functions)
        listing += "".join("EVAL %%{%s}\n" % name for _, name in variables)
        expected = [bytes([t]) for t, _ in tokens]
        expected += [b"\x40@" + bytes([c]) + b")" for c, _ in functions]
        expected += [b"\x40%" + bytes([c]) for c, _ in variables]
        self.assertEqual(Tool(self).asm_ok(listing), program_file(expected))


if __name__ == "__main__":
    main()
