"""Error reporting and the main loop: box layout, the four error modes, warnings
answered with OK and Cancel, the prefixes, the end command, and what the runtime
does with commands it does not have yet."""
from harness import MorvenTestCase, main, mvc_bytes

ICON_ERROR, ICON_WARNING, OK_CANCEL = 0x10, 0x30, 0x01
WARN = b"\x40abc"          # warning 214 "Keine Zahl: ABC"
FATAL = b"\x40"            # error 212 "Zu wenig Parameter!" (0x40 needs an argument)
END = b"\xbf"
NOP = b"\xfe"


def mode(n):
    return b"\xef" + str(n).encode()


class ErrorBoxes(MorvenTestCase):
    def run_lines(self, lines, script=None):
        return self.run_program([self.write("p.mvc", mvc_bytes(lines))], script=script)

    def test_fatal_error_box_layout(self):
        result = self.run_lines([NOP] * 6 + [FATAL, WARN])
        self.assertExit(result, 0)
        self.assertEqual(result.boxes, [{"event": "box", "caption": "Zu wenig Parameter!",
                                         "text": "Zeile      7!", "style": ICON_ERROR, "answer": 1}])

    def test_warning_ok_continues_and_cancel_ends_with_a_second_box(self):
        ok = self.run_lines([WARN, FATAL])
        self.assertExit(ok, 0)
        self.assertEqual([(b["caption"], b["text"], b["style"]) for b in ok.boxes],
                         [("Keine Zahl: ABC", "Zeile      1!", ICON_WARNING | OK_CANCEL),
                          ("Zu wenig Parameter!", "Zeile      2!", ICON_ERROR)])
        cancel = self.run_lines([NOP, WARN, FATAL], script="answer CANCEL\n")
        self.assertExit(cancel, 0)
        self.assertEqual([(b["caption"], b["text"], b["answer"]) for b in cancel.boxes],
                         [("Keine Zahl: ABC", "Zeile      2!", 2),
                          ("Programm abgebrochen!", "Zeile      2!", 1)])

    def test_error_modes(self):
        cases = [
            # mode, expected boxes (caption, style, line text)
            ("strict", 2, [("Keine Zahl: ABC", ICON_ERROR, "Zeile      2!")]),
            ("silent warnings 0", 0, [("Zu wenig Parameter!", ICON_ERROR, "Zeile      3!")]),
            ("silent warnings 3", 3, [("Zu wenig Parameter!", ICON_ERROR, "Zeile      3!")]),
            ("silent", -1, []),
        ]
        for name, n, boxes in cases:
            with self.subTest(name):
                result = self.run_lines([mode(n), WARN, FATAL, WARN])
                self.assertExit(result, 0)
                self.assertEqual([(b["caption"], b["style"], b["text"]) for b in result.boxes], boxes)

    def test_silent_mode_abandons_the_statement_and_goes_on(self):
        # the fatal errors in lines 2 and 3 show nothing and the run goes on to line 5,
        # where normal mode reports the next error
        result = self.run_lines([mode(-1), FATAL, b'\xa3"x"', mode(1), FATAL])
        self.assertExit(result, 0)
        self.assertEqual([(b["caption"], b["text"]) for b in result.boxes],
                         [("Zu wenig Parameter!", "Zeile      5!")])

    def test_caption_is_cut_at_255_bytes(self):
        result = self.run_lines([b"\x40" + b"x" * 253])
        caption = result.boxes[0]["caption"]
        self.assertEqual(len(caption), 255)
        self.assertTrue(caption.startswith("Keine Zahl: XXX"))

    def test_wrong_parameter_type(self):
        result = self.run_lines([b'\xa3"six"'])
        self.assertEqual(result.boxes[0]["caption"], "Falscher Parametertyp: six")


class MainLoop(MorvenTestCase):
    def run_lines(self, lines, script=None):
        return self.run_program([self.write("p.mvc", mvc_bytes(lines))], script=script)

    def captions(self, result):
        return [b["caption"] for b in result.boxes]

    def test_prefixes(self):
        cases = [
            ("true runs", b"\x811:" + WARN, ["Keine Zahl: ABC"]),
            ("false skips", b"\x810:" + WARN, []),
            ("only the integer form counts", b"\x810.5:" + WARN, []),
            ("double colon", b"\x811::" + WARN, ["Keine Zahl: ABC"]),
            ("if-not", b"\x820:" + WARN, ["Keine Zahl: ABC"]),
            ("if-not true skips", b"\x82-1:" + WARN, []),
            ("if then if-not", b"\x811:\x820:" + WARN, ["Keine Zahl: ABC"]),
            ("empty statement", b"\x811:", []),
            # a string condition keeps the integer form of the value before it (1 here),
            # and the colon inside the quotes does not end the condition
            ("quoted colon", [b"\x401", b'\x81"a:b":' + WARN], ["Keine Zahl: ABC"]),
        ]
        for name, line, captions in cases:
            with self.subTest(name):
                lines = line if isinstance(line, list) else [line]
                result = self.run_lines(lines + [END, FATAL])
                self.assertExit(result, 0)
                self.assertEqual(self.captions(result), captions)

    def test_end_command_stops_before_the_next_line(self):
        result = self.run_lines([NOP, END, FATAL])
        self.assertExit(result, 0)
        self.assertEqual(result.boxes, [])

    def test_evaluate_first_argument_ignores_the_rest(self):
        result = self.run_lines([b"\x5a1,abc", b"\x5aabc,1", END])
        self.assertEqual(self.captions(result), ["Keine Zahl: ABC"])
        self.assertEqual(result.boxes[0]["text"], "Zeile      2!")

    def test_commands_not_available_yet_fail_loudly(self):
        for name, line, words in [("command", b"\xb1", b"0xB1"),
                                  ("function", b"\x40@\x33)", b"0x33"),
                                  ("system variable", b"\x40%\x8d", b"0x8D"),
                                  ("second line", [b"\xcca%", b"\xb1"], b"0xB1")]:
            with self.subTest(name):
                result = self.run_lines(line if isinstance(line, list) else [line])
                self.assertExit(result, 3)
                self.assertIn(words, result.stderr)
                self.assertIn(b"line %d" % (len(line) if isinstance(line, list) else 1), result.stderr)


class ExitFiles(MorvenTestCase):
    def test_screen_text_of_a_program_that_never_printed(self):
        prog = self.write("p.mvc", mvc_bytes([FATAL]))
        result = self.run_program([prog], env={"MORVEN_SCREEN_TEXT": "screen.txt"})
        self.assertExit(result, 0)
        with open(self.path("screen.txt"), encoding="utf-8") as f:
            self.assertEqual(f.read(), (" " * 80 + "\n") * 32)


class Script(MorvenTestCase):
    def test_lines_that_do_not_fit_end_the_run_with_code_3(self):
        prog = self.write("p.mvc", mvc_bytes([WARN, END]))
        for script in ["answer YES\n", "type abc\n", "file x.mvc\n", "menu 5\n"]:
            with self.subTest(script):
                result = self.run_program([prog], script=script)
                self.assertExit(result, 3)
                self.assertIn(b"does not fit", result.stderr)

    def test_comments_waits_and_answers(self):
        prog = self.write("p.mvc", mvc_bytes([WARN, WARN]))
        result = self.run_program([prog], script="# a comment\nwait 10\nanswer 1\nanswer OK\n")
        self.assertExit(result, 0)
        self.assertEqual([b["answer"] for b in result.boxes], [1, 1])

    def test_malformed_script_is_refused_at_start(self):
        prog = self.write("p.mvc", mvc_bytes([END]))
        for script in ["jump 3\n", "answer MAYBE\n", "key\n", "click 1\n"]:
            with self.subTest(script):
                result = self.run_program([prog], script=script)
                self.assertExit(result, 3)
                self.assertIn(b"MORVEN_INPUT line 1", result.stderr)


if __name__ == "__main__":
    main()
