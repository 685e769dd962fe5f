"""The language core end to end: variables and scope, control flow, procedures,
assignment and counters, arrays and area variables, numeric and user-defined
functions, the system variables of the core."""
from harness import main
from interp import ListingTestCase, show


class Variables(ListingTestCase):
    def test_declaration_lookup_and_scope(self):
        self.assertEqual(self.values([
            "DECLARE a%, b$ , c!, d&",
            "LET A% = 7",
            "DECLARE A%",           # a second entry hides the first
            "LET a% = 8",
            show("A%"),
            "LET B$ = \"x\"",
            show("b$"),
            "LET C! = 2.5", show("C!"),
            "LET D& = -2147483648", show("D&"),
        ]), ["8", "x", "2.500000", "-2147483648"])

    def test_locals_and_parameters_disappear_after_the_return(self):
        self.assertEqual(self.values([
            "DECLARE G%, X$",
            "LET G% = 1",
            "LET X$ = \"global\"",
            "CALL <p>5,\"arg\",2.5",
            show("G%"), show("X$"),
            "END",
            "p:",
            "PROC",
            "PARAMS G%, X$, C%",
            show("G%"), show("X$"), show("C%"),
            "LET G% = 99",
            "ENDPROC",
        ]), ["5", "arg", "2", "1", "global"])

    def test_missing_parameters_keep_earlier_slot_values(self):
        self.assertEqual(self.values([
            "CALL <p>1,2,3",
            "CALL <p>7",
            "END",
            "p:",
            "PROC",
            "PARAMS A%, B%, C%",
            show("A%"), show("C%"), show("%{ARGCOUNT}"),
            "ENDPROC",
        ]), ["1", "3", "3", "7", "3", "1"])

    def test_name_errors(self):
        cases = [
            ("DECLARE A", "Variablenbezeichner fehlerhaft: A"),
            ("DECLARE A B%", "Variablenbezeichner fehlerhaft: A B%"),
            ("DECLARE X#[3]", "Variablenbezeichner fehlerhaft: X#"),
            ("DECLARE X%]", "Variablenbezeichner fehlerhaft: X%]"),
            ("DECLARE", "Variablenbezeichner fehlerhaft: "),
            ("DECLARE " + "N" * 32 + "%", "Variablenname zu lang: " + "N" * 32 + "%"),
            ("LET Q% = 1", "Variable nicht declariert: Q%"),
            ("LET Q = 1", "Variable nicht declariert: Q"),
            ("INC Q", "Integer-Variable erwartet!"),
            ("INC Q%", "Variable nicht declariert: Q%"),
        ]
        for line, caption in cases:
            with self.subTest(line):
                self.assertEqual(self.error([line]), (caption, "Zeile      2!"))
        self.assertEqual(self.values(["DECLARE " + "N" * 31 + "%", show("N" * 31 + "%")]), ["0"])

    def test_reading_an_undeclared_variable_warns(self):
        result = self.run_body(["EVAL NOPE%", "END"])
        self.assertEqual(result.boxes[0]["caption"], "Variable nicht declariert: NOPE%")

    def test_table_limit(self):
        result = self.run_body(["DECLARE I%", "LET I% = 0", "WHILE @LT(I%,500)", "DECLARE V%", "INC I%", "WEND"])
        self.assertEqual(result.boxes[0]["caption"], "Speicher f\u00fcr Integer-Variablen ersch\u00f6pft!")
        self.assertEqual(result.boxes[0]["text"], "Zeile      5!")


class ControlFlow(ListingTestCase):
    def test_conditional_blocks(self):
        cases = [
            ("IFBLOCK 1", ["then"]), ("IFBLOCK 0", ["else"]), ("IFBLOCK 0.5", ["else"]),
            ("IFNOTBLOCK 0", ["then"]), ("IFNOTBLOCK 1", ["else"]),
        ]
        for head, expected in cases:
            with self.subTest(head):
                self.assertEqual(self.values([head, show('"then"'), "ELSE", show('"else"'), "ENDIF"]), expected)

    def test_else_if_chains(self):
        body = lambda head: [head, show('"a"'), "ELSEIF 0", show('"b"'), "ELSEIF 1", show('"c"'),
                             "ELSEIF 1", show('"d"'), "ELSE", show('"e"'), "ENDIF", show('"after"')]
        self.assertEqual(self.values(body("IFBLOCK 0")), ["c", "after"])
        self.assertEqual(self.values(body("IFBLOCK 1")), ["a", "after"])
        # a skipped IFNOTBLOCK stops at an else-if whose condition is true, not false
        self.assertEqual(self.values(body("IFNOTBLOCK 1")), ["c", "after"])

    def test_nested_blocks_are_counted_per_kind(self):
        self.assertEqual(self.values([
            "IFBLOCK 0",
            "WHILE 1", "IFBLOCK 1", "ELSE", "ENDIF", "WEND",
            "ELSE", show('"outer else"'), "ENDIF",
            "WHILE 0", "IFBLOCK 1", "WHILE 1", "WEND", "ENDIF", "WEND", show('"done"'),
        ]), ["outer else", "done"])

    def test_loops(self):
        self.assertEqual(self.values([
            "DECLARE I%, J%, S$",
            "LET I% = 0",
            "WHILE @LT(I%,3)",
            "LET J% = 0",
            "WHILENOT @EQ(J%,2)", "LET S$ = S$;I%;J%", "INC J%", "WEND",
            "INC I%",
            "WEND",
            show("S$"),
        ]), ["000110112021"])

    def test_labels_jumps_and_subroutines(self):
        self.assertEqual(self.values([
            "GOSUB \"sub\"",
            "GOTO \"ab\"",
            show('"skipped"'),
            "NOP ABC:",
            show('"abc"'),
            "NOP AB:",
            show('"ab"'),
            "END",
            "NOP Sub: the subroutine",
            show('"in sub"'),
            "RETURN",
        ]), ["in sub", "ab"])

    def test_return_value_in_slot_zero(self):
        self.assertEqual(self.values([
            "DECLARE I%, F!",
            "CALL <f>",
            show("@PARS(0)"),
            "LET I% = @PARI(0)", show("I%"),
            "LET F! = @PARF(0)", show("F!"),
            "END",
            "f:", "PROC", "RETURN 2.75", "ENDPROC",
        ]), ["2.75", "2", "2.750000"])

    def test_errors(self):
        cases = [
            (["IFBLOCK 0", "NOP"], "ENDIF bzw. ELSE nicht gefunden!", "Zeile      3!"),
            (["IFNOTBLOCK 1"], "ENDIF nicht gefunden!", "Zeile      2!"),
            (["IFBLOCK 1", "ELSE"], "ENDIF nicht gefunden!", "Zeile      3!"),
            (["WHILE 0"], "ENDWHILE bzw. WEND nicht gefunden!", "Zeile      2!"),
            (["WEND"], "WHILE fehlt!", "Zeile      2!"),
            (["RETURN"], "GOSUB/PROC fehlt!", "Zeile      2!"),
            (["ENDPROC"], "PROC fehlt!", "Zeile      2!"),
            (["GOTO \"nowhere\""], "Label nicht gefunden: NOWHERE:", "Zeile      2!"),
            (["PROC", "NOP"], "ENDPROC nicht gefunden!", "Zeile      3!"),
            (["NOP L:", "WHILE 1", "GOTO \"L\""], "Zu tiefe WHILE-Verschachtelung!", "Zeile      3!"),
            (["NOP L:", "GOSUB \"L\""], "Zu tiefe GOSUB/PROC-Verschachtelung!", "Zeile      3!"),
        ]
        for lines, caption, text in cases:
            with self.subTest(caption):
                self.assertEqual(self.error(lines), (caption, text))

    def test_call_depth_150_works(self):
        self.assertEqual(self.values([
            "DECLARE N%", "LET N% = 0", "GOSUB \"down\"", show("N%"), "END",
            "NOP down:", "INC N%", "IF @LT(N%,150):{GOSUB}\"down\"", "RETURN",
        ]), ["150"])


class Assignment(ListingTestCase):
    def test_string_concatenation(self):
        self.assertEqual(self.values([
            "DECLARE S$, N%, F!",
            "LET N% = 42",
            "LET F! = 1.5",
            "LET S$ = \"a\",\"b\"", show("S$"),
            "LET S$ = \"a\";\"b\"+\"c\"", show("S$"),
            "LET S$ = \"a\",", show("S$+\"|\""),
            "DECIMALS 2",
            "NUMBERWIDTH 5",
            "LET S$ = N%;F!;1.5", show("S$"),  # a literal keeps its own text
            "LET S$ = \"x=y\"", show("S$"),
        ]), ["a b", "abc", "a |", "   42 1.501.5", "x=y"])

    def test_numeric_stores(self):
        self.assertEqual(self.values([
            "DECLARE I%, F!, S$",
            "LET I% = 2.9", show("I%"),
            "LET I% = -2.9", show("I%"),
            "LET S$ = \"12abc\"",
            "LET I% = S$", show("I%"),
            "EVAL 5",
            "LET I% = \"text\"", show("I%"),   # a quoted string keeps the integer form
            "LET F! = 1E3", show("F!"),
        ]), ["2", "-2", "12", "5", "1000.000000"])

    def test_arithmetic_looking_text_is_a_warning(self):
        result = self.run_body(["DECLARE I%", "LET I% = 1 + 2"])
        self.assertEqual(result.boxes[0]["caption"], "Keine Zahl: 1 + 2")

    def test_counters_wrap(self):
        self.assertEqual(self.values([
            "DECLARE I%",
            "LET I% = 2147483647", "INC I%", show("I%"),
            "DEC I%", show("I%"),
            "ADDTO I%, 10", show("I%"),
            "SUBFROM i% ,@ADD(5,6)", show("I%"),
        ]), ["-2147483648", "2147483647", "-2147483639", "2147483646"])


class Arrays(ListingTestCase):
    def test_named_arrays(self):
        self.assertEqual(self.values([
            "DECLARE A%[2,3], B$[1], T&[1,1,1]",
            "LET A%[2,1] = 5",
            show("A%[2,1]"), show("A%[0,0]"),
            "LET B$[1] = \"one\"", show("B$[1]"),
            "LET T&[1,1,1] = 8", show("T&[1,1,1]"),
        ]), ["5", "0", "one", "8"])

    def test_same_name_arrays(self):
        body = ["DECLARE A%[10]", "DECLARE A%[5]"]
        self.assertEqual(self.values(body + ["LET A%[3] = 4", show("A%[3]")]), ["4"])
        for line in ["EVAL A%[8]", "LET A%[8] = 1", "EVAL A%[-1]"]:
            with self.subTest(line):
                self.assertEqual(self.error(body + [line]), ("Das Element gibt es nicht!", "Zeile      4!"))

    def test_array_errors(self):
        cases = [
            (["DECLARE A%[20000]", "DECLARE B%[20000]"], "Zu viele Elemente!"),
            (["DECLARE A%[1,2,3,4]"], "Maximal drei Dimensionen erlaubt!"),
            (["DIM% 9999", "DIM% 5"], "\"DIM%\" darf nur einmal verwandt werden!"),
            (["DIM$ 32768"], "Es sind lediglich 0 bis 9999 Elemente erlaubt!"),
            (["ARRAY% 0=1"], "Bereichsgrenze \u00fcberschritten: "),
            (["DIM! 3", "EVAL @ARRAYFLOAT(4)"], "Bereichsgrenze \u00fcberschritten: 3"),
        ]
        for lines, caption in cases:
            with self.subTest(caption):
                self.assertEqual(self.error(lines)[0], caption)

    def test_whole_arrays(self):
        self.assertEqual(self.values([
            "DIM% 32767", "DIM$ 2", "DIM! 1", "DIM& 0",
            "DECLARE I%, F!, L&",
            "ARRAY% 32767=9", "LET I% = @ARRAYINT(32767)", show("I%"),
            "ARRAY$ 2=\"two\"", show("@ARRAYSTR(2)"),
            "ARRAY! 1=0.25", "LET F! = @ARRAYFLOAT(1)", show("F!"),
            "ARRAY& 0=-7", "LET L& = @ARRAYLONG(0)", show("L&"),
            # the text form of a numeric element function is the highest index
            show("@ARRAYINT(5)"),
        ]), ["9", "two", "0.250000", "-7", "32767"])

    def test_area_variables(self):
        result = self.run_body([
            "DECLARE B#, C#",
            "DIMAREA B#, 4",
            "POKELONG B#, 0=305419896",
            "POKESTRZ b#, 2=\"ABCDEF\"",
            "POKEBYTE B#, 4=1",
            show("B#"),
        ])
        self.assertExit(result, 0)
        address = int(self.shown(result)[0])
        self.assertTrue(0 < address < 2 ** 31, address)
        cases = [
            (["DECLARE B#", "POKEBYTE B#, 0=1"], "Bereichsvariable ist nicht DIMensioniert!"),
            (["DECLARE B#", "DIMAREA B#, 4", "DIMAREA B#, 4"], "Bereichsvariable ist bereits DIMensioniert!"),
            (["DECLARE B#", "DIMAREA B#, 4", "POKEBYTE B#, 5=1"], "Bereichsgrenze \u00fcberschritten: "),
            (["DECLARE B#", "DIMAREA B#, 4", "POKELONG B#, 2=1"], "Bereichsgrenze \u00fcberschritten: "),
            (["DECLARE B#", "DIMAREA B#, 4", "POKEBYTE B#, -1=1"], "Bereichsgrenze \u00fcberschritten: "),
            (["DIMAREA B, 4"], "Bereichs-Variable erwartet!"),
            (["DIMAREA X#, 4"], "Variable nicht declariert: X#"),
            (["DECLARE B#", "EVAL B#"], "Bereichsvariable ist nicht DIMensioniert!"),
            (["DECLARE B#", "DIMAREA B#, 4", "LOADAREA B#, \"/nonexistent/x.txt\""],
             "Datei kann nicht gelesen werden: /nonexistent/x.txt"),
        ]
        for lines, caption in cases:
            with self.subTest(lines[-1]):
                self.assertEqual(self.error(lines)[0], caption)

    def test_load_text_file_into_an_area(self):
        self.write("three.txt", b"one\r\ntwo\rthree\r\n\x1aignored")
        ok = self.run_body(["DECLARE B#", "DIMAREA B#, 100", "LOADAREA B#, \"%s\"" % self.path("three.txt"),
                            "FREEAREA B#", "DIMAREA B#, 10", "LOADAREA B#, \"%s\"" % self.path("three.txt")])
        self.assertExit(ok, 0)
        self.assertEqual([b["caption"] for b in ok.boxes],
                         ["Der Text pa\u00dft nicht komplett in die Bereichsvariable!"])
        self.assertEqual(ok.boxes[0]["text"], "Zeile      7!")


class Functions(ListingTestCase):
    def test_numeric_table(self):
        cases = [
            ("@ADD(2147483647,1)", "-2147483648", "2147483648.000000"),
            ("@DIV(1,0.5)", "0", "2.000000"),
            ("@IDIV(7,-2)", "-3", "-3.000000"),
            ("@MOD(-7,2)", "-1", None),
            ("@BITTEST(-2147483648,31)", "0", None),
            ("@BITTEST(1,32)", "1", None),
            ("@BITSET(0,3,1)", "8", None),
            ("@ROUND(2.5,0)", "2", "2.000000"),
            ("@ROUND(3.5,0)", "4", "4.000000"),
            ("@ROUND(3.14159,2)", "3", "3.140000"),
            ("@INT(-2.7)", "-2", "-2.000000"),
            ("@EQ(0.1,0.10000000000001)", "1", None),   # equal after the 40-bit rounding
            ("@GT(2,1)", "1", None),
            ("@LEFT(\"abc\",2)", None, None),
            ("@NOT(0)", "1", None),
            ("@ABS(-3.5)", "3", "3.500000"),  # the long form of -3.5 is -3
            ("@POW(2,10)", "1024", "1024.000000"),
            ("@IIF(1,\"yes\",\"no\")", None, None),
            ("@VOID(\"x\")", "0", None),
        ]
        for expression, long_text, float_text in cases:
            if long_text is None:
                continue
            with self.subTest(expression):
                lines = ["DECLARE L&, F!", "LET L& = %s" % expression, show("L&")]
                expected = [long_text]
                if float_text is not None:
                    lines += ["LET F! = %s" % expression, show("F!")]
                    expected.append(float_text)
                self.assertEqual(self.values(lines), expected)

    def test_string_results_keep_the_numeric_forms_of_their_last_argument(self):
        # a quoted argument leaves the numeric registers as the condition left them
        self.assertEqual(self.values(["DECLARE L&", "LET L& = @IIF(1,\"yes\",\"no\")", show("L&"),
                                      "LET SHOW$ = @IIF(0,\"yes\",\"no\")", 'EVAL @MSGBOX(SHOW$,"show",0)']),
                         ["1", "no"])

    def test_errors(self):
        cases = [
            ("EVAL @DIV(1,0)", "Division durch 0!"),
            ("EVAL @IDIV(1,0)", "Division durch 0!"),
            ("EVAL @LN(-1)", "Ung\u00fcltiger Funktionswert!"),
            ("EVAL @LOG(0)", "Ung\u00fcltiger Funktionswert!"),
            ("EVAL @POW(-2,2)", "Ung\u00fcltiger Funktionswert!"),
            ("EVAL @SQRT(-1)", "Ung\u00fcltiger Funktionswert!"),
            ("EVAL @PARI(13)", "Parameterzahl mu\u00df zwischen 0 und 12 liegen!"),
            ("EVAL @FN22<1>(1)", "Funktion unbekannt: "),
        ]
        for line, caption in cases:
            with self.subTest(line):
                self.assertEqual(self.error([line])[0], caption)

    def test_silent_mode_goes_on_after_a_function_error(self):
        self.assertEqual(self.values(["ERRORMODE -1", "EVAL @LN(-1)", show("%{ERRORSTATE}"),
                                      show("&{LASTERROR}")]), ["2", "200"])

    def test_random_sequence_without_seed(self):
        self.assertEqual(self.values(["DECLARE R&", "LET R& = @RND(100)", show("R&"),
                                      "LET R& = @RND(100)", show("R&"),
                                      "LET R& = @RND(1000000)", show("R&")]),
                         ["0", "%d" % ((134775814 * 100) >> 32),
                          "%d" % ((((134775814 * 134775813 + 1) % 2 ** 32) * 1000000) >> 32)])

    def test_colours(self):
        self.assertEqual(self.values([
            "DECLARE C%",
            "LET C% = @RGB(40,40,40)", show("C%"),
            "LET C% = @RED(32767)", show("C%"),
            "LET C% = @GREEN(32767)", show("C%"),
            "LET C% = @BLUE(32767)", show("C%"),
            "TRUECOLOR 1",
            "LET C% = @RGB(300,1,2)", show("C%"),
            "LET C% = @BLUE(131841)", show("C%"),
        ]), ["32767", "30", "31", "30", str(255 + 256 + 2 * 65536), "2"])

    def test_endless_recursion_of_a_user_function_is_refused(self):
        self.assertEqual(self.error(["EVAL @FN22<self>(1)", "END", "self:",
                                     "DEFFN     1)@FN22<self>(@PARL(1))"])[0],
                         "Zu tiefe GOSUB/PROC-Verschachtelung!")

    def test_user_defined_functions(self):
        self.assertEqual(self.values([
            "DECLARE N&",
            "LET N& = @FN22<sum>(@FN23<sq>(3),@FN23<sq>(4))", show("N&"),
            "LET N& = @FN27<seven>()", show("N&"),
            "END",
            "sum:",
            "DEFFN     2)@ADD(@PARL(1),@PARL(2))",
            "sq:",
            "DEFFN     1)@MUL(@PARL(1),@PARL(1))",
            "seven:",
            "DEFFN     0)7",
        ]), ["25", "7"])


class SystemVariables(ListingTestCase):
    def test_values_and_literals(self):
        self.assertEqual(self.values([
            show("%1010"), show("&17"), show("$1F"), show("%-101"), show("%10-1"),
            show("%{TRUE}"), show("%{ONE}"), show("${VERSION}"),
        ]), ["10", "15", "31", "-5", "2", "1", "1", "6.0-NT"])

    def test_error_state_is_reset_by_reading(self):
        result = self.run_body(["EVAL abc", show("%{ERRORSTATE}"), show("%{ERRORSTATE}"), show("&{LASTERROR}")])
        self.assertEqual(result.boxes[0]["caption"], "Keine Zahl: ABC")
        self.assertEqual(self.shown(result), ["1", "0", "214"])

    def test_unknown_names(self):
        for name in ["&8", "%12", "!1", "$"]:
            with self.subTest(name):
                self.assertEqual(self.error(["EVAL " + name])[0], "Systemvariable unbekannt: ")


if __name__ == "__main__":
    main()
