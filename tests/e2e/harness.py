"""Shared helpers of the end-to-end tests: assemble listings with `morven asm`,
run programs headless with `morvrun`, read the JSON Lines event log."""
import json
import os
import subprocess
import tempfile
import unittest

MORVRUN = os.environ.get("MORVRUN", "build/morvrun")
MORVEN_TOOL = os.environ.get("MORVEN_TOOL", "build/morven")
RUN_TIMEOUT = 60


class Result:
    def __init__(self, proc, events):
        self.code = proc.returncode
        self.stdout = proc.stdout
        self.stderr = proc.stderr
        self.events = events

    def of_kind(self, kind):
        return [e for e in self.events if e.get("event") == kind]

    @property
    def boxes(self):
        return self.of_kind("box")

    def __repr__(self):
        return "Result(code=%r, events=%r, stderr=%r)" % (self.code, self.events, self.stderr)


class MorvenTestCase(unittest.TestCase):
    """A test case with its own scratch directory."""

    def setUp(self):
        self._tmp = tempfile.TemporaryDirectory(prefix="morven-e2e-")
        self.dir = self._tmp.name

    def tearDown(self):
        self._tmp.cleanup()

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, data):
        mode = "wb" if isinstance(data, (bytes, bytearray)) else "w"
        with open(self.path(name), mode) as f:
            f.write(data)
        return self.path(name)

    def assemble(self, listing, name="prog.mvc"):
        """Assembles listing text into the scratch directory; returns the .mvc path."""
        src = self.write(os.path.splitext(name)[0] + ".mva", listing)
        out = self.path(name)
        proc = subprocess.run([MORVEN_TOOL, "asm", src, out], capture_output=True, timeout=RUN_TIMEOUT)
        if proc.returncode != 0:
            raise AssertionError("morven asm failed: %s" % proc.stderr.decode(errors="replace"))
        return out

    def run_program(self, args, script=None, env=None, cwd=None, executable=None):
        """Runs morvrun (or another executable) headless with a log; returns a Result."""
        log = self.path("events.jsonl")
        if os.path.exists(log):
            os.remove(log)
        full_env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        full_env.update({"MORVEN_HEADLESS": "1", "MORVEN_LOG": log})
        if script is not None:
            full_env["MORVEN_INPUT"] = self.write("script.txt", script)
        if env:
            full_env.update(env)
        if isinstance(args, str):
            args = [args]
        proc = subprocess.run([executable or MORVRUN] + list(args), capture_output=True,
                              env=full_env, cwd=cwd or self.dir, timeout=RUN_TIMEOUT)
        events = []
        if os.path.exists(log):
            with open(log, encoding="utf-8") as f:
                events = [json.loads(line) for line in f if line.strip()]
        return Result(proc, events)

    def run_listing(self, listing, script=None, env=None, args=()):
        return self.run_program([self.assemble(listing)] + list(args), script=script, env=env)

    def assertExit(self, result, code):
        """The process ended with `code` and the log's last event says so."""
        self.assertEqual(result.code, code, result)
        self.assertTrue(result.events, result)
        self.assertEqual(result.events[-1], {"event": "exit", "code": code}, result)


def mvc_bytes(lines, key_bytes=b"  ", mark=b" ", header=None):
    """Builds a compiled program file from raw line payloads (unscrambled)."""
    if header is None:
        header = b" ZOX-MORVEN" + mark + b" " * 8 + key_bytes + b" " * 10
    assert len(header) == 32
    data = bytearray(header)
    for line in lines:
        data.append(len(line))
        data += line
    return bytes(data)


def main():
    unittest.main(verbosity=2)
