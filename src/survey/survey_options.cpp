// The survey's command line, parsed into SurveyOptions with one-line errors for what is wrong.
#include "survey/survey_options.h"

#include <cctype>
#include <cstdlib>

namespace {

constexpr char kUsage[] =
    "usage: quillant-survey [--out DIR] [--adapter N] [--device hal|sw|ref|all] [--baseline FILE]\n"
    "                       [--mode-timeout SECONDS] [--quiet]\n"
    "       quillant-survey --compare BASELINE SURVEY [--quiet]\n"
    "\n"
    "Measures every multisample mode of the Direct3D 9 adapters: where each sample lies, how\n"
    "textures are sampled, and a picture of the test pattern per mode.\n"
    "\n"
    "  --out DIR          folder for survey.json, survey.md, survey.html and the pictures\n"
    "                     (default: survey)\n"
    "  --adapter N        measure adapter N only (default: every adapter)\n"
    "  --device TYPE      hal (default), sw, ref, or all (HAL, SW and REF); any case\n"
    "  --baseline FILE    compare with an earlier survey.json and list what changed\n"
    "  --mode-timeout S   end a mode's measurement that has not answered within S seconds\n"
    "                     (default: 60); each mode is measured in a process of its own\n"
    "  --compare A B      compare two survey.json files only: no device, no display\n"
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

}  // namespace

ParsedSurveyOptions ParseSurveyOptions(const std::vector<std::string>& arguments) {
    ParsedSurveyOptions parsed;
    std::string measuringOption;  // the last option given that --compare cannot use
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::string value;
        bool hasValue = false;
        const size_t equals = name.find('=');
        if (name.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasValue = true;
        }

        const bool takesValue = name == "--out" || name == "--adapter" || name == "--device" ||
                                name == "--baseline" || name == "--compare" || name == "--mode-timeout";
        const bool isFlag = name == "--quiet" || name == "--help" || name == "-h" || name == "/?" || name == "--version";
        if (!takesValue && !isFlag) {
            parsed.error = name.compare(0, 1, "-") == 0 ? "unknown option '" + name + "'"
                                                        : "unexpected argument '" + name + "'";
            return parsed;
        }
        if (isFlag) {
            if (hasValue) {
                parsed.error = "option '" + name + "' takes no value";
                return parsed;
            }
            if (name == "--quiet") {
                parsed.options.quiet = true;
            } else if (name == "--version") {
                parsed.showVersion = true;
            } else {
                parsed.showHelp = true;
            }
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size()) {
                parsed.error = "option '" + name + "' needs a value";
                return parsed;
            }
            value = arguments[++i];
        }

        if (name != "--compare") measuringOption = name;
        if (name == "--compare") {
            if (i + 1 >= arguments.size() || value.empty() || arguments[i + 1].empty()) {
                parsed.error = "option '--compare' needs two survey files, the baseline and the survey";
                return parsed;
            }
            parsed.compare = true;
            parsed.compareFiles = {value, arguments[++i]};
        } else if (name == "--baseline") {
            if (value.empty()) {
                parsed.error = "option '--baseline' needs a survey file";
                return parsed;
            }
            parsed.options.baselineFile = value;
        } else if (name == "--out") {
            if (value.empty()) {
                parsed.error = "option '--out' needs a folder name";
                return parsed;
            }
            parsed.options.outputFolder = value;
        } else if (name == "--adapter") {
            if (!ParseOrdinal(value, &parsed.options.adapter)) {
                parsed.error = "option '--adapter' needs an adapter number (0, 1, ...), not '" + value + "'";
                return parsed;
            }
        } else if (name == "--mode-timeout") {
            if (!ParseSeconds(value, &parsed.options.modeTimeoutSeconds)) {
                parsed.error = "option '--mode-timeout' needs a number of seconds above 0 (60, 2.5), not '" + value + "'";
                return parsed;
            }
        } else if (Lowered(value) == "hal") {
            parsed.options.devices = SurveyDevices::Hal;
        } else if (Lowered(value) == "sw") {
            parsed.options.devices = SurveyDevices::Sw;
        } else if (Lowered(value) == "ref") {
            parsed.options.devices = SurveyDevices::Ref;
        } else if (Lowered(value) == "all") {
            parsed.options.devices = SurveyDevices::All;
        } else {
            parsed.error = "option '--device' takes hal, sw, ref or all, not '" + value + "'";
            return parsed;
        }
    }
    if (parsed.compare && !measuringOption.empty()) {
        parsed.error = "option '" + measuringOption + "' does not go with '--compare', which measures nothing";
    }
    return parsed;
}

const char* SurveyUsage() { return kUsage; }

const char* SurveyUsageHint() { return kUsageHint; }
