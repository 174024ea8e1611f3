#include "cli/CommandArgs.h"

#include <algorithm>

namespace ledgrin::cli {

std::string ParsedArgs::Value(const std::string& name) const {
    auto it = values.find(name);
    return it == values.end() ? std::string() : it->second;
}

std::vector<std::string> ParsedArgs::Values(const std::string& name) const {
    std::vector<std::string> out;
    for (const auto& [option, value] : given)
        if (option == name) out.push_back(value);
    return out;
}

ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<OptionDef>& options) {
    ParsedArgs parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size() && parsed.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            parsed.help = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        auto option =
            std::find_if(options.begin(), options.end(), [&](const OptionDef& o) { return name == o.name; });
        if (option == options.end()) {
            parsed.error = "unknown option " + name;
        } else if (!option->takesValue) {
            if (equals != std::string::npos)
                parsed.error = name + " takes no value";
            else
                parsed.switches.insert(name);
        } else if (equals != std::string::npos || i + 1 < args.size()) {
            parsed.values[name] = equals != std::string::npos ? arg.substr(equals + 1) : args[++i];
            parsed.given.emplace_back(name, parsed.values[name]);
        } else {
            parsed.error = name + " needs a value";
        }
    }
    return parsed;
}

} // namespace ledgrin::cli
