"""quillant-survey.exe --d3d9 FILE: the survey on the Direct3D 9 implementation a user names, and
every report naming the one that ran. Wine's own d3d9 asked for by its path (the same results,
its builtin named); a native d3d9.dll asked for without WINEDLLOVERRIDES=d3d9=n,b (Wine's builtin
runs, and the report says so); and DXVK 2.0 on Mesa's lavapipe where both are on this machine."""

import json
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import quillant_e2e as q  # noqa: E402
from test_survey import fresh_folder, run_survey, windows_path  # noqa: E402

# DXVK's d3d9.dll beside the repository (its BUILD.md says how it was made); QUILLANT_DXVK_DLL
# names another place.
DXVK_DLL = os.environ.get("QUILLANT_DXVK_DLL") or os.path.join(os.path.dirname(q.SOURCE_DIR), "shared", "peers",
                                                                "dxvk", "d3d9.dll")
DXVK_SHA256 = "217240c00a8bdfd8e34abd7631f51469341488d5cfa5e64940804873a0e07e9f"
LAVAPIPE_ICD = "/usr/share/vulkan/icd.d/lvp_icd.x86_64.json"
VULKAN_LOADER = "/usr/lib/x86_64-linux-gnu/libvulkan.so.1"
WINE_D3D9 = "C:\\windows\\system32\\d3d9.dll"
NATIVE_OVERRIDE = "d3d9=n,b;mscoree,mshtml="


def read(folder, name):
    with open(os.path.join(folder, name), encoding="utf-8") as f:
        return json.load(f) if name.endswith(".json") else f.read()


def modes_by_label(report):
    return {"%s q%d" % (m["multisampleType"], m["multisampleQuality"]): m for m in report["modes"]}


def with_environment(**variables):
    """run_survey with variables added to the environment for one run."""
    class Scope:
        def __enter__(self):
            self.saved = {k: os.environ.get(k) for k in variables}
            os.environ.update(variables)

        def __exit__(self, *_):
            for k, v in self.saved.items():
                if v is None:
                    os.environ.pop(k, None)
                else:
                    os.environ[k] = v
    return Scope()


class OnWinesOwnD3d9(unittest.TestCase):
    def test_asked_for_by_its_path_it_measures_as_without_and_is_named_as_wines_builtin(self):
        plain = fresh_folder("d3d9-plain")
        code, out, err = run_survey("--out", windows_path(plain), "--quiet")
        self.assertEqual(code, 0, out + err)
        asked = fresh_folder("d3d9-wine")
        code, out, err = run_survey("--out", windows_path(asked), "--d3d9", WINE_D3D9,
                                    "--baseline", windows_path(os.path.join(plain, "survey.json")))
        self.assertEqual(code, 0, out + err)
        self.assertIn("no differences from the baseline", out)
        self.assertEqual(err, "")
        implementation = read(asked, "survey.json")["implementation"]
        self.assertEqual(implementation["requested"], WINE_D3D9)
        self.assertEqual(implementation["path"].lower(), WINE_D3D9.lower())
        self.assertIs(implementation["wineBuiltin"], True)
        self.assertEqual(implementation["productName"], "Wine")
        self.assertEqual(len(implementation["sha256"]), 64)
        self.assertEqual(implementation["warnings"], [])
        # Without --d3d9 the same module runs, named the same way.
        self.assertEqual({k: v for k, v in read(plain, "survey.json")["implementation"].items() if k != "requested"},
                         {k: v for k, v in implementation.items() if k != "requested"})
        self.assertRegex(out, r"\nDirect3D 9: C:\\windows\\system32\\d3d9\.dll \(Wine builtin\): Wine, Wine Direct3D, "
                              r"version [\d.]+, \d+ bytes, SHA-256 [0-9a-f]{64}\n")
        self.assertIn("\nDirect3D 9 implementation: C:\\windows\\system32\\d3d9.dll (Wine builtin): Wine",
                      read(asked, "survey.md"))
        self.assertIn("<p>Direct3D 9 implementation: C:\\windows\\system32\\d3d9.dll (Wine builtin)",
                      read(asked, "survey.html"))

    def test_a_file_that_is_not_there_is_a_bad_value_and_writes_nothing(self):
        folder = fresh_folder("d3d9-missing")
        code, out, err = run_survey("--out", windows_path(folder), "--d3d9", "Z:\\nowhere\\d3d9.dll")
        self.assertEqual(code, 2, out + err)
        self.assertTrue(err.startswith("quillant-survey: option '--d3d9': cannot load 'Z:\\nowhere\\d3d9.dll': "), err)
        self.assertFalse(os.path.exists(folder))


@unittest.skipUnless(os.path.exists(DXVK_DLL), "no DXVK d3d9.dll at %s (QUILLANT_DXVK_DLL names another)" % DXVK_DLL)
class ANativeFileWithoutTheOverride(unittest.TestCase):
    def test_wines_builtin_runs_and_every_report_warns_that_it_is_not_the_file_asked_for(self):
        folder = fresh_folder("d3d9-no-override")
        code, out, err = run_survey("--out", windows_path(folder), "--d3d9", windows_path(DXVK_DLL), "--quiet")
        # A warning, not a failure: what ran was measured, and the reports say what it was.
        self.assertEqual(code, 0, out + err)
        warning = ("asked for '%s', but Wine's builtin d3d9 ran (it answers with that path all the same): Wine loads "
                   "a native d3d9.dll only when told to, with WINEDLLOVERRIDES=d3d9=n,b in the environment"
                   % windows_path(DXVK_DLL))
        self.assertIn("quillant-survey: warning: " + warning + "\n", err)
        implementation = read(folder, "survey.json")["implementation"]
        self.assertEqual((implementation["wineBuiltin"], implementation["productName"]), (True, "Wine"))
        self.assertEqual(implementation["path"], windows_path(DXVK_DLL))
        self.assertEqual((implementation["size"], implementation["sha256"]), (None, None))
        self.assertEqual(implementation["warnings"], [warning])
        self.assertIn("**Warning:** " + warning + ".", read(folder, "survey.md"))
        self.assertIn("Warning: asked for", read(folder, "survey.html"))


@unittest.skipUnless(os.path.exists(DXVK_DLL), "no DXVK d3d9.dll at %s (QUILLANT_DXVK_DLL names another)" % DXVK_DLL)
@unittest.skipUnless(os.path.exists(LAVAPIPE_ICD) and os.path.exists(VULKAN_LOADER),
                     "no Vulkan device: Mesa's lavapipe (mesa-vulkan-drivers) or the Vulkan loader (libvulkan1) "
                     "is not installed")
class OnDxvk(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = fresh_folder("d3d9-dxvk")
        # DXVK would write its pipeline cache into the current folder.
        with with_environment(WINEDLLOVERRIDES=NATIVE_OVERRIDE, VK_ICD_FILENAMES=LAVAPIPE_ICD, DXVK_LOG_LEVEL="none",
                              DXVK_STATE_CACHE="0"):
            cls.code, cls.out, cls.err = run_survey("--out", windows_path(cls.folder), "--d3d9",
                                                    windows_path(DXVK_DLL))
        cls.report = read(cls.folder, "survey.json")
        cls.modes = modes_by_label(cls.report)

    def test_the_report_names_dxvk_the_file_asked_for(self):
        implementation = self.report["implementation"]
        self.assertEqual((implementation["productName"], implementation["wineBuiltin"]), ("DXVK", False))
        self.assertEqual(implementation["path"], windows_path(DXVK_DLL))
        self.assertEqual(implementation["sha256"], DXVK_SHA256)
        self.assertEqual(implementation["size"], os.path.getsize(DXVK_DLL))
        self.assertEqual(implementation["warnings"], [])
        self.assertIn("\nDirect3D 9: %s: DXVK, Direct3D 9 Runtime, version " % windows_path(DXVK_DLL), self.out)
        self.assertIn("Direct3D 9 implementation: %s: DXVK" % windows_path(DXVK_DLL), read(self.folder, "survey.md"))
        # The workers ran on it too: the adapter is the Vulkan device's.
        self.assertIn("llvmpipe", self.report["adapters"][0]["description"])

    def test_every_mode_is_measured_but_the_one_dxvk_ends_the_process_in(self):
        # DXVK 2.0 aborts on a reset to non-maskable quality 1: the survey names it and exits 6.
        self.assertEqual(self.code, 6, self.out + self.err)
        self.assertTrue(self.report["complete"])
        crashed = [label for label, m in self.modes.items() if m["status"] != "measured"]
        self.assertEqual(crashed, ["D3DMULTISAMPLE_NONMASKABLE q1"], self.out)
        mode = self.modes["D3DMULTISAMPLE_NONMASKABLE q1"]
        self.assertEqual(mode["status"], "crashed")
        self.assertIn(mode["failure"]["stage"], ("Reset", "CreateDevice"))
        self.assertTrue(mode["failure"]["message"].startswith("the implementation ended the process in "), mode)
        self.assertIn("[3/%d] HAL X8R8G8B8 D3DMULTISAMPLE_NONMASKABLE q1: the implementation ended the process"
                      % len(self.modes), self.out)

    def test_each_measured_mode_gives_every_measurement_a_result_or_a_reason(self):
        for label, mode in self.modes.items():
            if mode["status"] != "measured":
                continue
            measurement = mode["measurement"]
            positions = measurement["samplePositions"]
            # Samples within the pixel, as many as the resolve's coverage levels count.
            self.assertTrue(positions["samples"], label)
            for sample in positions["samples"]:
                self.assertTrue(0 <= sample["x"]["sixteenths"] <= 16 and 0 <= sample["y"]["sixteenths"] <= 16, label)
            self.assertEqual(measurement["resolve"]["coverage"]["levels"], positions["distinctSamples"] + 1, label)
            self.assertTrue(positions["verdict"].startswith("standard "), (label, positions["verdict"]))
            self.assertIsInstance(measurement["resolve"]["transfer"]["verdict"], str, label)
            for switch in measurement["alphaToCoverage"]:
                self.assertIsInstance(switch["verdict"], str, (label, switch))
            self.assertIsInstance(measurement["centroid"]["verdict"], str, label)
            self.assertIsInstance(measurement["antialiasOff"]["verdict"], str, label)
            self.assertTrue(os.path.exists(os.path.join(self.folder, mode["picture"])), label)
        self.assertEqual(self.modes["D3DMULTISAMPLE_4_SAMPLES q0"]["measurement"]["samplePositions"]["verdict"],
                         "standard 4-sample pattern")


if __name__ == "__main__":
    unittest.main(verbosity=2)
