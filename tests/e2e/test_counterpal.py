"""End-to-end cases: the real counterpal binary, each run as its own process in a fresh folder.

Every case checks the console lines, the exit code and every file left in the folder. Expected
output counters are computed here, from the swatch layout, never taken from the tool itself.
The binary comes from the COUNTERPAL environment variable. A Windows build (counterpal.exe) runs
under the launcher named by COUNTERPAL_LAUNCHER (Wine): a copy of the .exe is put into each case's
folder, because Windows starts a program with its full path, so its output lands beside it.
Cases that need what only one platform has are skipped on the other, with the reason.
"""

import ctypes
import os
import pty
import random
import resource
import select
import shutil
import signal
import struct
import subprocess
import tempfile
import termios
import time
import unittest

BINARY = os.path.abspath(os.environ["COUNTERPAL"])
WINDOWS = BINARY.lower().endswith(".exe")
LAUNCHER = os.environ.get("COUNTERPAL_LAUNCHER", "")
EXE_NAME = os.path.basename(BINARY)
# A sanitized build reserves terabytes of address space, so it cannot start under a memory limit.
SANITIZED = os.environ.get("COUNTERPAL_SANITIZED") == "1"

PROGRESS = (["OK So far2!3"]
            + [f"OK So far{grid}!{row}" for row in range(4, 13) for grid in (1, 2)]
            + ["OK So far!"])
ARGUMENTS = "Too many arguments or missing input files"
NO_SWATCH_SHEET = "A 24bit bitmap counter is needed as input"
NO_PROTOTYPE = ("A 8bit bitmap prototype counter e.g. counter.bmp in [GameDir]\\gfx\\palette\\ "
                "is needed as input")
OUTPUT = "counter_NEW.bmp"

posix_only = unittest.skipIf(WINDOWS, "needs a POSIX process: a chosen argv[0], resource limits, "
                                      "signals or a pseudo-terminal")


# --- Counter files, built from scratch --------------------------------------------------------

def bitmap_header(bits, palette_entries, height=34):
    pixel_offset = 54 + 4 * palette_entries
    image_size = 64 * bits // 8 * 34
    return struct.pack("<2sIHHIIiiHHIIiiII", b"BM", pixel_offset + image_size, 0, 0,
                       pixel_offset, 40, 64, height, 1, bits, 0, image_size, 2835, 2835,
                       palette_entries, 0)


def swatch_sheet(seed=1):
    return bitmap_header(24, 0) + random.Random(seed).randbytes(64 * 34 * 3)


def prototype(seed=2):
    """An 8-bit counter with random colours, fourth palette bytes included."""
    rng = random.Random(seed)
    return bitmap_header(8, 256) + rng.randbytes(256 * 4) + rng.randbytes(64 * 34)


def with_bytes(data, offset, values):
    return data[:offset] + bytes(values) + data[offset + len(values):]


# Where each recoloured palette entry takes its pixel from: (column, stored row), rows counted
# from the bottom of the picture.
def swatch_places():
    places = {}
    for entry in range(2, 128):
        i = entry - 2
        places[entry] = (4 + i % 14, 12 - i // 14)
    for entry in range(144, 244):
        i = entry - 144
        places[entry] = (35 + i % 10, 12 - i // 10)
    for entry, place in zip(range(251, 256), [(2, 1), (1, 2), (7, 17), (6, 18), (2, 19)]):
        places[entry] = place
    return places


def expected_output(sheet, proto):
    out = bytearray(proto)
    for entry, (column, row) in sorted(swatch_places().items()):
        pixel = 54 + 192 * row + 3 * column
        at = 54 + 4 * entry
        out[at:at + 4] = sheet[pixel:pixel + 3] + b"\0"  # a short prototype grows here
    return bytes(out)


# --- Running the tool -------------------------------------------------------------------------

class Folder:
    """A fresh temporary folder: the program's working folder for one case."""

    def __init__(self, test):
        self._temp = tempfile.TemporaryDirectory(prefix="counterpal-e2e-")
        test.addCleanup(self._temp.cleanup)
        self.path = self._temp.name
        if WINDOWS:
            shutil.copy(BINARY, self.path)

    def put(self, files):
        for name, content in files.items():
            full = os.path.join(self.path, name)
            if content is None:
                os.makedirs(full, exist_ok=True)
            else:
                with open(full, "wb") as f:
                    f.write(content)

    def contents(self):
        """Every file and folder below, by relative name; folders map to None."""
        found = {}
        for top, folders, files in os.walk(self.path):
            for name in folders:
                found[os.path.relpath(os.path.join(top, name), self.path)] = None
            for name in files:
                full = os.path.join(top, name)
                if WINDOWS and top == self.path and name == EXE_NAME:
                    continue  # the program itself, not a file it left
                with open(full, "rb") as f:
                    found[os.path.relpath(full, self.path)] = summary(f.read(LARGE + 1), full)
        return found


LARGE = 1 << 20


def summary(content, path):
    """Small files whole; a large one by its length and first bytes, to keep the cases quick."""
    if len(content) <= LARGE:
        return content
    return ("large file", os.path.getsize(path), content[:4096])


class Run:
    def __init__(self, code, stdout):
        self.code = code
        self.lines = stdout.decode("latin-1").splitlines()


def run_tool(folder, args, argv0=None, preexec=None, stdout=None):
    """Runs the tool in `folder`; standard output goes through a file, standard input is empty."""
    capture_path = os.path.join(tempfile.gettempdir(), f"counterpal-stdout-{os.getpid()}")
    if WINDOWS:
        assert argv0 is None and preexec is None, "not on Windows: mark the case posix_only"
        command, executable = [LAUNCHER, os.path.join(folder.path, EXE_NAME), *args], None
    else:
        command, executable = [argv0 or BINARY, *args], BINARY
    with open(capture_path, "wb") as capture:
        completed = subprocess.run(command, executable=executable, cwd=folder.path,
                                   stdin=subprocess.DEVNULL,
                                   stdout=capture if stdout is None else stdout,
                                   stderr=subprocess.DEVNULL if WINDOWS else None,
                                   preexec_fn=preexec, timeout=120)
    with open(capture_path, "rb") as capture:
        printed = capture.read()
    os.remove(capture_path)
    return Run(completed.returncode, printed)


class ToolTestCase(unittest.TestCase):
    def assertFailure(self, run, line, after_progress=False):
        ours = (PROGRESS if after_progress else []) + [line]
        self.assertEqual(ours, run.lines[:len(ours)])
        # On Windows the command interpreter's own "pause" prints its prompt after the line.
        for theirs in run.lines[len(ours):]:
            self.assertTrue(WINDOWS and theirs.startswith("Press any key"), theirs)
        self.assertEqual(1, run.code)

    def assertSuccess(self, run):
        self.assertEqual(PROGRESS, run.lines)
        self.assertEqual(0, run.code)


# --- Success ----------------------------------------------------------------------------------

class Success(ToolTestCase):
    def test_either_order_gives_the_prototype_with_the_swatch_colours(self):
        sheet, proto = swatch_sheet(), prototype()
        for args in (["sheet.bmp", "proto.bmp"], ["proto.bmp", "sheet.bmp"]):
            with self.subTest(args=args):
                folder = Folder(self)
                inputs = {"sheet.bmp": sheet, "proto.bmp": proto}
                folder.put(inputs)
                self.assertSuccess(run_tool(folder, args))
                self.assertEqual({**inputs, OUTPUT: expected_output(sheet, proto)},
                                 folder.contents())

    def test_output_differs_from_the_prototype_only_in_the_three_stretches(self):
        sheet, proto = swatch_sheet(seed=3), prototype(seed=4)
        folder = Folder(self)
        folder.put({"s.bmp": sheet, "p.bmp": proto})
        self.assertSuccess(run_tool(folder, ["s.bmp", "p.bmp"]))
        output = folder.contents()[OUTPUT]
        self.assertEqual(len(proto), len(output))
        differing = {i for i in range(len(proto)) if proto[i] != output[i]}
        stretches = set(range(62, 566)) | set(range(630, 1030)) | set(range(1058, 1078))
        self.assertLessEqual(differing, stretches)

    def test_unchecked_header_fields_pass_through(self):
        # A wrong file size, 320 wide, 290 high, 280 bits: only the lowest bytes are compared.
        proto = with_bytes(with_bytes(prototype(), 2, [1, 2, 3, 4]), 19, [1])
        sheet = with_bytes(with_bytes(swatch_sheet(), 23, [1]), 29, [1])
        folder = Folder(self)
        folder.put({"s.bmp": sheet, "p.bmp": proto})
        self.assertSuccess(run_tool(folder, ["s.bmp", "p.bmp"]))
        self.assertEqual(expected_output(sheet, proto), folder.contents()[OUTPUT])

    def test_prototype_cut_short_in_its_last_entries_grows_to_the_end_of_the_palette(self):
        sheet, proto = swatch_sheet(), prototype()[:1060]
        folder = Folder(self)
        folder.put({"s.bmp": sheet, "p.bmp": proto})
        self.assertSuccess(run_tool(folder, ["p.bmp", "s.bmp"]))
        output = folder.contents()[OUTPUT]
        self.assertEqual(1078, len(output))
        self.assertEqual(expected_output(sheet, proto), output)

    def test_replaces_an_earlier_output_and_can_take_it_as_its_prototype(self):
        sheet, proto = swatch_sheet(), prototype()
        folder = Folder(self)
        folder.put({"s.bmp": sheet, OUTPUT: proto})
        self.assertSuccess(run_tool(folder, ["s.bmp", OUTPUT]))
        self.assertEqual({"s.bmp": sheet, OUTPUT: expected_output(sheet, proto)},
                         folder.contents())

    def test_a_file_named_like_its_scratch_file_is_left_alone(self):
        sheet, proto = swatch_sheet(), prototype()
        folder = Folder(self)
        inputs = {"s.bmp": sheet, "p.bmp": proto, OUTPUT + ".0.tmp": b"the user's"}
        folder.put(inputs)
        self.assertSuccess(run_tool(folder, ["s.bmp", "p.bmp"]))
        self.assertEqual({**inputs, OUTPUT: expected_output(sheet, proto)}, folder.contents())

    @posix_only
    def test_output_lands_in_the_program_folder_cut_at_the_last_backslash(self):
        sheet, proto = swatch_sheet(), prototype()
        expected = expected_output(sheet, proto)
        cases = [
            ("bare name", "counterpal", OUTPUT),
            ("forward slashes only", "./tools/counterpal", OUTPUT),
            ("absolute, forward slashes only", BINARY, OUTPUT),
            # A backslash is an ordinary character in POSIX file names: the folder part becomes
            # part of the output's own name.
            ("backslashes", "C:\\games\\counterpal.exe", "C:\\games\\" + OUTPUT),
            ("a real folder before the backslash", "out/\\counterpal", "out/\\" + OUTPUT),
        ]
        for what, argv0, output_name in cases:
            with self.subTest(what):
                folder = Folder(self)
                inputs = {"s.bmp": sheet, "p.bmp": proto, "out": None}
                folder.put(inputs)
                self.assertSuccess(run_tool(folder, ["s.bmp", "p.bmp"], argv0=argv0))
                self.assertEqual({**inputs, output_name: expected}, folder.contents())

    def test_a_console_whose_reader_has_gone_changes_nothing_else(self):
        # As in `counterpal a b | head -1`, once head has left.
        reader, writer = os.pipe()
        os.close(reader)
        self.addCleanup(os.close, writer)
        self.check_run_without_a_console(stdout=writer)

    @posix_only
    def test_a_closed_standard_output_changes_nothing_else(self):
        self.check_run_without_a_console(preexec=lambda: os.close(1))

    def check_run_without_a_console(self, **how):
        sheet, proto = swatch_sheet(), prototype()
        folder = Folder(self)
        inputs = {"s.bmp": sheet, "p.bmp": proto}
        folder.put(inputs)
        run = run_tool(folder, ["s.bmp", "p.bmp"], **how)
        self.assertEqual(0, run.code)
        self.assertEqual([], run.lines)
        self.assertEqual({**inputs, OUTPUT: expected_output(sheet, proto)}, folder.contents())


# --- Failures ---------------------------------------------------------------------------------

def set_file_size_limit():
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)  # stays ignored across exec
    resource.setrlimit(resource.RLIMIT_FSIZE, (2000, 2000))


def set_memory_limit():
    resource.setrlimit(resource.RLIMIT_AS, (256 << 20, 256 << 20))


class Failures(ToolTestCase):
    """Each failure prints its one line and exits 1, and leaves every file as it found it."""

    SHEET = swatch_sheet()
    PROTO = prototype()
    PAIR = {"s.bmp": SHEET, "p.bmp": PROTO}

    CASES = [
        # what, files, args, line, options
        ("no file names", PAIR, [], ARGUMENTS, {}),
        ("one file name", PAIR, ["s.bmp"], ARGUMENTS, {}),
        ("three file names", PAIR, ["s.bmp", "p.bmp", "p.bmp"], ARGUMENTS, {}),
        ("both inputs missing", {}, ["gone1.bmp", "gone2.bmp"],
         "Cannot open input file: gone1.bmp", {}),
        ("the second missing, named as typed", {"p.bmp": PROTO}, ["p.bmp", "../x/gone.bmp"],
         "Cannot open prototype file: ../x/gone.bmp", {}),
        ("output folder cannot take a file", PAIR, ["s.bmp", "p.bmp"],
         "Cannot open output file: /proc/\\counter_NEW.bmp", {"argv0": "/proc/\\counterpal"}),
        # POSIX opens a folder and fails to read it; Windows does not open it at all.
        ("first input is a folder", {"dir": None, "p.bmp": PROTO}, ["dir", "p.bmp"],
         "Cannot open input file: dir" if WINDOWS else "Error occured while reading file 1: dir",
         {}),
        ("second input is a folder", {"dir": None, "s.bmp": SHEET}, ["s.bmp", "dir"],
         "Cannot open prototype file: dir" if WINDOWS
         else "Error occured while reading file 2: dir", {}),
        ("first input too large for memory", {"p.bmp": PROTO},
         ["big.bmp", "p.bmp"], "Error occured while reading file 1: big.bmp",
         {"preexec": set_memory_limit, "sparse": "big.bmp"}),
        ("first input is no bitmap", {"a.txt": b"hello", "p.bmp": PROTO}, ["a.txt", "p.bmp"],
         "The first input file is no bitmap", {}),
        ("empty first input", {"e.bmp": b"", "p.bmp": PROTO}, ["e.bmp", "p.bmp"],
         "The first input file is no bitmap", {}),
        ("neither is a bitmap", {"a": b"a", "b": b"b"}, ["a", "b"],
         "The first input file is no bitmap", {}),
        ("second input is no bitmap", {"s.bmp": SHEET, "b": b"PNG"}, ["s.bmp", "b"],
         "The second input file is no bitmap", {}),
        ("signatures are tested before sizes",
         {"s.bmp": with_bytes(SHEET, 22, [35]), "b": b"x"}, ["s.bmp", "b"],
         "The second input file is no bitmap", {}),
        ("first input has the wrong size", {"s.bmp": with_bytes(SHEET, 18, [65]), "p.bmp": PROTO},
         ["s.bmp", "p.bmp"], "The first input file is no Vandor counter", {}),
        ("second input is top-down", {"s.bmp": SHEET, "p.bmp": with_bytes(PROTO, 22, [0xDE, 0xFF])},
         ["s.bmp", "p.bmp"], "The second input file is no Vandor counter", {}),
        ("first input is only a signature", {"bm": b"BM", "p.bmp": PROTO}, ["bm", "p.bmp"],
         "The first input file is no Vandor counter", {}),
        ("swatch sheet too short for its last swatch", {"s.bmp": SHEET[:3710], "p.bmp": PROTO},
         ["s.bmp", "p.bmp"], "The first input file is no Vandor counter", {}),
        ("prototype too short for its last palette entries",
         {"s.bmp": SHEET, "p.bmp": PROTO[:1057]}, ["s.bmp", "p.bmp"],
         "The second input file is no Vandor counter", {}),
        ("both too short", {"s.bmp": SHEET[:100], "p.bmp": PROTO[:100]}, ["p.bmp", "s.bmp"],
         "The first input file is no Vandor counter", {}),
        ("two 8-bit counters", PAIR, ["p.bmp", "p.bmp"], NO_SWATCH_SHEET, {}),
        ("a 16-bit counter beside an 8-bit one", {"s.bmp": with_bytes(SHEET, 28, [16]),
                                                  "p.bmp": PROTO}, ["s.bmp", "p.bmp"],
         NO_SWATCH_SHEET, {}),
        ("two 24-bit counters", PAIR, ["s.bmp", "s.bmp"], NO_PROTOTYPE, {}),
        ("output cannot be written whole", PAIR, ["s.bmp", "p.bmp"],
         "Error occured while writing the output file",
         {"preexec": set_file_size_limit, "after_progress": True}),
    ]

    def test_each_failure_prints_its_line_and_leaves_every_file_as_it_was(self):
        for what, files, args, line, options in self.CASES:
            for earlier in (None, b"an earlier output counter"):
                with self.subTest(what, earlier_output=earlier is not None):
                    if options.get("preexec") is set_memory_limit and SANITIZED:
                        self.skipTest("a sanitized build cannot run under a memory limit")
                    if WINDOWS and ("preexec" in options or "argv0" in options):
                        self.skipTest("needs a chosen argv[0] or a POSIX resource limit")
                    folder = Folder(self)
                    before = dict(files)
                    if earlier is not None:
                        before[OUTPUT] = earlier
                    folder.put(before)
                    if "sparse" in options:
                        # A counter header, then more zeros than the memory limit allows.
                        big = os.path.join(folder.path, options["sparse"])
                        with open(big, "wb") as f:
                            f.write(self.SHEET[:54])
                            f.truncate(300 << 20)
                        with open(big, "rb") as f:
                            before[options["sparse"]] = summary(f.read(LARGE + 1), big)
                    run = run_tool(folder, args, argv0=options.get("argv0"),
                                   preexec=options.get("preexec"))
                    self.assertFailure(run, line, options.get("after_progress", False))
                    self.assertEqual(before, folder.contents())

    @posix_only
    def test_an_empty_argument_vector_is_the_argument_failure(self):
        # Started with argc 0 (newer kernels turn that into one empty argument).
        folder = Folder(self)
        folder.put(self.PAIR)
        capture = os.path.join(folder.path, "stdout")
        child = os.fork()
        if child == 0:
            try:
                os.chdir(folder.path)
                out = os.open(capture, os.O_WRONLY | os.O_CREAT, 0o600)
                os.dup2(out, 1)
                libc = ctypes.CDLL(None, use_errno=True)
                no_args = (ctypes.c_char_p * 1)(None)
                libc.execve(BINARY.encode(), no_args, no_args)
            finally:
                os._exit(127)
        _, status = os.waitpid(child, 0)
        with open(capture, "rb") as f:
            self.assertFailure(Run(os.waitstatus_to_exitcode(status), f.read()), ARGUMENTS)
        os.remove(capture)
        self.assertEqual(self.PAIR, folder.contents())


# --- The pause on a terminal ------------------------------------------------------------------

@posix_only
class PauseOnATerminal(ToolTestCase):
    PROMPT = "Press any key to continue . . ."

    def start_on_terminal(self, folder, args):
        main, side = pty.openpty()
        self.settings = termios.tcgetattr(side)
        process = subprocess.Popen([BINARY, *args], cwd=folder.path, stdin=side, stdout=side,
                                   stderr=side, start_new_session=True)
        os.close(side)
        self.addCleanup(os.close, main)
        self.addCleanup(lambda: process.poll() is None and process.kill())
        return main, process

    def read_until(self, main, text):
        seen = b""
        deadline = time.monotonic() + 30
        while text.encode() not in seen and time.monotonic() < deadline:
            if select.select([main], [], [], 0.5)[0]:
                seen += os.read(main, 1024)
        return seen.decode("latin-1")

    def test_waits_for_one_key_then_exits_1_having_cleaned_up(self):
        for key, what in ((b"x", "a key"), (b"\x03", "Ctrl-C")):
            with self.subTest(what):
                folder = Folder(self)
                inputs = {"p.bmp": prototype(), OUTPUT: b"earlier"}
                folder.put(inputs)
                main, process = self.start_on_terminal(folder, ["p.bmp", "p.bmp"])
                seen = self.read_until(main, self.PROMPT)
                self.assertEqual([NO_SWATCH_SHEET, self.PROMPT], seen.splitlines())
                time.sleep(0.3)
                self.assertIsNone(process.poll(), "it waits for a key")
                self.assertEqual(inputs, folder.contents(), "cleaned up before the wait")

                os.write(main, key)
                self.assertEqual(1, process.wait(timeout=30))
                self.assertNotIn("x", self.read_until(main, "\n"), "the key is not echoed")
                self.assertEqual(self.settings, termios.tcgetattr(main), "terminal restored")
                self.assertEqual(inputs, folder.contents())

    def test_a_successful_run_does_not_pause(self):
        folder = Folder(self)
        folder.put({"s.bmp": swatch_sheet(), "p.bmp": prototype()})
        main, process = self.start_on_terminal(folder, ["s.bmp", "p.bmp"])
        self.assertEqual(0, process.wait(timeout=30))
        self.assertEqual(PROGRESS, self.read_until(main, "OK So far!\r\n").splitlines())


if __name__ == "__main__":
    unittest.main()
