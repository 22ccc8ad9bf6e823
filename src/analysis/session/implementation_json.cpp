// The implementation block written and read back.
#include "analysis/session/implementation_json.h"

namespace {

using nlohmann::json;

json TextOrNull(bool known, const std::string& text) { return known && !text.empty() ? json(text) : json(nullptr); }

std::string TextOf(const json& value) { return value.is_null() ? std::string() : value.get<std::string>(); }

}  // namespace

json ImplementationToJson(const Direct3DImplementation& implementation) {
    const bool loaded = implementation.loaded;
    const bool file = loaded && implementation.fileKnown;
    return json{
        {"requested", TextOrNull(true, implementation.requested)},
        {"path", TextOrNull(loaded, implementation.path)},
        {"wineBuiltin", loaded ? json(implementation.wineBuiltin) : json(nullptr)},
        {"productName", TextOrNull(loaded, implementation.productName)},
        {"fileDescription", TextOrNull(loaded, implementation.fileDescription)},
        {"fileVersion", TextOrNull(loaded, implementation.fileVersion)},
        {"size", file ? json(implementation.size) : json(nullptr)},
        {"sha256", TextOrNull(file, implementation.sha256)},
        {"warnings", implementation.warnings},
    };
}

Direct3DImplementation ImplementationFromJson(const json& in) {
    Direct3DImplementation implementation;
    implementation.requested = TextOf(in.at("requested"));
    implementation.loaded = !in.at("path").is_null();
    implementation.path = TextOf(in.at("path"));
    implementation.wineBuiltin = in.at("wineBuiltin").is_boolean() && in.at("wineBuiltin").get<bool>();
    implementation.productName = TextOf(in.at("productName"));
    implementation.fileDescription = TextOf(in.at("fileDescription"));
    implementation.fileVersion = TextOf(in.at("fileVersion"));
    implementation.fileKnown = !in.at("sha256").is_null();
    implementation.size = in.at("size").is_null() ? 0 : in.at("size").get<unsigned long long>();
    implementation.sha256 = TextOf(in.at("sha256"));
    implementation.warnings = in.at("warnings").get<std::vector<std::string>>();
    return implementation;
}
