"""End-to-end cases of counterpal: the real binary, each run as its own process in a fresh folder.

Every case checks the console lines, the exit code and every file left in the folder. Expected
output counters are computed here, from the swatch layout, never taken from the tool itself.
"""

import ctypes
import os
import pty
import resource
import select
import signal
import subprocess
import termios
import time
import unittest

from harness import (ARGUMENTS, BINARY, LARGE, NO_PROTOTYPE, NO_SWATCH_SHEET, OUTPUT, PROGRESS,
                     SANITIZED, WINDOWS, Folder, Run, ToolTestCase, expected_output, posix_only,
                     prototype, run_tool, summary, swatch_sheet, with_bytes)


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
