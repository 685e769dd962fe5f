"""The example programs run headless and give their results."""
import os

from harness import MorvenTestCase, main

EXAMPLES = os.path.join(os.environ.get("MORVEN_SOURCE_DIR", "."), "examples")


class Examples(MorvenTestCase):
    def run_example(self, name):
        with open(os.path.join(EXAMPLES, name), encoding="utf-8") as f:
            result = self.run_listing(f.read())
        self.assertExit(result, 0)
        return [(b["caption"], b["text"]) for b in result.boxes]

    def test_hello(self):
        with open(os.path.join(EXAMPLES, "hello.mva"), encoding="utf-8") as f:
            listing = f.read()
        screen = self.path("screen.txt")
        result = self.run_listing(listing, script="key 13\n", env={"MORVEN_SCREEN_TEXT": screen})
        self.assertExit(result, 0)
        with open(screen, encoding="utf-8") as f:
            lines = f.read().split("\n")
        self.assertEqual(lines[0].rstrip(), " MORVEN f\u00fcr Linux")
        self.assertEqual(lines[4].rstrip(), "    Hallo, Welt!")
        self.assertEqual(lines[6].rstrip(), "     Bitte eine Taste dr\u00fccken.")
        # Without the key the headless run ends as if the window was closed.
        self.assertExit(self.run_listing(listing), 255)

    def test_primes(self):
        self.assertEqual(self.run_example("primes.mva"), [
            ("Sieb", "Primzahlen bis 50: 2 3 5 7 11 13 17 19 23 29 31 37 41 43 47"),
            ("Fakult\u00e4t", "10! = 3628800"),
            ("Funktionen", "3\u00b2 + 4\u00b2 = 25"),
        ])


if __name__ == "__main__":
    main()
