"""The conversion, date and time functions end to end: numbers in a base, with the
number settings and with a picture, numbers from text, today's date and the time
from the host clock, the short date of the locale, the warnings 202 and 203."""
import datetime
import os
import re
import shutil
import subprocess
import tempfile
import unittest

from harness import main
from interp import ListingTestCase, show

MONTHS = ["Januar", "Februar ", "M\u00e4rz ", "April", "Mai", "Juni", "Juli", "August",
          "September", "Oktober", "November", "Dezember"]
WEEKDAYS = ["Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"]

# No regional settings and a fixed time zone unless a test says otherwise.
PLAIN = {"LC_ALL": "C", "LC_TIME": "", "LC_NUMERIC": "", "LANG": "", "TZ": "UTC"}


class ConversionCase(ListingTestCase):
    def run_with(self, lines, env=None, script=None):
        """Runs the lines (SHOW$ declared first) with PLAIN and env in the environment."""
        full = dict(PLAIN)
        full.update(env or {})
        flat = ["DECLARE SHOW$, L&, F!, S$"]
        for line in lines:
            flat.extend(line if isinstance(line, list) else [line])
        return self.run_listing("\n".join(flat) + "\n", env=full, script=script)

    def values_with(self, lines, env=None):
        result = self.run_with(lines, env)
        self.assertExit(result, 0)
        self.assertEqual([b for b in result.boxes if b["caption"] != "show"], [], result)
        return self.shown(result)


def as_long(expression):
    return ["LET L& = %s" % expression] + show("L&")


def as_float(expression):
    return ["LET F! = %s" % expression] + show("F!")


class NumbersAsText(ConversionCase):
    def test_bases(self):
        cases = [
            ("@HEX(255)", "FF"), ("@HEX(-255)", "-FF"), ("@HEX(-1)", "-1"), ("@HEX(0)", "0"),
            ("@HEX(-2147483648)", "-80000000"), ("@HEX(1.9)", "1"), ("@HEX(S$)", "1F"),
            ("@OCT(8)", "10"), ("@OCT(-8)", "-10"), ("@BIN(5)", "101"), ("@BIN(0)", "0"),
            ("@BIN(2147483647)", "1" * 31),
        ]
        shown = self.values_with(['LET S$ = "$1f"'] + [show(e) for e, _ in cases])
        self.assertEqual(shown, [t for _, t in cases])

    def test_number_settings(self):
        self.assertEqual(self.values_with([
            show("@STR(42)"), show("@STR(1.5)"), show("@STR(-7)"),
            "DECIMALS 2", "NUMBERWIDTH 8",
            show("@STR(3.14159)"), show("@STR(42)"), show("@STR(%{TRUE})"),
        ]), ["42", "1.500000", "-7", "    3.14", "      42", "       1"])


class NumbersFromText(ConversionCase):
    def test_forms(self):
        lines = (as_long('@VAL("$ff")') + [show('@VAL("$ff")')] + as_float('@VAL("&17")') +
                 as_long('@VAL("%101")') +
                 as_long('@VAL("12.5")') + as_float('@VAL("12.5")') + [show('@VAL("  12.5  ")')] +
                 as_long('@VAL("-12x")') + as_float('@VAL("-12x")') +
                 as_long('@VAL("-12.5")') +
                 as_long('@VAL("")') + [show('@VAL("")')] +
                 as_long('@VAL("abc")') +
                 as_long('@VAL("2147483648")') +
                 as_float('@VAL("1E3")'))    # no ".": a long, whose float form is the long form
        self.assertEqual(self.values_with(lines), [
            "255", "255", "15.000000", "5",
            "12", "12.500000", "12.5",
            "-12", "-12.000000",
            "-12",
            "0", "0",
            "0",
            "214748364",
            "1.000000",
        ])


class Pictures(ConversionCase):
    def test_pictures(self):
        cases = [
            ('@FORMAT("#,##0.00",1234567.891)', "1,234,567.89"),
            ('@FORMAT("0.00",-0.001)', "0.00"),
            ('@FORMAT("0.00E+00",1234.5)', "1.23E+03"),
            ('@FORMAT("0.00;(0.00)",-5)', "(5.00)"),
            ("@FORMAT(\"0;-0;'null'\",0)", "null"),
            ('@FORMAT("0.##",F!)', "2.5"),
            ('@FORMAT("",F!)', "2.5"),
            ('@LEN(@FORMAT(@REPEAT("0",224),1))', "224"),
        ]
        shown = self.values_with(["LET F! = 2.5"] + [["LET S$ = %s" % e] + show("S$") if "LEN" not in e
                                                     else as_long(e) for e, _ in cases])
        self.assertEqual(shown, [t for _, t in cases])

    def test_errors(self):
        cases = [
            ('EVAL @FORMAT(@REPEAT("0",225),1)', "Ung\u00fcltiger Funktionswert!"),
            ("EVAL @FORMAT(5,1)", "Falscher Parametertyp: 5"),
        ]
        for line, caption in cases:
            with self.subTest(line):
                result = self.run_with([line])
                self.assertExit(result, 0)
                self.assertEqual(result.boxes[0]["caption"], caption, result)


class ShortDates(ConversionCase):
    def test_without_regional_settings(self):
        self.assertEqual(self.values_with([
            show("@DATE(4)"),
            show('@DTOC("19980105")'),
            show('@DTOC("19980231")'),
            show('@DTOC("20781231")'),
            show('@DTOC("20790101")'),
            show('@CTOD(" 05.01.1998 ")'),
            *as_long('@CTOD(" 05.01.1998 ")'),
        ]), [".dMy", "05.01.1998", "", "31.12.2078", "", "19980105", "19980105"])

    def test_wrong_lengths_warn_and_go_on(self):
        result = self.run_with([show('@DTOC("1998015")'), show('@CTOD("5.1.98")'), *as_long('@CTOD("5.1.98")')])
        self.assertExit(result, 0)
        self.assertEqual([b["caption"] for b in result.boxes], [
            "Falscher Typ f\u00fcr @DTOC$ !", "show",
            "Falscher Typ f\u00fcr @CTOD$ !", "show",
            "Falscher Typ f\u00fcr @CTOD$ !", "show"])
        # the conversion runs on the text as given; missing characters are left out
        self.assertEqual(self.shown(result), ["05.01.1998", ".95.", "0"])
        self.assertEqual(result.boxes[0]["text"], "Zeile      2!")

    def test_cancel_at_the_warning_ends_the_run(self):
        result = self.run_with(['EVAL @DTOC("1")', show('"after"')], script="answer CANCEL\n")
        self.assertExit(result, 0)
        self.assertEqual(self.shown(result), [])

    def test_arguments_must_be_strings(self):
        for expression in ["@DTOC(19980105)", "@CTOD(5)"]:
            with self.subTest(expression):
                result = self.run_with(["EVAL " + expression])
                self.assertTrue(result.boxes[0]["caption"].startswith("Falscher Parametertyp: "), result)


class Today(ConversionCase):
    def forms(self, tz, offset_hours):
        zone = datetime.timezone(datetime.timedelta(hours=offset_hours))
        before = datetime.datetime.now(zone)
        shown = self.values_with([show("@DATE(3)"), show("@DATE(19)"), show("@DATE(1)"), show("@DATE(2)"),
                                  show("@DATE(0)"), show("@DATE(5)"), show("@TIME(0)"), show("@TIME(-2)"),
                                  show("@TIME(1)"), show("@TIME(-1)")], env={"TZ": tz})
        after = datetime.datetime.now(zone)
        return before, after, shown

    def expected_dates(self, moment):
        d = moment.date()
        long_form = "%d. %s %04d" % (d.day, MONTHS[d.month - 1], d.year)
        weekday = WEEKDAYS[d.isoweekday() % 7]
        compact = d.strftime("%Y%m%d")
        short = d.strftime("%d.%m.%Y")
        return [compact, compact, long_form, weekday + ", der " + long_form, short, short]

    def check(self, tz, offset_hours):
        before, after, shown = self.forms(tz, offset_hours)
        self.assertIn(shown[:6], [self.expected_dates(before), self.expected_dates(after)])
        minutes = {before.strftime("%H:%M"), after.strftime("%H:%M")}
        self.assertIn(shown[6], minutes)
        self.assertIn(shown[7], minutes)
        for text in shown[8:]:
            self.assertRegex(text, r"^[0-5]\d\.\d{3}$")

    def test_local_time_of_the_host(self):
        self.check("UTC", 0)
        self.check("XYZ-14", 14)   # POSIX time zone: 14 hours east of UTC
        self.check("XYZ+11", -11)


LOCALES = ["de_DE", "en_US", "en_GB", "sv_SE", "fr_FR"]


class RegionalSettings(ConversionCase):
    """Locales compiled into a scratch directory with localedef (LOCPATH)."""

    @classmethod
    def setUpClass(cls):
        cls._locales = tempfile.TemporaryDirectory(prefix="morven-locales-")
        cls.locpath = cls._locales.name
        localedef = shutil.which("localedef")
        if localedef is None:
            raise unittest.SkipTest("localedef is not installed")
        for name in LOCALES:
            proc = subprocess.run([localedef, "-i", name, "-f", "UTF-8", os.path.join(cls.locpath, name + ".UTF-8")],
                                  capture_output=True, timeout=120)
            # localedef may leave a directory behind even when it had no sources.
            if not os.path.isfile(os.path.join(cls.locpath, name + ".UTF-8", "LC_TIME")):
                raise unittest.SkipTest("localedef cannot build %s: %s" % (name, proc.stderr.decode(errors="replace")))

    @classmethod
    def tearDownClass(cls):
        cls._locales.cleanup()

    def env(self, **variables):
        full = {"LOCPATH": self.locpath, "LC_ALL": ""}
        full.update(variables)
        return full

    def test_date_order_and_separator(self):
        cases = [
            ({"LC_ALL": "de_DE.UTF-8"}, [".dMy", "05.01.1998", "19980105", "05.01.1998"]),
            ({"LC_ALL": "en_US.UTF-8"}, ["/Mdy", "01/05/1998", "19980105", "01/05/1998"]),
            ({"LC_ALL": "en_GB.UTF-8"}, ["/dMy", "05/01/1998", "19980105", "05/01/1998"]),  # four year digits
            ({"LC_ALL": "sv_SE.UTF-8"}, ["-yMd", "1998-01-05", "19980105", "1998-01-05"]),
            ({"LANG": "en_US.UTF-8"}, ["/Mdy", "01/05/1998", "19980105", "01/05/1998"]),
            ({"LANG": "de_DE.UTF-8", "LC_TIME": "en_US.UTF-8"}, ["/Mdy", "01/05/1998", "19980105", "01/05/1998"]),
            ({"LC_ALL": "C", "LC_TIME": "en_US.UTF-8"}, [".dMy", "05.01.1998", "19980105", "05.01.1998"]),
            ({"LC_ALL": "POSIX"}, [".dMy", "05.01.1998", "19980105", "05.01.1998"]),
            ({"LC_ALL": "C.UTF-8"}, [".dMy", "05.01.1998", "19980105", "05.01.1998"]),
            ({"LC_ALL": "xx_XX.UTF-8"}, [".dMy", "05.01.1998", "19980105", "05.01.1998"]),  # not installed
        ]
        for variables, expected in cases:
            with self.subTest(variables):
                shown = self.values_with([show("@DATE(4)"), show('@DTOC("19980105")'),
                                          show("@CTOD(@DTOC(\"19980105\"))"), show("@DATE(0)")],
                                         env=self.env(**variables))
                today = datetime.datetime.now(datetime.timezone.utc).date()
                order = expected[0]
                fields = {"d": "%02d" % today.day, "M": "%02d" % today.month, "y": "%04d" % today.year}
                self.assertEqual(shown[:3], expected[:3])
                self.assertEqual(shown[3], order[0].join(fields[c] for c in order[1:]))

    def test_picture_separators(self):
        cases = [
            ({"LC_ALL": "de_DE.UTF-8"}, ["1.234.567,89", "2,5"]),
            ({"LC_ALL": "en_US.UTF-8"}, ["1,234,567.89", "2.5"]),
            ({"LC_ALL": "fr_FR.UTF-8"}, ["1\u00a0234\u00a0567,89", "2,5"]),  # narrow no-break space: 0xA0
            ({"LC_ALL": "C"}, ["1,234,567.89", "2.5"]),
            ({"LC_ALL": "", "LC_NUMERIC": "de_DE.UTF-8", "LANG": "en_US.UTF-8"}, ["1.234.567,89", "2,5"]),
        ]
        for variables, expected in cases:
            with self.subTest(variables):
                shown = self.values_with([show('@FORMAT("#,##0.00",1234567.891)'), show('@FORMAT("",2.5)')],
                                         env=self.env(**variables))
                self.assertEqual(shown, expected)

    def test_the_locale_changes_nothing_else(self):
        # number text, number parsing and the case mapping do not follow the locale
        shown = self.values_with(['LET F! = @VAL("2.5")', show("F!"), show("@STR(F!)"),
                                  show('@UPPER("\u00e4\u00ff\u0161\u00df")'), show('@LOWER("\u00c4\u0160")')],
                                 env=self.env(LC_ALL="de_DE.UTF-8"))
        self.assertEqual(shown, ["2.500000", "2.500000", "\u00c4\u00ff\u0161\u00df", "\u00e4\u0160"])


if __name__ == "__main__":
    main()
