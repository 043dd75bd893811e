"""What the end-to-end cases share: counter files built from scratch, a fresh folder per case,
and running a program of the tool in it as its own process.

The programs come from the COUNTERPAL and COUNTERPAL_EXTRACT environment variables. A Windows
build (.exe) runs under the launcher named by COUNTERPAL_LAUNCHER (Wine): a copy of each program
is put into each case's folder, because Windows starts a program with its full path, so its
output lands beside it. Cases that need what only POSIX offers are marked posix_only.
"""

import os
import random
import shutil
import struct
import subprocess
import tempfile
import unittest

BINARY = os.path.abspath(os.environ["COUNTERPAL"])
EXTRACT = os.path.abspath(os.environ["COUNTERPAL_EXTRACT"])
PROGRAMS = (BINARY, EXTRACT)
WINDOWS = BINARY.lower().endswith(".exe")
LAUNCHER = os.environ.get("COUNTERPAL_LAUNCHER", "")
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
            for program in PROGRAMS:
                shutil.copy(program, self.path)

    def path_as_the_program_sees_it(self):
        """Wine shows the Unix file system as drive Z:."""
        return "Z:" + self.path.replace("/", "\\") if WINDOWS else self.path

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
                if WINDOWS and top == self.path and name in map(os.path.basename, PROGRAMS):
                    continue  # the programs themselves, not files they left
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


def run_tool(folder, args, argv0=None, preexec=None, stdout=None, program=BINARY):
    """Runs a program of the tool (counterpal unless told) in `folder`; standard output goes
    through a file, standard input is empty."""
    capture_path = os.path.join(tempfile.gettempdir(), f"counterpal-stdout-{os.getpid()}")
    if WINDOWS:
        assert argv0 is None and preexec is None, "not on Windows: mark the case posix_only"
        command = [LAUNCHER, os.path.join(folder.path, os.path.basename(program)), *args]
        executable = None
    else:
        command, executable = [argv0 or program, *args], program
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
