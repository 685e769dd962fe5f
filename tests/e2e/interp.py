"""Helpers for tests that run small listings and read values back: `show(X)` turns
any argument into two statements that put its text into a message box; the box texts
of a run are the values, in order."""
from harness import MorvenTestCase


def show(argument):
    """Statements that show the text of `argument` in a box (caption "show")."""
    return ["LET SHOW$ = %s" % argument, 'EVAL @MSGBOX(SHOW$,"show",0)']


class ListingTestCase(MorvenTestCase):
    def run_body(self, lines, script=None, declare=True):
        """Runs the listing lines (a string or a list; list items may be lists);
        returns the Result. The program declares SHOW$ first."""
        if isinstance(lines, str):
            lines = lines.strip("\n").split("\n")
        flat = ["DECLARE SHOW$"] if declare else []
        for line in lines:
            flat.extend(line if isinstance(line, list) else [line])
        return self.run_listing("\n".join(flat) + "\n", script=script)

    def shown(self, result):
        return [b["text"] for b in result.boxes if b["caption"] == "show"]

    def values(self, lines, script=None):
        """The shown values of a run that must end normally."""
        result = self.run_body(lines, script=script)
        self.assertExit(result, 0)
        self.assertEqual([b for b in result.boxes if b["caption"] != "show"], [], result)
        return self.shown(result)

    def error(self, lines):
        """(caption, line text) of the first runtime box that is not a shown value."""
        result = self.run_body(lines)
        self.assertExit(result, 0)
        other = [b for b in result.boxes if b["caption"] != "show"]
        self.assertTrue(other, result)
        return other[0]["caption"], other[0]["text"]
