// The survey's command line, parsed into SurveyOptions with one-line errors for what is wrong.
#include "survey/survey_options.h"

#include <cstdlib>

namespace {

constexpr char kUsage[] =
    "usage: quillant-survey [--out DIR] [--adapter N] [--device hal|ref|all] [--quiet]\n"
    "\n"
    "Measures every multisample mode of the Direct3D 9 adapters: where each sample lies, how\n"
    "textures are sampled, and a picture of the test pattern per mode.\n"
    "\n"
    "  --out DIR        folder for survey.json, survey.md and the pictures (default: survey)\n"
    "  --adapter N      measure adapter N only (default: every adapter)\n"
    "  --device TYPE    hal (default), ref, or all (HAL, SW and REF)\n"
    "  --quiet          no progress lines and no summary; errors are still printed\n"
    "  --help           this text\n"
    "\n"
    "Exit code: 0 every mode measured, 1 a mode failed, 2 bad command line, 3 output folder\n"
    "not writable.\n";

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

        const bool takesValue = name == "--out" || name == "--adapter" || name == "--device";
        const bool isFlag = name == "--quiet" || name == "--help" || name == "-h" || name == "/?";
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

        if (name == "--out") {
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
        } else if (value == "hal") {
            parsed.options.devices = SurveyDevices::Hal;
        } else if (value == "ref") {
            parsed.options.devices = SurveyDevices::Ref;
        } else if (value == "all") {
            parsed.options.devices = SurveyDevices::All;
        } else {
            parsed.error = "option '--device' takes hal, ref or all, not '" + value + "'";
            return parsed;
        }
    }
    return parsed;
}

const char* SurveyUsage() { return kUsage; }
