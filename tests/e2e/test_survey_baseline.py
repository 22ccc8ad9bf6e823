"""The survey as a regression check: a second survey against the first as its baseline, a baseline
with one sample moved, --compare and the start without a display, and survey.html as Chromium
draws it, each sample dot where survey.json puts it."""

import json
import os
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import quillant_e2e as q  # noqa: E402
from test_survey import SURVEY_EXE, fresh_folder, run_survey, windows_path  # noqa: E402

MOVED = "sample 2 (mask bit 2) y"
DOT, BORDER = (200, 30, 30), (80, 80, 120)  # survey.html's sample dots and pixel borders


def run_without_display(*args):
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    session = os.environ.get("QUILLANT_TEST_SESSION")
    env.update(WINEDEBUG="-all", WINEPREFIX=os.path.join(session, "prefix") if session else
               os.path.join(q.SOURCE_DIR, ".deps", "wineprefix"))
    result = subprocess.run(["wine", SURVEY_EXE] + list(args), env=env, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True, timeout=120)
    return result.returncode, result.stdout, result.stderr


def read(folder, name):
    if name.endswith(".json"):
        return q.read_written_json(os.path.join(folder, name))
    with open(os.path.join(folder, name), encoding="utf-8") as f:
        return f.read()


# The modes in the back buffer's format: what the baseline's comparison is about, at a page's length.
ONE_FORMAT = ("--format", "X8R8G8B8")


def drawn(axis):
    return axis["sixteenths"] / 16 if axis["exact"] else (axis["low"] + axis["high"]) / 2


class SurveyAgainstABaseline(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.base = fresh_folder("baseline")
        code, out, err = run_survey("--out", windows_path(cls.base), *ONE_FORMAT)
        assert code == 0, out + err
        cls.baseline = os.path.join(cls.base, "survey.json")

    def test_a_second_survey_into_the_folder_of_another_is_as_its_baseline_exit_0(self):
        again = fresh_folder("again")
        shutil.copytree(self.base, again)
        # The earlier survey there had a REF mode: its picture goes, a file the survey did not write stays.
        document = read(again, "survey.json")
        document["modes"].append(dict(document["modes"][0], deviceType="REF", picture="adapter0-ref-x8r8g8b8-none-q0.png"))
        for name, text in (("survey.json", json.dumps(document)), (document["modes"][-1]["picture"], "x"),
                           ("adapter0-mine.png", "x")):
            with open(os.path.join(again, name), "w") as f:
                f.write(text)
        code, out, err = run_survey("--out", windows_path(again), "--baseline", windows_path(self.baseline), "--quiet",
                                    *ONE_FORMAT)
        self.assertEqual(code, 0, out + err)
        self.assertIn("no differences from the baseline", out)
        self.assertEqual(read(again, "survey.json")["baseline"]["differences"], [])
        self.assertIn("## Differences from the baseline\n\nNone", read(again, "survey.md"))
        self.assertIn("report: ", out)
        self.assertEqual(sorted(os.listdir(again)), sorted(os.listdir(self.base) + ["adapter0-mine.png"]))

    def test_a_moved_sample_is_exit_4_and_named_on_the_console_in_survey_md_json_and_html(self):
        document = read(self.base, "survey.json")
        four = [m for m in document["modes"] if m["multisampleType"] == "D3DMULTISAMPLE_4_SAMPLES"][0]
        y = four["measurement"]["samplePositions"]["samples"][2]["y"]
        y.update(sixteenths=y["sixteenths"] + 2, low=y["low"] + 0.125, high=y["high"] + 0.125)
        edited = os.path.join(fresh_folder("edited"), "moved.json")
        os.makedirs(os.path.dirname(edited))
        with open(edited, "w", encoding="utf-8") as f:
            json.dump(document, f)
        folder = fresh_folder("moved")
        code, out, err = run_survey("--out", windows_path(folder), "--baseline", windows_path(edited), *ONE_FORMAT)
        self.assertEqual(code, 4, out + err)
        line = "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0: " + MOVED
        self.assertIn("1 difference from the baseline", out)
        self.assertIn(line + " was 12/16", out)
        self.assertIn("**HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0**: " + MOVED, read(folder, "survey.md"))
        (difference,) = read(folder, "survey.json")["baseline"]["differences"]
        self.assertEqual((difference["location"], difference["path"]), (MOVED, "/measurement/samplePositions/samples/2/y"))
        self.assertIn('class="moved"', read(folder, "survey.html"))
        # Without a display: --compare tells the same, and the survey itself cannot start.
        code, out, err = run_without_display("--compare", windows_path(edited), windows_path(self.baseline))
        self.assertEqual(code, 4, out + err)
        self.assertIn(line + " was 12/16", out)
        self.assertEqual(run_without_display("--compare", windows_path(self.baseline), windows_path(self.baseline))[0], 0)
        code, out, err = run_without_display("--compare", windows_path(os.path.join(folder, "survey.md")),
                                             windows_path(self.baseline))
        self.assertEqual((code, err.strip()), (2, "quillant-survey: option '--compare': '%s' is not a survey: it is not JSON"
                                               % windows_path(os.path.join(folder, "survey.md"))))
        code, out, err = run_without_display("--out", windows_path(fresh_folder("nodisplay")))
        self.assertEqual(code, 5, out + err)
        self.assertIn("Direct3D 9 could not be started: no display", err)

    def test_chromium_draws_each_sample_of_the_4_sample_mode_where_survey_json_puts_it(self):
        image = q.chromium_screenshot(os.path.join(self.base, "survey.html"),
                                      os.path.join(self.base, "..", "survey-html.png"), 1100, 16000)
        page = read(self.base, "survey.html")
        self.assertEqual(q.visible_json_tokens(page), [])
        for name, text in (("survey.html", q.visible_text(page)), ("survey.md", read(self.base, "survey.md"))):
            self.assertEqual(q.words_not_for_people(text), [], name)
        for unit in ("in 1/16 pixel", "in steps of 1/255", "in alpha steps of 1/255", "in 1/128 pixel", "the alpha, in steps of 1/255"):
            self.assertIn(unit, q.visible_text(page))
        image = image.crop(0, 0, 320, image.height)  # the diagrams stand at the left of their modes
        measured = [m for m in read(self.base, "survey.json")["modes"] if m["measurement"]]
        # A pixel border per diagram, in the page's order: the positions' in every measured mode, then
        # multisampling off's where it found samples; the pixel lies 2 px inside it.
        borders = sorted(b for b in q.components(image, BORDER) if b[2] - b[0] > 100)
        borders.sort(key=lambda b: b[1])
        diagrams = [1 + bool(m["measurement"]["antialiasOff"]["samples"]) for m in measured]
        self.assertEqual(len(borders), sum(diagrams))
        index = [m["multisampleType"] for m in measured].index("D3DMULTISAMPLE_4_SAMPLES")
        left, top, right, _ = borders[sum(diagrams[:index])]
        side = right - left + 1 - 4
        dots = [b for b in q.components(image, DOT, reach=4) if left < b[0] and b[2] < right and top < b[1] < top + side + 4]
        centres = sorted(((b[0] + b[2] + 1) / 2, (b[1] + b[3] + 1) / 2) for b in dots)
        expected = sorted((left + 2 + drawn(s["x"]) * side, top + 2 + drawn(s["y"]) * side)
                          for s in measured[index]["measurement"]["samplePositions"]["samples"])
        self.assertEqual(len(centres), 4, centres)
        for (x, y), (ex, ey) in zip(centres, expected):
            self.assertLessEqual(max(abs(x - ex), abs(y - ey)), 1.5, (centres, expected))


if __name__ == "__main__":
    unittest.main(verbosity=2)
