"""The Sample Positions dialog (F3) as a user drives it: at 4 samples its table holds the four
sample positions, Copy puts the same table on the clipboard, Save writes JSON with the same
positions, Esc closes it and the picture is as before; at 1x one sample at the centre; F3 twice,
after a new device and after the resets of a fullscreen round trip; in fullscreen, nothing."""

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
    # Up, with its table filled (the measurement comes first, the dialog after).
    dialogs = q.wait_for(lambda: [d for d in q.probe(DIALOG) if d["tables"] and d["tables"][0]["rows"]], timeout=30)
    assert dialogs, "F3 opened no Sample Positions dialog with a table"
    return dialogs[0]


def close_dialog(testcase):
    q.run_x("xdotool", "key", "Escape")
    testcase.assertTrue(q.wait_for(lambda: not q.probe(DIALOG)), "Esc did not close the dialog")


def texts(dialog):
    return [text for cls, text in dialog["children"] if cls == "Static"]


def positions(table):
    """(x, y) in 1/16 of each row, exact ones as numbers."""
    return [(int(row[2]), int(row[3])) for row in table["rows"]]


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
            self.assertIn("D3DMULTISAMPLE_4_SAMPLES, quality 0", texts(dialog))
            self.assertTrue(any(t.startswith("4 distinct samples: ") for t in texts(dialog)), texts(dialog))
            self.assertEqual(len(dialog["tables"]), 1)
            table = dialog["tables"][0]
            self.assertEqual(table["header"], HEADER)
            self.assertEqual(len(table["rows"]), 4, table)
            self.assertEqual(sorted(row[1] for row in table["rows"]), ["0", "1", "2", "3"])
            self.assertEqual(set(positions(table)), FOUR_STANDARD)
            for row in table["rows"]:
                self.assertEqual(float(row[4]), int(row[2]) / 16)
                self.assertEqual(float(row[5]), int(row[3]) / 16)

            # Copy: the table as tab-separated lines, header first.
            q.run_x("xdotool", "key", "alt+c")
            expected = "".join("\t".join(cells) + "\r\n" for cells in [table["header"]] + table["rows"])
            self.assertEqual(q.wait_for(lambda: q.clipboard_text() == expected and expected), expected)

            # Save: JSON with the same positions, by mask bit.
            q.run_x("xdotool", "key", "alt+s")
            self.assertTrue(q.wait_for(lambda: q.probe(SAVE_DIALOG)), "Save... opened no save dialog")
            time.sleep(0.5)
            q.run_x("xdotool", "type", "--delay", "20", windows_path(os.path.join(folder, "four")))
            q.run_x("xdotool", "key", "Return")
            self.assertTrue(q.wait_for(lambda: not q.probe(SAVE_DIALOG)), "the save dialog stayed open")
            self.assertTrue(q.wait_for(lambda: os.path.exists(target)), os.listdir(folder))
            with open(target, encoding="utf-8") as f:
                saved = json.load(f)
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

            close_dialog(self)
            expected_picture = before.crop(*BELOW_TEXT).rgb
            same = q.wait_for(lambda: app.client_image().crop(*BELOW_TEXT).rgb == expected_picture,
                              timeout=10, interval=0.5)
            app.client_image().save_png(q.output_path("sample_positions_closed.png"))
            self.assertTrue(same, "the picture changed or was not shown again after the dialog")
            self.assertTrue(app.running())

    def test_one_sample_at_the_centre_twice_and_after_a_device_reset(self):
        with q.Quillant() as app:
            app.settle(1.5)
            tables = []
            for _ in range(2):
                dialog = open_dialog(app)
                tables.append(dialog["tables"][0])
                self.assertIn("D3DMULTISAMPLE_NONE, quality 0", texts(dialog))
                close_dialog(self)
            q.screenshot().crop(*dialog["window"]).save_png(q.output_path("sample_positions_1x.png"))
            # One sample at the pixel centre, which no mask bit picks out at 1x.
            self.assertEqual(tables[0]["rows"], [["0", "", "8", "8", "0.5", "0.5", "1"]])
            self.assertEqual(tables[1], tables[0])
            # F2 and OK without a change: a new device, measured as the first.
            choose_multisample_type(app, "D3DMULTISAMPLE_NONE")
            dialog = open_dialog(app)
            self.assertEqual(dialog["tables"][0], tables[0])
            close_dialog(self)
            self.assertTrue(app.running())

    def test_fullscreen_f3_shows_no_dialog_and_after_the_round_trip_it_measures_again(self):
        with q.Quillant() as app:
            app.settle(1.5)
            first = open_dialog(app)["tables"][0]
            close_dialog(self)
            app.key("alt+Return")
            self.assertTrue(q.wait_for(lambda: [w for w in q.probe() if w["client"][2:] == (1280, 1024)]))
            app.settle(1.0)
            app.key("F3")
            time.sleep(2.0)
            self.assertEqual(q.probe(DIALOG), [])
            self.assertTrue(app.running())
            # Back to the window: the device was reset twice, and F3 measures as before.
            app.key("alt+Return")
            self.assertTrue(q.wait_for(lambda: [w for w in q.probe() if w["client"][2:] == (512, 384)]))
            app.settle(1.0)
            self.assertEqual(open_dialog(app)["tables"][0], first)
            close_dialog(self)
            self.assertTrue(app.running())

if __name__ == "__main__":
    unittest.main(verbosity=2)
