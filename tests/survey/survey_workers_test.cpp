// The survey's bookkeeping of its worker processes, with a fake launcher instead of processes: how
// each way a worker can end (a whole result, an exception, a C++ runtime's abort, half a result, no
// answer, no process at all) becomes the mode's status, texts and the survey's exit code; and the
// report written after every mode, marked incomplete until the last.
#include "survey/worker_outcome.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "analysis/resolve/resolve_decoder.h"
#include "support/fake_direct3d.h"
#include "support/fake_platform.h"
#include "support/measurement_builders.h"
#include "support/recording_application.h"
#include "support/resolve_builders.h"
#include "support/scratch_folder.h"
#include "survey/survey_document.h"
#include "survey/survey_json.h"
#include "survey/survey_run.h"

namespace {

using nlohmann::json;

// The 4-sample mode as Wine's device measures it: positions, the resolve, one switch.
ModeReport MeasuredFourSamples() {
    ModeReport mode;
    mode.adapterFormat = D3DFMT_X8R8G8B8;
    mode.measurement.mode = {D3DMULTISAMPLE_4_SAMPLES, 0, D3DFMT_X8R8G8B8};
    mode.measured = true;
    mode.measurement.samplePositions = test_support::StandardFourSamplePositions();
    DecodeResolve(test_support::FourSampleReadings(), &mode.measurement.resolve);
    AlphaToCoverageMap atoc;
    atoc.offered = true;
    atoc.verdict = AlphaToCoverageVerdict::Thresholds;
    atoc.thresholds.assign(4, std::vector<std::vector<int>>(4, {0, 64, 128, kNeverCovered}));
    mode.measurement.alphaToCoverage.switches = {atoc};
    mode.measurement.centroid.verdict = CentroidVerdict::CoveredSample;
    mode.measurement.centroid.coveredSampleRule = "the lowest covered mask bit";
    mode.measurement.antialiasOff.verdict = AntialiasOffVerdict::Centre;
    mode.picture = "adapter0-hal-x8r8g8b8-4-samples-q0.png";
    mode.timings = {10.0, 20.0, 30.0, 60.0};
    return mode;
}

WorkerEnd Exited(DWORD code, const std::string& steps, const std::string& result = std::string()) {
    WorkerEnd end;
    end.exitCode = code;
    end.steps = steps;
    end.result = result;
    end.milliseconds = 1500.0;
    return end;
}

TEST(WorkerOutcome, AWholeResultIsTheModesEntryAsTheWorkerWroteIt) {
    ModeReport measured = MeasuredFourSamples();
    measured.picture.clear();
    measured.pictureError = "the mode's picture is of its back buffer";
    const std::string entry = ModeEntryToJson(measured).dump();
    ModeReport read;
    read.measurement.mode = measured.measurement.mode;
    read.adapterFormat = D3DFMT_X8R8G8B8;
    HRESULT output = E_FAIL;
    ApplyWorkerEnd(Exited(0, "step Reset\nstep probe resolve\nstep picture\n", entry), 60.0, &read, &output);
    EXPECT_EQ(output, S_OK);
    EXPECT_STREQ(ModeStatusName(read), "measured");
    // Read back and written again, the entry is the worker's to the last key: nothing lost on the way.
    EXPECT_EQ(ModeEntryToJson(read), json::parse(entry));
    EXPECT_EQ(ModeOutcomeText(read), ModeOutcomeText(measured));
}

TEST(WorkerOutcome, EachWayAWorkerEndsWithoutItsResultIsNamedWithTheStepAndTheCodes) {
    const std::string half = ModeEntryToJson(MeasuredFourSamples()).dump();
    WorkerEnd hung = Exited(ERROR_TIMEOUT, "step start\nstep CreateDevice\n");
    hung.kind = WorkerEnd::Kind::NoAnswer;
    WorkerEnd notStarted;
    notStarted.kind = WorkerEnd::Kind::NotStarted;
    notStarted.error = "Access denied. (error 5)";
    struct Case {
        const char* what;
        WorkerEnd end;
        const char* status;
        const char* stage;
        const char* text;
        DWORD exception;
        bool implementation;  // the survey's exit code becomes 6
    } cases[] = {
        {"an access violation in a probe", Exited(0xC0000005, "step Reset\nstep probe resolve\nexception 0xC0000005\n"),
         "crashed", "probe resolve",
         "the implementation ended the process in probe resolve: exit code 0xC0000005 (access violation); it left no "
         "result",
         0xC0000005, true},
        {"a GCC C++ exception nobody caught, seen by the exception filter",
         Exited(0x20474343, "step start\nstep Reset\nexception 0x20474343\n"), "crashed", "Reset",
         "the implementation ended the process in Reset: exit code 0x20474343 (an uncaught GCC C++ exception); it "
         "left no result",
         0x20474343, true},
        {"a C runtime's abort", Exited(3, "step CreateDevice\nabort\n"), "crashed", "CreateDevice",
         "the implementation ended the process in CreateDevice: exit code 3 (abort: a C runtime ended the process "
         "(with mingw, an uncaught C++ exception)); it left no result",
         0, true},
        {"half a result, the process gone with exit code 0", Exited(0, "step shutdown\n", half.substr(0, half.size() / 2)),
         "crashed", "shutdown",
         "the implementation ended the process in shutdown: exit code 0; its result is cut short", 0, true},
        {"nothing announced at all", Exited(0xC0000135, ""), "crashed", "start",
         "the implementation ended the process in start: exit code 0xC0000135 (a DLL was not found); it left no "
         "result",
         0xC0000135, true},
        {"no answer within the limit", hung, "timedOut", "CreateDevice",
         "did not answer within 2.5 s, in CreateDevice; its process was ended", 0, true},
        {"no process at all: the survey's failure, not the implementation's", notStarted, "failed", "start",
         "the worker process could not be started: Access denied. (error 5)", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ModeReport report;
        HRESULT output = S_OK;
        ApplyWorkerEnd(c.end, 2.5, &report, &output);
        EXPECT_FALSE(report.measured);
        EXPECT_STREQ(ModeStatusName(report), c.status);
        EXPECT_EQ(report.failureStage, c.stage);
        EXPECT_EQ(report.failureText, c.text);
        EXPECT_EQ(report.exceptionCode, c.exception);
        EXPECT_EQ(ImplementationFailed(report), c.implementation);
        if (c.end.kind != WorkerEnd::Kind::NotStarted) {
            EXPECT_EQ(report.timings.total, 1500.0);
        }
        const json failure = ModeEntryToJson(report)["failure"];
        EXPECT_EQ(failure["stage"], c.stage);
        EXPECT_EQ(failure["message"], c.text);
    }
}

TEST(WorkerOutcome, APictureTheWorkerCouldNotWriteIsTheOutputFoldersFailure) {
    ModeReport report;
    HRESULT output = S_OK;
    ApplyWorkerEnd(Exited(0, "step picture\noutput 0x80070005\n", ModeEntryToJson(MeasuredFourSamples()).dump()), 60.0,
                   &report, &output);
    EXPECT_EQ(output, E_ACCESSDENIED);
}

// Gives each mode (by its number) the end the test chose, and reads the report as it stands then.
class ScriptedLauncher : public WorkerLauncher {
public:
    WorkerEnd Run(WorkerJob job, double timeoutSeconds) override {
        timeouts.push_back(timeoutSeconds);
        formats.push_back(job.formats);
        std::string error;
        json sofar;
        reportsSeen.push_back(ReadJsonFile(folder + "\\survey.json", &sofar, &error) ? sofar : json());
        libraries.push_back(job.direct3dLibrary);
        return ends.at(job.number);
    }
    std::string folder;
    std::map<size_t, WorkerEnd> ends;
    std::vector<double> timeouts;
    std::vector<std::vector<D3DFORMAT>> formats;
    std::vector<json> reportsSeen;
    std::vector<std::string> libraries;  // each job's d3d9 file
};

class SurveyWithWorkersTest : public test_support::FrameworkTest {
protected:
    int Run(std::map<size_t, WorkerEnd> ends, const std::string& direct3dLibrary = std::string(),
            std::vector<D3DFORMAT> renderTargets = {}) {
        fakes::FakeDirect3D* direct3d = fakes::MakeTypicalDirect3D();  // HAL: NONE and 4 samples
        direct3d->renderTargetFormats = renderTargets;
        fake_platform::nextDirect3D = direct3d;
        launcher.folder = scratch.Path("out");
        launcher.ends = std::move(ends);
        SurveyOptions options;
        options.outputFolder = launcher.folder;
        options.modeTimeoutSeconds = 7.0;
        options.direct3dLibrary = direct3dLibrary;
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        const int code = RunSurvey(options, out, err, &report, &launcher);
        console = ReadAll(out) + ReadAll(err);
        std::fclose(out);
        std::fclose(err);
        std::string error;
        written = json();
        if (code != SurveyExitBadCommandLine) {
            EXPECT_TRUE(ReadJsonFile(launcher.folder + "\\survey.json", &written, &error)) << error;
        }
        return code;
    }
    static std::string ReadAll(std::FILE* stream) {
        std::string text;
        std::rewind(stream);
        for (int c; (c = std::fgetc(stream)) != EOF;) text += static_cast<char>(c);
        return text;
    }
    std::string Entry(D3DMULTISAMPLE_TYPE type) {
        ModeReport mode = MeasuredFourSamples();
        mode.measurement.mode.type = type;
        return ModeEntryToJson(mode).dump();
    }

    test_support::ScratchFolder scratch;
    ScriptedLauncher launcher;
    SurveyReport report;
    json written;
    std::string console;
};

TEST_F(SurveyWithWorkersTest, ACrashedModeIsReportedTheNextIsMeasuredAndTheExitCodeIs6) {
    const int code = Run({{1, Exited(0xC0000005, "step Reset\nstep probe samplePositions\nexception 0xC0000005\n")},
                          {2, Exited(0, "step picture\n", Entry(D3DMULTISAMPLE_4_SAMPLES))}});
    EXPECT_EQ(code, SurveyExitImplementationFailed);
    EXPECT_EQ(launcher.timeouts, (std::vector<double>{7.0, 7.0}));
    ASSERT_EQ(written["modes"].size(), 2u);
    EXPECT_EQ(written["modes"][0]["status"], "crashed");
    EXPECT_EQ(written["modes"][0]["failure"]["exceptionCode"], "0xC0000005 (access violation)");
    EXPECT_EQ(written["modes"][1]["status"], "measured");
    EXPECT_EQ(written["complete"], true);
    EXPECT_NE(console.find("[1/2] HAL X8R8G8B8 D3DMULTISAMPLE_NONE q0: the implementation ended the process in probe "
                           "samplePositions: exit code 0xC0000005 (access violation)"),
              std::string::npos)
        << console;
    EXPECT_NE(console.find("the implementation failed in 1 mode"), std::string::npos) << console;

    // Before each mode the report of those before it is on disk, marked incomplete.
    ASSERT_EQ(launcher.reportsSeen.size(), 2u);
    EXPECT_EQ(launcher.reportsSeen[0]["complete"], false);
    EXPECT_EQ(launcher.reportsSeen[0]["modes"].size(), 0u);
    EXPECT_EQ(launcher.reportsSeen[1]["complete"], false);
    ASSERT_EQ(launcher.reportsSeen[1]["modes"].size(), 1u);
    EXPECT_EQ(launcher.reportsSeen[1]["modes"][0]["status"], "crashed");
    const std::vector<BYTE> markdown = test_support::ReadFileBytes(launcher.folder + "\\survey.md");
    EXPECT_EQ(std::string(markdown.begin(), markdown.end()).find("Incomplete"), std::string::npos);
}

TEST_F(SurveyWithWorkersTest, TheExitCodeComesFromTheModesNeverFromAWorkersOwn) {
    // A worker that answered and then exited with the survey's own "output folder" code is measured.
    EXPECT_EQ(Run({{1, Exited(3, "", Entry(D3DMULTISAMPLE_NONE))}, {2, Exited(5, "", Entry(D3DMULTISAMPLE_4_SAMPLES))}}),
              SurveyExitAllMeasured);
    WorkerEnd notStarted;
    notStarted.kind = WorkerEnd::Kind::NotStarted;
    EXPECT_EQ(Run({{1, notStarted}, {2, Exited(0, "", Entry(D3DMULTISAMPLE_4_SAMPLES))}}), SurveyExitModeFailed);
    EXPECT_EQ(written["modes"][0]["status"], "failed");
}

TEST_F(SurveyWithWorkersTest, TheD3d9FileAskedForIsLoadedHereAndByEveryWorkerAndAMissingOneMeasuresNothing) {
    const std::string library = scratch.Path("d3d9.dll");
    ASSERT_TRUE(test_support::WriteFileBytes(library, {'M', 'Z'}));
    EXPECT_EQ(Run({{1, Exited(0, "", Entry(D3DMULTISAMPLE_NONE))}, {2, Exited(0, "", Entry(D3DMULTISAMPLE_4_SAMPLES))}},
                  library),
              SurveyExitAllMeasured);
    EXPECT_EQ(fake_platform::direct3dLibrary.requested, library);
    EXPECT_EQ(launcher.libraries, (std::vector<std::string>{library, library}));

    // A file that is not there: nothing measured, and the earlier report left as it was.
    const std::vector<BYTE> earlier = test_support::ReadFileBytes(launcher.folder + "\\survey.json");
    launcher.libraries.clear();
    const std::string missing = scratch.Path("missing\\d3d9.dll");
    EXPECT_EQ(Run({}, missing), SurveyExitBadCommandLine);
    EXPECT_EQ(console.find("quillant-survey: option '--d3d9': cannot load '" + missing + "': "), 0u) << console;
    EXPECT_TRUE(launcher.libraries.empty());
    EXPECT_EQ(test_support::ReadFileBytes(launcher.folder + "\\survey.json"), earlier);
}

TEST_F(SurveyWithWorkersTest, AModesFormatsShareItsWorkerAndThoseFinishedBeforeACrashStand) {
    // The fake multisamples A16B16G16R16F too: each mode in two formats, a worker per mode.
    const std::string one = Entry(D3DMULTISAMPLE_NONE) + "\n", four = Entry(D3DMULTISAMPLE_4_SAMPLES) + "\n";
    const int code = Run({{1, Exited(0, "step picture\n", one + one)},
                          {3, Exited(0xC0000005, "step probe resolve\nexception 0xC0000005\n", four)}},
                         std::string(), {D3DFMT_A16B16G16R16F});
    EXPECT_EQ(code, SurveyExitImplementationFailed);
    const std::vector<D3DFORMAT> both = {D3DFMT_X8R8G8B8, D3DFMT_A16B16G16R16F};
    EXPECT_EQ(launcher.formats, (std::vector<std::vector<D3DFORMAT>>{both, both}));
    ASSERT_EQ(written["modes"].size(), 4u);
    const char* statuses[] = {"measured", "measured", "measured", "crashed"};
    const char* targets[] = {"D3DFMT_X8R8G8B8", "D3DFMT_A16B16G16R16F", "D3DFMT_X8R8G8B8", "D3DFMT_A16B16G16R16F"};
    for (size_t m = 0; m < 4; ++m) {
        EXPECT_EQ(written["modes"][m]["status"], statuses[m]) << m;
        EXPECT_EQ(written["modes"][m]["renderTargetFormat"], targets[m]) << m;
        EXPECT_EQ(written["modes"][m]["backBufferFormat"], "D3DFMT_X8R8G8B8") << m;
    }
    // The report on disk before the second worker holds both formats of the first.
    ASSERT_EQ(launcher.reportsSeen.size(), 2u);
    EXPECT_EQ(launcher.reportsSeen[1]["modes"].size(), 2u);
    EXPECT_NE(console.find("[4/4] HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0 in A16B16G16R16F: the implementation ended "
                           "the process in probe resolve"),
              std::string::npos)
        << console;
    // The summary groups by render target: both back-buffer rows before the float ones.
    const size_t summary = console.find("Mode ");
    ASSERT_NE(summary, std::string::npos) << console;
    EXPECT_LT(console.find("HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0 ", summary),
              console.find("HAL X8R8G8B8 D3DMULTISAMPLE_NONE q0 in A16B16G16R16F", summary))
        << console;
    const std::vector<BYTE> bytes = test_support::ReadFileBytes(launcher.folder + "\\survey.md");
    const std::string markdown(bytes.begin(), bytes.end());
    EXPECT_LT(markdown.find("### Render target X8R8G8B8"), markdown.find("### Render target A16B16G16R16F"));
    EXPECT_NE(markdown.find("### Render target A16B16G16R16F"), std::string::npos) << markdown;
}

}  // namespace
