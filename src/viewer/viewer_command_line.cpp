// The viewer's one option, read without a library: the survey's many options need CLI11, this
// one does not.
#include "viewer/viewer_command_line.h"

#include "enumeration/direct3d_implementation.h"

namespace {

constexpr char kOption[] = "--d3d9";

constexpr char kUsage[] =
    "Usage: quillant [--d3d9 FILE]\n\n"
    "--d3d9 FILE loads Direct3D 9 from FILE instead of the system's d3d9.dll. Under Wine, also set "
    "WINEDLLOVERRIDES=d3d9=n,b, or Wine runs its own d3d9.";

}  // namespace

ViewerCommandLine ParseViewerCommandLine(const std::vector<std::string>& arguments) {
    ViewerCommandLine line;
    const std::string joined = std::string(kOption) + "=";
    for (size_t i = 0; i < arguments.size() && line.error.empty(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == kOption || argument.compare(0, joined.size(), joined) == 0) {
            const bool separate = argument == kOption;
            line.direct3dLibrary = !separate ? argument.substr(joined.size())
                                   : i + 1 < arguments.size() ? arguments[++i] : std::string();
            if (line.direct3dLibrary.empty()) line.error = "The option --d3d9 needs a d3d9.dll file.";
        } else if (argument.compare(0, 1, "-") == 0 || argument.compare(0, 1, "/") == 0) {
            line.error = "Unknown option '" + argument.substr(0, argument.find('=')) + "'.";
        } else {
            line.error = "Unexpected argument '" + argument + "'.";
        }
    }
    if (line.error.empty() && !line.direct3dLibrary.empty()) {
        const std::string problem = Direct3DLibraryProblem(line.direct3dLibrary);
        if (!problem.empty()) {
            line.error = "The Direct3D 9 implementation '" + line.direct3dLibrary + "' cannot be loaded: " + problem + ".";
        }
    }
    if (!line.error.empty()) line.direct3dLibrary.clear();
    return line;
}

const char* ViewerUsage() { return kUsage; }
