"""A real window: morvrun on an X server (Xvfb, started here on a free display) with
Qt's xcb platform. The test waits until the window shows the program's text, box and
colours on the X screen, checks a screenshot of it against the run's own snapshot,
and presses a real key (XTEST) to end the program's wait."""
import os
import shutil
import subprocess
import sys
import time
import unittest

from harness import MORVRUN, MorvenTestCase, main
from test_console import PALETTE, Png, rgb

try:
    from Xlib import X, XK, display as xdisplay
    from Xlib.ext import xtest
except ImportError:  # pragma: no cover - scripts/deps.sh installs python3-xlib
    X = None

XVFB = shutil.which("Xvfb")
PROGRAM = """\
PLACEWINDOW 0,0-640,480
COLOR 12,14
PRINT "Farbe"
COLOR 0,15
TBOX 3,2-6,20;1
PRINT "Kasten"
WAITKEY
END
"""
MENU_ROW = 19     # the menu bar "LEER" above the client area
DEADLINE = 60     # seconds to wait for the X server and the window


def free_display():
    for n in range(90, 200):
        if not os.path.exists("/tmp/.X11-unix/X%d" % n) and not os.path.exists("/tmp/.X%d-lock" % n):
            return n
    raise RuntimeError("no free X display number")


@unittest.skipIf(XVFB is None or X is None, "needs Xvfb and python3-xlib (scripts/deps.sh)")
class RealWindow(MorvenTestCase):
    def setUp(self):
        super().setUp()
        self.number = free_display()
        self.xvfb = subprocess.Popen([XVFB, ":%d" % self.number, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.display = None
        until = time.monotonic() + DEADLINE
        while self.display is None:
            try:
                self.display = xdisplay.Display(":%d" % self.number)
            except Exception:
                if time.monotonic() > until or self.xvfb.poll() is not None:
                    raise
                time.sleep(0.1)

    def tearDown(self):
        if self.display is not None:
            self.display.close()
        self.xvfb.terminate()
        self.xvfb.wait(timeout=30)
        super().tearDown()

    def main_window(self):
        """The top-level X window of morvrun's main window, or None."""
        for child in self.display.screen().root.query_tree().children:
            try:
                name = child.get_wm_name()
                attrs = child.get_attributes()
            except Exception:
                continue
            if name and "RUNTIME 6.0-NT" in str(name) and attrs.map_state == X.IsViewable:
                return child
        return None

    def client_pixels(self, window, width, height):
        """A screenshot of the client area (below the menu bar): rows of (r, g, b)."""
        geometry = window.get_geometry()
        origin = window.translate_coords(self.display.screen().root, 0, 0)
        x, y = -origin.x, -origin.y + MENU_ROW
        image = self.display.screen().root.get_image(x, y, width, height, X.ZPixmap, 0xFFFFFFFF)
        data = image.data
        bpp = len(data) // (width * height)
        self.assertGreaterEqual(geometry.width, width)
        return [[(data[(r * width + c) * bpp + 2], data[(r * width + c) * bpp + 1], data[(r * width + c) * bpp])
                 for c in range(width)] for r in range(height)]

    def test_window_on_the_x_server(self):
        program = self.assemble(PROGRAM)
        snapshot = self.path("snap.png")
        env = {k: v for k, v in os.environ.items() if k not in ("MORVEN_HEADLESS", "WAYLAND_DISPLAY")}
        env.update({"DISPLAY": ":%d" % self.number, "QT_QPA_PLATFORM": "xcb", "MORVEN_SNAPSHOT": snapshot,
                    "MORVEN_LOG": self.path("events.jsonl")})
        proc = subprocess.Popen([MORVRUN, program], env=env, cwd=self.dir, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE)
        try:
            yellow, red = rgb(PALETTE[14]), rgb(PALETTE[12])
            width, height = 632, 434
            until = time.monotonic() + DEADLINE
            shot = None
            while True:
                self.assertIsNone(proc.poll(), proc.stderr.read() if proc.poll() is not None else "")
                window = self.main_window()
                if window is not None:
                    pixels = self.client_pixels(window, width, height)
                    box_line = pixels[2 * 13 + 6][5 * 8]  # the upper of the double lines
                    if pixels[0][0] == yellow and box_line == (0, 0, 0):
                        shot = (window, pixels)
                        break
                self.assertLess(time.monotonic(), until, "the window never showed the program's picture")
                time.sleep(0.2)
            window, pixels = shot
            # "Farbe": red text on yellow cells, white beyond.
            cells = {p for row in pixels[0:13] for p in row[0:5 * 8]}
            self.assertIn(red, cells)
            self.assertEqual(pixels[5][6 * 8 + 4], (255, 255, 255))

            # A real key press ends the wait.
            window.set_input_focus(X.RevertToParent, X.CurrentTime)
            code = self.display.keysym_to_keycode(XK.string_to_keysym("a"))
            xtest.fake_input(self.display, X.KeyPress, code)
            xtest.fake_input(self.display, X.KeyRelease, code)
            self.display.sync()
            out, err = proc.communicate(timeout=DEADLINE)
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait()
        self.assertEqual(proc.returncode, 0, err)
        # What the X server showed is the run's own picture of the client area.
        png = Png(snapshot)
        self.assertEqual((png.width, png.height), (width, height))
        differing = sum(1 for y in range(height) for x in range(width) if png.pixel(x, y) != pixels[y][x])
        self.assertEqual(differing, 0)


if __name__ == "__main__":
    main()
