"""The Sample Positions dialog (F3) as a user drives it: at 4 samples its Positions page holds the
four sample positions, Copy puts the heading and the pages on the clipboard, Save suggests a name
and writes JSON with the same positions, Esc closes it and the picture is as before; at 1x one
sample at the centre, the empty mask bit said why; the pages switched and back, F3 twice, after a
new device and after the resets of a fullscreen round trip; in fullscreen, F3 measures the
fullscreen mode and shows the dialog over the window."""

import json
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import quillant_e2e as q  # noqa: E402
from test_settings_and_save import MULTISAMPLE_COMBO, blobs, combo_text, partly_red, windows_path  # noqa: E402
from test_viewer import LEFT  # noqa: E402

DIALOG = "Sample Positions"
SETTINGS = "Direct3D Settings"
SAVE_DIALOG = "Save As"
HEADER = ["Sample", "Mask bit", "x (1/16)", "y (1/16)", "x (pixel)", "y (pixel)", "Count"]
WS_MINIMIZEBOX = 0x00020000
# The standard 4-sample positions in 1/16 pixel, which Mesa's 4x pattern matches.
FOUR_STANDARD = {(6, 2), (14, 6), (2, 10), (10, 14)}
# Everything but the status text, whose frame number and rate move on.
BELOW_TEXT = (0, 80, 512, 304)


def choose_multisample_type(app, name):
    app.key("F2")
    assert q.wait_for(lambda: q.probe(SETTINGS)), "F2 opened no settings dialog"
    text = None
    if name != "D3DMULTISAMPLE_NONE":
        q.run_x("xdotool", "key", "--delay", "80", "alt+m")
        for _ in range(16):
            text = combo_text(q.probe(SETTINGS)[0]["children"], MULTISAMPLE_COMBO)
            if text == name:
                break
            q.run_x("xdotool", "key", "Down")
            time.sleep(0.3)
        assert text == name, text
    q.run_x("xdotool", "key", "Return")
    assert q.wait_for(lambda: not q.probe(SETTINGS)), "the settings dialog did not close"
    # Wine withdraws the closed dialog from the X server before the new device is made.
    time.sleep(3.0)


def open_dialog(app):
    app.key("F3")
    # Up, with its page filled (the measurement comes first, the dialog after).
    dialogs = q.wait_for(lambda: [d for d in q.probe(DIALOG) if page_table(d)["rows"]], timeout=30)
    assert dialogs, "F3 opened no Sample Positions dialog with a table"
    return dialogs[0]


def close_dialog(testcase):
    q.run_x("xdotool", "key", "Escape")
    testcase.assertTrue(q.wait_for(lambda: not q.probe(DIALOG)), "Esc did not close the dialog")


def texts(dialog):
    return [text for cls, text in dialog["children"] if cls == "Static"]


def page_text(dialog):
    return next((text for cls, text in dialog["children"] if cls == "Edit"), "")


def page_table(dialog):
    """The Positions table of the page shown, its columns cut where the header's cells start."""
    lines = page_text(dialog).split("\r\n")
    top = next((i for i, line in enumerate(lines) if line.startswith(HEADER[0] + " ")), None)
    if top is None:
        return {"header": [], "rows": []}
    starts = []
    for cell in HEADER:
        starts.append(lines[top].index(cell, starts[-1] if starts else 0))
    cut = lambda line: [line[a:b].strip() for a, b in zip(starts, starts[1:] + [None])]
    rows = []
    for line in lines[top + 1:]:
        if not line:
            break
        rows.append(cut(line))
    return {"header": cut(lines[top]), "rows": rows}


def positions(table):
    """(x, y) in 1/16 of each row, exact ones as numbers."""
    return [(int(row[2]), int(row[3])) for row in table["rows"]]


def switch_pages_and_back(testcase):
    """Ctrl+Tab through every page and round to the first, Ctrl+Shift+Tab back round again: each
    tab shows its own page. Returns the pages' texts by title."""
    tabs = q.probe(DIALOG)[0]["tabs"][0]
    testcase.assertEqual((tabs["titles"][0], tabs["selected"]), ("Positions", 0))
    count = len(tabs["titles"])
    shown = {0: page_text(q.probe(DIALOG)[0])}
    moves = [("ctrl+Tab", (i + 1) % count) for i in range(count)] + \
            [("ctrl+shift+Tab", (count - i - 1) % count) for i in range(count)]
    for key, index in moves:
        q.run_x("xdotool", "key", key)
        dialog = q.wait_for(lambda: [d for d in q.probe(DIALOG) if d["tabs"][0]["selected"] == index
                                     and (index not in shown or page_text(d) == shown[index])])
        testcase.assertTrue(dialog, "%s did not show page %d" % (key, index))
        text = shown.setdefault(index, page_text(dialog[0]))
        testcase.assertTrue(index == 0 or text != shown[0], "page %d shows the first page's text" % index)
    return {tabs["titles"][index]: text for index, text in shown.items()}


# What this platform's device does (Wine's d3d9 on llvmpipe), page by page: facts the pages must
# state, at 4 samples and at 1x.
FACTS_4X = {
    "Resolve": ["resolve averages stored values", "box: every pixel from its own samples",
                "as many coverage samples as colour samples"],
    "Alpha to coverage": ["thresholds"],
    "Interpolation": ["ignored: at the pixel centre", "one evaluation at the centre, written to every sample"],
}
FACTS_1X = {
    "Resolve": ["resolve averages stored values", "box: every pixel from its own samples"],
    "Alpha to coverage": ["not applied"],
}


def assert_facts(testcase, pages, facts):
    testcase.assertEqual(list(pages), ["Positions", "Resolve", "Alpha to coverage", "Interpolation"])
    for title, expected in facts.items():
        for fact in expected:
            testcase.assertIn(fact, pages[title], title)


class SamplePositions(unittest.TestCase):
    def test_four_samples_table_copy_save_and_close_leave_the_picture_as_it_was(self):
        folder = q.output_path("sample-positions")
        os.makedirs(folder, exist_ok=True)
        target = os.path.join(folder, "four.json")
        if os.path.exists(target):
            os.remove(target)
        with q.Quillant() as app:
            app.settle(1.5)
            choose_multisample_type(app, "D3DMULTISAMPLE_4_SAMPLES")
            four = q.wait_for(lambda: len([b for b in blobs(app.client_image(), partly_red, LEFT) if b[2] >= 4]) == 4,
                              timeout=15, interval=0.5)
            self.assertTrue(four, "the 4-sample picture did not appear")
            app.key("space")  # single-frame mode: the picture stands still to be compared
            app.settle(1.0)
            before = app.client_image()

            dialog = open_dialog(app)
            q.screenshot().crop(*dialog["window"]).save_png(q.output_path("sample_positions_4x.png"))
            self.assertFalse(dialog["style"] & WS_MINIMIZEBOX, "a modal dialog with a minimise button")
            heading = texts(dialog)[:3]
            self.assertEqual(heading[1], "D3DMULTISAMPLE_4_SAMPLES, quality 0, D3DFMT_X8R8G8B8; "
                                         "measured in a window at 512 x 384")
            self.assertTrue(heading[2].startswith("4 distinct samples: "), heading)
            table = page_table(dialog)
            self.assertEqual(table["header"], HEADER)
            self.assertEqual(len(table["rows"]), 4, table)
            self.assertEqual(sorted(row[1] for row in table["rows"]), ["0", "1", "2", "3"])
            self.assertEqual(set(positions(table)), FOUR_STANDARD)
            for row in table["rows"]:
                self.assertEqual(float(row[4]), int(row[2]) / 16)
                self.assertEqual(float(row[5]), int(row[3]) / 16)
            self.assertIn("Measured in steps of 1/32 pixel, in ", page_text(dialog))

            # Copy: the heading, then each page under its title, the table tab-separated.
            q.run_x("xdotool", "key", "alt+c")
            copied = q.wait_for(lambda: (q.clipboard_text() or "").startswith(heading[0]) and q.clipboard_text())
            self.assertTrue(copied, q.clipboard_text())
            self.assertTrue(copied.startswith("\r\n".join(heading) + "\r\n\r\nPositions\r\n"), copied)
            self.assertIn("".join("\t".join(cells) + "\r\n" for cells in [table["header"]] + table["rows"]), copied)

            # Save: the suggested name, replaced by a path; JSON with the same positions.
            q.run_x("xdotool", "key", "alt+s")
            save = q.wait_for(lambda: q.probe(SAVE_DIALOG))
            self.assertTrue(save, "Save... opened no save dialog")
            self.assertIn("sample-positions-hal-x8r8g8b8-4-samples-q0.json", [t for _, t in save[0]["children"]])
            time.sleep(0.5)
            q.run_x("xdotool", "key", "ctrl+a")
            q.run_x("xdotool", "type", "--delay", "20", windows_path(os.path.join(folder, "four")))
            q.run_x("xdotool", "key", "Return")
            self.assertTrue(q.wait_for(lambda: not q.probe(SAVE_DIALOG)), "the save dialog stayed open")
            self.assertTrue(q.wait_for(lambda: os.path.exists(target)), os.listdir(folder))
            saved = q.read_written_json(target)
            self.assertEqual(saved["schemaVersion"], 2)
            self.assertEqual((saved["multisampleType"], saved["multisampleTypeValue"]), ("D3DMULTISAMPLE_4_SAMPLES", 4))
            self.assertRegex(saved["adapter"]["driverVersion"], r"^\d+\.\d+\.\d+\.\d+$")
            self.assertEqual(saved["backBufferFormat"], "D3DFMT_X8R8G8B8")
            self.assertGreater(saved["timing"]["measurementMilliseconds"], 0)
            found = saved["measurement"]["samplePositions"]
            self.assertEqual(found["distinctSamples"], 4)
            self.assertTrue(all(s["count"] == 1 for s in found["samples"]))
            by_bit = {s["maskBit"]: (s["x"]["sixteenths"], s["y"]["sixteenths"]) for s in found["samples"]}
            self.assertEqual(by_bit, {int(row[1]): (int(row[2]), int(row[3])) for row in table["rows"]})
            self.assertEqual([f for f in os.listdir(folder) if f != "four.json"], [])
            self.assertTrue(q.probe(DIALOG), "saving closed the dialog")

            pages = switch_pages_and_back(self)
            self.assertEqual(pages["Positions"], page_text(dialog))
            assert_facts(self, pages, FACTS_4X)
            close_dialog(self)
            expected_picture = before.crop(*BELOW_TEXT).rgb
            same = q.wait_for(lambda: app.client_image().crop(*BELOW_TEXT).rgb == expected_picture,
                              timeout=10, interval=0.5)
            app.client_image().save_png(q.output_path("sample_positions_closed.png"))
            self.assertTrue(same, "the picture changed or was not shown again after the dialog")
            # After the two resets of a fullscreen round trip, every page measures as before.
            self.assertTrue(q.go_fullscreen(app))
            app.key("alt+Return")
            self.assertTrue(q.wait_for(lambda: [w for w in q.probe() if w["client"][2:] == (512, 384)]))
            app.settle(1.0)
            dialog = open_dialog(app)
            self.assertEqual(set(positions(page_table(dialog))), FOUR_STANDARD)
            assert_facts(self, switch_pages_and_back(self), FACTS_4X)
            close_dialog(self)
            self.assertTrue(app.running())

    def test_one_sample_at_the_centre_pages_switched_twice_and_after_a_device_reset(self):
        with q.Quillant() as app:
            app.settle(1.5)
            pages = []
            for _ in range(2):
                dialog = open_dialog(app)
                q.screenshot().crop(*dialog["window"]).save_png(q.output_path("sample_positions_1x.png"))
                self.assertTrue(texts(dialog)[1].startswith("D3DMULTISAMPLE_NONE, quality 0, "), texts(dialog))
                shown = switch_pages_and_back(self)
                assert_facts(self, shown, FACTS_1X)
                pages.append(shown["Positions"])
                close_dialog(self)
            # One sample at the pixel centre, which no mask bit picks out at 1x: the page says so.
            self.assertEqual(page_table(dialog)["rows"], [["0", "none: one sample", "8", "8", "0.5", "0.5", "1"]])
            self.assertIn("\r\nNotes: No mask bit: one sample", pages[0])
            self.assertEqual(page_table(dialog), page_table({"children": [("Edit", pages[1])]}))
            # F2 and OK without a change: a new device, measured as the first.
            choose_multisample_type(app, "D3DMULTISAMPLE_NONE")
            dialog = open_dialog(app)
            self.assertEqual(page_table(dialog), page_table({"children": [("Edit", pages[0])]}))
            assert_facts(self, switch_pages_and_back(self), FACTS_1X)
            close_dialog(self)
            self.assertTrue(app.running())

    def test_fullscreen_f3_measures_the_fullscreen_mode_and_shows_the_dialog_over_the_window(self):
        with q.Quillant() as app:
            app.settle(1.5)
            first = page_table(open_dialog(app))
            close_dialog(self)
            self.assertTrue(q.go_fullscreen(app))
            dialog = open_dialog(app)
            q.screenshot().crop(*dialog["window"]).save_png(q.output_path("sample_positions_fullscreen.png"))
            self.assertEqual(texts(dialog)[1], "D3DMULTISAMPLE_NONE, quality 0, D3DFMT_X8R8G8B8; "
                                               "measured fullscreen at 1280 x 1024")
            self.assertEqual(page_table(dialog), first)
            # Shown over the window, as the settings dialog is: the program left fullscreen for it,
            # and the window shows its picture (the white background), not black, behind the dialog.
            self.assertTrue(q.wait_for(lambda: [w for w in q.probe() if w["client"][2:] == (512, 384)]))
            self.assertGreater(q.window_drawn_above(app, dialog["window"][1]), 0.5, "the window behind the dialog is black")
            switch_pages_and_back(self)
            close_dialog(self)
            # Both resets behind it, F3 measures in the window as before.
            app.settle(1.0)
            dialog = open_dialog(app)
            self.assertIn("measured in a window at 512 x 384", texts(dialog)[1])
            self.assertEqual(page_table(dialog), first)
            close_dialog(self)
            self.assertTrue(app.running())

if __name__ == "__main__":
    unittest.main(verbosity=2)
