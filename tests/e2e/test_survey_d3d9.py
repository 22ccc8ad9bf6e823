"""quillant-survey.exe --d3d9 FILE: the survey on the implementation a user names, and the reports
naming the one that ran: Wine's own d3d9 asked for by its path, and DXVK 2.0 on Mesa's lavapipe
where both are on this machine."""

import json
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import quillant_e2e as q  # noqa: E402
from test_survey import SURVEY_EXE, fresh_folder, run_survey, windows_path  # noqa: E402

# Beside the repository (its BUILD.md says how it was made); QUILLANT_DXVK_DLL names another place.
DXVK_DLL = os.environ.get("QUILLANT_DXVK_DLL") or os.path.join(os.path.dirname(q.SOURCE_DIR), "shared", "peers",
                                                                "dxvk", "d3d9.dll")
LAVAPIPE_ICD = "/usr/share/vulkan/icd.d/lvp_icd.x86_64.json"
VULKAN_LOADER = "/usr/lib/x86_64-linux-gnu/libvulkan.so.1"


def read(folder, name):
    with open(os.path.join(folder, name), encoding="utf-8") as f:
        return json.load(f) if name.endswith(".json") else f.read()


class OnWinesOwnD3d9(unittest.TestCase):
    def test_asked_for_by_its_path_it_measures_as_without_and_is_named_as_wines_builtin(self):
        plain = fresh_folder("d3d9-plain")
        self.assertEqual(run_survey("--out", windows_path(plain), "--quiet")[0], 0)
        asked = fresh_folder("d3d9-wine")
        code, out, err = run_survey("--out", windows_path(asked), "--d3d9", "C:\\windows\\system32\\d3d9.dll",
                                    "--baseline", windows_path(os.path.join(plain, "survey.json")))
        self.assertEqual((code, err), (0, ""), out)
        self.assertIn("no differences from the baseline", out)
        named = read(asked, "survey.json")["implementation"]
        self.assertEqual((named["wineBuiltin"], named["productName"], named["warnings"]), (True, "Wine", []))
        # Without --d3d9 the same module runs, named the same way.
        without = read(plain, "survey.json")["implementation"]
        self.assertEqual(dict(named, requested=None), without)
        self.assertRegex(out, r"\nDirect3D 9: C:\\windows\\system32\\d3d9\.dll \(Wine builtin\): Wine, Wine Direct3D, "
                              r"version [\d.]+, \d+ bytes, SHA-256 [0-9a-f]{64}\n")


@unittest.skipUnless(os.path.exists(DXVK_DLL), "no DXVK d3d9.dll at %s (QUILLANT_DXVK_DLL names another)" % DXVK_DLL)
@unittest.skipUnless(os.path.exists(LAVAPIPE_ICD) and os.path.exists(VULKAN_LOADER),
                     "no Vulkan device: Mesa's lavapipe (mesa-vulkan-drivers) or the Vulkan loader (libvulkan1) "
                     "is not installed")
class OnDxvk(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = fresh_folder("d3d9-dxvk")
        env = q.x_env()
        # Wine loads a native d3d9 only when told to; DXVK would leave its pipeline cache here.
        env.update(WINEDLLOVERRIDES="d3d9=n,b;mscoree,mshtml=", VK_ICD_FILENAMES=LAVAPIPE_ICD, DXVK_LOG_LEVEL="none",
                   DXVK_STATE_CACHE="0")
        result = subprocess.run([os.path.join(q.SOURCE_DIR, "scripts", "wine-run"), SURVEY_EXE, "--out",
                                 windows_path(cls.folder), "--d3d9", windows_path(DXVK_DLL)],
                                env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=240)
        cls.code, cls.out = result.returncode, result.stdout + result.stderr
        cls.report = read(cls.folder, "survey.json")
        # Every format of a mode: "D3DMULTISAMPLE_4_SAMPLES q0" is the back buffer's, others add " in FMT".
        cls.modes = {"%s q%d%s" % (m["multisampleType"], m["multisampleQuality"],
                                   "" if m["renderTargetFormat"] == m["backBufferFormat"]
                                   else " in " + m["renderTargetFormat"][len("D3DFMT_"):]): m
                     for m in cls.report["modes"]}

    def test_the_reports_name_dxvk_and_the_workers_ran_on_it(self):
        named = self.report["implementation"]
        self.assertEqual((named["productName"], named["wineBuiltin"], named["warnings"]), ("DXVK", False, []))
        self.assertEqual((named["path"], named["size"]), (windows_path(DXVK_DLL), os.path.getsize(DXVK_DLL)))
        self.assertIn("Direct3D 9 implementation: %s: DXVK" % windows_path(DXVK_DLL), read(self.folder, "survey.md"))
        self.assertIn("llvmpipe", self.report["adapters"][0]["description"])

    def test_every_mode_is_measured_in_full_but_the_one_dxvk_ends_the_process_in(self):
        # DXVK 2.0 aborts on a reset to non-maskable quality 1: the survey names it and exits 6.
        self.assertEqual(self.code, 6, self.out)
        failed = {label: m["failure"] for label, m in self.modes.items() if m["status"] != "measured"}
        self.assertEqual({label.split(" in ")[0] for label in failed}, {"D3DMULTISAMPLE_NONMASKABLE q1"}, self.out)
        self.assertIn(failed["D3DMULTISAMPLE_NONMASKABLE q1"]["stage"], ("Reset", "CreateDevice"))
        for label, mode in self.modes.items():
            if label in failed:
                continue
            found = mode["measurement"]
            samples = found["samplePositions"]
            self.assertTrue(samples["verdict"].startswith("standard "), (label, samples["verdict"]))
            self.assertEqual(found["resolve"]["coverage"]["levels"], samples["distinctSamples"] + 1, label)
            verdicts = [found[key]["verdict"] for key in ("centroid", "antialiasOff")]
            verdicts += [switch["verdict"] for switch in found["alphaToCoverage"]]
            self.assertTrue(all(isinstance(v, str) for v in verdicts), (label, verdicts))
            # The back buffer's format is pictured; a format measured off-screen says why it is not.
            if mode["picture"] is not None:
                self.assertTrue(os.path.exists(os.path.join(self.folder, mode["picture"])), label)
            else:
                self.assertIn(" in ", label)
                self.assertTrue(mode["pictureError"], label)

    def test_every_switch_is_drawn_with_whatever_the_caps_say_and_both_are_reported(self):
        # At 4 samples and on the non-maskable quality 2, ATOC with the alpha test is claimed and
        # applied, without it claimed and not applied, A2M1 refused yet applied; sRGB writes are
        # claimed and done, and _centroid is honoured in ps_3_0 and ps_2_0 alike.
        for label in ("D3DMULTISAMPLE_4_SAMPLES q0", "D3DMULTISAMPLE_NONMASKABLE q2"):
            measurement = self.modes[label]["measurement"]
            claims = {a["switch"]: a["caps"]["verdict"] for a in measurement["alphaToCoverage"]}
            self.assertEqual(claims, {"ATOC+alphaTest": "claimedAndWorks", "ATOC": "claimedNoEffect",
                                      "A2M1": "notClaimedButWorks"}, label)
            self.assertEqual(measurement["resolve"]["transfer"]["srgbWrite"]["caps"]["verdict"], "claimedAndWorks")
        centroid = self.modes["D3DMULTISAMPLE_4_SAMPLES q0"]["measurement"]["centroid"]
        self.assertEqual([(m["shaderModel"], m["caps"]["verdict"]) for m in centroid["shaderModels"]],
                         [("ps_3_0", "claimedAndWorks"), ("ps_2_0", "claimedAndWorks")])
        self.assertIn("A2M1 not claimed, works", self.out)


if __name__ == "__main__":
    unittest.main(verbosity=2)
