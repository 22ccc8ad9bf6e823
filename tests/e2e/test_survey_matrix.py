"""Two implementations' surveys compared without a device: --compare pairs their modes although the
adapters are named differently, and --matrix draws them side by side, the one differing cell
marked where the differing sample is drawn, legibly, and no JSON token in the page's text; an
implementation's render-target formats that show the same are one column, one that differs its own."""

import json
import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import quillant_e2e as q  # noqa: E402
from test_survey import fresh_folder, windows_path  # noqa: E402
from test_survey_baseline import BORDER, DOT, drawn, run_without_display  # noqa: E402

FIXTURE = os.path.join(q.SOURCE_DIR, "tests", "fixtures", "survey-wine8-schema2.json")
MARK = (230, 81, 0)  # the border of a marked cell


def write(folder, name, document):
    path = os.path.join(folder, name)
    with open(path, "w", encoding="utf-8") as f:
        json.dump(document, f)
    return path


def box_of(image, colour):
    """The bounding box of the pixels of exactly one colour, found a row at a time."""
    pattern, found = bytes(colour), None
    for y in range(image.height):
        row = image.rgb[y * image.width * 3:(y + 1) * image.width * 3]
        at = row.find(pattern)
        while at >= 0 and at % 3:
            at = row.find(pattern, at + 1)
        if at < 0:
            continue
        last = row.rfind(pattern)
        while last >= 0 and last % 3:
            last = row.rfind(pattern, 0, last)
        box = (at // 3, y, last // 3, y)
        found = box if found is None else (min(found[0], box[0]), found[1], max(found[2], box[2]), y)
    assert found, "no pixel of %s" % (colour,)
    return found


class TwoImplementations(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = fresh_folder("matrix")
        os.makedirs(cls.folder)
        with open(FIXTURE, encoding="utf-8") as f:
            wine = json.load(f)
        other = json.loads(json.dumps(wine))
        other["adapters"][0].update(description="llvmpipe (LLVM 15.0.6, 256 bits)", driver="d3d9.dll")
        cls.wine = write(cls.folder, "wine.json", wine)
        cls.same = write(cls.folder, "same.json", other)
        y = other["modes"][2]["measurement"]["samplePositions"]["samples"][2]["y"]
        y.update(sixteenths=12, low=y["low"] + 0.125, high=y["high"] + 0.125)
        cls.moved_samples = other["modes"][2]["measurement"]["samplePositions"]["samples"]
        cls.moved = write(cls.folder, "moved.json", other)

    def test_compare_pairs_the_modes_of_two_adapters_and_says_they_differ(self):
        code, out, err = run_without_display("--compare", windows_path(self.wine), windows_path(self.same))
        self.assertEqual(code, 0, out + err)
        self.assertTrue(out.startswith("The adapters differ: the baseline's is \"NVIDIA GeForce GTX 470\", this "
                                       "survey's \"llvmpipe (LLVM 15.0.6, 256 bits)\"; modes are matched by"), out)
        self.assertIn("no differences from the baseline", out)
        code, out, err = run_without_display("--compare", windows_path(self.wine), windows_path(self.moved))
        self.assertEqual(code, 4, out + err)
        self.assertIn("1 difference from the baseline", out)
        self.assertIn("HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0: sample 2 (mask bit 2) y was 10/16", out)
        code, out, err = run_without_display("--compare", windows_path(self.wine), windows_path(self.same), "--match-adapters")
        self.assertEqual(code, 4, out + err)
        self.assertIn("7 differences from the baseline", out)
        self.assertIn("adapter 0 was \"NVIDIA GeForce GTX 470\" now \"llvmpipe (LLVM 15.0.6, 256 bits)\"", out)

    def test_matrix_marks_the_moved_sample_where_it_is_drawn_legibly_in_words_not_tokens(self):
        out_folder = os.path.join(self.folder, "side")
        code, out, err = run_without_display("--matrix", windows_path(self.wine), windows_path(self.moved),
                                             "--out", windows_path(out_folder))
        self.assertEqual(code, 0, out + err)
        self.assertIn("matrix: %s\\matrix.html, %s\\matrix.md" % ((windows_path(out_folder),) * 2), out)
        self.assertIn("Sample positions: llvmpipe (LLVM 15.0.6, 256 bits) (d3d9.dll 8.21.13.9135) differs from", out)
        self.assertEqual(sorted(os.listdir(out_folder)), ["matrix.html", "matrix.md"])
        with open(os.path.join(out_folder, "matrix.md"), encoding="utf-8") as f:
            markdown = f.read()
        self.assertEqual(markdown.count("**differs from"), 1)
        self.assertIn("| Sample positions | pixel diagram |", markdown)
        page = os.path.join(out_folder, "matrix.html")
        with open(page, encoding="utf-8") as f:
            html = f.read()
        self.assertEqual(q.visible_json_tokens(html), [])
        # Words for people in both files, every number with its unit.
        for name, text in (("matrix.html", q.visible_text(html)), ("matrix.md", markdown)):
            self.assertEqual(q.words_not_for_people(text), [], name)
            for unit in ("in 1/16 pixel", "in steps of 1/255", "in alpha steps of 1/255"):
                self.assertIn(unit, text, name)
        self.assertIn("differs from NVIDIA GeForce GTX 470 (nvd3dum.dll 8.21.13.9135) (the first column: no result is "
                      "shared by more) in 1 of 3 modes", markdown)

        # A table per mode: the 4-sample mode's, with the marked cell, is the third.
        image = q.chromium_screenshot(page, os.path.join(self.folder, "matrix-html.png"), 1900, 10000)
        left, top, right, bottom = box_of(image, MARK)
        # One cell's border, as wide as one diagram and its note: not two cells.
        self.assertTrue(240 < right - left < 400 and 240 < bottom - top < 400, (left, top, right, bottom))
        inside = image.crop(left, top, right - left + 1, bottom - top + 1)
        borders = [b for b in q.components(inside, BORDER) if b[2] - b[0] > 100]
        self.assertEqual(len(borders), 1, borders)
        bleft, btop, bright, _ = borders[0]
        side = bright - bleft + 1 - 4
        self.assertGreaterEqual(side, 160, "the pixel is drawn at %d px" % side)
        dots = [b for b in q.components(inside, DOT, reach=4) if bleft < b[0] and b[2] < bright and btop < b[1] < btop + side + 4]
        self.assertEqual(len(dots), 4, dots)
        # The dot's full colour spans at least 13 px (a radius of 7 with its soft edge): room for its
        # 11 px number.
        for b in dots:
            self.assertGreaterEqual(min(b[2] - b[0], b[3] - b[1]) + 1, 13, "a dot too small for its number: %s" % (b,))
        centres = sorted(((b[0] + b[2] + 1) / 2, (b[1] + b[3] + 1) / 2) for b in dots)
        expected = sorted((bleft + 2 + drawn(s["x"]) * side, btop + 2 + drawn(s["y"]) * side) for s in self.moved_samples)
        for (x, y), (ex, ey) in zip(centres, expected):
            self.assertLessEqual(max(abs(x - ex), abs(y - ey)), 1.5, (centres, expected))

    def test_formats_alike_are_one_column_and_a_format_that_differs_in_one_row_its_own_marked(self):
        # Each survey's 4-sample mode again in A8R8G8B8 and R5G6B5, the same results under other
        # names; the other implementation's R5G6B5 has one sample moved.
        with open(FIXTURE, encoding="utf-8") as f:
            wine = json.load(f)
        for fmt in ("D3DFMT_A8R8G8B8", "D3DFMT_R5G6B5"):
            wine["modes"].append(dict(json.loads(json.dumps(wine["modes"][2])), renderTargetFormat=fmt))
        other = json.loads(json.dumps(wine))
        other["adapters"][0].update(description="llvmpipe (LLVM 15.0.6, 256 bits)", driver="d3d9.dll")
        y = other["modes"][4]["measurement"]["samplePositions"]["samples"][2]["y"]
        y.update(sixteenths=12, low=y["low"] + 0.125, high=y["high"] + 0.125)
        out_folder = os.path.join(self.folder, "formats")
        code, out, err = run_without_display("--matrix", windows_path(write(self.folder, "formats-wine.json", wine)),
                                             windows_path(write(self.folder, "formats-other.json", other)),
                                             "--out", windows_path(out_folder))
        self.assertEqual(code, 0, out + err)
        wine_name = "NVIDIA GeForce GTX 470 (nvd3dum.dll 8.21.13.9135)"
        other_name = "llvmpipe (LLVM 15.0.6, 256 bits) (d3d9.dll 8.21.13.9135)"
        with open(os.path.join(out_folder, "matrix.md"), encoding="utf-8") as f:
            part = f.read().split("## HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0\n")[1]
        rows = [[cell.strip() for cell in line.split("|")[1:-1]] for line in part.splitlines() if line.startswith("| ")]
        columns = [(row[1], row[7]) for row in rows[1:4]]
        self.assertEqual(columns, [(wine_name, "X8R8G8B8, A8R8G8B8, R5G6B5 (3 formats)"),
                                   (other_name, "X8R8G8B8, A8R8G8B8 (2 formats)"), (other_name, "R5G6B5")])
        self.assertTrue(rows[4][0] == "Measurement" and len(rows[4]) == 2 + 3, rows[4])
        diagram = next(row for row in rows if row[:2] == ["Sample positions", "pixel diagram"])
        self.assertEqual([cell.startswith("**differs from") for cell in diagram[2:]], [False, False, True], diagram)
        self.assertEqual(part.count("**differs from"), 1)

        with open(os.path.join(out_folder, "matrix.html"), encoding="utf-8") as f:
            table = f.read().split('<h2 id="part3">')[1].split("</table>")[0]
        headings = re.search(r"<tr><th class=\"row\">Render-target format</th>(.*?)</tr>", table).group(1)
        self.assertEqual(re.findall(r"<th[^>]*>([^<]*)</th>", headings),
                         ["X8R8G8B8, A8R8G8B8, R5G6B5 (3 formats)", "X8R8G8B8, A8R8G8B8 (2 formats)", "R5G6B5"])
        diagram = re.search(r"<tr><th class=\"row\">pixel diagram</th>(.*?)</tr>", table, re.S).group(1)
        self.assertEqual(["differs" in cls for cls in re.findall(r'<td class="([^"]*)"', diagram)], [False, False, True])

    def test_a_file_that_is_no_survey_is_exit_2_and_nothing_is_written(self):
        out_folder = os.path.join(self.folder, "refused")
        code, out, err = run_without_display("--matrix", windows_path(self.wine), windows_path(FIXTURE + ".missing"),
                                             "--out", windows_path(out_folder))
        self.assertEqual(code, 2, out + err)
        self.assertIn("option '--matrix': cannot read", err)
        self.assertFalse(os.path.exists(out_folder))


if __name__ == "__main__":
    unittest.main(verbosity=2)
