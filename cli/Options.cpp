#include "cli/Options.h"

#include "cli/CliText.h"

#include <algorithm>

namespace ledgrin::cli {

namespace {

// Seconds as --wait takes them: digits, with an optional fraction.
bool ParseSeconds(const std::string& text, double& seconds) {
    const std::size_t point = text.find('.');
    const std::string whole = text.substr(0, point),
                      fraction = point == std::string::npos ? "0" : text.substr(point + 1);
    const auto digits = [](const std::string& s) {
        return !s.empty() && s.size() <= 9 && s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (!digits(whole) || !digits(fraction)) return false;
    seconds = std::stod(text);
    return true;
}

const OptionDef kDryRun = {"--dry-run", nullptr, "show what would change; write nothing, not even a backup.",
                           [](Options& o, const std::string&) {
                               o.write.dryRun = true;
                               return std::string();
                           }};

const OptionDef kKeepBackups = {
    "--keep-backups", "N", "keep the newest N backups of the archive (default 10; at least 1).",
    [](Options& o, const std::string& v) {
        std::uint32_t keep = 0;
        if (ParseUnsigned(v, keep) != NumberParse::Ok || keep == 0)
            return std::string("--keep-backups takes a number from 1 up; --no-backup keeps none");
        o.write.backup.keep = keep;
        return std::string();
    }};

const OptionDef kNoBackup = {"--no-backup", nullptr, "make no backup of the archive replaced.",
                             [](Options& o, const std::string&) {
                                 o.write.backup.enabled = false;
                                 return std::string();
                             }};

const OptionDef kWait = {"--wait", "SECONDS",
                         "wait this long for another writer's lock (default 10), then exit 1\n"
                         " with nothing written.",
                         [](Options& o, const std::string& v) {
                             return ParseSeconds(v, o.write.waitSeconds)
                                        ? std::string()
                                        : std::string("--wait takes a number of seconds, such as 10 or 0.5");
                         }};

} // namespace

const OptionDef kFormatOption = {"--format", "csv|json",
                                 "the file's format. Default: json when the file's name ends in .json,\n"
                                 " otherwise csv.",
                                 [](Options& o, const std::string& v) {
                                     if (v == "csv") o.format = FileFormat::Csv;
                                     if (v == "json") o.format = FileFormat::Json;
                                     return o.format ? std::string()
                                                     : "--format is csv or json, not " + QuotedText(v);
                                 }};

const OptionDef kOutputOption = {"-o", "FILE", "write to FILE instead of standard output.",
                                 [](Options& o, const std::string& v) {
                                     o.output = v;
                                     return std::string();
                                 }};

const OptionDef kWhereOption = {"--where", "COND", "change every record for which COND holds (repeatable).",
                                [](Options& o, const std::string& v) {
                                    o.where.push_back(v);
                                    return std::string();
                                }};

const OptionDef kPatchOption = {"--patch", "FILE", "write the changes as a patch for apply instead.",
                                [](Options& o, const std::string& v) {
                                    o.patch = v;
                                    return v.empty() ? std::string("--patch needs a FILE") : std::string();
                                }};

const OptionDef kSkipConflictsOption = {"--skip-conflicts", nullptr,
                                        "make the other changes and list the conflicts skipped.",
                                        [](Options& o, const std::string&) {
                                            o.skipConflicts = true;
                                            return std::string();
                                        }};

const OptionDef kLikeOption = {"--like", "TYPEID", "the record to copy: the one of TABLE holding TYPEID.",
                               [](Options& o, const std::string& v) {
                                   o.like = v;
                                   return std::string();
                               }};

const OptionDef kTypeIdOption = {"--typeid", "NEW",
                                 "the TypeID of the new record, which no record may hold yet.",
                                 [](Options& o, const std::string& v) {
                                     o.newTypeId = v;
                                     return std::string();
                                 }};

const OptionList kWriteOptions = {&kDryRun, &kKeepBackups, &kNoBackup, &kWait};

ParsedLine ParseLine(const std::vector<std::string>& words, const OptionList& accepted) {
    ParsedLine parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size() && parsed.error.empty(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            parsed.operands.push_back({word, static_cast<int>(i + 1)});
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word == "--help" || word == "-h") {
            parsed.help = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const auto option = std::find_if(accepted.begin(), accepted.end(),
                                         [&](const OptionDef* o) { return name == o->name; });
        if (option == accepted.end()) {
            parsed.error = "unknown option " + name;
            break;
        }
        parsed.given.insert(name);
        if (!(*option)->valueName) {
            parsed.error =
                equals != std::string::npos ? name + " takes no value" : (*option)->set(parsed.options, "");
        } else if (equals != std::string::npos || i + 1 < words.size()) {
            parsed.error = (*option)->set(parsed.options,
                                          equals != std::string::npos ? word.substr(equals + 1) : words[++i]);
        } else {
            parsed.error = name + " needs a value";
        }
    }
    return parsed;
}

FileFormat FileFormatFor(const Options& options, const std::string& path) {
    if (options.format) return *options.format;
    const bool json =
        path.size() >= 5 && NamesEqualNoCase(std::string_view(path).substr(path.size() - 5), ".json");
    return json ? FileFormat::Json : FileFormat::Csv;
}

std::string OptionSynopsis(const OptionList& options) {
    std::string text;
    for (const OptionDef* o : options)
        text += std::string(" [") + o->name + (o->valueName ? std::string(" ") + o->valueName : "") + "]";
    return text;
}

std::string OptionHelp(const OptionList& options) {
    std::string text = "Options:\n";
    for (const OptionDef* o : options) {
        std::string head =
            std::string("  ") + o->name + (o->valueName ? std::string(" ") + o->valueName : "");
        head.resize(std::max<std::size_t>(head.size() + 2, 22), ' ');
        std::string help = o->help;
        for (std::size_t at = help.find("\n "); at != std::string::npos; at = help.find("\n ", at + 1))
            help.replace(at, 2, "\n" + std::string(22, ' '));
        text += head + help + "\n";
    }
    return text;
}

} // namespace ledgrin::cli
