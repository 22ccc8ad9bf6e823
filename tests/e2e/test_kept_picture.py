"""The pictures the viewer keeps, at one sample and at four: Space after Space shows the pattern,
never black; every saved PNG is the client area as the screen shows it; a dialog closed over a
frozen frame leaves it exactly as it was, status lines included; and a frozen program idles."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import quillant_e2e as q  # noqa: E402

# Below the status lines and the legend (five lines when frozen): what does not change from frame
# to frame.
BELOW_TEXT = (0, 90, 512, 294)


STATUS_LINES = (0, 0, 512, 80)


def not_black(p):
    return max(p) >= 70


def yellow(p):
    return p[0] > 200 and p[1] > 200 and p[2] < 90


def pattern_shown(image):
    # The white background with the three yellow rings: neither black nor the bare window.
    return (image.count(yellow, (150, 150, 212, 85)) > 300
            and image.count(not_black) > image.width * image.height // 2)


def partly_red(p):
    # A pixel with some of its four samples covered: between red and white.
    return p[0] > 200 and 120 < p[1] < 235 and abs(p[1] - p[2]) < 12


def four_samples_shown(image):
    return pattern_shown(image) and image.count(partly_red, (161, 162, 61, 61)) >= 16


def status_changed(image, previous):
    return image.crop(*STATUS_LINES).rgb != previous.crop(*STATUS_LINES).rgb


def screen_when(app, condition, timeout=10.0):
    """The client area once condition holds for it (or the last one seen)."""
    last = {}

    def check():
        try:
            last["image"] = app.client_image()
        except Exception:
            # Wine can replace the X window of a starting program: look for it again.
            app.window = app.wait_for_window()
            return False
        return condition(last["image"])
    q.wait_for(check, timeout=timeout, interval=0.4)
    return last["image"]


class KeptPicture(unittest.TestCase):
    def setUp(self):
        # An earlier run's files would bring up the overwrite prompt.
        self.folder = q.output_path("kept")
        os.makedirs(self.folder, exist_ok=True)
        for name in os.listdir(self.folder):
            os.remove(os.path.join(self.folder, name))

    def run_sequences(self, label, multisample=None):
        with q.Quillant() as app:
            previous = screen_when(app, pattern_shown, timeout=30)
            self.assertTrue(pattern_shown(previous), "the program showed no picture")
            if multisample:
                self.assertTrue(q.choose_multisample(app, multisample), "could not choose " + multisample)
                previous = screen_when(app, four_samples_shown, timeout=20)
                self.assertTrue(four_samples_shown(previous), "no picture of four samples")

            # Space three times: each press a new frame of the same pattern, never black.
            for press in range(3):
                app.key("space")
                image = screen_when(app, lambda image: pattern_shown(image) and status_changed(image, previous),
                                    timeout=8)
                image.save_png(q.output_path("kept_%s_space%d.png" % (label, press + 1)))
                self.assertTrue(pattern_shown(image), "Space %d left the window black" % (press + 1))
                self.assertEqual(image.crop(*BELOW_TEXT).rgb, previous.crop(*BELOW_TEXT).rgb,
                                 "Space %d changed the pattern" % (press + 1))
                previous = image

            # Frozen: F2 and Esc leave the picture exactly as it was, frame number and rate too.
            before = app.client_image()
            app.key("F2")
            self.assertTrue(q.wait_for(lambda: q.probe(q.SETTINGS_DIALOG)), "F2 opened no settings dialog")
            q.run_x("xdotool", "key", "Escape")
            self.assertTrue(q.wait_for(lambda: not q.probe(q.SETTINGS_DIALOG)), "Esc left the dialog open")
            after = screen_when(app, lambda image: image.rgb == before.rgb, timeout=8)
            after.save_png(q.output_path("kept_%s_after_dialog.png" % label))
            self.assertTrue(after.rgb == before.rgb, "the frozen frame changed under the closed dialog")

            # A frozen save is the screen, pixel for pixel.
            path = os.path.join(self.folder, "%s_frozen.png" % label)
            if not q.save_as(app, path):
                q.screenshot().save_png(q.output_path("kept_%s_failed_save.png" % label))
                self.fail("no file " + path)
            saved, chunks = q.read_png(path)
            self.assertEqual(chunks, ["IHDR", "IDAT", "IEND"])
            screen = screen_when(app, lambda image: image.rgb == saved.rgb, timeout=8)
            self.assertTrue(saved.rgb == screen.rgb, "the frozen save differs from the screen")

            # Running: two saves, then Space, Enter and a third. The status lines move on between
            # the save and the screenshot; everything below them is the same.
            app.key("Return")
            for name in ("a", "b", "space_enter"):
                if name == "space_enter":
                    app.key("space")
                    app.settle(0.5)
                    app.key("Return")
                    app.settle(0.5)
                path = os.path.join(self.folder, "%s_%s.png" % (label, name))
                self.assertTrue(q.save_as(app, path), "no file " + path)
                saved, _ = q.read_png(path)
                self.assertEqual((saved.width, saved.height), (512, 384))
                self.assertTrue(pattern_shown(saved), "%s is black" % path)
                screen = screen_when(app, lambda image: image.crop(*BELOW_TEXT).rgb == saved.crop(*BELOW_TEXT).rgb)
                self.assertEqual(saved.crop(*BELOW_TEXT).rgb, screen.crop(*BELOW_TEXT).rgb, path)

    def test_one_sample(self):
        self.run_sequences("1x")

    def test_four_samples(self):
        self.run_sequences("4x", "D3DMULTISAMPLE_4_SAMPLES")


if __name__ == "__main__":
    unittest.main(verbosity=2)
