"""quillant-survey.exe as a user runs it: the whole survey of this machine (Wine's device on
Mesa's software rasteriser) twice, its report, its pictures, and its answers to bad input."""

import json
import os
import re
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import quillant_e2e as q  # noqa: E402

SURVEY_EXE = os.environ.get("QUILLANT_SURVEY_EXE") or os.path.join(os.path.dirname(q.EXE), "quillant-survey.exe")
OUTPUT_ROOT = q.output_path("survey")

STANDARD_4 = {(6, 2), (14, 6), (2, 10), (10, 14)}
PROGRESS = re.compile(r"^\[(\d+)/(\d+)\] (HAL|SW|REF) (\w+) (D3DMULTISAMPLE_\w+) q(\d+)(?: in \w+)?: "
                      r"(\d+) samples?(?: \(\d+ distinct\))?, .+, texture (once per pixel|per sample) \((\d+) ms\)$")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def run_survey(*args, timeout=240):
    result = subprocess.run([os.path.join(q.SOURCE_DIR, "scripts", "wine-run"), SURVEY_EXE] + list(args),
                            env=q.x_env(), stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=timeout)
    return result.returncode, result.stdout, result.stderr


def without_timings(document):
    if isinstance(document, dict):
        return {k: without_timings(v) for k, v in document.items() if k != "timing"}
    if isinstance(document, list):
        return [without_timings(v) for v in document]
    return document


def positions(samples):
    return [(s["x"]["sixteenths"], s["y"]["sixteenths"]) for s in samples]


def fresh_folder(name):
    path = os.path.join(OUTPUT_ROOT, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    return path


class WholeSurvey(unittest.TestCase):
    """One survey of this machine, shared by the tests that read its report."""

    @classmethod
    def setUpClass(cls):
        cls.folder = fresh_folder("run1")
        cls.code, cls.stdout, cls.stderr = run_survey("--out", windows_path(cls.folder))
        cls.report = q.read_written_json(os.path.join(cls.folder, "survey.json"))
        # Each mode in its back buffer's format; the other render-target formats after it.
        cls.hal = [m for m in cls.report["modes"]
                   if m["deviceType"] == "D3DDEVTYPE_HAL" and m["renderTargetFormat"] == m["backBufferFormat"]]

    def mode(self, multisample_type, quality=0):
        found = [m for m in self.hal if m["multisampleType"] == multisample_type and m["multisampleQuality"] == quality]
        self.assertEqual(len(found), 1, [(m["multisampleType"], m["multisampleQuality"]) for m in self.hal])
        return found[0]

    def test_every_mode_is_measured_and_the_exit_code_is_0(self):
        self.assertEqual(self.code, 0, self.stdout + self.stderr)
        self.assertEqual(self.stderr.strip(), "")
        self.assertTrue(all(m["status"] == "measured" for m in self.report["modes"]), self.report["modes"])
        self.assertEqual(self.report["summary"]["failed"], 0)

    def test_hal_lists_none_every_nonmaskable_quality_and_4_samples(self):
        types = [(m["multisampleType"], m["multisampleQuality"]) for m in self.hal]
        self.assertIn(("D3DMULTISAMPLE_NONE", 0), types)
        self.assertIn(("D3DMULTISAMPLE_4_SAMPLES", 0), types)
        nonmaskable = [q for t, q in types if t == "D3DMULTISAMPLE_NONMASKABLE"]
        self.assertTrue(nonmaskable, types)
        self.assertEqual(nonmaskable, list(range(len(nonmaskable))))
        # The order is fixed: types ascending, qualities ascending.
        self.assertEqual(types, sorted(types, key=lambda t: (self.hal[types.index(t)]["multisampleTypeValue"], t[1])))

    def test_one_sample_sits_at_the_pixel_centre(self):
        measurement = self.mode("D3DMULTISAMPLE_NONE")["measurement"]["samplePositions"]
        self.assertEqual(positions(measurement["samples"]), [(8, 8)])
        self.assertEqual(measurement["textureSampling"]["kind"], "oncePerPixel")
        # No mask bits at 1x: the verdicts about them do not apply.
        self.assertIsNone(measurement["verdicts"]["maskOrderStandard"])

    def test_four_samples_are_the_standard_positions_one_per_mask_bit(self):
        measurement = self.mode("D3DMULTISAMPLE_4_SAMPLES")["measurement"]["samplePositions"]
        self.assertEqual(set(positions(measurement["samples"])), STANDARD_4)
        self.assertEqual(sorted(s["maskBit"] for s in measurement["samples"]), [0, 1, 2, 3])
        self.assertTrue(measurement["verdicts"]["standardPattern"])
        self.assertIs(measurement["verdicts"]["maskOrderStandard"], True)
        # Interval ends as the 32-step grid resolves them, without the float error of the pattern.
        ends = [s[axis][end] for s in measurement["samples"] for axis in "xy" for end in ("low", "high")]
        self.assertTrue(all((e * 4096).is_integer() for e in ends), ends)
        self.assertEqual(measurement["textureSampling"]["kind"], "oncePerPixel")

    def test_what_the_resolve_does_and_what_each_sample_receives_at_4_samples_and_1x(self):
        # This platform's device: stored averaging, a box filter, one coverage level per sample,
        # alpha-to-coverage thresholds through 'ATOC' and through the unannounced 'A2M1', sRGB
        # writes claimed in the render-target form and done, centroid ignored in ps_3_0 and ps_2_0,
        # and with multisampling off one evaluation at the centre written to every sample.
        four = self.mode("D3DMULTISAMPLE_4_SAMPLES")["measurement"]
        resolve = four["resolve"]
        self.assertEqual(resolve["transfer"]["verdict"], "stored")
        self.assertEqual([r["value"] for r in resolve["transfer"]["ladder"]], [0, 64, 128, 191, 255])
        self.assertEqual(resolve["footprint"]["verdict"], "box")
        self.assertEqual((resolve["coverage"]["levels"], resolve["coverage"]["verdict"]), (5, "equal"))
        switches = {a["switch"]: a for a in four["alphaToCoverage"]}
        self.assertEqual(set(switches), {"ATOC", "ATOC+alphaTest", "A2M1"})
        self.assertEqual((switches["ATOC"]["offered"], switches["ATOC"]["verdict"]), (True, "thresholds"))
        self.assertFalse(switches["A2M1"]["offered"])
        self.assertEqual((switches["A2M1"]["verdict"], switches["A2M1"]["caps"]["verdict"]),
                         ("thresholds", "notClaimedButWorks"))
        srgb = resolve["transfer"]["srgbWrite"]["caps"]
        self.assertEqual([a["answer"] for a in srgb["answers"][:2]], ["D3DERR_NOTAVAILABLE", "D3D_OK"])
        self.assertEqual(srgb["verdict"], "claimedAndWorks")
        self.assertEqual(four["centroid"]["verdict"], "centre")
        self.assertEqual([(m["shaderModel"], m["verdict"], m["caps"]["verdict"]) for m in four["centroid"]["shaderModels"]],
                         [("ps_3_0", "centre", "claimedNoEffect"), ("ps_2_0", "centre", "claimedNoEffect")])
        self.assertIn("A2M1 not claimed, works", self.stdout)
        self.assertEqual(four["antialiasOff"]["verdict"], "centre")
        one = self.mode("D3DMULTISAMPLE_NONE")["measurement"]
        self.assertEqual(one["resolve"]["coverage"]["levels"], 2)
        self.assertEqual(one["resolve"]["footprint"]["verdict"], "box")
        with open(os.path.join(self.folder, "survey.md"), encoding="utf-8") as f:
            header = [line for line in f.read().splitlines() if line.startswith("| Device |")][0]
        for column in ("Resolve", "Filter", "Coverage", "Alpha to coverage", "Centroid", "AA off"):
            self.assertIn("| %s |" % column, header)

    def test_the_adapter_is_identified(self):
        self.assertEqual(self.report["schemaVersion"], 2)
        adapter = self.report["adapters"][0]
        self.assertEqual(adapter["ordinal"], 0)
        self.assertEqual({m["adapterOrdinal"] for m in self.report["modes"]}, {0})
        self.assertTrue(adapter["description"])
        self.assertRegex(adapter["driverVersion"], r"^\d+\.\d+\.\d+\.\d+$")
        self.assertRegex(adapter["vendorId"], r"^0x[0-9A-F]{4}$")

    def test_a_progress_line_per_mode_in_order_then_the_summary(self):
        lines = self.stdout.splitlines()
        total = len(self.report["modes"])
        progress = [PROGRESS.match(line) for line in lines[:total]]
        self.assertTrue(all(progress), lines[:total])
        for index, (match, mode) in enumerate(zip(progress, self.report["modes"]), 1):
            self.assertEqual((int(match.group(1)), int(match.group(2))), (index, total))
            self.assertEqual((match.group(5), int(match.group(6))), (mode["multisampleType"], mode["multisampleQuality"]))
        summary = "\n".join(lines[total:])
        self.assertIn("%d modes: %d measured, 0 failed" % (total, total), summary)
        self.assertIn("survey.md", summary)

    def test_survey_md_has_a_row_per_mode(self):
        with open(os.path.join(self.folder, "survey.md"), encoding="utf-8") as f:
            text = f.read()
        rows = [line for line in text.splitlines() if line.startswith("| HAL |")]
        self.assertEqual(len(rows), len(self.report["modes"]))
        # A table per render-target format, the back buffer's first.
        headings = [line for line in text.splitlines() if line.startswith("### Render target ")]
        self.assertEqual(headings[0], "### Render target X8R8G8B8")
        self.assertEqual(len(headings), len({m["renderTargetFormat"] for m in self.report["modes"]}))
        four = [row for row in rows if "D3DMULTISAMPLE_4_SAMPLES" in row][0]
        for x, y in STANDARD_4:
            self.assertIn("(%d, %d)" % (x, y), four)
        self.assertIn("| HAL | X8R8G8B8 | D3DMULTISAMPLE_NONE | 0 | 1 sample | (8, 8) |", text)

    def test_a_picture_per_mode_of_the_three_squares_at_512_by_384(self):
        pictures = {}
        for mode in self.hal:
            image, chunks = q.read_png(os.path.join(self.folder, mode["picture"]))
            self.assertEqual((image.width, image.height), (512, 384))
            self.assertEqual(chunks, ["IHDR", "IDAT", "IEND"])
            pictures[(mode["multisampleType"], mode["multisampleQuality"])] = image
        one = pictures[("D3DMULTISAMPLE_NONE", 0)]
        four = pictures[("D3DMULTISAMPLE_4_SAMPLES", 0)]
        # White background, three yellow-ringed squares in the middle.
        self.assertEqual(one.pixel(256, 300), (255, 255, 255))
        yellow = lambda p: p[0] > 200 and p[1] > 200 and p[2] < 80
        self.assertGreater(one.count(yellow, (128, 150, 256, 90)), 300)
        # In the geometry-only square a 1x pixel shows its one sample as one dot; at 4 samples four
        # weaker dots: the pictures differ there, and the 4x one holds partly covered pixels.
        square = (160, 160, 64, 64)
        self.assertNotEqual(one.crop(*square).rgb, four.crop(*square).rgb)
        pale = lambda p: p != (255, 255, 255) and min(p) > 100 and max(p) == 255
        self.assertGreater(four.count(pale, square), one.count(pale, square))

    def test_every_format_has_a_picture_in_its_own_channels(self):
        # Drawn off-screen in the format and resolved: the yellow rings where the format has red,
        # green and blue; grey where it has red alone; no blue where it has red and green.
        kinds = {"A16B16G16R16F": "colour", "A2B10G10R10": "colour", "R5G6B5": "colour",
                 "R32F": "grey", "G16R16": "red and green"}
        four = {m["renderTargetFormat"]: m for m in self.report["modes"]
                if m["deviceType"] == "D3DDEVTYPE_HAL" and m["multisampleType"] == "D3DMULTISAMPLE_4_SAMPLES"}
        for name, kind in kinds.items():
            with self.subTest(format=name):
                self.assertIn("D3DFMT_" + name, four)
                self.assertIsNone(four["D3DFMT_" + name]["pictureError"])
                image, _ = q.read_png(os.path.join(self.folder, four["D3DFMT_" + name]["picture"]))
                self.assertEqual((image.width, image.height), (512, 384))
                yellow = lambda p: p[0] > 200 and p[1] > 200 and p[2] < 80
                everywhere = (0, 0, 512, 384)
                if kind == "colour":
                    self.assertGreater(image.count(yellow, (128, 150, 256, 90)), 300)
                elif kind == "grey":
                    self.assertEqual(image.count(lambda p: p[0] == p[1] == p[2], everywhere), 512 * 384)
                else:
                    self.assertEqual(image.count(lambda p: p[2] == 0, everywhere), 512 * 384)
                    self.assertGreater(image.count(yellow, (128, 150, 256, 90)), 300)

    def test_nothing_but_the_report_and_the_pictures_is_left(self):
        expected = {"survey.json", "survey.md", "survey.html"} | {m["picture"] for m in self.report["modes"]}
        self.assertNotIn(None, expected)
        self.assertEqual(set(os.listdir(self.folder)), expected)

    def test_a_second_run_writes_the_same_json_apart_from_timings(self):
        second = fresh_folder("run2")
        code, out, err = run_survey("--out", windows_path(second), "--quiet")
        self.assertEqual(code, 0, out + err)
        # Quiet, only where the report went.
        self.assertEqual(out, "report: %s\\survey.html, %s\\survey.md, %s\\survey.json\n" % ((windows_path(second),) * 3))
        again = q.read_written_json(os.path.join(second, "survey.json"))
        self.assertEqual(without_timings(again), without_timings(self.report))
        with open(os.path.join(second, "survey.md"), encoding="utf-8") as f, \
                open(os.path.join(self.folder, "survey.md"), encoding="utf-8") as g:
            self.assertEqual(f.read(), g.read())

    def test_every_format_the_adapter_multisamples_has_the_same_positions_and_a_ladder_in_its_own_units(self):
        # What this machine's device multisamples at 4 samples, and the steps its colour channel
        # reads back in (green, or red where there is none; a float's just below 1.0).
        steps = {"X8R8G8B8": 255, "A8R8G8B8": 255, "A8B8G8R8": 255, "A2R10G10B10": 1023, "A2B10G10R10": 1023,
                 "R5G6B5": 63, "X1R5G5B5": 31, "G16R16": 65535, "A16B16G16R16": 65535, "R16F": 2048, "G16R16F": 2048,
                 "A16B16G16R16F": 2048, "R32F": 1 << 24, "G32R32F": 1 << 24, "A32B32G32R32F": 1 << 24}
        four = {m["renderTargetFormat"][len("D3DFMT_"):]: m for m in self.report["modes"]
                if m["multisampleType"] == "D3DMULTISAMPLE_4_SAMPLES"}
        self.assertEqual(set(four), set(steps))
        self.assertEqual(list(four)[0], "X8R8G8B8")  # the back buffer's first
        for name, mode in four.items():
            with self.subTest(format=name):
                self.assertEqual(mode["status"], "measured", mode.get("failure"))
                measurement = mode["measurement"]
                self.assertEqual(set(positions(measurement["samplePositions"]["samples"])), STANDARD_4)
                transfer = measurement["resolve"]["transfer"]
                self.assertEqual(transfer["valueScale"], steps[name])
                # Stored averaging: k of 4 samples lit is k/4 of full, to a step of the format's own.
                ladder = [r["value"] for r in transfer["ladder"]]
                for k, value in enumerate(ladder):
                    self.assertLessEqual(abs(value - steps[name] * k / 4), 1, ladder)
                self.assertEqual(transfer["verdict"], "stored")

    def test_format_limits_the_run_to_the_formats_named(self):
        folder = fresh_folder("formats")
        code, out, err = run_survey("--out", windows_path(folder), "--format", "r5g6b5", "A16B16G16R16F", "--quiet")
        self.assertEqual(code, 0, out + err)
        self.assertEqual(err, "")
        with open(os.path.join(folder, "survey.json"), encoding="utf-8") as f:
            report = json.load(f)
        formats = {m["renderTargetFormat"] for m in report["modes"]}
        self.assertEqual(formats, {"D3DFMT_R5G6B5", "D3DFMT_A16B16G16R16F"})
        # Each at every multisample type and quality, as in the whole survey, with its picture alone.
        types = lambda modes, f: [(m["multisampleType"], m["multisampleQuality"]) for m in modes
                                  if m["renderTargetFormat"] == f]
        for f in formats:
            self.assertEqual(types(report["modes"], f), types(self.report["modes"], f))
        self.assertEqual(set(os.listdir(folder)),
                         {"survey.json", "survey.md", "survey.html"} | {m["picture"] for m in report["modes"]})
        for mode in report["modes"]:
            self.assertEqual(mode["measurement"], [m for m in self.report["modes"] if m["multisampleType"] ==
                                                   mode["multisampleType"] and m["multisampleQuality"] ==
                                                   mode["multisampleQuality"] and m["renderTargetFormat"] ==
                                                   mode["renderTargetFormat"]][0]["measurement"])


class BadInput(unittest.TestCase):
    def assert_usage_error(self, code, out, err, named):
        self.assertEqual(code, 2, out + err)
        self.assertEqual(out, "")
        first, rest = err.split("\n", 1)
        self.assertTrue(first.startswith("quillant-survey: "), err)
        self.assertIn(named, first)
        self.assertEqual(rest, "Try 'quillant-survey --help' for the options.\n")

    def test_help_prints_the_usage_and_exits_0(self):
        code, out, err = run_survey("--help")
        self.assertEqual(code, 0)
        self.assertTrue(out.startswith("usage: quillant-survey [--out DIR] [--adapter N] [--device hal|sw|ref|all]"))

    def test_an_unknown_option_is_named_with_a_hint_to_help_and_exit_2(self):
        self.assert_usage_error(*run_survey("--fast"), named="'--fast'")
        self.assert_usage_error(*run_survey("--format", "D24S8"), named="not 'D24S8'")

    def test_an_adapter_this_machine_does_not_have_is_exit_2_and_writes_nothing(self):
        folder = fresh_folder("adapter7")
        code, out, err = run_survey("--adapter", "7", "--out", windows_path(folder))
        self.assert_usage_error(code, out, err, named="there is no adapter 7 (this machine has one adapter, 0)")
        self.assertFalse(os.path.exists(folder))

    def test_an_output_path_that_is_a_file_is_exit_3_and_the_file_is_kept(self):
        folder = fresh_folder("file")
        os.makedirs(folder)
        target = os.path.join(folder, "report")
        with open(target, "w") as f:
            f.write("keep me")
        code, out, err = run_survey("--out", windows_path(target))
        self.assertEqual(code, 3, out + err)
        self.assertEqual(err.count("\n"), 1, err)
        self.assertIn("it is a file, not a folder", err)
        with open(target) as f:
            self.assertEqual(f.read(), "keep me")
        self.assertEqual(os.listdir(folder), ["report"])

    def test_a_folder_that_cannot_be_written_or_made_is_exit_3_with_nothing_left(self):
        # /proc takes no new files, not even from root; a folder inside it cannot be made.
        for path, says in (("Z:\\proc", "cannot write to the folder"),
                           ("Z:\\proc\\quillant-survey\\out", "cannot create the folder")):
            code, out, err = run_survey("--out", path)
            self.assertEqual(code, 3, out + err)
            self.assertEqual(err.count("\n"), 1, err)
            self.assertIn(says, err)
            self.assertEqual(out, "")
        self.assertFalse(os.path.exists("/proc/quillant-survey"))

    @unittest.skipIf(os.geteuid() == 0, "root writes into read-only folders")
    def test_a_read_only_folder_is_exit_3_with_nothing_written(self):
        folder = fresh_folder("readonly")
        os.makedirs(folder)
        os.chmod(folder, 0o555)
        try:
            code, out, err = run_survey("--out", windows_path(folder))
            self.assertEqual(code, 3, out + err)
            self.assertEqual(os.listdir(folder), [])
        finally:
            os.chmod(folder, 0o755)


if __name__ == "__main__":
    unittest.main(verbosity=2)
