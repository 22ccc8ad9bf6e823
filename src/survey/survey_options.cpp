// The survey's command line, read by CLI11 into SurveyOptions with one-line errors for what is wrong.
#include "survey/survey_options.h"

#include <CLI/CLI.hpp>

#include <cctype>
#include <cstdlib>
#include <functional>

#include "survey/render_target_formats.h"

namespace {

constexpr char kUsage[] =
    "usage: quillant-survey [--out DIR] [--adapter N] [--device hal|sw|ref|all] [--baseline FILE]\n"
    "                       [--format NAME...] [--match-adapters] [--mode-timeout SECONDS]\n"
    "                       [--d3d9 FILE] [--quiet]\n"
    "       quillant-survey --compare BASELINE SURVEY [--match-adapters] [--quiet]\n"
    "       quillant-survey --matrix SURVEY... [--out DIR] [--quiet]\n"
    "\n"
    "Measures every multisample mode of the Direct3D 9 adapters, in every render-target format\n"
    "the adapter multisamples: where each sample lies, how textures are sampled, how the\n"
    "resolve combines them, and a picture of the test pattern per mode.\n"
    "\n"
    "  --out DIR          folder for survey.json, survey.md, survey.html and the pictures\n"
    "                     (default: survey)\n"
    "  --adapter N        measure adapter N only (default: every adapter)\n"
    "  --device TYPE      hal (default), sw, ref, or all (HAL, SW and REF); any case\n"
    "  --baseline FILE    compare with an earlier survey.json and list what changed\n"
    "  --format NAME...   measure in these render-target formats only (X8R8G8B8,\n"
    "                     A16B16G16R16F, ...; any case; default: every one offered)\n"
    "  --mode-timeout S   end a mode's measurement that has not answered within S seconds\n"
    "                     a format (default: 60); each mode is measured, in all its\n"
    "                     formats, in a process of its own\n"
    "  --d3d9 FILE        load Direct3D 9 from FILE instead of the system's d3d9.dll; under\n"
    "                     Wine also set WINEDLLOVERRIDES=d3d9=n,b, or Wine's own runs\n"
    "  --match-adapters   pair the compared modes by adapter too; by default, where each\n"
    "                     survey holds one adapter, modes are paired whatever it is called\n"
    "  --compare A B      compare two survey.json files only: no device, no display\n"
    "  --matrix FILE...   survey.json files side by side (matrix.html, matrix.md in the\n"
    "                     --out folder): one column per implementation and mode, no device\n"
    "  --quiet            no progress lines and no summary; where the report went, the\n"
    "                     differences and errors are still printed\n"
    "  --version          the program's version and the survey.json schema it writes\n"
    "  --help             this text\n"
    "\n"
    "Exit code: 0 every mode measured (and as the baseline), 1 a mode failed, 2 bad command\n"
    "line or survey file, 3 output folder not writable, 4 differences from the baseline,\n"
    "5 Direct3D 9 could not be started (no display, no desktop, no Direct3D 9), 6 the\n"
    "implementation failed in a mode (ended the process, did not answer, or lost the device\n"
    "for good).\n";

constexpr char kUsageHint[] = "Try 'quillant-survey --help' for the options.\n";

// What CLI11 hands an option given without a value: no command-line argument holds a NUL, so
// this never stands for a value the user typed (an empty one included).
const std::string kNoValue(1, '\0');

// The --device values, in any case.
const struct {
    const char* name;
    SurveyDevices devices;
} kDeviceNames[] = {
    {"hal", SurveyDevices::Hal},
    {"sw", SurveyDevices::Sw},
    {"ref", SurveyDevices::Ref},
    {"all", SurveyDevices::All},
};

std::string Lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A number of seconds: decimal digits with at most one point, more than 0 and at most a day.
bool ParseSeconds(const std::string& text, double* value) {
    if (text.empty() || text.size() > 12) return false;
    int points = 0;
    for (char c : text) {
        if (c == '.') {
            ++points;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    if (points > 1 || text == ".") return false;
    const double seconds = std::atof(text.c_str());
    if (seconds <= 0.0 || seconds > 86400.0) return false;
    *value = seconds;
    return true;
}

// A whole non-negative decimal number that fits an int.
bool ParseOrdinal(const std::string& text, int* value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    *value = std::atoi(text.c_str());
    return true;
}

// Each option is handled where it stands on the line: a later one overrides an earlier one, and
// the first error found is the one told.
class OptionReader {
public:
    explicit OptionReader(ParsedSurveyOptions* parsed) : parsed_(*parsed) {
        app_.set_help_flag();                       // the usage is the survey's own, printed by the caller
        app_.allow_windows_style_options(false);    // "/x" is a folder name, not an option
        app_.allow_extras();                        // what is not an option is named below
        AddFlag("--quiet", [this] { parsed_.options.quiet = true; });
        AddFlag("-h,--help", [this] { parsed_.showHelp = true; });
        AddFlag("--version", [this] { parsed_.showVersion = true; });
        AddFlag("--match-adapters", [this] {
            parsed_.options.matchAdapters = true;
            notForMatrix_ = "--match-adapters";
        });
        AddValue("--out", 1, [this](const std::vector<std::string>& values) {
            if (values[0].empty()) return Fail("option '--out' needs a folder name");
            parsed_.options.outputFolder = values[0];
        });
        AddValue("--adapter", 1, [this](const std::vector<std::string>& values) {
            if (!ParseOrdinal(values[0], &parsed_.options.adapter)) {
                Fail("option '--adapter' needs an adapter number (0, 1, ...), not '" + values[0] + "'");
            }
        });
        AddValue("--device", 1, [this](const std::vector<std::string>& values) {
            for (const auto& device : kDeviceNames) {
                if (Lowered(values[0]) == device.name) {
                    parsed_.options.devices = device.devices;
                    return;
                }
            }
            Fail("option '--device' takes hal, sw, ref or all, not '" + values[0] + "'");
        });
        AddValue("--mode-timeout", 1, [this](const std::vector<std::string>& values) {
            if (!ParseSeconds(values[0], &parsed_.options.modeTimeoutSeconds)) {
                Fail("option '--mode-timeout' needs a number of seconds above 0 (60, 2.5), not '" + values[0] + "'");
            }
        });
        AddValue("--format", 64, [this](const std::vector<std::string>& values) {
            std::vector<D3DFORMAT> formats;
            for (const std::string& value : values) {
                // "X8R8G8B8,R5G6B5" as well as "X8R8G8B8 R5G6B5".
                size_t start = 0;
                while (start <= value.size()) {
                    size_t end = value.find(',', start);
                    if (end == std::string::npos) end = value.size();
                    const std::string name = value.substr(start, end - start);
                    D3DFORMAT format = D3DFMT_UNKNOWN;
                    if (!RenderTargetFormatFromName(name, &format)) {
                        return Fail("option '--format' takes render-target formats (" + RenderTargetFormatNames() +
                                    "), not '" + name + "'");
                    }
                    bool listed = false;
                    for (D3DFORMAT earlier : formats) listed = listed || earlier == format;
                    if (!listed) formats.push_back(format);
                    start = end + 1;
                }
            }
            parsed_.options.formats = formats;
        });
        AddValue("--baseline", 1, [this](const std::vector<std::string>& values) {
            if (values[0].empty()) return Fail("option '--baseline' needs a survey file");
            parsed_.options.baselineFile = values[0];
        });
        AddValue("--d3d9", 1, [this](const std::vector<std::string>& values) {
            if (values[0].empty()) return Fail("option '--d3d9' needs a d3d9.dll file");
            parsed_.options.direct3dLibrary = values[0];
        });
        AddValue("--compare", 2, [this](const std::vector<std::string>& values) {
            if (values.size() != 2 || values[0].empty() || values[1].empty()) {
                return Fail("option '--compare' needs two survey files, the baseline and the survey");
            }
            parsed_.compare = true;
            parsed_.compareFiles = {values[0], values[1]};
        });
        // As many files as a command line holds (CLI11 takes "any number" as none here).
        AddValue("--matrix", 4096, [this](const std::vector<std::string>& values) {
            for (const std::string& value : values) {
                if (value.empty()) return Fail("option '--matrix' needs survey files, not an empty name");
            }
            parsed_.matrix = true;
            parsed_.matrixFiles = values;
        });
    }

    void Read(const std::vector<std::string>& arguments) {
        // CLI11 takes the arguments last first.
        std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
        try {
            app_.parse(reversed);
        } catch (const CLI::ParseError& error) {
            Fail(error.what());
        }
        for (const std::string& extra : app_.remaining()) {
            if (extra == "/?") {
                parsed_.showHelp = true;
            } else if (extra.compare(0, 1, "-") == 0) {
                Fail("unknown option '" + extra.substr(0, extra.find('=')) + "'");
            } else {
                Fail("unexpected argument '" + extra + "'");
            }
        }
        if (parsed_.compare && !measuringOption_.empty()) {
            Fail("option '" + measuringOption_ + "' does not go with '--compare', which measures nothing");
        }
        if (parsed_.matrix && parsed_.compare) Fail("option '--matrix' does not go with '--compare'");
        if (parsed_.matrix && !notForMatrix_.empty()) {
            Fail("option '" + notForMatrix_ + "' does not go with '--matrix', which measures nothing");
        }
    }

private:
    void Fail(const std::string& error) {
        if (parsed_.error.empty()) parsed_.error = error;
    }

    // A flag given on its own reads "true"; "--quiet=yes" hands over the "yes".
    void AddFlag(const std::string& names, std::function<void()> take) {
        app_.add_option(names, [this, names, take](const CLI::results_t& results) {
                const std::string name = names.substr(names.find("--"));
                for (const std::string& result : results) {
                    if (result != "true") Fail("option '" + name + "' takes no value");
                }
                take();
                return true;
            })
            ->expected(0)
            ->trigger_on_parse();
    }

    // Up to count values each time the option is given; none at all ("--out" last, or before
    // another option) is an error of its own.
    void AddValue(const std::string& name, int count, std::function<void(const std::vector<std::string>&)> take) {
        app_.add_option(name, [this, name, take](const CLI::results_t& results) {
                if (name != "--compare" && name != "--matrix") measuringOption_ = name;
                if (name != "--compare" && name != "--matrix" && name != "--out") notForMatrix_ = name;
                if (results.empty() || results[0] == kNoValue) {
                    Fail("option '" + name + "' needs a value");
                } else {
                    take(results);
                }
                return true;
            })
            ->expected(0, count)
            ->default_str(kNoValue)
            ->trigger_on_parse();
    }

    ParsedSurveyOptions& parsed_;
    CLI::App app_;
    std::string measuringOption_;  // the last option given that --compare cannot use
    std::string notForMatrix_;     // the last one given that --matrix cannot use
};

}  // namespace

ParsedSurveyOptions ParseSurveyOptions(const std::vector<std::string>& arguments) {
    ParsedSurveyOptions parsed;
    OptionReader(&parsed).Read(arguments);
    return parsed;
}

const char* SurveyUsage() { return kUsage; }

const char* SurveyUsageHint() { return kUsageHint; }
