#include "demo/DemoCommand.h"

#include <cstdio>
#include <cstdlib>

namespace ledgrin {

namespace {

struct SizeName {
    const char* name;
    DemoSize size;
};
constexpr SizeName kSizeNames[] = {
    {"small", DemoSize::Small},
    {"realistic", DemoSize::Realistic},
    {"max", DemoSize::Max},
};

bool ParseSize(const std::string& text, DemoSize& size) {
    for (const SizeName& s : kSizeNames)
        if (text == s.name) {
            size = s.size;
            return true;
        }
    return false;
}

// Decimal digits only, at most 4294967295.
bool ParseSeed(const std::string& text, std::uint32_t& seed) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    if (value > 0xFFFFFFFFull) return false;
    seed = static_cast<std::uint32_t>(value);
    return true;
}

// Applies one option that takes a value; false when the option or its value is bad.
bool ApplyOption(const std::string& option, const std::string& value, DemoCommand& command) {
    if (option == "--size") return ParseSize(value, command.options.size);
    if (option == "--seed") return ParseSeed(value, command.options.seed);
    if (option == "-o" || option == "--summary") {
        command.path = value;
        if (option == "--summary") command.action = DemoAction::Summary;
        return !value.empty();
    }
    return false;
}

} // namespace

bool ParseDemoCommand(const std::vector<std::string>& args, DemoCommand& command) {
    command = DemoCommand{};
    int writeOptions = 0;
    for (std::size_t i = 0; i < args.size(); i += 2) { // every option takes one value
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h" || arg == "-?") {
            command.action = DemoAction::Help;
            return true;
        }
        if (arg == "--version" && args.size() == 1) {
            command.action = DemoAction::Version;
            return true;
        }
        if (i + 1 >= args.size() || !ApplyOption(arg, args[i + 1], command)) return false;
        if (arg != "--summary") ++writeOptions;
    }
    return command.action != DemoAction::Summary || writeOptions == 0;
}

std::string FormatTableSummary(const TableStore& store) {
    char line[96];
    std::snprintf(line, sizeof line, "%-15s %7s %11s %7s\n", "Table", "Records", "HeaderWord2", "Version");
    std::string text = line;
    for (TableIndex t = 0; t < kTableCount; ++t) {
        const TableSlot& slot = store[t];
        char word[8];
        std::snprintf(word, sizeof word, "0x%04X", static_cast<unsigned>(slot.HeaderWord2));
        std::snprintf(line, sizeof line, "%-15s %7u %11s %7lu\n", EntryName(t),
                      static_cast<unsigned>(slot.RecordCount), word,
                      static_cast<unsigned long>(slot.Version));
        text += line;
    }
    return text;
}

} // namespace ledgrin
