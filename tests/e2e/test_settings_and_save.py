"""The settings dialog and saving, as a user drives them with the keyboard: F2, pick the 4-sample
type, OK, and the geometry square shows the four sample positions; Ctrl+S writes the client area
as a PNG; single-frame mode saves the frozen picture; fullscreen offers no save dialog."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import quillant_e2e as q  # noqa: E402
from test_viewer import LEFT, red, white, black  # noqa: E402

DIALOG = "Direct3D Settings"
SAVE_DIALOG = "Save As"


def partly_red(p):
    # A quarter or half of a pixel's samples covered: red at 1/4 or 1/2 of the way from white.
    return p[0] > 200 and 120 < p[1] < 235 and abs(p[1] - p[2]) < 12


def blobs(image, predicate, box):
    """Groups the matching pixels of box into 4-connected blobs; returns their centroids."""
    left, top, width, height = box
    todo = {(x, y) for y in range(top, top + height) for x in range(left, left + width) if predicate(image.pixel(x, y))}
    found = []
    while todo:
        stack = [todo.pop()]
        members = []
        while stack:
            x, y = stack.pop()
            members.append((x, y))
            for n in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                if n in todo:
                    todo.remove(n)
                    stack.append(n)
        found.append((sum(m[0] for m in members) / len(members), sum(m[1] for m in members) / len(members), len(members)))
    return found


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def combo_text(dialog_children, index):
    combos = [text for cls, text in dialog_children if cls == "ComboBox"]
    return combos[index] if index < len(combos) else None


# Tab order of the dialog's drop-down lists: adapter, device, adapter format, resolution, refresh
# rate, back-buffer format, depth/stencil, multisample type, quality, vertex processing, interval.
MULTISAMPLE_COMBO = 7


class SettingsDialog(unittest.TestCase):
    def test_choosing_four_samples_shows_the_four_sample_positions(self):
        with q.Quillant() as app:
            app.settle(1.5)
            app.key("F2")
            dialogs = q.wait_for(lambda: q.probe(DIALOG))
            self.assertTrue(dialogs, "F2 opened no settings dialog")
            self.assertEqual(combo_text(dialogs[0]["children"], MULTISAMPLE_COMBO), "D3DMULTISAMPLE_NONE")
            q.screenshot().crop(*dialogs[0]["window"]).save_png(q.output_path("settings_dialog.png"))
            # "&Multisample Type:" moves the focus to its list; Down picks the next type.
            q.run_x("xdotool", "key", "--delay", "80", "alt+m")
            for _ in range(16):
                text = combo_text(q.probe(DIALOG)[0]["children"], MULTISAMPLE_COMBO)
                if text == "D3DMULTISAMPLE_4_SAMPLES":
                    break
                q.run_x("xdotool", "key", "Down")
                time.sleep(0.3)
            self.assertEqual(text, "D3DMULTISAMPLE_4_SAMPLES")
            q.run_x("xdotool", "key", "Return")
            self.assertTrue(q.wait_for(lambda: not q.probe(DIALOG)), "the dialog did not close on Enter")
            # Without a window manager Wine waits about 2 s for the X server to withdraw the
            # closed dialog before the new device is made: wait for the picture, not a fixed time.
            last = {}

            def four_blobs():
                last["image"] = app.client_image()
                last["found"] = [b for b in blobs(last["image"], partly_red, LEFT) if b[2] >= 4]
                return len(last["found"]) == 4
            q.wait_for(four_blobs, timeout=15, interval=0.5)
            last["image"].save_png(q.output_path("settings_four_samples.png"))
            found = last["found"]
            self.assertEqual(len(found), 4, found)
            # Mesa's 4x pattern: (0.375, 0.125), (0.875, 0.375), (0.125, 0.625), (0.625, 0.875) of a
            # pixel, mapped onto the 64-pixel tile: the blobs sit in four different quadrant rows.
            ys = sorted(b[1] for b in found)
            xs = sorted(b[0] for b in found)
            self.assertGreater(ys[-1] - ys[0], 40)
            self.assertGreater(xs[-1] - xs[0], 40)

    def test_a_closed_dialog_leaves_no_trace_on_the_frozen_frame(self):
        with q.Quillant() as app:
            app.settle(1.5)
            app.key("i")
            app.key("space")
            app.settle(1.0)
            window = q.probe()[0]
            before = app.client_image()
            app.key("F2")
            dialogs = q.wait_for(lambda: q.probe(DIALOG))
            self.assertTrue(dialogs, "F2 opened no settings dialog")
            cx, cy, cw, ch = window["client"]
            dx, dy, dw, dh = dialogs[0]["window"]
            self.assertTrue(dx < cx + cw and dy < cy + ch and dx + dw > cx and dy + dh > cy,
                            "the dialog does not cover the client area, so this proves nothing")
            q.run_x("xdotool", "key", "Escape")
            self.assertTrue(q.wait_for(lambda: not q.probe(DIALOG)), "the dialog did not close on Esc")
            # The frame is drawn again where the dialog was; only the status text moves on.
            below_text = (0, 80, 512, 304)
            expected = before.crop(*below_text).rgb
            shown = q.wait_for(lambda: app.client_image().crop(*below_text).rgb == expected, timeout=10, interval=0.5)
            app.client_image().save_png(q.output_path("settings_closed_over_frozen_frame.png"))
            self.assertTrue(shown, "the area under the closed dialog was not drawn again")


class Saving(unittest.TestCase):
    def save_as(self, app, path):
        app.key("ctrl+s")
        dialog = q.wait_for(lambda: q.probe(SAVE_DIALOG))
        self.assertTrue(dialog, "Ctrl+S opened no save dialog")
        time.sleep(0.5)
        q.run_x("xdotool", "type", "--delay", "20", windows_path(path))
        q.run_x("xdotool", "key", "Return")
        self.assertTrue(q.wait_for(lambda: not q.probe(SAVE_DIALOG)), "the save dialog stayed open")

    def setUp(self):
        self.folder = q.output_path("saved")
        os.makedirs(self.folder, exist_ok=True)
        for name in os.listdir(self.folder):
            os.remove(os.path.join(self.folder, name))

    def test_ctrl_s_writes_the_client_area_as_png_with_the_default_extension(self):
        with q.Quillant() as app:
            app.settle(1.5)
            self.save_as(app, os.path.join(self.folder, "picture"))
            target = os.path.join(self.folder, "picture.png")
            self.assertTrue(q.wait_for(lambda: os.path.exists(target)), os.listdir(self.folder))
            screen = app.client_image()
            saved, chunks = q.read_png(target)
            self.assertEqual((saved.width, saved.height), (512, 384))
            self.assertEqual(chunks, ["IHDR", "IDAT", "IEND"])
            # Everything but the status text (frame number and rate move on) matches the screen.
            below_text = (0, 80, 512, 304)
            self.assertEqual(saved.crop(*below_text).rgb, screen.crop(*below_text).rgb)
            self.assertEqual([f for f in os.listdir(self.folder) if f != "picture.png"], [])

    def test_single_frame_mode_saves_the_picture_of_the_last_space(self):
        with q.Quillant() as app:
            app.settle(1.5)
            app.key("space")
            app.settle(0.8)
            frozen = app.client_image()
            app.key("i")
            app.settle(0.8)
            self.assertTrue(black(app.client_image().pixel(100, 150)), "I drew no new frame in single-frame mode")
            self.save_as(app, os.path.join(self.folder, "frozen.png"))
            target = os.path.join(self.folder, "frozen.png")
            self.assertTrue(q.wait_for(lambda: os.path.exists(target)))
            saved, _ = q.read_png(target)
            self.assertTrue(white(saved.pixel(100, 150)))
            self.assertEqual(saved.rgb, frozen.rgb)

    def test_fullscreen_ctrl_s_shows_no_dialog(self):
        with q.Quillant() as app:
            app.settle(1.5)
            self.assertTrue(q.go_fullscreen(app))
            app.key("ctrl+s")
            time.sleep(2.0)
            self.assertEqual(q.probe(SAVE_DIALOG), [])
            self.assertTrue(app.running())


if __name__ == "__main__":
    unittest.main(verbosity=2)
