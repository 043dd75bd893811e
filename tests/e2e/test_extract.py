"""End-to-end cases of counterpal-extract: the real binary, each run in a fresh folder."""

import random
import unittest

from harness import (ARGUMENTS, EXTRACT, NO_PROTOTYPE, OUTPUT, PROGRESS, Folder, ToolTestCase,
                     WINDOWS, bitmap_header, posix_only, prototype, run_tool, swatch_places,
                     swatch_sheet, with_bytes)

SHEET_OUT = "swatch_NEW.bmp"
WRITTEN = "Swatch sheet written: "


def well_made_prototype(seed):
    """A random 8-bit counter whose palette entries end in 0, as a paint program saves them."""
    rng = random.Random(seed)
    palette = b"".join(rng.randbytes(3) + b"\0" for _ in range(256))
    return bitmap_header(8, 256) + palette + rng.randbytes(64 * 34)


def extract(folder, args):
    return run_tool(folder, args, program=EXTRACT)


class Extract(ToolTestCase):
    def test_writes_a_sheet_with_the_prototypes_colours_in_their_swatches(self):
        proto = prototype()
        folder = Folder(self)
        folder.put({"p.bmp": proto})
        run = extract(folder, ["p.bmp"])
        self.assertEqual(0, run.code)
        # Windows starts a program by its full path, which then shows in the output's path.
        where = folder.path_as_the_program_sees_it() + "\\" if WINDOWS else ""
        self.assertEqual([WRITTEN + where + SHEET_OUT], run.lines)
        files = folder.contents()
        self.assertEqual({"p.bmp", SHEET_OUT}, files.keys())
        sheet = files[SHEET_OUT]

        self.assertEqual(bitmap_header(24, 0), sheet[:54], "a plain 64x34 24-bit header")
        self.assertEqual(6582, len(sheet))
        places = {place: entry for entry, place in swatch_places().items()}
        for row in range(34):
            for column in range(64):
                pixel = sheet[54 + 192 * row + 3 * column:][:3]
                entry = places.get((column, row))
                expected = b"\x80\x80\x80" if entry is None else proto[54 + 4 * entry:][:3]
                self.assertEqual(expected, pixel, (column, row))

    def test_round_trip_through_counterpal_gives_back_the_prototype(self):
        for seed in range(12):
            with self.subTest(seed=seed):
                proto = well_made_prototype(seed)
                folder = Folder(self)
                folder.put({"p.bmp": proto})
                self.assertEqual(0, extract(folder, ["p.bmp"]).code)
                run = run_tool(folder, [SHEET_OUT, "p.bmp"])
                self.assertEqual((PROGRESS, 0), (run.lines, run.code))
                self.assertEqual(proto, folder.contents()[OUTPUT])

    def test_replaces_an_earlier_sheet(self):
        folder = Folder(self)
        folder.put({"p.bmp": prototype(), SHEET_OUT: b"earlier"})
        self.assertEqual(0, extract(folder, ["p.bmp"]).code)
        self.assertEqual(6582, len(folder.contents()[SHEET_OUT]))

    CASES = [
        ("no file name", [], ARGUMENTS),
        ("two file names", ["p.bmp", "p.bmp"], ARGUMENTS),
        ("missing file", ["gone.bmp"], "Cannot open input file: gone.bmp"),
        ("no bitmap", ["text.txt"], "The first input file is no bitmap"),
        ("wrong size", ["tall.bmp"], "The first input file is no Vandor counter"),
        ("short of its colour table", ["short.bmp"], "The first input file is no Vandor counter"),
        ("a swatch sheet", ["sheet.bmp"], NO_PROTOTYPE),
    ]

    def test_each_failure_prints_its_line_and_leaves_every_file_as_it_was(self):
        files = {"p.bmp": prototype(), "text.txt": b"hello",
                 "tall.bmp": with_bytes(prototype(), 22, [35]), "short.bmp": prototype()[:1077],
                 "sheet.bmp": swatch_sheet()}
        for what, args, line in self.CASES:
            for earlier in (None, b"an earlier sheet"):
                with self.subTest(what, earlier_sheet=earlier is not None):
                    folder = Folder(self)
                    before = dict(files, **({} if earlier is None else {SHEET_OUT: earlier}))
                    folder.put(before)
                    self.assertFailure(extract(folder, args), line)
                    self.assertEqual(before, folder.contents())

    @posix_only
    def test_output_lands_in_the_program_folder(self):
        folder = Folder(self)
        folder.put({"p.bmp": prototype()})
        run = run_tool(folder, ["p.bmp"], argv0="tools\\counterpal-extract", program=EXTRACT)
        self.assertEqual([WRITTEN + "tools\\" + SHEET_OUT], run.lines)
        self.assertIn("tools\\" + SHEET_OUT, folder.contents())


if __name__ == "__main__":
    unittest.main()
