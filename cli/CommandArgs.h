// The arguments of one command: positionals, options with a value, and switches.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ledgrin::cli {

struct OptionDef {
    const char* name; // "--format", "-o", "--dry-run"
    bool takesValue;
};

struct ParsedArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values; // options with a value, by name (the last one given)
    std::vector<std::pair<std::string, std::string>> given; // every option value, in order
    std::set<std::string> switches;                         // options without one
    bool help = false;                                      // --help or -h
    std::string error;                                      // non-empty: a usage error

    bool Has(const std::string& name) const { return switches.count(name) || values.count(name); }
    std::string Value(const std::string& name) const;
    std::vector<std::string> Values(const std::string& name) const; // each time it was given
};

// Reads args against the command's options. "--name=value" and "--name value" both give
// a value; "--" ends the options; a lone "-" is a positional (standard input or output).
ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<OptionDef>& options);

} // namespace ledgrin::cli
