"""docs/survey.schema.json itself: a draft 2020-12 schema that this machine's recorded survey passes,
that refuses what the program never writes (so the check of every written file can fail), and
that lets a measurement carry keys it does not name yet."""

import copy
import json
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import quillant_e2e as q  # noqa: E402

FIXTURE = os.path.join(q.SOURCE_DIR, "tests", "fixtures", "survey-wine8-schema2.json")
# DXVK 2.0 on lavapipe, surveyed on this machine: one mode crashed in Reset.
DXVK_SURVEY = os.path.join(q.SOURCE_DIR, "tests", "fixtures", "survey-dxvk2-lavapipe-schema2.json")


def fixture(path=FIXTURE):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def changed(change):
    document = fixture()
    change(document)
    return document


def crashed(d):
    d["modes"][1].update(status="crashed", measurement=None,
                         failure={"stage": "Reset", "code": None, "message": "", "exitCode": "3 (abort: a C runtime ended the process)",
                                  "exceptionCode": None})


def sample_positions_file():
    survey = fixture()
    mode = {k: v for k, v in survey["modes"][2].items()
            if k not in ("adapterOrdinal", "status", "picture", "pictureError", "failure", "timing")}
    mode.update(program="quillant", schemaVersion=2, adapter=survey["adapters"][0], device="HAL (pure hw vp)",
                timing={"measurementMilliseconds": 812.5})
    return mode


class PublishedSchema(unittest.TestCase):
    def test_is_a_draft_2020_12_schema(self):
        import jsonschema
        with open(q.SURVEY_SCHEMA, encoding="utf-8") as f:
            schema = json.load(f)
        self.assertEqual(schema["$schema"], "https://json-schema.org/draft/2020-12/schema")
        jsonschema.Draft202012Validator.check_schema(schema)

    def test_what_the_program_writes_passes(self):
        cases = {
            "this machine's survey": fixture(),
            "a crashed mode": changed(crashed),
            "an incomplete survey with a baseline": changed(lambda d: d.update(complete=False, baseline={
                "file": "old.json", "differences": [{"mode": None, "location": "adapter 0", "text": "was \"a\" now \"b\"",
                                                     "path": None, "was": "a", "now": "b"}]})),
            "a key a measurement does not name yet": changed(
                lambda d: d["modes"][2]["measurement"]["alphaToCoverage"][0].update(capsAnswer="D3D_OK")),
            "a Sample Positions file": sample_positions_file(),
            "DXVK's survey with its crash": fixture(DXVK_SURVEY),
        }
        for name, document in cases.items():
            self.assertEqual(q.schema_problems(document), [], name)

    def test_what_the_program_never_writes_is_refused_where_it_is(self):
        def mode(change):
            return lambda d: change(d["modes"][2])

        def measurement(change):
            return lambda d: change(d["modes"][2]["measurement"])

        cases = [
            ("an unknown status", mode(lambda m: m.update(status="fine")), "$.modes[2].status"),
            ("a measured mode without its measurement", mode(lambda m: m.update(measurement=None)), "$.modes[2].measurement"),
            ("a failed mode without its failure", mode(lambda m: m.update(status="failed")), "$.modes[2].failure"),
            ("a crash without its exit code", lambda d: (crashed(d), d["modes"][1]["failure"].pop("exitCode")),
             "$.modes[1].failure"),
            ("a key missing", mode(lambda m: m.pop("deviceType")), "$.modes[2]"),
            ("an unknown key in a mode", mode(lambda m: m.update(colour="red")), "$.modes[2]"),
            ("an unknown verdict token",
             measurement(lambda m: m["alphaToCoverage"][0].update(verdict="maybe")), "$.modes[2].measurement"),
            ("a threshold beyond 255",
             measurement(lambda m: m["alphaToCoverage"][1]["thresholds"][0][0].__setitem__(2, 256)), "$.modes[2].measurement"),
            ("a position as text", measurement(lambda m: m["samplePositions"]["samples"][0]["x"].update(low="0.3")),
             "$.modes[2].measurement"),
            ("another schema version", lambda d: d.update(schemaVersion=3), "$.schemaVersion"),
            ("a footprint of 4 rows", measurement(lambda m: m["resolve"]["footprint"]["weights"].pop()), "$.modes[2].measurement"),
        ]
        for name, change, where in cases:
            problems = q.schema_problems(changed(change))
            self.assertTrue(problems, name)
            self.assertTrue(any(p.startswith(where) for p in problems), (name, problems))
        f3 = sample_positions_file()
        del f3["adapter"]
        self.assertTrue(q.schema_problems(f3))


if __name__ == "__main__":
    unittest.main(verbosity=2)
