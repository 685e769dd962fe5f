"""The main window end to end: text output, colours, text boxes, console INPUT, the
wait commands with scripted keys, clicks, menu commands and timer ticks, the exits,
and window placement; checked through the log, MORVEN_SCREEN_TEXT and pixels of
MORVEN_SNAPSHOT. Runs use the virtual clock."""
import os
import struct
import zlib

from harness import main
from interp import ListingTestCase, show

CELL_W, CELL_H = 8, 13          # the text screen's cells
OEM_CELL_H = 12                 # the OEM font's cells (text boxes)
WHITE, BLACK = (255, 255, 255), (0, 0, 0)
# Client area of the default 640 x 480 window: sizing border 4, caption 19, menu bar 19.
DEFAULT_CLIENT = (632, 434)


class Png:
    """A PNG as Qt writes it (8-bit RGB or RGBA, not interlaced)."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        assert data[:8] == b"\x89PNG\r\n\x1a\n", path
        pos, idat = 8, b""
        while pos < len(data):
            length, kind = struct.unpack(">I4s", data[pos:pos + 8])
            body = data[pos + 8:pos + 8 + length]
            if kind == b"IHDR":
                self.width, self.height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
                assert depth == 8 and colour in (2, 6) and interlace == 0, (depth, colour)
                self.channels = 3 if colour == 2 else 4
            elif kind == b"IDAT":
                idat += body
            pos += 12 + length
        raw = zlib.decompress(idat)
        stride = self.width * self.channels
        rows, prev, p = [], bytearray(stride), 0
        for _ in range(self.height):
            kind, line = raw[p], bytearray(raw[p + 1:p + 1 + stride])
            p += 1 + stride
            for i in range(stride):
                left = line[i - self.channels] if i >= self.channels else 0
                up = prev[i]
                corner = prev[i - self.channels] if i >= self.channels else 0
                if kind == 1:
                    line[i] = (line[i] + left) & 0xFF
                elif kind == 2:
                    line[i] = (line[i] + up) & 0xFF
                elif kind == 3:
                    line[i] = (line[i] + (left + up) // 2) & 0xFF
                elif kind == 4:
                    pa, pb, pc = abs(up - corner), abs(left - corner), abs(left + up - 2 * corner)
                    pred = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                    line[i] = (line[i] + pred) & 0xFF
            rows.append(bytes(line))
            prev = line
        self.rows = rows

    def pixel(self, x, y):
        i = x * self.channels
        return tuple(self.rows[y][i:i + 3])

    def colours_in(self, x0, y0, x1, y1):
        return {self.pixel(x, y) for y in range(y0, y1) for x in range(x0, x1)}


def rgb(colorref):
    return (colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF)


PALETTE = [0x000000, 0x880000, 0x008800, 0x880088, 0x000088, 0x888800, 0x008888, 0xCCCCCC,
           0x444444, 0xFF0000, 0x00FF00, 0xFF00FF, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFFFFFF]


class Screen:
    def __init__(self, result, text_path, png_path):
        self.result = result
        self.lines = None
        if os.path.exists(text_path):
            with open(text_path, encoding="utf-8") as f:
                self.lines = f.read().split("\n")[:-1]
        self.image = Png(png_path) if os.path.exists(png_path) else None


class ConsoleCase(ListingTestCase):
    def screen(self, lines, script=None, env=None, code=0):
        """Runs the listing lines; returns a Screen after checking the exit code."""
        if isinstance(lines, str):
            lines = lines.strip("\n").split("\n")
        flat = ["DECLARE SHOW$"]
        for line in lines:
            flat.extend(line if isinstance(line, list) else [line])
        text_path, png_path = self.path("screen.txt"), self.path("snap.png")
        for p in (text_path, png_path):
            if os.path.exists(p):
                os.remove(p)
        full_env = {"MORVEN_SCREEN_TEXT": text_path, "MORVEN_SNAPSHOT": png_path, "MORVEN_VIRTUAL_CLOCK": "1"}
        full_env.update(env or {})
        result = self.run_listing("\n".join(flat) + "\n", script=script, env=full_env)
        self.assertExit(result, code)
        return Screen(result, text_path, png_path)


class TextOutput(ConsoleCase):
    def test_screen_text(self):
        long = "x" * 85
        cases = [
            ("wrap", ["LOCATE 6,1", 'PRINT "%s"' % long], {5: "x" * 80, 6: "xxxxx" + " " * 75}),
            ("wrap on the last row never scrolls", ["LOCATE 32,1", 'PRINT "%s";' % ("a" * 80 + "BCDEF")],
             {31: "BCDEF" + "a" * 75, 30: " " * 80}),
            ("carriage return is ignored", ['PRINT "A\\x0DB"'], {0: "AB" + " " * 78}),
            ("backspace blanks the cell to the left", ['PRINT "abc\\x08d"'], {0: "abd" + " " * 77}),
            ("backspace at column 0 does nothing", ['PRINT "\\x08x"'], {0: "x" + " " * 79}),
            ("empty PRINT ends the line", ["PRINT", 'PRINT "y"'], {0: " " * 80, 1: "y" + " " * 79}),
            ("separators", ['PRINT "a";', 'PRINT "b",', 'PRINT "c"'], {0: "ab c" + " " * 76}),
            ("locate clamps into the grid", ["LOCATE 0,99", 'PRINT "z";'], {0: " " * 79 + "z"}),
            ("scrolling", ['PRINT "L%d"' % i for i in range(1, 34)],
             {0: "L3".ljust(80), 29: "L32".ljust(80), 30: "L33".ljust(80), 31: " " * 80}),
            ("Windows-1252 text", ['PRINT "Gr\\xFC\\xDFe \\x80"'], {0: "Grüße €".ljust(80)}),
        ]
        for name, body, rows in cases:
            with self.subTest(name):
                s = self.screen(body)
                self.assertEqual(len(s.lines), 32)
                self.assertTrue(all(len(line) == 80 for line in s.lines))
                for row, text in rows.items():
                    self.assertEqual(s.lines[row], text, (row, s.lines[:8]))

    def test_screen_text_before_any_window_is_blank(self):
        s = self.screen(["END"])
        self.assertEqual(s.lines, [" " * 80] * 32)
        self.assertIsNone(s.image)

    def test_scroll_moves_the_window_but_not_the_backing_bitmap(self):
        blue = ["COLOR 15,1", 'PRINT "    ";', "COLOR 0,15", "LOCATE 32,1", "PRINT"]
        scrolled = self.screen(blue).image
        self.assertEqual(scrolled.pixel(4, 5), WHITE)          # row 0 scrolled away
        repainted = self.screen(blue + ["REPAINT", "EVAL %{MOUSEBUTTON}"]).image
        self.assertEqual(repainted.pixel(4, 5), rgb(PALETTE[1]))  # the unscrolled picture

    def test_snapshot_is_the_client_area(self):
        s = self.screen(['PRINT "x"'])
        self.assertEqual((s.image.width, s.image.height), DEFAULT_CLIENT)


class Colours(ConsoleCase):
    def test_text_colours(self):
        for fg, bg in [(12, 14), (15, 1), (0, 7), (10, 8), (28, 17)]:
            with self.subTest(fg=fg, bg=bg):
                img = self.screen(["COLOR %d,%d" % (fg, bg), 'PRINT "WWWW"']).image
                self.assertEqual(img.pixel(0, 0), rgb(PALETTE[bg & 15]))
                cell = img.colours_in(0, 0, 4 * CELL_W, CELL_H)
                self.assertIn(rgb(PALETTE[fg & 15]), cell)
                self.assertEqual(img.pixel(40, 5), WHITE)  # beyond the text

    def test_clear_screen(self):
        cases = [("CLS", WHITE), ("CLS 31", (255, 0, 0)), ("CLS 1023", (255, 255, 0)),
                 (["TRUECOLOR 1", "CLS 16711680"], (0, 0, 255))]
        for body, colour in cases:
            with self.subTest(body):
                s = self.screen(['PRINT "abc"'] + (body if isinstance(body, list) else [body]) + ['PRINT "Q";'])
                self.assertEqual(s.image.pixel(300, 300), colour)
                self.assertEqual(s.lines[0], "Q".ljust(80))

    def test_font_command(self):
        # The byte 0xC4 is a horizontal line in the OEM font (1), "\u00c4" in the others.
        line_row = 6
        cases = [("FONT 1", True), ("FONT 7", False), ("FONT -1", False), ("FONT 0", False), ("FONT 5", False)]
        for body, oem in cases:
            with self.subTest(body):
                s = self.screen([body, 'PRINT "\\xC4\\xC4"'])
                row = {s.image.pixel(x, line_row) for x in range(0, 2 * CELL_W)}
                self.assertEqual(row == {BLACK}, oem, row)
                self.assertEqual(s.lines[0], "\u00c4\u00c4".ljust(80))


class TextBoxes(ConsoleCase):
    # TBOX 2,2-5,10: cells (1,1)..(9,4) 0-based. Lines run through the OEM cell's
    # centre (x + 4, y + 6); double lines one pixel either side. Each cell is drawn a
    # second time one pixel lower, whose background covers the first horizontal lines:
    # they end up at y + 7.
    def box(self, style):
        return self.screen(["TBOX 2,2-5,10;%d" % style, 'PRINT "Z";']).image

    def test_styles(self):
        top_y = 1 * CELL_H + 7          # the horizontal line of the top row
        side_y = 2 * CELL_H + 6         # a row of the vertical lines
        mid_x = 3 * CELL_W + 4          # inside the top line
        left_x = 1 * CELL_W + 4         # the left vertical line
        cases = [
            (0, [top_y], [left_x]),
            (1, [top_y - 1, top_y + 1], [left_x - 1, left_x + 1]),
            (2, [top_y - 1, top_y + 1], [left_x]),
            (3, [], []),
            (9, [top_y], [left_x]),
        ]
        for style, rows, columns in cases:
            with self.subTest(style=style):
                img = self.box(style)
                for y in range(top_y - 2, top_y + 3):
                    self.assertEqual(img.pixel(mid_x, y), BLACK if y in rows else WHITE, (style, y))
                for x in range(left_x - 2, left_x + 3):
                    self.assertEqual(img.pixel(x, side_y), BLACK if x in columns else WHITE, (style, x))

    def test_vertical_lines_of_neighbouring_rows_join(self):
        img = self.box(0)
        x = 1 * CELL_W + 4
        self.assertEqual({img.pixel(x, y) for y in range(2 * CELL_H, 4 * CELL_H)}, {BLACK})

    def test_cursor_stands_inside_and_the_grid_keeps_no_lines(self):
        s = self.screen(["TBOX 2,2-5,10;1", 'PRINT "Z";'])
        self.assertEqual(s.lines[1], " " * 80)
        self.assertEqual(s.lines[2], "  Z".ljust(80))

    def test_one_cell_box_and_limits(self):
        img = self.screen(["TBOX 2,3-2,3;0"]).image
        self.assertIn(BLACK, img.colours_in(2 * CELL_W, CELL_H, 3 * CELL_W, 2 * CELL_H))
        ok = self.screen(["TBOX 1,1-32,80;0"])
        self.assertEqual(ok.result.boxes, [])
        bad = self.screen(["TBOX 1,1-33,80;0"])
        self.assertEqual([b["caption"] for b in bad.result.boxes], ["Box nicht innerhalb des Fensters!"])


class ConsoleInput(ConsoleCase):
    def test_lines(self):
        cases = [
            ("abc\\bd\\r", "abd"),
            ("\\b\\bxy\\r", "xy"),
            ("a" * 130 + "\\r", "a" * 126),
            ("Gr\u00fc\u00dfe\\r", "Grüße"),
            ("\\x01\\tz\\r", "z"),
        ]
        for typed, line in cases:
            with self.subTest(typed=typed):
                s = self.screen(["DECLARE L$", "INPUT L$", 'PRINT "next"', show("L$")],
                                script="type %s\n" % typed)
                self.assertEqual(self.shown(s.result), [line])
                self.assertEqual(s.lines[0], line.ljust(80)[:80])
                self.assertEqual(s.lines[1 if len(line) < 80 else 2], "next".ljust(80))

    def test_numbers_and_the_last_input(self):
        s = self.screen(["DECLARE N%", "INPUT N%", show("N%"), show("%{INPUTINT}")], script="type 12abc\\r\n")
        self.assertEqual(self.shown(s.result), ["12", "12"])

    def test_keys_typed_before_input_are_kept(self):
        s = self.screen(["DECLARE L$", 'PRINT "?";', "WAITKEY", "INPUT L$", show("L$")], script="type hi\\r\n")
        self.assertEqual(self.shown(s.result), ["hi"])


def captured(expressions):
    """Statements that first store each expression (so that the boxes that show them
    cannot change what they read: a box repaints the window, which is a message), then
    show them. Integer results are stored in long variables, as a function result's
    text form is not its number."""
    names = ["V%d%s" % (i, "$" if e.startswith(("@INKEY", "@GETKEY")) else "&") for i, e in enumerate(expressions)]
    lines = ["DECLARE " + ", ".join(names)] if names else []
    lines += ["LET %s = %s" % (n, e) for n, e in zip(names, expressions)]
    for n in names:
        lines += show(n)
    return lines


class Waits(ConsoleCase):
    def values(self, body, script, env=None):
        s = self.screen(['PRINT "."'] + body, script=script, env=env)
        self.assertEqual([b for b in s.result.boxes if b["caption"] != "show"], [])
        return self.shown(s.result)

    def test_wait_commands(self):
        cases = [
            ("WAITKEY, letter", ["WAITKEY"], "key 65", ["%{KEYDOWN}", "%{KEYCHAR}"], ["65", "97"]),
            ("WAITKEY, F1 outside the general wait", ["WAITKEY"], "key 112",
             ["%{KEYDOWN}", "%{KEYCHAR}", "@GT(%{FOCUSWINDOW},0)"], ["112", "5", "1"]),
            ("WAITCHAR", ["WAITCHAR"], "type z", ["%{KEYCHAR}"], ["122"]),
            ("WAITMOUSE, left click", ["WAITMOUSE"], "click 20 30",
             ["%{MOUSEX}", "%{MOUSEY}", "%{MOUSESTATE}", "%{MOUSESTATE}", "%{MOUSEBUTTON}", "%{MOUSEBUTTON}"],
             ["20", "30", "1", "1", "1", "0"]),
            ("WAITMOUSE, right click", ["WAITMOUSE"], "click 5 6 right", ["%{MOUSEBUTTON}"], ["2"]),
            ("WAITMOUSE, menu command", ["WAITMOUSE"], "menu 7", ["%{MENUCOMMAND}", "@MOUSEBUTTON(7)"], ["7", "1"]),
            ("WAITINPUT, the default menu's item", ["WAITINPUT"], "menu 32767", ["%{MENUCOMMAND}"], ["254"]),
            ("WAITINPUT, F1 is the help key", ["WAITINPUT"], "key 112",
             ["%{KEYCHAR}", "@LT(%{FOCUSWINDOW},0)"], ["5", "1"]),
            ("WAITINPUT, timer", ["SETTIMER 200", "WAITINPUT", "LET T& = %{TICKS}", "WAITINPUT"], "wait 500",
             ["%{TIMERFIRED}", "%{TIMERFIRED}", "T&", "%{TICKS}"], ["1", "0", "200", "400"]),
            ("WAITINPUT, a click after waiting", ["WAITINPUT"], "wait 100\nclick 1 2",
             ["%{MOUSEBUTTON}", "%{TICKS}"], ["1", "100"]),
            ("DOEVENT", ["DOEVENT", "LET A& = %{MSGNUMBER}", "LET B& = %{MSGWPARAM}", "DOEVENT"], "key 66",
             ["A&", "B&", "%{MSGNUMBER}", "%{MSGWPARAM}"], ["256", "66", "258", "98"]),
            ("keys and their functions", ["WAITCHAR"], "type q",
             ['@INKEY()', '@INKEY()', '@KEYIN("xyq")', '@KEYIN("xy")'], ["q", "", "1", "0"]),
            ("GETKEY", [], "type r", ["@GETKEY()"], ["r"]),
            ("KEYCODE", ["WAITKEY"], "key 0x41", ["@KEYCODE(65)", "@KEYCODE(66)"], ["1", "0"]),
            ("MOUSEIN is inclusive", ["WAITMOUSE"], "click 10 40",
             ["@MOUSEIN(10,20-30,40)", "@MOUSEIN(11,20-30,40)"], ["1", "0"]),
            ("MOUSEINCELL", ["WAITMOUSE"], "click 15 25", ["@MOUSEINCELL(2,2-2,2)", "@MOUSEINCELL(1,1-1,1)"],
             ["1", "0"]),
            ("input seen", ["WAITKEY"], "key 65", ["%{INPUTSEEN}", "%{INPUTSEEN}"], ["1", "0"]),
            ("system keys as commands: Alt", ["WINDOWSTYLE 128", "WAITMOUSE"], "key 18", ["%{MENUCOMMAND}"], ["18"]),
            ("system keys as commands: F10", ["WINDOWSTYLE 128", "WAITMOUSE"], "key 121", ["%{MENUCOMMAND}"],
             ["121"]),
            ("a waiting message", ["REPAINT"], "", ["%{MSGWAITING}", "%{MSGNUMBER}", "%{MSGWAITING}"],
             ["1", "15", "1"]),
        ]
        for name, body, script, shown, expected in cases:
            with self.subTest(name):
                self.assertEqual(self.values(["DECLARE T&, A&, B&"] + body + captured(shown), script + "\n"),
                                 expected)

    def test_dialog_navigation(self):
        cases = [("key 27", ["2"]), ("key 13", ["13"]), ("menu 258", ["2"]), ("menu 3", ["0"])]
        for script, expected in cases:
            with self.subTest(script):
                s = self.screen(["WINDOWSTYLE 512", 'PRINT "."', "WAITINPUT"]
                                + captured(["%{KEYCHAR}"]), script=script + "\n")
                self.assertEqual(self.shown(s.result), expected)

    def test_paint_mode_0_leaves_painting_to_the_program(self):
        got = self.values(["PAINTMODE 0", "CLS", "WAITINPUT"] + captured(["%{PAINTREQUESTED}", "%{PAINTREQUESTED}"]),
                          "")
        self.assertEqual(got, ["1", "0"])

    def test_timer_before_the_window_never_fires(self):
        s = self.screen(["SETTIMER 100", "WAITINPUT"], script="wait 1000\n", code=255)
        self.assertIsNone(s.image)

    def test_stopping_the_timer_twice(self):
        s = self.screen(["SETTIMER 50", "KILLTIMER", "KILLTIMER"])
        self.assertEqual([(b["caption"], b["style"]) for b in s.result.boxes], [("SETTIMER fehlt!KILLTIMER", 49)])


class WindowFunctions(ConsoleCase):
    def test_list_to_window_text_and_resource_strings(self):
        long = "x" * 250
        cases = [
            ([], "1"),
            (['LISTADD "a"', 'LISTADD "b"'], "1"),
            # 255 entries of 252 bytes with CR LF pass the limit of 63998 bytes.
            (['LISTADD "%s"' % long] * 255, "0"),
        ]
        for entries, expected in cases:
            with self.subTest(len(entries)):
                s = self.screen(['PRINT "."'] + entries + captured(["@LISTTOTEXT(%{MAINWINDOW})"]))
                self.assertEqual(self.shown(s.result), [expected])
        s = self.screen(["DECLARE R$", "LET R$ = @LOADSTRING(0,1)", show('"<";R$;">"')])
        self.assertEqual(self.shown(s.result), ["<>"])


class Exits(ConsoleCase):
    def test_break_and_quit(self):
        cases = [
            ("Ctrl+C", ['PRINT "."', "WAITCHAR"], "type \\x03"),
            ("Ctrl+Break", ['PRINT "."', "WAITKEY"], "key 3"),
            ("Ctrl+C in INPUT", ['PRINT "."', "DECLARE L$", "INPUT L$"], "type ab\\x03"),
            ("close", ['PRINT "."', "WAITKEY"], "close"),
            ("the script runs out", ['PRINT "."', "WAITKEY"], ""),
            ("no window", ["WAITKEY"], ""),
        ]
        for name, body, script in cases:
            with self.subTest(name):
                s = self.screen(body + [show('"after"')], script=script + "\n", code=255)
                self.assertEqual(self.shown(s.result), [])

    def test_close_box_as_a_menu_command(self):
        s = self.screen(["WINDOWSTYLE 256", 'PRINT "."', "WAITMOUSE", show("%{MENUCOMMAND}")], script="close\n")
        self.assertEqual(self.shown(s.result), ["-4000"])

    def test_window_kept_after_break_until_closed(self):
        s = self.screen(['PRINT "kept"', "WAITKEY"], script="key 3\nwait 50\nclose\n", code=255)
        self.assertEqual(s.lines[0], "kept".ljust(80))
        self.assertEqual(s.image.pixel(300, 300), WHITE)


class Placement(ConsoleCase):
    def test_placing_the_main_window(self):
        edges = ["%{WINLEFT}", "%{WINTOP}", "%{WINRIGHT}", "%{WINBOTTOM}"]
        cases = [
            ("default", ['PRINT "."'], (0, 0, 640, 480), (80, 32), DEFAULT_CLIENT),
            ("placed", ["PLACEWINDOW 10,20-400,300", 'PRINT "."'], (10, 20, 410, 320), (50, 20), (392, 254)),
            ("popup without menu", ["WINDOWSTYLE 80", "PLACEWINDOW 0,0-400,300"], (0, 0, 400, 300), (50, 20),
             (400, 300)),
            ("no frame bits", ["WINDOWSTYLE 0", 'PRINT "."'], (0, 0, 640, 480), (80, 32), (634, 436)),
            ("options after the window have no effect", ['PRINT "."', "WINDOWSTYLE 16"], (0, 0, 640, 480),
             (80, 32), DEFAULT_CLIENT),
            ("any window", ['PRINT "."', "MOVEWINDOW %{MAINWINDOW}=5,6-300,200;-1"], (5, 6, 305, 206), (80, 32),
             (292, 154)),
            ("maximised", ['PRINT "."', "SHOWMAX"], (-4, -4, 1028, 772), (80, 32), (1024, 730)),
            ("maximised and back", ['PRINT "."', "SHOWMAX", "SHOWNORMAL"], (0, 0, 640, 480), (80, 32),
             DEFAULT_CLIENT),
        ]
        for name, body, rect, grid, client in cases:
            with self.subTest(name):
                s = self.screen(body + [show(e) for e in edges])
                self.assertEqual(tuple(int(v) for v in self.shown(s.result)), rect)
                self.assertEqual((len(s.lines[0]), len(s.lines)), grid)
                self.assertEqual((s.image.width, s.image.height), client)

    def test_display(self):
        got = self.screen([show("%{SCREENWIDTH}"), show("%{SCREENHEIGHT}"), show("%{COLORDEPTH}"),
                           "PLACEWINDOW 0,0-2000,2000", 'PRINT "."'], env={"MORVEN_SCREEN": "800x600"})
        self.assertEqual(self.shown(got.result), ["800", "600", "24"])
        self.assertEqual((len(got.lines[0]), len(got.lines)), (100, 40))  # kept inside the grid

    def test_warnings_and_errors(self):
        cases = [
            (["PLACEWINDOW -1,0-400,300", 'PRINT "."'], ["Negative Fenstergr\u00f6\u00dfe!"]),
            (['PRINT "."', "MOVEWINDOW %{MAINWINDOW}=0,0-10,-1"], ["Negative Fenstergr\u00f6\u00dfe!"]),
            (["PAINTMODE 5", "PAINTMODE 2"], ["Ung\u00fcltiger Funktionswert!"]),
            (["SCREEN 100,100"], ["Der Befehl setzt ein Fenster vorraus!"]),
            (['PRINT "."', "SCREEN 100,100"], []),
        ]
        for body, captions in cases:
            with self.subTest(body):
                s = self.screen(body)
                self.assertEqual([b["caption"] for b in s.result.boxes], captions)

    def test_logical_coordinates_scale_text(self):
        img = self.screen(["CLS", "SCREEN 316,217", "COLOR 0,12", 'PRINT " ";']).image
        # Every logical unit is two pixels: the first cell is 16 x 26 pixels.
        self.assertEqual(img.pixel(15, 25), rgb(PALETTE[12]))
        self.assertEqual(img.pixel(17, 5), WHITE)

    def test_paint_mode_5_repaints(self):
        s = self.screen(["PAINTMODE 5", show("%{PAINTREQUESTED}")], script="answer OK\n")
        self.assertEqual(self.shown(s.result), ["0"])


if __name__ == "__main__":
    main()
