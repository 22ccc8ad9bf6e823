"""The viewer on an implementation that offers a mode it cannot create: on DXVK (Mesa's lavapipe
has 1 and 4 samples, DXVK offers non-maskable qualities 0-2, quality 1 asks for 2), choosing
non-maskable quality 1 in F2 is refused with a message, and once it is dismissed the viewer still
runs and draws on the device it had."""

import os
import shutil
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import quillant_e2e as q  # noqa: E402
from test_viewer import LEFT, red  # noqa: E402

# Beside the repository; QUILLANT_DXVK_DLL names another (a work tree elsewhere).
DXVK_DLL = os.environ.get("QUILLANT_DXVK_DLL") or os.path.join(os.path.dirname(q.SOURCE_DIR), "shared", "peers",
                                                                "dxvk", "d3d9.dll")
LAVAPIPE_ICD = "/usr/share/vulkan/icd.d/lvp_icd.x86_64.json"
NONMASKABLE = "D3DMULTISAMPLE_NONMASKABLE"
QUALITY_COMBO = q.MULTISAMPLE_COMBO + 1


def combos():
    dialogs = q.probe(q.SETTINGS_DIALOG)
    return [text for cls, text in dialogs[0]["children"] if cls == "ComboBox"] if dialogs else []


def pick(index, text):
    """Down through the focused drop-down list until the dialog's list index shows text."""
    for _ in range(16):
        shown = combos()
        if len(shown) > index and shown[index] == text:
            return True
        q.run_x("xdotool", "key", "Down")
        time.sleep(0.3)
    return False


def message_boxes():
    return [w for w in q.probe() if w["class"] == "#32770"]


@unittest.skipUnless(os.path.exists(DXVK_DLL), "no DXVK d3d9.dll at %s" % DXVK_DLL)
@unittest.skipUnless(os.path.exists(LAVAPIPE_ICD), "no Vulkan device: Mesa's lavapipe (mesa-vulkan-drivers) "
                                                   "is not installed")
class OnDxvk(unittest.TestCase):
    def test_a_mode_offered_but_not_made_is_refused_and_the_viewer_goes_on(self):
        with tempfile.TemporaryDirectory(prefix="quillant-dxvk-") as program:
            shutil.copy(q.EXE, program)
            shutil.copy(DXVK_DLL, program)
            env = dict(WINEDLLOVERRIDES="d3d9=n,b;mscoree,mshtml=", VK_ICD_FILENAMES=LAVAPIPE_ICD,
                       DXVK_LOG_LEVEL="none")
            with q.Quillant(env=env, exe=os.path.join(program, "quillant.exe")) as app:
                app.settle(2.0)
                before = app.client_image()
                before.save_png(q.output_path("dxvk_before_f2.png"))
                self.assertGreater(before.count(red, LEFT), 10, "the default picture before F2")

                app.key("F2")
                self.assertTrue(q.wait_for(lambda: q.probe(q.SETTINGS_DIALOG)), "F2 opened no dialog")
                q.run_x("xdotool", "key", "--delay", "80", "alt+m")
                self.assertTrue(pick(q.MULTISAMPLE_COMBO, NONMASKABLE), combos())
                q.run_x("xdotool", "key", "Tab")
                self.assertTrue(pick(QUALITY_COMBO, "1"), combos())
                q.run_x("xdotool", "key", "Return")

                boxes = q.wait_for(message_boxes, timeout=20)
                q.screenshot().save_png(q.output_path("dxvk_refused_mode.png"))
                self.assertTrue(app.running(), "the viewer ended on the refused mode")
                self.assertEqual(len(boxes), 1, q.probe())
                text = " ".join(t for _, t in boxes[0]["children"])
                self.assertIn("cannot create it", text)
                self.assertIn("D3DMULTISAMPLE_NONMASKABLE, quality 1", text)
                self.assertIn("CreateRenderTarget failed: D3DERR_OUTOFVIDEOMEMORY", text)

                # The box is the foreground window; Enter presses its OK.
                ids = q.run_x("xdotool", "search", "--onlyvisible", "--name", "^%s$" % q.TITLE).split()
                for box in [i for i in ids if i != app.window][-1:]:
                    q.run_x("xdotool", "windowfocus", "--sync", box, check=False)
                q.run_x("xdotool", "key", "Return")
                self.assertTrue(q.wait_for(lambda: not message_boxes()), "the message stayed")

                # Still running and still drawing: M changes the picture (Both: black where the
                # geometry and texture points overlap), a live device and not a kept one.
                app.settle(1.0)
                self.assertTrue(app.running())
                after = app.client_image()
                after.save_png(q.output_path("dxvk_after_refusal.png"))
                self.assertGreater(after.count(red, LEFT), 10, "the picture after the refusal")
                app.key("m")
                app.settle(1.0)
                changed = app.client_image()
                self.assertNotEqual(changed.rgb, after.rgb, "M drew nothing new")
                self.assertTrue(app.running())


if __name__ == "__main__":
    unittest.main(verbosity=2)
